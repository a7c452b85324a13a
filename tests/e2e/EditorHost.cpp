// Opens the sequence editor on a data folder, as the main window's New and
// Update buttons do, for the end-to-end tests:
//     tapwise_editor_host FOLDER LANG [POSITION] [LAYOUT_FILE]
// Prints the saved record's position and ends with 0 when the editor saved,
// 1 when it was left with Exit. With a layout file, the screen positions of
// the editor's controls are written there once it is shown, so that a test
// can click them, and the rows of its list are kept up to date in the file
// LAYOUT_FILE.rows, so that a test can wait for what its keys did. The
// window on top (the editor, an entry dialog, a message box or a prompt) is
// described in LAYOUT_FILE.dialog: its name and whether it has the focus, an
// open drop-down list, the text of a message box, and for a dialog the screen
// positions and texts of its named controls and the control with the focus.
#include "common/Settings.h"
#include "editor/OpenEditor.h"
#include "store/SequenceStore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

namespace {

QString rectText(const QString& name, QWidget* widget) {
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    return QStringLiteral("%1 %2 %3 %4 %5\n")
        .arg(name)
        .arg(origin.x())
        .arg(origin.y())
        .arg(widget->width())
        .arg(widget->height());
}

void writeFile(const QString& path, const QString& text) {
    QFile file(path + QStringLiteral(".tmp"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text.toUtf8());
        file.close();
        QFile::remove(path);
        file.rename(path);
    }
}

void watchRows(QListWidget* list, const QString& path) {
    auto* timer = new QTimer(list);
    QObject::connect(timer, &QTimer::timeout, list, [list, path, shown = QString()]() mutable {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        const QString text = rows.join(u'\n') + u'\n';
        if (text != shown)
            writeFile(path, text);
        shown = text;
    });
    timer->start(50);
}

// The named control that holds `widget` (the line edit inside a drop-down
// box reports the box).
QString controlName(QWidget* widget, QWidget* dialog) {
    for (; widget && widget != dialog; widget = widget->parentWidget()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"))
            return widget->objectName();
    }
    return QStringLiteral("-");
}

QString controlsText(QWidget* dialog) {
    QString text;
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(u"qt_") || !control->isVisible())
            continue;
        text += rectText(name, control);
        if (auto* box = qobject_cast<QComboBox*>(control))
            text += QStringLiteral("text %1 %2\n").arg(name, box->currentText());
        else if (auto* line = qobject_cast<QLineEdit*>(control))
            text += QStringLiteral("text %1 %2\n").arg(name, line->text());
    }
    return text +
           QStringLiteral("focus %1\n").arg(controlName(QApplication::focusWidget(), dialog));
}

// The window on top; its name is its objectName, or its class for the
// program's message boxes and prompts.
QString topWindowText(QWidget* editor) {
    QWidget* top = QApplication::activeModalWidget();
    if (!top)
        return {};
    const QString name =
        top->objectName().isEmpty() ? top->metaObject()->className() : top->objectName();
    QString text = name + QLatin1String(top->isActiveWindow() ? " active\n" : " inactive\n");
    if (QApplication::activePopupWidget())
        text += QStringLiteral("popup\n");
    if (auto* box = qobject_cast<QMessageBox*>(top))
        text += QStringLiteral("message %1\n").arg(box->text().replace(u'\n', u' '));
    if (top != editor)
        text += controlsText(top);
    return text;
}

void watchTopWindow(QWidget* editor, const QString& path) {
    auto* timer = new QTimer(editor);
    QObject::connect(timer, &QTimer::timeout, editor, [editor, path, shown = QString()]() mutable {
        const QString text = topWindowText(editor);
        if (text != shown)
            writeFile(path, text);
        shown = text;
    });
    timer->start(50);
}

void writeLayout(const QString& path) {
    QWidget* editor = QApplication::activeModalWidget();
    if (!editor || editor->objectName() != QLatin1String("Form1") || !editor->isActiveWindow()) {
        QTimer::singleShot(50, [path] { writeLayout(path); });
        return;
    }
    auto* list = editor->findChild<QListWidget*>(QStringLiteral("List1"));
    QString text;
    for (const char* name : {"Combo1", "Text1", "Text2", "Command1", "Command2", "Command3"})
        text += rectText(QString::fromLatin1(name),
                         editor->findChild<QWidget*>(QString::fromLatin1(name)));
    text += rectText(QStringLiteral("List1"), list->viewport());
    text += QStringLiteral("RowHeight %1\n").arg(list->sizeHintForRow(0));
    writeFile(path, text);
    watchRows(list, path + QStringLiteral(".rows"));
    watchTopWindow(editor, path + QStringLiteral(".dialog"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    tapwise::Settings settings;
    settings.DataFolder = args[1].endsWith(u'/') ? args[1] : args[1] + u'/';
    settings.Lang = args[2];
    tapwise::SequenceStore store(settings.DataFolder, settings.Lang);
    if (!store.DataFileExists() && !store.CreateDataFile())
        return 2;
    const qint32 position = args.size() > 3 ? args[3].toInt() : 0;
    if (args.size() > 4)
        QTimer::singleShot(0, [path = args[4]] { writeLayout(path); });
    if (!tapwise::OpenEditor(nullptr, settings, store, position))
        return 1;
    QTextStream(stdout) << store.CurrentPosition() << Qt::endl;
    return 0;
}
