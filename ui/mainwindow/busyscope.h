#pragma once

#include "ui/mainwindow/hdrmainwindow.h"

#include <QMetaObject>

// Marks the window busy for its lifetime; a file-open message that arrives
// meanwhile is interpreted once the outermost scope ends.
class CBusyScope {
public:
    explicit CBusyScope(HDRMainWindow* window) : m_pWindow(window) { ++m_pWindow->m_iBusy; }
    ~CBusyScope()
    {
        if (--m_pWindow->m_iBusy == 0 && m_pWindow->m_bMessageDeferred)
            QMetaObject::invokeMethod(m_pWindow, &HDRMainWindow::InterpretDeferredMessage, Qt::QueuedConnection);
    }

private:
    HDRMainWindow* m_pWindow;
};
