#include "editor/BoxColours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace tapwise {
namespace {

QColor red() {
    return QColor(255, 0, 0);
}

QColor buttonFace() {
    return QApplication::palette().color(QPalette::Button);
}

// The base colour is set for every colour group, so that a switched-off box
// shows the grey too.
void setBase(QWidget* box, const QColor& colour) {
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, colour);
    box->setPalette(colours);
}

} // namespace

void setBoxNormal(QWidget* box) {
    setBase(box, QApplication::palette().color(QPalette::Base));
}

void setBoxRed(QWidget* box) {
    setBase(box, red());
}

void setBoxGrey(QWidget* box) {
    setBase(box, buttonFace());
}

bool isBoxRed(const QWidget* box) {
    return box->palette().color(QPalette::Base) == red();
}

bool isBoxGrey(const QWidget* box) {
    return box->palette().color(QPalette::Base) == buttonFace();
}

} // namespace tapwise
