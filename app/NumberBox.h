#pragma once

#include <QLineEdit>

namespace tapwise {

// A numeric input box: its background is red while the text is not valid,
// the window colour otherwise. Left with an empty text it shows its default;
// left with a text that is not valid it keeps the focus.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    using Check = bool (*)(const QString& text);

    NumberBox(Check check, QString emptyText, QWidget* parent);

    bool isValid() const { return check_(text()); }
    // True while the background shows the text as not valid.
    bool isRed() const;
    // Selects the text and takes the focus, for a value that was refused.
    void reclaimFocus();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Text_Change();

    Check check_;
    QString emptyText_;
};

} // namespace tapwise
