#pragma once

#include <QLabel>
#include <QPoint>

#include <functional>

class QTimer;

namespace tapwise {

// Shows where the pointer is on the screen, live, in the dialogs that ask for
// a screen position, and takes that position when the user presses F8: the
// user points at the place with the dialog still active and presses the key,
// without leaving the editor.
class PointerPosition : public QLabel {
    Q_OBJECT
public:
    using Source = std::function<QPoint()>;

    PointerPosition(const QString& lang, QWidget* window);

    // Where the position comes from; the screen pointer unless a test says.
    void setSource(Source source);
    QPoint position() const { return source_(); }
    // Reads the position again and shows it.
    void refresh();

    // The screen pointer in the pixels of the desktop (the coordinates that
    // a position line uses), also on a scaled screen.
    static QPoint screenPointer();

signals:
    void taken(QPoint position);

private:
    QString lang_;
    Source source_;
    QTimer* timer_ = nullptr;
};

} // namespace tapwise
