#pragma once

#include <QLineEdit>

namespace tapwise {

// A one-line entry box of the entry dialogs that tells when the user leaves
// it, and can take the focus back when what was left there is refused.
class ValueBox : public QLineEdit {
    Q_OBJECT
public:
    ValueBox(int maxLength, QWidget* parent);

    // Sets the text without cutting it to the box's limit: a value read back
    // from a line is shown whole, never silently shortened.
    void setFullText(const QString& text);
    // Selects the text and takes the focus, for a value that was refused.
    void reclaimFocus();

signals:
    // The focus went to another control of the same window.
    void left();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    int maxLength_;
};

} // namespace tapwise
