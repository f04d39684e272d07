#pragma once
// HDRApplication, the program's application object. It turns file-open
// events into calls of the main window's message interpreter (keeping the
// last path until the main window exists), and while the engine's animation
// mode is 1 it filters the events of the whole GUI thread: Escape stops the
// animation, other key presses and painting pass, user input is discarded.

#include <QApplication>
#include <QString>

class HDRApplication : public QApplication {
    Q_OBJECT
public:
    HDRApplication(int& argc, char** argv);

    // The path of the last file-open event that arrived before the main
    // window existed; main hands it to the window as the start message.
    QString m_strPendingMessage;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

    // Whether an event passes the animation filter (animation mode 1). Posted
    // calls, deferred deletes and exposes pass so that a worker's pixmap
    // hand-off and widget clean-up are not lost; timers and input are consumed.
    static bool PassesAnimationFilter(const QEvent* event);
};
