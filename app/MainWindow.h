#pragma once

#include "store/SequenceStore.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace tapwise {

class MousePositionWindow;
class RunLauncher;
struct Settings;

// The main window's layout in twips: a client area of 10035 x 5250, every
// button 375 high. Controls grow (and those to their right move along) only
// where a caption would not fit.
namespace mainWindow {
inline constexpr int Width = 10035;
inline constexpr int Height = 5250;
inline constexpr int ButtonHeight = 375;
inline constexpr int ListLeft = 1440;
inline constexpr int ListTop = 960;
inline constexpr int ListWidth = 6255;
inline constexpr int ListHeight = 3375;
inline constexpr int BottomRow = 4680; // Run, Exit, Help, Check mouse position, Uninstall
inline constexpr int RunLeft = 1440;
inline constexpr int RunWidth = 1215;
inline constexpr int SideColumn = 8280; // New to Print format
inline constexpr int SideWidth = 1335;
inline constexpr int ExportTop = 2280;
inline constexpr int ImportTop = 2640;
inline constexpr int ShortcutLeft = 7800; // Create a Desktop Shortcut
inline constexpr int ShortcutTop = 3840;
inline constexpr int ShortcutWidth = 2175;
} // namespace mainWindow

// The main window (Form2): lists the Key sequences of the data folder and
// acts on the selected one. Closing it with its close box or Exit ends the
// program; a run or the mouse position window takes its place instead.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The run is handed to launcher; settings carry the data folder, the
    // language and the run flag NoMsg.
    MainWindow(Settings& settings, RunLauncher& launcher, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creates the data file when the folder has none (and says so), or lists
    // its Key sequences and selects the first. Called once, before show().
    void Form_Load();

    // The Key sequences listed, one main list row each, in file order.
    QStringList rows() const;
    // The selected row, -1 when none.
    int selectedRow() const;

    // Opens the print file with the desktop's default application; false
    // when nothing could open it. Tests replace it.
    using DocumentOpener = std::function<bool(const QString& file)>;
    void setDocumentOpener(DocumentOpener opener) { openDocument_ = std::move(opener); }

    // Opens the sequence editor modally for a new Key sequence (position 0)
    // or a stored one; true when it saved, the saved record's position then
    // being store.CurrentPosition(). Tests replace it.
    using EditorOpener = std::function<bool(QWidget* parent, Settings& settings,
                                            SequenceStore& store, qint32 position)>;
    void setEditorOpener(EditorOpener opener) { openEditor_ = std::move(opener); }

    // The mouse position window, once Check mouse position has opened it.
    MousePositionWindow* mousePositionWindow() const { return form7_.get(); }

signals:
    // The program is to end with this exit status: Exit, the close box, the
    // end of a run, or the mouse position window closed.
    void programEnded(int exitCode);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectButtons();
    QPushButton* addButton(const char* name, int left, int top, int width);
    void setTexts();
    void setTabOrder();
    void fitCaptions();

    void Command1_Click();  // New
    void Command2_Click();  // Run
    void Command3_Click();  // Update
    void Command4_Click();  // Delete
    void Command5_Click();  // Exit
    void Command6_Click();  // Help
    void Command7_Click();  // Export
    void Command8_Click();  // Import
    void Command9_Click();  // Check mouse position
    void Command10_Click(); // Create a Desktop Shortcut
    void Command11_Click(); // Print format
    void Command12_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void List1_DblClick();

    void OpenEditor(qint32 position);
    // Fills the list from the data file (compacting it when due), shows a
    // damage the walk stopped at, and selects the first row.
    void ScanSequences();
    void selectRow(int row);
    // The record position of the selected row, or 0 after "Select a row!".
    qint32 selectedPosition();
    void showMessage(const QString& text);
    void showError(const Error& error);
    void showKeptRecords();

    Settings& settings_;
    RunLauncher& launcher_;
    SequenceStore store_;
    DocumentOpener openDocument_;
    EditorOpener openEditor_;
    // Set while the window closes to hand over to a run or to the mouse
    // position window, which does not end the program.
    bool handingOver_ = false;
    std::unique_ptr<MousePositionWindow> form7_;

    QLabel* descriptionLabel = nullptr;         // Label1
    QListWidget* sequenceList = nullptr;        // List1
    QPushButton* newButton = nullptr;           // Command1
    QPushButton* runButton = nullptr;           // Command2
    QPushButton* updateButton = nullptr;        // Command3
    QPushButton* deleteButton = nullptr;        // Command4
    QPushButton* exitButton = nullptr;          // Command5
    QPushButton* helpButton = nullptr;          // Command6
    QPushButton* exportButton = nullptr;        // Command7
    QPushButton* importButton = nullptr;        // Command8
    QPushButton* mousePositionButton = nullptr; // Command9
    QPushButton* shortcutButton = nullptr;      // Command10
    QPushButton* printButton = nullptr;         // Command11
    QPushButton* uninstallButton = nullptr;     // Command12
};

} // namespace tapwise
