#include "app/NumberBox.h"

#include <QFocusEvent>
#include <QPalette>
#include <QTimer>

namespace tapwise {
namespace {

// The red of a box that holds a value that is not valid.
QColor invalidColor() {
    return QColor(255, 0, 0);
}

} // namespace

NumberBox::NumberBox(Check check, QString emptyText, QWidget* parent)
    : QLineEdit(parent), check_(check), emptyText_(std::move(emptyText)) {
    connect(this, &QLineEdit::textChanged, this, &NumberBox::Text_Change);
}

bool NumberBox::isRed() const {
    return palette().color(QPalette::Base) == invalidColor();
}

void NumberBox::reclaimFocus() {
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void NumberBox::Text_Change() {
    QPalette colors = palette();
    colors.setColor(QPalette::Base, isValid() ? QPalette().color(QPalette::Base) : invalidColor());
    setPalette(colors);
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (text().isEmpty()) {
        setText(emptyText_);
        return;
    }
    if (!isValid())
        QTimer::singleShot(0, this, &NumberBox::reclaimFocus);
}

} // namespace tapwise
