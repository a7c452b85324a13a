#include "app/BoxMessages.h"

#include "gui/MessageBox.h"

#include <cstdio>

namespace tapwise {
namespace {

void writeToErrorOutput(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

void BoxMessages::showMessage(const QString& title, const QString& text) {
    writeToErrorOutput(text);
    MessageBox::show(nullptr, title, text);
}

bool BoxMessages::askYesNo(const QString& title, const QString& text) {
    return MessageBox::askYesNo(nullptr, title, text);
}

} // namespace tapwise
