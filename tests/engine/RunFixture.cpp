#include "RunFixture.h"

namespace tapwise {

RunFixture::RunFixture() {
    store.emplace(folder.path() + u'/');
}

RunEnd RunFixture::run(const Lines& lines, const QString& excelFile) {
    Result<qint32> position = store->AppendSequence(description, lines);
    EXPECT_TRUE(position.ok()) << (position ? "" : qPrintable(position.error().message));
    if (!position)
        return RunEnd::Failed;
    finalDescription = description.section(u'\n', 0, 0);
    finalExcelFile = excelFile;
    QString password;
    const RunServices services{settings, *store, desktop, ui, workbooks};
    return RunSequence(services, position.value(), finalDescription, finalExcelFile, password);
}

RunEnd RunFixture::runNoMsg(const Lines& lines, const QString& excelFile) {
    settings.NoMsg = QStringLiteral("NoMsg");
    return run(lines, excelFile);
}

std::shared_ptr<MemoryWorkbook> RunFixture::workbook(const QString& path) {
    return workbooks.add(path);
}

QStringList RunFixture::keysSent() const {
    QStringList keys;
    for (const QString& event : desktop.events()) {
        if (event.startsWith(u"keys "))
            keys.append(event.mid(5));
    }
    return keys;
}

QStringList RunFixture::actions() const {
    return desktop.eventsExcept(QStringLiteral("sleep"));
}

} // namespace tapwise
