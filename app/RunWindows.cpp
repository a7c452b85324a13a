#include "app/RunWindows.h"

#include "app/AppTexts.h"
#include "app/BoxMessages.h"
#include "app/CycleWindow.h"
#include "app/PauseWindow.h"
#include "app/StartWindow.h"
#include "common/Settings.h"
#include "gui/MessageBox.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

namespace tapwise {
namespace {

constexpr std::chrono::milliseconds NoticeTime(3000);

} // namespace

RunWindows::RunWindows(const Settings& settings, QWidget* mainWindow)
    : settings_(settings), mainWindow_(mainWindow) {}

RunWindows::~RunWindows() = default;

void RunWindows::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void RunWindows::closeMainWindow() {
    if (mainWindow_)
        mainWindow_->close();
}

// Like start-up's messages, also on standard error for a run started by a script.
void RunWindows::showMessage(const QString& text) {
    BoxMessages().showMessage(QString::fromLatin1(apptext::MessageTitle), text);
}

QString RunWindows::chooseWorkbook() {
    QFileDialog dialog(nullptr, settings_.runTitle(), settings_.DataFolder,
                       apptext::WorkbookFilter.in(settings_.Lang));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> RunWindows::askPassword(const QString& prompt) {
    return MessageBox::input(nullptr, settings_.runTitle(), prompt, QString(),
                             MessageBox::Echo::Hidden);
}

RunUi::StartAnswer RunWindows::showStartWindow(const StartRequest& request) {
    StartWindow form(settings_.Lang);
    return form.ask(request);
}

QString RunWindows::showMessageWindow(const MessageRequest& request) {
    PauseWindow form(settings_.Lang);
    return form.ask(request);
}

CycleWindow& RunWindows::loadCycleWindow() {
    if (!cycleWindow_)
        cycleWindow_ = std::make_unique<CycleWindow>(settings_.Lang, settings_.runTitle());
    return *cycleWindow_;
}

RunUi::CycleAnswer RunWindows::showCycleDialog(const CycleRequest& request) {
    return loadCycleWindow().ask(request);
}

void RunWindows::showRunningWindow(const QString& caption, const QString& text) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    loadCycleWindow().becomeRunningWindow(caption, text, area);
}

void RunWindows::closeRunningWindow() {
    cycleWindow_.reset();
}

bool RunWindows::runningWindowActivated() {
    return cycleWindow_ && cycleWindow_->activated();
}

void RunWindows::showActivationNotice(const QString& text) {
    loadCycleWindow().showNotice(text, NoticeTime);
}

} // namespace tapwise
