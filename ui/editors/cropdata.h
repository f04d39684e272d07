#pragma once
// The crop and caption choices a result image leaves the program with, and
// the one routine that lays the caption out and draws it. The crop dialog
// uses it for its preview, the result writer on an off-screen mask: neither
// needs a widget, so preview and file agree in position and proportion.

#include "ui/toolkit/AK_Global.h"

#include <QRect>
#include <QString>

class QPainter;

struct SCropData {
    SCropData();
    ~SCropData() = default;
    SCropData(const SCropData&) = default;
    SCropData& operator=(const SCropData&) = default;
    // Restores the defaults below.
    void Reset();

    bool bHasSelection;       // a crop rectangle other than the whole image
    bool bTextBottom;         // caption at the bottom edge (else the top)
    bool bTextBackground;     // darkened box behind the caption
    float fAspect;            // width / height of the crop; <= 0: free
    int iTextSize;            // 0 small, 1 normal, 2 large; other: no caption
    QString strText;          // one line of caption
    QString strFont;          // caption font family
    _hlp::SRangedRectRel rcCrop; // crop rectangle, fractions of the image
};

struct SCropResult {
    SCropResult();
    ~SCropResult() = default;
    void Reset();

    bool bCancelled;
    SCropData cropData;
};

// The caption's layout in a target rectangle of a device.
struct SCropCaptionLayout {
    bool bValid = false;   // false: nothing is drawn
    float fPointSize = 0;  // min(w, h) / (40, 30, 20 by size class), >= 0.01
    int iMargin = 0;       // max(h / 20, 1)
    QRect rcText;          // the rectangle the text is aligned in
    int iAlignment = 0;    // Qt::AlignmentFlag bits
};

SCropCaptionLayout CropCaptionLayout(const _hlp::SRangedRect<int>& target, int deviceWidth, int deviceHeight,
                                     const SCropData& data);

// Draws the caption of data into target on the painter's device: white text
// replacing what lies under it; with drawBox (the preview) and a background
// wanted, a translucent grey box behind it. Pen and brush are restored on exit.
void DrawCropCaption(QPainter& painter, const _hlp::SRangedRect<int>& target, const SCropData& data, bool drawBox);

// Draws the caption over the painter's whole device without a box (the
// result writer's mask). Nothing for a device without area.
void DrawCropCaptionOnDevice(QPainter& painter, const SCropData& data);

// Paints a caption over the painter's whole device without a box (the crop
// window's DrawText); the result writer uses it on its caption mask.
class ICropCaptionPainter {
public:
    virtual ~ICropCaptionPainter() = default;
    virtual void DrawText(QPainter& painter, const SCropData& data) const = 0;
};
