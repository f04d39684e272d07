#pragma once
// The program's own mouse cursors, shared by every window. Before Init()
// every cursor is the default arrow; Init() (run once by the main window
// before any window shows a cursor) loads them from the resources.

#include <QCursor>

class HDRCursor {
public:
    static void Init();

    static QCursor Arrow;
    static QCursor Pipette;
    static QCursor ClosedHand;
    static QCursor OpenHand;
    static QCursor Cross;
    static QCursor Paint;
    static QCursor PaintStamp;
    static QCursor Smooth;
    static QCursor SmoothStamp;
    static QCursor DeGhost;
    static QCursor Clear;
    static QCursor ClearStamp;
    static QCursor DragDirection;

    HDRCursor() = delete;
};
