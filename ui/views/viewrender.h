#pragma once
// Renders of the views go through the engine guard: a render asked for while
// an engine operation runs (a timer, show or resize event handled inside a
// progress window's event processing) keeps the picture and runs once, later,
// by a queued call; it never waits. Requests that arrive while one is pending
// replace it, so the latest state is drawn once.

#include <QImage>
#include <QPixmap>
#include <QPointer>

#include <functional>

class QObject;

class CViewRenderGate {
public:
    explicit CViewRenderGate(QObject* owner) : m_pOwner(owner) {}
    CViewRenderGate(const CViewRenderGate&) = delete;
    CViewRenderGate& operator=(const CViewRenderGate&) = delete;

    // Runs work now when the engine is free (true), else once after the
    // running operation (false). Nothing runs after the owner is gone.
    bool Run(std::function<void()> work);
    bool IsPending() const { return m_bPending; }

private:
    QPointer<QObject> m_pOwner;
    bool m_bPending = false;
    std::function<void()> m_Work;
};

// The GUI-thread pixmap of a view buffer (width x height ARGB words, packed),
// made by the main window's pixmap creator; null for an empty size.
QPixmap ViewPixmap(const unsigned int* argb, int width, int height);
