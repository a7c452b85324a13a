// The sequence editor on a real X server: keys typed with xdotool on US and
// Italian keyboards, picks from the key box, a drag and a Shift+Click on
// the list, the save, the stored record, and the run of what was captured.
#include "TapwiseSession.h"

#include "Wait.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <QFile>
#include <QMap>
#include <QRect>

namespace tapwise::test {
namespace {

// Maps a spare keycode of the server to a keysym for good, as a user's
// keyboard setting would: a key typed while xdotool remaps one for a moment
// could reach the editor after the mapping is already gone again.
bool mapSpareKey(const QString& display, KeySym keysym) {
    Display* x = XOpenDisplay(display.toLatin1().constData());
    if (!x)
        return false;
    int low = 0;
    int high = 0;
    XDisplayKeycodes(x, &low, &high);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(x, static_cast<KeyCode>(low), high - low + 1, &perKeycode);
    int spare = 0;
    for (int code = high; code >= low && spare == 0; --code) {
        bool empty = true;
        for (int i = 0; i < perKeycode; ++i)
            empty = empty && map[(code - low) * perKeycode + i] == NoSymbol;
        if (empty)
            spare = code;
    }
    XFree(map);
    if (spare != 0) {
        KeySym syms[2] = {keysym, keysym};
        XChangeKeyboardMapping(x, spare, 2, syms, 1);
        XSync(x, False);
    }
    XCloseDisplay(x);
    return spare != 0;
}

class EditorE2ETest : public TapwiseSession {
protected:
    QString layoutFile() const { return pathInFolder("../layout.txt"); }

    bool startEditor(const QString& lang) {
        Subprocess::Options options;
        options.env = server_.env() + QStringList{"QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"};
        options.captureOutput = true;
        return editor_.start(
            {QStringLiteral(TAPWISE_EDITOR_HOST), folder(), lang, "0", layoutFile()}, options);
    }

    // The screen rectangles of the editor's controls, once it is shown.
    bool readLayout() {
        if (!waitUntil([&] { return QFile::exists(layoutFile()); }))
            return false;
        QFile file(layoutFile());
        if (!file.open(QIODevice::ReadOnly))
            return false;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QStringList f = line.split(u' ');
            if (f.size() == 5)
                controls_[f[0]] = QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
            if (f.size() == 2 && f[0] == "RowHeight")
                rowHeight_ = f[1].toInt();
        }
        return controls_.contains("List1") && rowHeight_ > 0;
    }

    QStringList rows() const {
        QFile file(layoutFile() + ".rows");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Waits until the list holds `count` rows: the editor has taken the keys.
    bool waitForRows(qsizetype count) {
        return waitUntil([&] { return rows().size() == count; });
    }
    QStringList keysOfRows() const {
        QStringList keys;
        for (const QString& row : rows())
            keys << row.left(44).trimmed();
        return keys;
    }

    bool xdotool(const QStringList& args) {
        return runCommand(QStringList{"xdotool"} + args, server_.env()).exitCode == 0;
    }
    bool setLayout(const QString& layout) {
        return runCommand({"setxkbmap", "-display", server_.display(), layout}).exitCode == 0;
    }
    QPoint rowCentre(int row) const {
        const QRect list = controls_["List1"];
        return {list.x() + list.width() / 3, list.y() + row * rowHeight_ + rowHeight_ / 2};
    }
    bool moveTo(QPoint p) {
        return xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
    }
    bool clickControl(const QString& name) {
        return moveTo(controls_[name].center()) && xdotool({"click", "1"});
    }
    // Opens the key box's list and picks the entry `down` places below the first.
    // The list is a second window of the editor's program; a click that
    // comes too soon after the list last closed is taken again.
    bool pickEntry(int down) {
        const QRect box = controls_["Combo1"];
        if (!waitUntil([&] { return editorWindows() == 1; }) ||
            !moveTo({box.right() - 6, box.center().y()}))
            return false;
        bool open = false;
        for (int attempt = 0; attempt < 5 && !open; ++attempt)
            open = xdotool({"click", "1"}) &&
                   waitUntil([&] { return editorWindows() == 2; }, std::chrono::seconds(5));
        if (!open)
            return false;
        QStringList keys = {"Home"};
        for (int i = 0; i < down; ++i)
            keys << "Down";
        keys << "Return";
        return pressKeys(keys);
    }
    qsizetype editorWindows() {
        return runCommand(
                   {"xdotool", "search", "--onlyvisible", "--classname", "tapwise_editor_host"},
                   server_.env())
            .text()
            .split(u'\n', Qt::SkipEmptyParts)
            .size();
    }
    bool answerPrompt(const QString& title, const QString& text) {
        if (waitForWindow(title).isEmpty())
            return false;
        return xdotool({"type", "--delay", "20", text}) && pressKeys({"Return"});
    }

    Subprocess editor_;
    QMap<QString, QRect> controls_;
    int rowHeight_ = 0;
};

// The keys an event recorder got, without the modifier keys themselves;
// "+Ctrl" marks a key pressed with Ctrl.
QStringList keysPressed(const EventRecorder& recorder) {
    static const QStringList modifiers = {"Shift_L", "Shift_R",          "Control_L",  "Control_R",
                                          "Alt_L",   "ISO_Level3_Shift", "Mode_switch"};
    QStringList pressed;
    for (const QString& line : recorder.lines()) {
        const QStringList f = line.split(u' ');
        if (f.value(0) == "KeyPress" && !modifiers.contains(f.value(1)))
            pressed << f.value(1) + (f.value(2).contains("Control") ? "+Ctrl" : "");
    }
    return pressed;
}

const QStringList CapturedKeys = {"a", "B", "Ctrl+c", "{F5}", "{ENTER}", "é", "{PLUS}", "!", "€"};

TEST_F(EditorE2ETest, KeysPicksAndGesturesAreSavedAndRunAsCaptured) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    ASSERT_TRUE(setLayout("us"));
    ASSERT_TRUE(startEditor("E"));
    ASSERT_FALSE(waitForWindow("New 'Key Sequence'").isEmpty());
    ASSERT_TRUE(readLayout());

    // US keyboard; "é" is not on it and comes from a remapped key.
    ASSERT_TRUE(mapSpareKey(server_.display(), XK_eacute));
    ASSERT_TRUE(pressKeys({"a", "shift+b", "ctrl+c", "F5", "Return", "eacute"}));
    ASSERT_TRUE(waitForRows(7)) << rows().join('\n').toStdString();
    // Italian keyboard: the "+" key, Shift+1, AltGr+e.
    ASSERT_TRUE(setLayout("it"));
    ASSERT_TRUE(pressKeys({"plus", "shift+1", "ISO_Level3_Shift+e"}));
    ASSERT_TRUE(waitForRows(10)) << rows().join('\n').toStdString();
    EXPECT_EQ(keysOfRows(), CapturedKeys + QStringList{"<more...>"});

    ASSERT_TRUE(pickEntry(0)); // [LeftClick]
    ASSERT_TRUE(waitForRows(11));
    ASSERT_TRUE(pickEntry(14)); // :<string>
    ASSERT_TRUE(answerPrompt("Characters string", "Hi there"));
    ASSERT_TRUE(waitForRows(12));
    ASSERT_TRUE(pickEntry(9)); // *Label ...*
    ASSERT_TRUE(answerPrompt("Label", "5"));
    ASSERT_TRUE(waitForRows(13)) << rows().join('\n').toStdString();

    // [LeftClick] dragged to the top; then {F5} switched off.
    ASSERT_TRUE(moveTo(rowCentre(9)));
    ASSERT_TRUE(xdotool({"mousedown", "1"}));
    ASSERT_TRUE(moveTo(rowCentre(4)));
    ASSERT_TRUE(moveTo(rowCentre(0)));
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
    ASSERT_TRUE(waitUntil([&] { return keysOfRows().value(0) == "[LeftClick]"; }))
        << rows().join('\n').toStdString();
    ASSERT_TRUE(moveTo(rowCentre(4)));
    ASSERT_TRUE(xdotool({"keydown", "Shift_L", "click", "1", "keyup", "Shift_L"}));
    ASSERT_TRUE(waitUntil([&] { return keysOfRows().value(4) == "#{F5}"; }))
        << rows().join('\n').toStdString();

    ASSERT_TRUE(clickControl("Command2"));
    ASSERT_TRUE(editor_.wait(std::chrono::seconds(60)));
    ASSERT_EQ(editor_.exitCode(), 0) << editor_.errors().toStdString();

    const CommandResult shown =
        runCommand({QStringLiteral(TAPWISE_STORE_TOOL), "show", folder(), "New1"});
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(shown.output),
              QString::fromUtf8("[LeftClick]\t0\na\t0\nB\t0\nCtrl+c\t0\n#{F5}\t0\n{ENTER}\t0\n"
                                "é\t0\n{PLUS}\t0\n!\t0\n€\t0\n:Hi there\t0\n*Label(5)*\t0\n"));

    // The same lines added by the store tool make the same file, byte for byte.
    const QString other = pathInFolder("../other");
    ASSERT_EQ(runCommand({"mkdir", other}).exitCode, 0);
    Subprocess add;
    Subprocess::Options addOptions;
    addOptions.input = shown.output;
    addOptions.captureOutput = true;
    ASSERT_TRUE(add.start({QStringLiteral(TAPWISE_STORE_TOOL), "add", other, "New1"}, addOptions));
    ASSERT_TRUE(add.wait(std::chrono::seconds(30)));
    ASSERT_EQ(add.exitCode(), 0) << add.errors().toStdString();
    QFile saved(pathInFolder("TapwiseData.dtk"));
    QFile added(other + "/TapwiseData.dtk");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && added.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), added.readAll());

    // The run types what was captured.
    ASSERT_TRUE(setLayout("us"));
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, true)) << recorder.error().toStdString();
    ASSERT_TRUE(xdotool({"mousemove", "--window", recorder.windowId(), "--sync", "20", "20"}));
    ASSERT_TRUE(startTapwise({folder() + ",New1,,NoMsg"}));
    EXPECT_EQ(waitForExit(), 0) << errorOutput().toStdString();
    // The window manager replays a click on a window after its own look at
    // it, so the click is checked apart from the order of the keys.
    EXPECT_TRUE(recorder.waitForLine("ButtonPress 1"));
    const QStringList typed = {"a", "B", "c+Ctrl", "Return", "eacute", "plus", "exclam", "EuroSign",
                               "H", "i", "space",  "t",      "h",      "e",    "r",      "e"};
    waitUntil([&] { return keysPressed(recorder).size() >= typed.size(); });
    EXPECT_EQ(keysPressed(recorder), typed);
}

// The same keys on German and French keyboards: the "+" and "," keys by
// what they type, letters and digits wherever the layout puts them.
TEST_F(EditorE2ETest, GermanAndFrenchKeyboards) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    ASSERT_TRUE(startEditor("I"));
    ASSERT_FALSE(waitForWindow("Nuovo 'Key Sequence'").isEmpty());
    ASSERT_TRUE(readLayout());

    ASSERT_TRUE(setLayout("de"));
    ASSERT_TRUE(pressKeys({"plus", "shift+1", "ISO_Level3_Shift+e", "comma", "z", "ctrl+z"}));
    ASSERT_TRUE(waitForRows(7)) << rows().join('\n').toStdString();
    // French: "1" and "+" need Shift, which types them as they are.
    ASSERT_TRUE(setLayout("fr"));
    ASSERT_TRUE(pressKeys({"a", "ctrl+a", "1", "plus", "comma", "exclam"}));
    ASSERT_TRUE(waitForRows(13)) << rows().join('\n').toStdString();
    EXPECT_EQ(keysOfRows(), QStringList({"{PLUS}", "!", "€", "{COMMA}", "z", "Ctrl+z", "a",
                                         "Ctrl+a", "1", "+", "{COMMA}", "!", "<more...>"}));
    editor_.stop();
}

} // namespace
} // namespace tapwise::test
