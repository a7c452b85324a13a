#include "editor/ValueBox.h"

#include <QFocusEvent>
#include <QTimer>

#include <algorithm>

namespace tapwise {

ValueBox::ValueBox(int maxLength, QWidget* parent) : QLineEdit(parent), maxLength_(maxLength) {
    setMaxLength(maxLength);
}

void ValueBox::setFullText(const QString& text) {
    setMaxLength(std::max(maxLength_, static_cast<int>(text.size())));
    setText(text);
    selectAll();
}

void ValueBox::reclaimFocus() {
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void ValueBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window, or opening a menu, is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    emit left();
}

} // namespace tapwise
