#include "ui/editors/cropdata.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

SCropData::SCropData() { Reset(); }

void SCropData::Reset()
{
    bHasSelection = false;
    bTextBottom = true;
    bTextBackground = false;
    fAspect = -1.0f;
    iTextSize = 1;
    strText = QString();
    strFont = QStringLiteral("Arial");
    rcCrop = _hlp::SRangedRectRel();
    rcCrop.Set(0.0f, 0.0f, 1.0f, 1.0f);
}

SCropResult::SCropResult() { Reset(); }

void SCropResult::Reset()
{
    bCancelled = true;
    cropData.Reset();
}

SCropCaptionLayout CropCaptionLayout(const _hlp::SRangedRect<int>& target, int deviceWidth, int deviceHeight,
                                     const SCropData& data)
{
    SCropCaptionLayout layout;
    const int w = target.Width();
    const int h = target.Height();
    static const int divisors[3] = {40, 30, 20};
    if (w == 0 || h == 0 || data.iTextSize < 0 || data.iTextSize > 2)
        return layout;
    layout.bValid = true;
    layout.fPointSize = std::max(static_cast<float>(std::min(w, h)) / static_cast<float>(divisors[data.iTextSize]), 0.01f);
    layout.iMargin = std::max(h / 20, 1);
    layout.rcText = QRect(target.Left(), target.Top() + layout.iMargin, std::min(w, deviceWidth),
                          std::min(h - 2 * layout.iMargin, deviceHeight));
    layout.iAlignment = Qt::AlignHCenter | (data.bTextBottom ? Qt::AlignBottom : Qt::AlignTop);
    return layout;
}

void DrawCropCaption(QPainter& painter, const _hlp::SRangedRect<int>& target, const SCropData& data, bool drawBox)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return;
    const SCropCaptionLayout layout = CropCaptionLayout(target, device->width(), device->height(), data);
    if (!layout.bValid)
        return;
    const QPen oldPen = painter.pen();
    const QBrush oldBrush = painter.brush();

    QFont font(data.strFont);
    font.setPointSizeF(layout.fPointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing, false);

    if (drawBox && !data.strText.isEmpty() && data.bTextBackground) {
        const float s = layout.fPointSize;
        QRect box = QFontMetrics(font, device).boundingRect(layout.rcText, layout.iAlignment, data.strText);
        const int left = std::max(box.left() - static_cast<int>(std::lround(0.35f * s)), target.Left());
        const int top = std::max(box.top() - static_cast<int>(std::lround(0.2f * s)), target.Top());
        const int right = std::min(box.right() + static_cast<int>(std::lround(0.25f * s)), target.Right());
        const int bottom = std::min(box.bottom() + static_cast<int>(std::lround(0.15f * s)), target.Bottom());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(64, 64, 64, 128));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)));
    }

    painter.setPen(QColor(255, 255, 255, 255));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawText(layout.rcText, layout.iAlignment, data.strText);

    painter.setPen(oldPen);
    painter.setBrush(oldBrush);
}

void DrawCropCaptionOnDevice(QPainter& painter, const SCropData& data)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return;
    const int w = device->width();
    const int h = device->height();
    if (w <= 0 || h <= 0)
        return;
    _hlp::SRangedRect<int> rect;
    rect.SetRange(_hlp::SRange<int>(0, w), _hlp::SRange<int>(0, h));
    rect.Set(0, 0, w, h);
    DrawCropCaption(painter, rect, data, false);
}
