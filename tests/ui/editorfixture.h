#pragma once
// Helpers of the editor tests: a pointer event sent to a widget, and a body
// run while a modal editor is open (the editor is closed afterwards).

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

inline void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// open runs the editor's modal loop; body runs inside it, then the editor
// is accepted.
inline void RunWhileOpen(QDialog* editor, const std::function<void()>& open, const std::function<void()>& body)
{
    bool ran = false;
    QTimer::singleShot(0, editor, [&] {
        ran = true;
        body();
        editor->accept();
    });
    open();
    EXPECT_TRUE(ran);
}
