#pragma once

class QWidget;

namespace tapwise {

// The backgrounds an entry box shows: the window's normal colour, red (colour
// value 255) while its text is not valid, and the grey of a button face while
// it is switched off.
void setBoxNormal(QWidget* box);
void setBoxRed(QWidget* box);
void setBoxGrey(QWidget* box);
bool isBoxRed(const QWidget* box);
bool isBoxGrey(const QWidget* box);

} // namespace tapwise
