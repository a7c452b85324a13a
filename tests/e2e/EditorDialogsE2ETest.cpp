// The editor's entry dialogs on a real X server: a mouse position, a check
// and a condition entered with clicks and typed keys, the refusals a user
// meets answered on the real message box, and the saved record.
#include "TapwiseSession.h"

#include "Wait.h"

#include <QFile>
#include <QMap>
#include <QRect>

namespace tapwise::test {
namespace {

// The window on top of the editor's program, as its host describes it.
struct TopWindow {
    QString name; // objectName ("Form11") or class ("QMessageBox")
    bool active = false;
    bool popup = false;
    QString message;
    QString focus;
    QMap<QString, QRect> controls;
    QMap<QString, QString> texts;
};

class EditorDialogsE2ETest : public TapwiseSession {
protected:
    QString layoutFile() const { return pathInFolder("../layout.txt"); }

    bool startEditor() {
        Subprocess::Options options;
        options.env = server_.env() + QStringList{"QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"};
        options.captureOutput = true;
        return editor_.start(
            {QStringLiteral(TAPWISE_EDITOR_HOST), folder(), "E", "0", layoutFile()}, options);
    }

    QStringList readLines(const QString& path) const {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    TopWindow topWindow() const {
        TopWindow top;
        const QStringList lines = readLines(layoutFile() + ".dialog");
        if (lines.isEmpty())
            return top;
        top.name = lines[0].section(u' ', 0, 0);
        top.active = lines[0].section(u' ', 1) == "active";
        for (const QString& line : lines.mid(1)) {
            const QString word = line.section(u' ', 0, 0);
            const QStringList f = line.split(u' ');
            if (word == "popup")
                top.popup = true;
            else if (word == "message")
                top.message = line.section(u' ', 1);
            else if (word == "focus")
                top.focus = f.value(1);
            else if (word == "text")
                top.texts[f.value(1)] = line.section(u' ', 2);
            else if (f.size() == 5)
                top.controls[word] = QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
        }
        return top;
    }
    // Waits until the window named `name` is on top with the focus and no
    // drop-down list open; its description is then in top_.
    bool waitForTop(const QString& name) {
        return waitUntil([&] {
            top_ = topWindow();
            return top_.name == name && top_.active && !top_.popup;
        });
    }

    bool xdotool(const QStringList& args) {
        return runCommand(QStringList{"xdotool"} + args, server_.env()).exitCode == 0;
    }
    bool clickAt(QPoint p) {
        return xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())}) &&
               xdotool({"click", "1"});
    }
    bool click(const QString& control) {
        return top_.controls.contains(control) && clickAt(top_.controls[control].center());
    }
    // Clicks into a box of the dialog on top and types over what it holds.
    bool typeInto(const QString& box, const QString& text) {
        return click(box) && pressKeys({"ctrl+a", "BackSpace"}) &&
               xdotool({"type", "--delay", "20", text});
    }
    // Opens the list of the drop-down box `box` of the window on top and
    // picks the entry `down` places below the first. A click that comes too
    // soon after a list closed only closes it, so the click is repeated.
    bool pickFrom(const QString& box, int down) {
        const QRect rect = top_.controls.value(box);
        bool open = false;
        for (int attempt = 0; attempt < 5 && !open && rect.isValid(); ++attempt)
            open = clickAt({rect.right() - 6, rect.center().y()}) &&
                   waitUntil([&] { return topWindow().popup; }, std::chrono::seconds(10));
        QStringList keys = {"Home"};
        keys.append(QList<QString>(down, "Down"));
        return open && pressKeys(keys + QStringList{"Return"});
    }
    // Picks an entry of the editor's key box.
    bool pickInEditor(int down) {
        if (!waitForTop("Form1"))
            return false;
        top_.controls = editorControls_;
        return pickFrom("Combo1", down);
    }
    // Answers the message box on top with Return once it shows `message`.
    bool answerMessage(const QString& message) {
        return waitForTop("QMessageBox") && top_.message == message && pressKeys({"Return"});
    }

    QStringList keysOfRows() const {
        QStringList keys;
        for (const QString& row : readLines(layoutFile() + ".rows"))
            keys << row.left(44).trimmed();
        return keys;
    }
    bool waitForKeys(const QStringList& keys) {
        return waitUntil([&] { return keysOfRows() == keys + QStringList{"<more...>"}; });
    }
    QString rowsText() const { return keysOfRows().join(u'\n'); }

    bool readEditorLayout() {
        if (!waitUntil([&] { return QFile::exists(layoutFile()); }))
            return false;
        for (const QString& line : readLines(layoutFile())) {
            const QStringList f = line.split(u' ');
            if (f.size() == 5)
                editorControls_[f[0]] =
                    QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
            if (f.size() == 2 && f[0] == "RowHeight")
                rowHeight_ = f[1].toInt();
        }
        return editorControls_.contains("Combo1") && editorControls_.contains("Command2") &&
               editorControls_.contains("List1") && rowHeight_ > 0;
    }

    Subprocess editor_;
    QMap<QString, QRect> editorControls_;
    int rowHeight_ = 0;
    TopWindow top_;
};

// Entries of the editor's key box, counted from the first.
constexpr int PosMouseEntry = 4;
constexpr int ChkEntry = 7;
constexpr int IfEntry = 8;
constexpr int LabelEntry = 9;

TEST_F(EditorDialogsE2ETest, DialogLinesAreEnteredRefusedAndSaved) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    ASSERT_TRUE(startEditor());
    ASSERT_FALSE(waitForWindow("New 'Key Sequence'").isEmpty());
    ASSERT_TRUE(readEditorLayout());

    // A mouse position: X typed over the selected "0", Y clicked and typed.
    ASSERT_TRUE(pickInEditor(PosMouseEntry));
    ASSERT_TRUE(waitForTop("Form5"));
    EXPECT_EQ(top_.focus, "Text1");
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "100"}));
    ASSERT_TRUE(typeInto("Text2", "200"));
    ASSERT_TRUE(click("Command1"));
    ASSERT_TRUE(waitForKeys({"[PosMouse(100;200)]"})) << rowsText().toStdString();

    // A check with X but no Y is refused; the values stay for the fix.
    ASSERT_TRUE(pickInEditor(ChkEntry));
    ASSERT_TRUE(waitForTop("Form11"));
    ASSERT_TRUE(typeInto("Text1", "12"));
    ASSERT_TRUE(typeInto("Text3", "5"));
    ASSERT_TRUE(typeInto("Text4", "Saved"));
    ASSERT_TRUE(click("Command1"));
    ASSERT_TRUE(answerMessage("Both X and Y must be space!")) << top_.message.toStdString();
    ASSERT_TRUE(waitForTop("Form11"));
    EXPECT_EQ(top_.texts.value("Text1"), "12");
    EXPECT_EQ(top_.texts.value("Text2"), "");
    EXPECT_EQ(top_.texts.value("Text3"), "5");
    EXPECT_EQ(top_.texts.value("Text4"), "Saved");
    ASSERT_TRUE(typeInto("Text2", "34"));
    ASSERT_TRUE(click("Command1"));
    ASSERT_TRUE(waitForKeys({"[PosMouse(100;200)]", "*Chk(12;34;5;Saved)*"}))
        << rowsText().toStdString();

    // The label the condition jumps to.
    ASSERT_TRUE(pickInEditor(LabelEntry));
    ASSERT_TRUE(waitForTop("QInputDialog"));
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "7"}));
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(waitForKeys({"[PosMouse(100;200)]", "*Chk(12;34;5;Saved)*", "*Label(7)*"}))
        << rowsText().toStdString();

    // A condition on the clipboard: type and operator picked from their
    // lists; a value with a comma is refused and stays, focused, for the fix.
    ASSERT_TRUE(pickInEditor(IfEntry));
    ASSERT_TRUE(waitForTop("Form12"));
    ASSERT_TRUE(pickFrom("Combo1", 0)); // ClipBoard
    ASSERT_TRUE(waitForTop("Form12"));
    ASSERT_TRUE(pickFrom("Combo2", 6)); // Contains (Cn)
    ASSERT_TRUE(waitForTop("Form12"));
    ASSERT_TRUE(typeInto("Text1", "a,b"));
    ASSERT_TRUE(typeInto("Text2", "7"));
    ASSERT_TRUE(click("Command1"));
    ASSERT_TRUE(answerMessage("Must not contains the following characters: ,;()"))
        << top_.message.toStdString();
    ASSERT_TRUE(waitForTop("Form12"));
    EXPECT_EQ(top_.texts.value("Combo1"), "ClipBoard");
    EXPECT_EQ(top_.texts.value("Combo2"), "Contains (Cn)");
    EXPECT_EQ(top_.texts.value("Text1"), "a,b");
    EXPECT_EQ(top_.texts.value("Text2"), "7");
    EXPECT_EQ(top_.focus, "Text1");
    ASSERT_TRUE(typeInto("Text1", "Total"));
    ASSERT_TRUE(click("Command1"));
    QStringList lines = {"[PosMouse(100;200)]", "*Chk(12;34;5;Saved)*", "*Label(7)*",
                         "*If(ClipB;Cn;Total;7)*"};
    ASSERT_TRUE(waitForKeys(lines)) << rowsText().toStdString();

    // The window manager takes Alt+Click for itself; a double-click on the
    // first row reopens its values as well.
    ASSERT_TRUE(waitForTop("Form1"));
    const QRect list = editorControls_["List1"];
    ASSERT_TRUE(xdotool({"mousemove", "--sync", QString::number(list.x() + list.width() / 3),
                         QString::number(list.y() + rowHeight_ / 2)}));
    ASSERT_TRUE(xdotool({"click", "--repeat", "2", "--delay", "80", "1"}));
    ASSERT_TRUE(waitForTop("Form5"));
    EXPECT_EQ(top_.texts.value("Text1"), "100");
    EXPECT_EQ(top_.texts.value("Text2"), "200");
    ASSERT_TRUE(typeInto("Text1", "150"));
    ASSERT_TRUE(click("Command1"));
    lines[0] = "[PosMouse(150;200)]";
    ASSERT_TRUE(waitForKeys(lines)) << rowsText().toStdString();

    ASSERT_TRUE(waitForTop("Form1"));
    ASSERT_TRUE(clickAt(editorControls_["Command2"].center()));
    ASSERT_TRUE(editor_.wait(std::chrono::seconds(60)));
    ASSERT_EQ(editor_.exitCode(), 0) << editor_.errors().toStdString();
    const CommandResult shown =
        runCommand({QStringLiteral(TAPWISE_STORE_TOOL), "show", folder(), "New1"});
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(shown.output), lines.join("\t0\n") + "\t0\n");
}

} // namespace
} // namespace tapwise::test
