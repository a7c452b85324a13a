#include "editor/EntryDialogFrame.h"

#include "editor/EntryDialogTexts.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int ButtonWidth = 1095;

} // namespace

OkExitButtons makeOkExitButtons(QDialog* dialog) {
    OkExitButtons buttons{
        named(new QPushButton(QString::fromLatin1(entrytext::Ok), dialog), "Command1"),
        named(new QPushButton(QString::fromLatin1(entrytext::Exit), dialog), "Command2")};
    for (QPushButton* button : {buttons.ok, buttons.exit})
        button->setMinimumWidth(TwipsToPixels(ButtonWidth));
    buttons.ok->setDefault(true);
    return buttons;
}

void layOutEntryDialog(QDialog* dialog, QWidget* prompt, QLayout* boxes,
                       const OkExitButtons& buttons) {
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(buttons.ok);
    buttonRow->addSpacing(TwipsToPixels(4 * EntryDialogMargin));
    buttonRow->addWidget(buttons.exit);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int margin = TwipsToPixels(2 * EntryDialogMargin);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(prompt);
    layout->addSpacing(TwipsToPixels(EntryDialogMargin));
    layout->addLayout(boxes);
    layout->addSpacing(TwipsToPixels(EntryDialogMargin));
    layout->addLayout(buttonRow);
}

} // namespace tapwise
