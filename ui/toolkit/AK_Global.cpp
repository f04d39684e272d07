#include "ui/toolkit/AK_Global.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLine>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <climits>
#include <cmath>
#include <cstdio>

namespace _hlp {

namespace {
// Truncation toward zero with NaN and the ends of the int range handled.
int truncToInt(float x)
{
    if (!(x == x))
        return 0;
    if (x >= 2147483647.0f)
        return INT_MAX;
    if (x <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(x);
}
} // namespace

int MathRound(float x)
{
    return x >= 0.0f ? truncToInt(x + 0.5f) : truncToInt(x - 0.5f);
}

float MathRound(float x, unsigned int digits)
{
    if (digits > 8)
        return x;
    if (digits == 0)
        return static_cast<float>(MathRound(x));
    const float scale = std::pow(10.0f, static_cast<float>(digits));
    const float scaled = x * scale;
    const int whole = scaled >= 0.0f ? truncToInt(scaled + 0.5f) : truncToInt(scaled - 0.5f);
    return static_cast<float>(whole) / scale;
}

int MathCycle(int a, int b, float t)
{
    t = MathClamp(t, 0.0f, 1.0f);
    const float u = t <= 0.5f ? 2.0f * t : 2.0f - 2.0f * t;
    return MathLerp<int>(a, b, u);
}

QColor MathCycle(QColor const& c1, QColor c2, float t)
{
    return QColor(MathCycle(c1.red(), c2.red(), t), MathCycle(c1.green(), c2.green(), t),
                  MathCycle(c1.blue(), c2.blue(), t), MathCycle(c1.alpha(), c2.alpha(), t));
}

float MathLimitToMax(float a, float b, float c)
{
    if (!(a > 0.0f) || !(b > 0.0f))
        return 0.0f;
    float r = a / b;
    if (c > 0.0f)
        r = (r + c) - std::floor(r + c);
    return MathClamp(r, 0.0f, 1.0f);
}

QSizeF MathAdjustAspect(QSizeF const& size, QSizeF const& aspect)
{
    if (!(size.width() > 0) || !(size.height() > 0) || !(aspect.width() > 0) || !(aspect.height() > 0))
        return size;
    const float ratioSize = static_cast<float>(size.width()) / static_cast<float>(size.height());
    const float ratioAspect = static_cast<float>(aspect.width()) / static_cast<float>(aspect.height());
    QSizeF out = size;
    if (ratioSize > ratioAspect)
        out.setWidth(ratioAspect * static_cast<float>(size.height()));
    else if (ratioSize < ratioAspect)
        out.setHeight(static_cast<float>(size.width()) / ratioAspect);
    return out;
}

unsigned int StrPrintFV(char* buffer, unsigned int size, char const* format, va_list args)
{
    if (!buffer || size == 0)
        return 0;
    if (!format) {
        buffer[0] = '\0';
        return 0;
    }
    const int n = std::vsnprintf(buffer, size, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    const unsigned int written = static_cast<unsigned int>(n) < size ? static_cast<unsigned int>(n) : size - 1;
    buffer[written] = '\0';
    return written;
}

unsigned int StrPrintF(char* buffer, unsigned int size, char const* format, ...)
{
    va_list args;
    va_start(args, format);
    const unsigned int n = StrPrintFV(buffer, size, format, args);
    va_end(args);
    return n;
}

} // namespace _hlp

namespace _gui {

using _hlp::MathRound;

void AdjustLayout(QGridLayout* layout)
{
    if (layout)
        layout->setSpacing(20);
}

void AdjustLayout(QHBoxLayout* layout)
{
    if (layout)
        layout->setSpacing(20);
}

void AdjustLayout(QVBoxLayout* layout)
{
    if (layout)
        layout->setSpacing(4);
}

int AdjustHeight(int h) { return MathRound(static_cast<float>(h * 1.3)); }

int AdjustWidth(int w) { return MathRound(static_cast<float>(w * 1.3)) + 6; }

QString HtmlToolTip(const QString& text)
{
    return QStringLiteral("<H3><p>") + text + QStringLiteral("</p></H3><p></p>");
}

bool IsPixmapValid(QPixmap const* pixmap) { return pixmap && !pixmap->isNull(); }

bool IsActionButton(Qt::MouseButton button) { return button == Qt::LeftButton; }
bool IsContextButton(Qt::MouseButton button) { return button == Qt::RightButton; }
bool IsActionButtonPressed(Qt::MouseButtons buttons) { return buttons.testFlag(Qt::LeftButton); }
bool IsContextButtonPressed(Qt::MouseButtons buttons) { return buttons.testFlag(Qt::RightButton); }

void DrawEllipse(QPainter& p, QPoint const& c, int r)
{
    if (r <= 0)
        return;
    p.drawEllipse(QRect(QPoint(c.x() - r, c.y() - r), QPoint(c.x() + r, c.y() + r)));
}

void DrawArc(QPainter& p, QPoint const& c, int r, int start, int span)
{
    if (r <= 0 || span <= 0)
        return;
    p.drawArc(QRect(c.x() - r, c.y() - r, 2 * r + 1, 2 * r + 1), start * 16, span * 16);
}

void DrawCross(QPainter& p, QPointF const& c, float size)
{
    const float x = MathRound(static_cast<float>(c.x()), 0);
    const float y = MathRound(static_cast<float>(c.y()), 0);
    const float h = size / 2.0f;
    p.drawLine(QPointF(x - h, y - h), QPointF(x + h, y + h));
    p.drawLine(QPointF(x + h, y - h), QPointF(x - h, y + h));
}

void DrawPolygon(QPainter& p, QPoint const* points, unsigned int n)
{
    if (n == 0 || !points)
        return;
    p.save();
    const QPolygon outline(QList<QPoint>(points, points + n));
    QPolygon fill(outline);
    for (QPoint& pt : fill) {
        const QPoint moved = pt + QPoint(1, 1);
        if (outline.containsPoint(moved, Qt::OddEvenFill))
            pt = moved;
    }
    const QPen pen = p.pen();
    const QBrush brush = p.brush();
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPolygon(fill, Qt::OddEvenFill);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(outline, Qt::OddEvenFill);
    p.restore();
}

namespace {
QPen shadowPen(QPainter const& p, int width)
{
    QPen pen = p.pen();
    pen.setColor(QColor(0x2e, 0x2e, 0x2e));
    pen.setWidth(width);
    return pen;
}
} // namespace

void DrawShadowedEllipse(QPainter& p, QPoint const& c, int r)
{
    p.save();
    const QPen own = p.pen();
    p.setPen(shadowPen(p, 2));
    DrawEllipse(p, c + QPoint(1, 1), r);
    p.setPen(own);
    DrawEllipse(p, c, r);
    p.restore();
}

void DrawShadowedArc(QPainter& p, QPoint const& c, int r, int start, int span)
{
    p.save();
    const QPen own = p.pen();
    p.setPen(shadowPen(p, 2));
    DrawArc(p, c + QPoint(1, 1), r, start, span);
    p.setPen(own);
    DrawArc(p, c, r, start, span);
    p.restore();
}

void DrawShadowedLine(QPainter& p, QLine const& line)
{
    p.save();
    const QPen own = p.pen();
    p.setPen(shadowPen(p, 2));
    p.drawLine(line.translated(1, 1));
    p.setPen(own);
    p.drawLine(line);
    p.restore();
}

void DrawShadowedText(QPainter& p, int x, int y, QString const& text)
{
    p.save();
    const QPen own = p.pen();
    p.setPen(shadowPen(p, 1));
    p.drawText(x + 1, y + 1, text);
    p.setPen(own);
    p.drawText(x, y, text);
    p.restore();
}

void DrawShadowedCross(QPainter& p, QPointF const& c, float size)
{
    p.save();
    const QPen own = p.pen();
    p.setPen(shadowPen(p, 2));
    DrawCross(p, c, size);
    p.setPen(own);
    DrawCross(p, c, size);
    p.restore();
}

} // namespace _gui
