// Colouring, writing and saving real workbooks, checked by openpyxl, by a
// new process and by the bytes of the package.
#include "WorkbookFixtures.h"

#include "workbook/WorkbookTexts.h"
#include "workbook/XlsxWorkbookOpener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tapwise {
namespace {

using test::WorkbookFixtures;

const QJsonObject GreenFill{{"type", "solid"}, {"color", "indexed:50"}};

class XlsxSaveTest : public ::testing::Test {
protected:
    std::unique_ptr<Workbook> open(const QString& path, bool readOnly = false) {
        auto workbook = opener_.open(path, QString(), readOnly);
        EXPECT_TRUE(workbook) << workbook.error().message.toStdString();
        return workbook ? std::move(workbook).value() : nullptr;
    }
    void colorRows(Workbook& workbook, std::initializer_list<int> rows) {
        for (int row : rows) {
            ASSERT_TRUE(workbook.setRowColorIndex(row, GreenColorIndex));
        }
    }
    static void expectSaved(Workbook& workbook) {
        const Status saved = workbook.save();
        EXPECT_TRUE(saved) << saved.error().message.toStdString();
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList leftovers() const {
        return QDir(fixtures_.folder())
            .entryList({QStringLiteral(".~tapwise-*")}, QDir::Files | QDir::Hidden);
    }

    WorkbookFixtures fixtures_;
    XlsxWorkbookOpener opener_{QStringLiteral("E")};
};

TEST_F(XlsxSaveTest, ColouredRowsAreGreenAndEverythingElseIsKept) {
    const QString path = fixtures_.make("people");
    const auto storedBefore = WorkbookFixtures::storedEntries(path);
    const QJsonObject before = WorkbookFixtures::openpyxlView(path);
    const QJsonObject probeBefore = WorkbookFixtures::probe(path, 6, 4);
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2, 3, 4});
    EXPECT_EQ(workbook->rowColorIndex(3).valueOr(0), GreenColorIndex);
    EXPECT_EQ(workbook->rowColorIndex(6).valueOr(0), NoColorIndex);
    expectSaved(*workbook);

    // Green for openpyxl: every cell of the rows and the rows themselves.
    const QJsonObject after = WorkbookFixtures::openpyxlView(path);
    for (int row = 2; row <= 4; ++row) {
        EXPECT_EQ(after["rowFills"][QString::number(row)].toObject(), GreenFill) << row;
        for (const char* column : {"A", "B", "C", "D"}) {
            EXPECT_EQ(after["fills"][column + QString::number(row)].toObject(), GreenFill)
                << column << row;
        }
    }
    EXPECT_FALSE(after["fills"].toObject().contains("A1"));
    EXPECT_FALSE(after["fills"].toObject().contains("A6"));
    EXPECT_FALSE(after["rowFills"].toObject().contains("6"));
    // Values, number formats, other sheets and defined names are those of before.
    for (const char* kept : {"cells", "formats", "others", "definedNames", "sheets"}) {
        EXPECT_EQ(after[kept], before[kept]) << kept;
    }
    // Only the sheet and the formats were rewritten; every other part is as stored.
    const auto storedAfter = WorkbookFixtures::storedEntries(path);
    ASSERT_EQ(storedAfter.size(), storedBefore.size());
    for (const auto& [name, stored] : storedBefore) {
        ASSERT_TRUE(storedAfter.count(name)) << name;
        const bool rewritten = name == "xl/worksheets/sheet1.xml" || name == "xl/styles.xml";
        EXPECT_EQ(storedAfter.at(name) == stored, !rewritten) << name;
    }
    // Green for the layer in a new process, with the same texts.
    const QJsonObject probe = WorkbookFixtures::probe(path, 6, 4);
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(WorkbookFixtures::probeColor(probe, row),
                  row >= 2 && row <= 4 ? GreenColorIndex : NoColorIndex)
            << row;
        EXPECT_EQ(WorkbookFixtures::probeRow(probe, row),
                  WorkbookFixtures::probeRow(probeBefore, row));
    }
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(XlsxSaveTest, FormatsAreAddedOnceAndReusedAcrossSaves) {
    const QString path = fixtures_.make("people");
    const auto formatCount = [&] {
        const QByteArray styles = WorkbookFixtures::entry(path, "xl/styles.xml");
        const qsizetype start = styles.indexOf("<cellXfs");
        return styles.mid(start, styles.indexOf("</cellXfs>") - start).count("<xf ");
    };
    const auto fillCount = [&] {
        return WorkbookFixtures::entry(path, "xl/styles.xml").count("<fill>");
    };
    const qsizetype formatsBefore = formatCount();
    auto first = open(path);
    ASSERT_TRUE(first);
    colorRows(*first, {2, 3});
    expectSaved(*first);
    first->close();
    const qsizetype formats = formatCount();
    const qsizetype fills = fillCount();
    // General, date and "#,##0.00"; the red cell's green twin is general's.
    EXPECT_EQ(formats, formatsBefore + 3);

    auto second = open(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->rowColorIndex(2).valueOr(0), GreenColorIndex);
    colorRows(*second, {4, 6});
    expectSaved(*second);
    EXPECT_EQ(formatCount(), formats);
    EXPECT_EQ(fillCount(), fills);

    // Rows already green change nothing: the file is not even written.
    const QByteArray bytes = WorkbookFixtures::bytes(path);
    auto third = open(path);
    ASSERT_TRUE(third);
    colorRows(*third, {2, 3, 4, 6});
    expectSaved(*third);
    EXPECT_EQ(WorkbookFixtures::bytes(path), bytes);
}

TEST_F(XlsxSaveTest, ColoursCanBeChangedAndRemoved) {
    const QString path = fixtures_.make("people");
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    ASSERT_TRUE(workbook->setRowColorIndex(2, 3));
    EXPECT_EQ(workbook->rowColorIndex(2).valueOr(0), 3);
    ASSERT_TRUE(workbook->setRowColorIndex(3, NoColorIndex));
    EXPECT_EQ(workbook->rowColorIndex(3).valueOr(0), NoColorIndex);
    EXPECT_FALSE(workbook->setRowColorIndex(4, 57));
    EXPECT_FALSE(workbook->setRowColorIndex(4, 0));
    expectSaved(*workbook);
    const QJsonObject view = WorkbookFixtures::openpyxlView(path);
    // Palette colour 3 is red: the workbook's own red fill is reused for it.
    EXPECT_EQ(view["fills"]["A2"]["color"].toString().toStdString(), "rgb:FFFF0000");
    EXPECT_FALSE(view["fills"].toObject().contains("D3")); // its red is gone
}

TEST_F(XlsxSaveTest, WrittenTextsReplaceFormulasAndTheCalculationChainGoes) {
    const QString path = fixtures_.make("calc");
    const QJsonObject before = WorkbookFixtures::openpyxlView(path);
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    ASSERT_TRUE(workbook->setCellText(1, 2, QStringLiteral("plain")));
    ASSERT_TRUE(workbook->setCellText(1, 3, QStringLiteral("  padded ")));
    ASSERT_TRUE(workbook->setCellText(1, 5, QStringLiteral("_x0041_ & <tag>\r")));
    ASSERT_TRUE(workbook->setCellText(5, 1, QStringLiteral("new row")));
    ASSERT_TRUE(workbook->setCellText(2, 1, QString()));
    const Status insideArray = workbook->setCellText(2, 4, QStringLiteral("x"));
    EXPECT_TRUE(!insideArray && insideArray.error().message.contains("array formula"));
    EXPECT_FALSE(workbook->setCellText(1, 1, QString(32768, u'x')));
    EXPECT_EQ(workbook->cellText(1, 3).valueOr({}), "  padded ");
    expectSaved(*workbook);

    // F1 was not touched: its carriage return survives the rewritten sheet.
    const QJsonObject probe = WorkbookFixtures::probe(path, 5, 6);
    EXPECT_EQ(WorkbookFixtures::probeRow(probe, 1),
              QStringList({"2", "plain", "  padded ", "4", "_x0041_ & <tag>\r", "a\rb"}));
    EXPECT_EQ(WorkbookFixtures::probeRow(probe, 2), QStringList({"", "", "5", "6", "", ""}));
    EXPECT_EQ(WorkbookFixtures::probeRow(probe, 5), QStringList({"new row", "", "", "", "", ""}));

    // The rest of the shared formula now starts at C2, as read from there.
    const QJsonObject after = WorkbookFixtures::openpyxlView(path);
    EXPECT_EQ(after["cells"]["C2"].toString(), "=A2+$A$1");
    EXPECT_EQ(after["cells"]["C3"].toString(), "=A3+$A$1");
    EXPECT_EQ(after["cells"]["D1"], before["cells"]["D1"]);

    EXPECT_FALSE(WorkbookFixtures::storedEntries(path).count("xl/calcChain.xml"));
    EXPECT_FALSE(WorkbookFixtures::entry(path, "[Content_Types].xml").contains("calcChain"));
    EXPECT_FALSE(WorkbookFixtures::entry(path, "xl/_rels/workbook.xml.rels").contains("calcChain"));
    EXPECT_TRUE(WorkbookFixtures::entry(path, "xl/workbook.xml").contains("fullCalcOnLoad=\"1\""));
}

TEST_F(XlsxSaveTest, NewRowsAndCellsAmongUnnumberedOnesKeepEveryCellInPlace) {
    const QString path = fixtures_.make("prefixed");
    const QJsonObject before = WorkbookFixtures::probe(path, 4, 26);
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    ASSERT_TRUE(workbook->setCellText(2, 2, QStringLiteral("two")));
    ASSERT_TRUE(workbook->setCellText(4, 4, QStringLiteral("dee")));
    colorRows(*workbook, {1});
    expectSaved(*workbook);

    const QJsonObject after = WorkbookFixtures::probe(path, 4, 26);
    for (int row : {1, 3, 4}) {
        QStringList expected = WorkbookFixtures::probeRow(before, row);
        if (row == 4) {
            expected[3] = QStringLiteral("dee");
        }
        EXPECT_EQ(WorkbookFixtures::probeRow(after, row), expected) << row;
    }
    EXPECT_EQ(WorkbookFixtures::probeRow(after, 2)[1], "two");
    EXPECT_EQ(WorkbookFixtures::probeColor(after, 1), GreenColorIndex);
    EXPECT_EQ(WorkbookFixtures::probeColor(after, 3), NoColorIndex);
    const QByteArray sheet = WorkbookFixtures::entry(path, "xl/worksheets/data.xml");
    EXPECT_TRUE(sheet.contains("<x:row r=\"2\"><x:c r=\"B2\" t=\"inlineStr\"><x:is><x:t>two<"));
    EXPECT_TRUE(sheet.contains("r=\"C4\"")); // numbered before D4 came in
}

TEST_F(XlsxSaveTest, WorkbooksWithoutFormatsGetAStylesPart) {
    const QString plain = fixtures_.make("nostyles");
    auto workbook = open(plain);
    ASSERT_TRUE(workbook);
    ASSERT_TRUE(workbook->setCellText(3, 1, QStringLiteral("written")));
    expectSaved(*workbook); // no formats needed yet
    EXPECT_FALSE(WorkbookFixtures::storedEntries(plain).count("xl/styles.xml"));
    colorRows(*workbook, {2});
    expectSaved(*workbook);
    const QJsonObject view = WorkbookFixtures::openpyxlView(plain);
    EXPECT_EQ(view["fills"]["A2"].toObject(), GreenFill);
    EXPECT_EQ(view["rowFills"]["2"].toObject(), GreenFill);
    EXPECT_EQ(WorkbookFixtures::probeColor(WorkbookFixtures::probe(plain, 2, 2), 2),
              GreenColorIndex);

    const QString strict = fixtures_.make("strict");
    auto strictBook = open(strict);
    ASSERT_TRUE(strictBook);
    colorRows(*strictBook, {1});
    expectSaved(*strictBook);
    EXPECT_TRUE(WorkbookFixtures::entry(strict, "xl/styles.xml")
                    .contains("http://purl.oclc.org/ooxml/spreadsheetml/main"));
    EXPECT_TRUE(WorkbookFixtures::entry(strict, "xl/_rels/workbook.xml.rels")
                    .contains("http://purl.oclc.org/ooxml/officeDocument/relationships/styles"));
    const QJsonObject probe = WorkbookFixtures::probe(strict, 2, 1);
    EXPECT_EQ(WorkbookFixtures::probeColor(probe, 1), GreenColorIndex);
    EXPECT_EQ(WorkbookFixtures::probeColor(probe, 2), NoColorIndex);
}

TEST_F(XlsxSaveTest, ALockFileOfASpreadsheetProgramStopsOpenAndSave) {
    const QString path = fixtures_.make("people");
    for (const QString& lockName :
         {QStringLiteral("~$people.xlsx"), QStringLiteral(".~lock.people.xlsx#"),
          QStringLiteral("~$ople.xlsx")}) {
        const QString lock = fixtures_.path(lockName);
        writeFile(lock, "user");
        const auto refused = opener_.open(path, QString(), false);
        ASSERT_FALSE(refused);
        EXPECT_TRUE(refused.error().message.contains(lockName)) << lockName.toStdString();
        EXPECT_TRUE(opener_.open(path, QString(), true)); // reading is fine
        QFile::remove(lock);
    }
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2});
    const QByteArray bytes = WorkbookFixtures::bytes(path);
    writeFile(fixtures_.path(".~lock.people.xlsx#"), "user");
    const Status locked = workbook->save();
    EXPECT_FALSE(locked);
    EXPECT_EQ(locked.error().code, WorkbookErrorCode);
    EXPECT_EQ(WorkbookFixtures::bytes(path), bytes);
    QFile::remove(fixtures_.path(".~lock.people.xlsx#"));
    expectSaved(*workbook); // the changes are still there to save
    EXPECT_NE(WorkbookFixtures::bytes(path), bytes);
}

TEST_F(XlsxSaveTest, AWorkbookChangedOnDiskIsNotOverwritten) {
    const QString path = fixtures_.make("people");
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2});
    fixtures_.make("types"); // someone else saves another workbook...
    const QByteArray theirs = WorkbookFixtures::bytes(fixtures_.path("types.xlsx"));
    writeFile(path, theirs); // ...over this one
    const Status saved = workbook->save();
    ASSERT_FALSE(saved);
    EXPECT_TRUE(saved.error().message.contains("changed by another program"));
    EXPECT_EQ(WorkbookFixtures::bytes(path), theirs);

    QFile::remove(path);
    EXPECT_FALSE(workbook->save());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(XlsxSaveTest, ReadOnlyWorkbooksAndFilesAreNotWritten) {
    const QString path = fixtures_.make("people");
    auto readOnly = open(path, true);
    ASSERT_TRUE(readOnly);
    colorRows(*readOnly, {2});
    EXPECT_TRUE(readOnly->save().error().message.contains("opened read-only"));
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2});
    const QByteArray bytes = WorkbookFixtures::bytes(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_TRUE(workbook->save().error().message.contains("is read-only"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(fixtures_.folder(), QFile::ReadOwner | QFile::ExeOwner);
    const Status failed = workbook->save();
    QFile::setPermissions(fixtures_.folder(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_FALSE(failed);
    EXPECT_TRUE(failed.error().message.contains("could not be saved"));
    EXPECT_EQ(WorkbookFixtures::bytes(path), bytes);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(XlsxSaveTest, ASymbolicLinkIsFollowedAndPermissionsKept) {
    const QString real = fixtures_.make("people");
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString link = fixtures_.path("link.xlsx");
    ASSERT_TRUE(QFile::link(real, link));
    auto workbook = open(link);
    ASSERT_TRUE(workbook);
    EXPECT_EQ(workbook->fullName(), link);
    colorRows(*workbook, {3});
    expectSaved(*workbook);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_EQ(QFile::permissions(real) & 0x7077,
              (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup) & 0x7077);
    EXPECT_EQ(WorkbookFixtures::probeColor(WorkbookFixtures::probe(real, 3, 1), 3),
              GreenColorIndex);
    // A second save compares with what the first one wrote.
    colorRows(*workbook, {4});
    expectSaved(*workbook);
    EXPECT_EQ(WorkbookFixtures::probeColor(WorkbookFixtures::probe(link, 4, 1), 4),
              GreenColorIndex);
}

TEST_F(XlsxSaveTest, EveryCellOfARowIsColouredAlsoTwoForOneColumn) {
    const QString path = fixtures_.make("duplicatecells");
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2});
    EXPECT_EQ(workbook->rowColorIndex(2).valueOr(0), GreenColorIndex);
    expectSaved(*workbook);
    EXPECT_EQ(WorkbookFixtures::probeColor(WorkbookFixtures::probe(path, 2, 2), 2),
              GreenColorIndex);
}

// Permissions do not bind root: as root the check runs in a child process
// that has become an ordinary user. Returns the check's result.
bool asOrdinaryUser(const QString& folder, const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    constexpr uid_t Nobody = 65534;
    const QByteArray name = QFile::encodeName(folder);
    if (::chown(name.constData(), Nobody, Nobody) != 0) {
        return false;
    }
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
        if (::chown(QFile::encodeName(file.filePath()).constData(), Nobody, Nobody) != 0) {
            return false;
        }
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A save writes beside the workbook and renames: a read-only file or folder
// is refused at open, before a run types rows it could not colour.
TEST_F(XlsxSaveTest, AWorkbookThatCannotBeWrittenIsRefusedAtOpen) {
    const QString path = fixtures_.make("people");
    const QString folder = fixtures_.folder();
    const auto refusedWith = [&](const char* reason) {
        return [&, reason] {
            const auto opened = opener_.open(path, QString(), false);
            return !opened && opened.error().code == WorkbookErrorCode &&
                   opened.error().message.contains(QLatin1String(reason)) &&
                   opener_.open(path, QString(), true).ok(); // reading is fine
        };
    };
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(asOrdinaryUser(folder, refusedWith("is read-only: the rows a run sends")));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    EXPECT_TRUE(asOrdinaryUser(folder, refusedWith("does not allow new files")));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(asOrdinaryUser(folder, [&] { return opener_.open(path, QString(), false).ok(); }));
}

// When the save cannot write, the run's work goes into a new file made from
// the workbook as it was opened; nothing is written over.
TEST_F(XlsxSaveTest, ACopyKeepsTheChangesWhenTheWorkbookCannotBeSaved) {
    const QString path = fixtures_.make("people");
    const QJsonObject before = WorkbookFixtures::probe(path, 6, 4);
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2, 3});
    ASSERT_TRUE(workbook->setCellText(6, 2, QStringLiteral("Lucca")));
    const QByteArray theirs = WorkbookFixtures::bytes(fixtures_.make("types"));
    writeFile(path, theirs); // another program saved over the workbook
    ASSERT_FALSE(workbook->save());

    const QString copy = fixtures_.path("people (rows sent 2026-12-06 10-41).xlsx");
    const Status copied = workbook->saveCopy(copy);
    ASSERT_TRUE(copied) << copied.error().message.toStdString();
    EXPECT_EQ(WorkbookFixtures::bytes(path), theirs);
    const QJsonObject view = WorkbookFixtures::probe(copy, 6, 4);
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(WorkbookFixtures::probeColor(view, row),
                  row == 2 || row == 3 ? GreenColorIndex : NoColorIndex);
        QStringList expected = WorkbookFixtures::probeRow(before, row);
        if (row == 6) {
            expected[1] = QStringLiteral("Lucca");
        }
        EXPECT_EQ(WorkbookFixtures::probeRow(view, row), expected);
    }
    EXPECT_FALSE(WorkbookFixtures::openpyxlView(copy).isEmpty());

    // A file already there is never replaced.
    const QByteArray copyBytes = WorkbookFixtures::bytes(copy);
    const Status again = workbook->saveCopy(copy);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().code, FileExistsErrorCode);
    EXPECT_EQ(WorkbookFixtures::bytes(copy), copyBytes);
    EXPECT_TRUE(leftovers().isEmpty());
}

// Temporary files of saves that were killed are removed by the next save;
// a recent one may be a save in progress and stays, as do other files.
TEST_F(XlsxSaveTest, ASaveRemovesStaleTemporariesOfItsWorkbook) {
    const QString path = fixtures_.make("people");
    const auto place = [&](const QString& name, qint64 ageSeconds) {
        const QString file = fixtures_.path(name);
        writeFile(file, QByteArray(1024, 'x'));
        QFile handle(file);
        EXPECT_TRUE(handle.open(QIODevice::ReadWrite));
        EXPECT_TRUE(handle.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                       QFileDevice::FileModificationTime));
    };
    place(QStringLiteral(".~tapwise-people.xlsx-a1B2c3"), 3600);
    place(QStringLiteral(".~tapwise-people.xlsx-d4E5f6"), 60);
    place(QStringLiteral(".~tapwise-other.xlsx-g7H8i9"), 3600);
    place(QStringLiteral(".~tapwise-people.xlsx-notes"), 3600);
    auto workbook = open(path);
    ASSERT_TRUE(workbook);
    colorRows(*workbook, {2});
    expectSaved(*workbook);
    EXPECT_EQ(leftovers(),
              QStringList({".~tapwise-other.xlsx-g7H8i9", ".~tapwise-people.xlsx-d4E5f6",
                           ".~tapwise-people.xlsx-notes"}));
}

} // namespace
} // namespace tapwise
