#include "ui/toolkit/hdrcursor.h"

#include "ui/toolkit/resourceinit.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>

// Cursors need the application object: the members are constructed empty at
// program start and become arrows as soon as the application starts.
QCursor HDRCursor::Arrow;
QCursor HDRCursor::Pipette;
QCursor HDRCursor::ClosedHand;
QCursor HDRCursor::OpenHand;
QCursor HDRCursor::Cross;
QCursor HDRCursor::Paint;
QCursor HDRCursor::PaintStamp;
QCursor HDRCursor::Smooth;
QCursor HDRCursor::SmoothStamp;
QCursor HDRCursor::DeGhost;
QCursor HDRCursor::Clear;
QCursor HDRCursor::ClearStamp;
QCursor HDRCursor::DragDirection;

namespace {

QCursor* const kAll[] = {&HDRCursor::Arrow, &HDRCursor::Pipette, &HDRCursor::ClosedHand, &HDRCursor::OpenHand,
                         &HDRCursor::Cross, &HDRCursor::Paint, &HDRCursor::PaintStamp, &HDRCursor::Smooth,
                         &HDRCursor::SmoothStamp, &HDRCursor::DeGhost, &HDRCursor::Clear, &HDRCursor::ClearStamp,
                         &HDRCursor::DragDirection};

void makeArrows()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return; // no cursors without a graphical application
    for (QCursor* cursor : kAll)
        *cursor = QCursor(Qt::ArrowCursor);
}

// A 32 x 32 image of the resource folder "/cursor/" with its hot spot
// (-1, -1: the centre of the image). An unreadable image gives an empty cursor.
QCursor load(const char* name, int hotX, int hotY)
{
    return QCursor(QPixmap(QStringLiteral(":/cursor/Cursor_%1.png").arg(QLatin1String(name))), hotX, hotY);
}
} // namespace

void HDRCursor::Init()
{
    LumivexInitResources();
    Arrow = load("Arrow", 0, 0);
    Pipette = load("Pipette", 0, 31);
    ClosedHand = load("ClosedHand", 8, 8);
    OpenHand = load("OpenHand", 8, 8);
    Cross = load("Cross", -1, -1);
    Paint = load("Paint", 0, 0);
    PaintStamp = load("PaintStamp", 0, 0);
    Smooth = load("Smooth", 0, 0);
    SmoothStamp = load("SmoothStamp", 0, 0);
    DeGhost = load("DeGhost", 0, 0);
    Clear = load("Clear", 0, 0);
    ClearStamp = load("ClearStamp", 0, 0);
    DragDirection = load("DragDirection", 8, 8);
}

Q_COREAPP_STARTUP_FUNCTION(makeArrows)
