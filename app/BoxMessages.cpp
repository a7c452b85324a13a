#include "app/BoxMessages.h"

#include <QMessageBox>

#include <cstdio>

namespace tapwise {
namespace {

void writeToErrorOutput(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

int showBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec();
}

} // namespace

void BoxMessages::showMessage(const QString& title, const QString& text) {
    writeToErrorOutput(text);
    showBox(title, text, QMessageBox::Ok);
}

bool BoxMessages::askYesNo(const QString& title, const QString& text) {
    return showBox(title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace tapwise
