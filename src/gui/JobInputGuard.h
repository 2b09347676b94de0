// Watches the user's input to a window while its jobs run: Esc asks them to stop, and during a
// job that takes no input the rest of the input is dropped.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace quorvix {

// Installs itself as an event filter on the application, so it sees keys wherever the focus is
// in the window. Input to other windows (a dialog opened during a job) is left alone, so Esc
// still closes such a dialog.
class JobInputGuard final : public QObject {
    Q_OBJECT

public:
    // window is the one watched and must outlive the guard; cancel runs on every Esc pressed in
    // it while SetJobRunning(true) is in force.
    JobInputGuard(QWidget* window, std::function<void()> cancel);

    // Whether a job that Esc stops is running.
    void SetJobRunning(bool running) { jobRunning_ = running; }

    // While set, the window takes no input: keys, clicks, the wheel and context menus are
    // dropped rather than kept for later, so nothing the user did while it ran starts once it
    // ends. Esc still stops the job, and passThrough (may be nullptr) still takes the mouse, so
    // the window can be closed.
    void SetInputDropped(bool dropped, QWidget* passThrough = nullptr) {
        inputDropped_ = dropped;
        passThrough_ = passThrough;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void()> cancel_;
    QWidget* passThrough_ = nullptr;
    bool jobRunning_ = false;
    bool inputDropped_ = false;
};

} // namespace quorvix
