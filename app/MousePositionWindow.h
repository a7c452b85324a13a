#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace tapwise {

struct Settings;

// The mouse position window (Form7): a small topmost window whose label
// follows the pointer's screen position, read every 10 ms. Closing it ends
// the program.
class MousePositionWindow : public QWidget {
    Q_OBJECT
public:
    explicit MousePositionWindow(const Settings& settings, QWidget* parent = nullptr);

    // Where the pointer is, in screen pixels; tests replace it.
    using PointerReader = std::function<QPoint()>;
    void setPointerReader(PointerReader reader) { readPointer_ = std::move(reader); }

    QString text() const;
    // One tick of the timer: the label shows where the pointer is now.
    void Timer1_Timer();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString lang_;
    PointerReader readPointer_;
    QLabel* positionLabel = nullptr; // Label1
    QTimer* timer = nullptr;         // Timer1
};

} // namespace tapwise
