#include "ui/mainwindow/hdrpixmapcreator.h"

#include "ui/mainwindow/hdrmainwindow.h"

#include <QCoreApplication>
#include <QThread>

void HDRPixmapCreator::Create(QImage* image)
{
    m_pImage = image;
    if (g_pHDRMainWindow) {
        g_pHDRMainWindow->CreatePixmapThreadSafe(this);
        return;
    }
    // No main window to hand off to: only the GUI thread may make a pixmap.
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread() && image)
        m_Pixmap = QPixmap::fromImage(*image);
    else
        m_Pixmap = QPixmap();
}

QPixmap CGuiPixmapHandOff::ToPixmap(const QImage& image)
{
    QImage copy = image; // shared, not copied; the creator takes a pointer
    HDRPixmapCreator creator(&copy);
    return creator.m_Pixmap;
}
