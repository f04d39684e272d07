#pragma once
// HDRPixmapCreator turns a QImage into a QPixmap on the GUI thread, from any
// thread: the GUI thread converts at once; a worker hands the image to the
// main window and waits until the GUI thread has converted it. Without a main
// window the GUI thread still converts, and a worker gets a null pixmap.

#include "document/documentseams.h"

#include <QImage>
#include <QPixmap>

class HDRPixmapCreator {
public:
    HDRPixmapCreator() = default;
    // Converts at once; m_Pixmap holds the result when the constructor returns.
    explicit HDRPixmapCreator(QImage* image) { Create(image); }

    // Converts another image with the same creator.
    void Create(QImage* image);

    QImage* m_pImage = nullptr; // not owned; alive until the conversion returned
    QPixmap m_Pixmap;           // null until a conversion ran
};

// The document's pixmap seam, served by HDRPixmapCreator.
class CGuiPixmapHandOff : public IPixmapHandOff {
public:
    QPixmap ToPixmap(const QImage& image) override;
};
