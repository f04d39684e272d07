#include "document/globalstate.h"

#include <QCoreApplication>
#include <QEvent>

CGlobalState* CGlobalState::s_pInstance = nullptr;

void CGlobalState::Activate(IGlobalStateReceiver* receiver)
{
    if (s_pInstance) {
        delete s_pInstance; // also ends its filtering
        s_pInstance = nullptr;
    }
    s_pInstance = new CGlobalState();
    s_pInstance->m_pReceiver = receiver;
    if (receiver)
        receiver->eventActivate();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(s_pInstance);
}

void CGlobalState::Deactivate()
{
    if (!s_pInstance)
        return;
    if (s_pInstance->m_pReceiver)
        s_pInstance->m_pReceiver->eventDeactivate();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(s_pInstance);
}

void CGlobalState::DeleteInstance()
{
    if (s_pInstance) {
        delete s_pInstance;
        s_pInstance = nullptr;
    }
}

bool CGlobalState::eventFilter(QObject* object, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Drop:
        if (!m_pReceiver)
            break;
        if (!m_pReceiver->eventFilter(object, event))
            return true; // consumed; routing goes on
        Deactivate();
        return QObject::eventFilter(object, event);
    default:
        break;
    }
    return QObject::eventFilter(object, event);
}
