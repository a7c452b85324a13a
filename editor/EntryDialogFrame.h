#pragma once

class QDialog;
class QLayout;
class QPushButton;
class QWidget;

namespace tapwise {

// OK (Command1, the default button) and Exit (Command2) of an entry dialog.
struct OkExitButtons {
    QPushButton* ok;
    QPushButton* exit;
};
OkExitButtons makeOkExitButtons(QDialog* dialog);

// The frame every entry dialog shares: its prompt on top, its own boxes,
// and OK and Exit centred below; the dialog keeps the size they need.
void layOutEntryDialog(QDialog* dialog, QWidget* prompt, QLayout* boxes,
                       const OkExitButtons& buttons);

// The space between the parts of an entry dialog, in twips.
inline constexpr int EntryDialogMargin = 120;

} // namespace tapwise
