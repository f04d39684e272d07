#include "app/hdrapplication.h"

#include "engine/MP_calc.h"
#include "ui/mainwindow/hdrmainwindow.h"

#include <QFileOpenEvent>
#include <QKeyEvent>

HDRApplication::HDRApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    installEventFilter(this);
}

bool HDRApplication::event(QEvent* event)
{
    if (event->type() == QEvent::FileOpen) {
        const QString path = static_cast<QFileOpenEvent*>(event)->file();
        if (g_pHDRMainWindow)
            g_pHDRMainWindow->InterpretReceivedMessage(path);
        else
            m_strPendingMessage = path;
        return true;
    }
    return QApplication::event(event);
}

bool HDRApplication::PassesAnimationFilter(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::Resize:
    case QEvent::Close:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    // Lost forever if consumed: queued slot calls (a worker waiting for its
    // pixmap), deferred deletes, and the platform's expose that starts
    // painting under Qt 6.
    case QEvent::MetaCall:
    case QEvent::DeferredDelete:
    case QEvent::Expose:
        return true;
    default:
        return false;
    }
}

bool HDRApplication::eventFilter(QObject* object, QEvent* event)
{
    const bool base = QApplication::eventFilter(object, event);
    if (MP_UI_GetAnimMode() != 1)
        return base;
    if (PassesAnimationFilter(event))
        return base;
    if (event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            MP_UI_SetKeyPressedMode(1);
            return true;
        }
        return base;
    }
    return true;
}
