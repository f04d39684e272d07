// Build-time generator of the program's pictures that no file provides: the
// icon theme "silk" (16 x 16 icons with index.theme), the check box and combo
// box images of the style sheet and the 32 x 32 mouse cursors. It also writes
// the resource collection file that lists them together with the static
// resource files given on the command line.
//
//   lumivex_gen_resources <output folder> [alias=path ...]
//
// Output is deterministic: the same Qt version draws the same pixels. The
// icon table below is the one place to add a new theme icon.

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using DrawFn = std::function<void(QPainter&)>;

struct SPicture {
    QString path; // relative to the output folder, also the resource alias
    int size;     // pixels; drawing functions work in units of size / scale
    DrawFn draw;
    qreal scale = 1.0;
    int height = 0; // pixels; 0: square
};

// Theme icons are drawn on a 16-unit grid and rendered at these sizes.
const int kIconSizes[] = {16, 32, 48};

QColor rgb(unsigned v) { return QColor((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff); }

QImage render(int w, int h, const DrawFn& draw, qreal scale)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);
    draw(p);
    p.end();
    return img;
}

QPen outline(QColor c, qreal w = 1.0)
{
    QPen pen(c, w);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(qreal y0, qreal y1, QColor top, QColor bottom)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// ---- 16 x 16 theme icons ---------------------------------------------------

void roundBadge(QPainter& p, QColor light, QColor dark)
{
    QRadialGradient g(QPointF(6, 5), 10);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(outline(dark.darker(150)));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void iconProgramSymbol(QPainter& p)
{
    // A rounded tile with three exposure bands and a bright sun.
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0.0, rgb(0x2a3f6b));
    g.setColorAt(0.5, rgb(0x7b5ea8));
    g.setColorAt(1.0, rgb(0xf0a040));
    p.setPen(outline(rgb(0x1c1c28)));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xfff2b0));
    p.drawEllipse(QRectF(8, 3.5, 4.5, 4.5));
    QPainterPath hills;
    hills.moveTo(2, 13.5);
    hills.lineTo(6, 8.5);
    hills.lineTo(9, 11.5);
    hills.lineTo(11, 9.5);
    hills.lineTo(14, 13.5);
    hills.closeSubpath();
    p.setBrush(rgb(0x2b2233));
    p.drawPath(hills);
}

void iconProgressWait(QPainter& p)
{
    // Hourglass.
    p.setPen(outline(rgb(0x5a4520), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(3.5, 1.5), QPointF(12.5, 1.5));
    p.drawLine(QPointF(3.5, 14.5), QPointF(12.5, 14.5));
    QPainterPath glass;
    glass.moveTo(4.5, 2);
    glass.lineTo(11.5, 2);
    glass.cubicTo(11.5, 5.5, 8.8, 6.8, 8.8, 8);
    glass.cubicTo(8.8, 9.2, 11.5, 10.5, 11.5, 14);
    glass.lineTo(4.5, 14);
    glass.cubicTo(4.5, 10.5, 7.2, 9.2, 7.2, 8);
    glass.cubicTo(7.2, 6.8, 4.5, 5.5, 4.5, 2);
    glass.closeSubpath();
    p.setBrush(QColor(230, 240, 255, 200));
    p.setPen(outline(rgb(0x4a5a70)));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xe8b040));
    QPainterPath sandTop;
    sandTop.moveTo(5.6, 4);
    sandTop.lineTo(10.4, 4);
    sandTop.lineTo(8, 7.5);
    sandTop.closeSubpath();
    p.drawPath(sandTop);
    QPainterPath sandBottom;
    sandBottom.moveTo(5.2, 13.5);
    sandBottom.lineTo(10.8, 13.5);
    sandBottom.lineTo(8, 10.5);
    sandBottom.closeSubpath();
    p.drawPath(sandBottom);
    p.drawRect(QRectF(7.7, 7.5, 0.6, 3));
}

void iconProgressContinue(QPainter& p)
{
    roundBadge(p, rgb(0x9be07a), rgb(0x2f8a1f));
    QPainterPath tri;
    tri.moveTo(6.2, 4.5);
    tri.lineTo(11.8, 8);
    tri.lineTo(6.2, 11.5);
    tri.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(tri);
}

void iconProgressStop(QPainter& p)
{
    roundBadge(p, rgb(0xff8a7a), rgb(0xb0231a));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5, 5, 6, 6), 1, 1);
}

void iconHelp(QPainter& p)
{
    roundBadge(p, rgb(0x8ec5ff), rgb(0x1f5fb0));
    QPen pen(Qt::white, 1.9);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath q;
    q.moveTo(5.7, 6.2);
    q.cubicTo(5.7, 3.6, 10.4, 3.6, 10.4, 6.0);
    q.cubicTo(10.4, 7.6, 8.0, 7.8, 8.0, 9.6);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 12.0), 1.1, 1.1);
}

// Removing an exposure from the series: a red cross on a light disc.
void iconExposureDelete(QPainter& p)
{
    roundBadge(p, rgb(0xffcdd2), rgb(0xc62828));
    QPen pen(Qt::white, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
    p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
}

void arrowTriangle(QPainter& p, bool up)
{
    QPainterPath tri;
    if (up) {
        tri.moveTo(8, 4.5);
        tri.lineTo(13, 11);
        tri.lineTo(3, 11);
    } else {
        tri.moveTo(3, 5);
        tri.lineTo(13, 5);
        tri.lineTo(8, 11.5);
    }
    tri.closeSubpath();
    p.setPen(outline(rgb(0x303030)));
    p.setBrush(vertical(4, 12, rgb(0xdcdcdc), rgb(0x9a9a9a)));
    p.drawPath(tri);
}

void iconStyleMenu(QPainter& p)
{
    // Painter's palette with four colour dots.
    QPainterPath pal;
    pal.addEllipse(QRectF(1.5, 2.5, 13, 11));
    QPainterPath hole;
    hole.addEllipse(QRectF(9.5, 8.5, 3, 3));
    pal = pal.subtracted(hole);
    p.setPen(outline(rgb(0x6b4a25)));
    p.setBrush(vertical(2, 14, rgb(0xf0d2a0), rgb(0xc89a5a)));
    p.drawPath(pal);
    p.setPen(Qt::NoPen);
    const QColor dots[4] = {rgb(0xe03030), rgb(0xf0c020), rgb(0x30a040), rgb(0x3060e0)};
    const QPointF pos[4] = {{4.5, 7.0}, {6.5, 4.6}, {9.8, 4.6}, {5.6, 10.4}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(pos[i], 1.4, 1.4);
    }
}

// A swatch of one fixed palette: background, box and accent colour with a
// line of text colour.
DrawFn styleSwatch(unsigned background, unsigned box, unsigned accent, unsigned text, bool rounded)
{
    return [=](QPainter& p) {
        const qreal r = rounded ? 3.0 : 1.0;
        p.setPen(outline(rgb(0x101010)));
        p.setBrush(rgb(background));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), r, r);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(box));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 5), r * 0.6, r * 0.6);
        p.setBrush(rgb(accent));
        p.drawRoundedRect(QRectF(2.5, 9.5, 11, 4), r * 0.6, r * 0.6);
        p.setPen(QPen(rgb(text), 1.0));
        p.drawLine(QPointF(4, 5), QPointF(10, 5));
    };
}

void iconStyleFree(QPainter& p)
{
    QConicalGradient g(QPointF(8, 8), 90);
    const QColor stops[7] = {rgb(0xff4040), rgb(0xffe040), rgb(0x40e040), rgb(0x40e0e0),
                             rgb(0x4060ff), rgb(0xe040e0), rgb(0xff4040)};
    for (int i = 0; i < 7; ++i)
        g.setColorAt(i / 6.0, stops[i]);
    p.setPen(outline(rgb(0x202020)));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QRadialGradient white(QPointF(8, 8), 6.5);
    white.setColorAt(0, QColor(255, 255, 255, 255));
    white.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

// ---- check box and combo box images ----------------------------------------

enum EState { Normal, Hover, Pressed, Disabled };

DrawFn checkBox(bool checked, EState state)
{
    return [=](QPainter& p) {
        QColor top = rgb(0x6a6a6a), bottom = rgb(0x3c3c3c), frame = rgb(0x1a1a1a), mark = rgb(0xf2f2f2);
        if (state == Hover) {
            top = rgb(0x8a8a9c);
            bottom = rgb(0x55556a);
            frame = rgb(0xc8c8e0);
        } else if (state == Pressed) {
            top = rgb(0x303036);
            bottom = rgb(0x50505a);
            frame = rgb(0x0a0a0a);
        } else if (state == Disabled) {
            top = QColor(110, 110, 110, 110);
            bottom = QColor(80, 80, 80, 110);
            frame = QColor(40, 40, 40, 110);
            mark = QColor(220, 220, 220, 120);
        }
        p.setPen(outline(frame));
        p.setBrush(vertical(1, 13, top, bottom));
        p.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 2.5, 2.5);
        if (checked) {
            QPen pen(mark, 2.0);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            QPainterPath tick;
            tick.moveTo(3.4, 7.2);
            tick.lineTo(6.0, 9.8);
            tick.lineTo(10.8, 3.8);
            p.drawPath(tick);
        }
    };
}

DrawFn comboArrow(bool open)
{
    return [=](QPainter& p) {
        QPainterPath tri;
        tri.moveTo(1.5, 3);
        tri.lineTo(10.5, 3);
        tri.lineTo(6, 8.5);
        tri.closeSubpath();
        p.setPen(outline(rgb(0x202020)));
        p.setBrush(open ? QBrush(rgb(0xffffff)) : QBrush(vertical(3, 9, rgb(0xe0e0e0), rgb(0xa8a8a8))));
        p.drawPath(tri);
    };
}

// ---- 32 x 32 cursors ------------------------------------------------------

// The classic pointer with its tip at (x, y), scaled.
void pointer(QPainter& p, qreal x, qreal y, qreal s)
{
    QPainterPath a;
    a.moveTo(0, 0);
    a.lineTo(0, 15);
    a.lineTo(3.6, 11.6);
    a.lineTo(6.2, 17.2);
    a.lineTo(8.6, 16.2);
    a.lineTo(6.0, 10.6);
    a.lineTo(11, 10.6);
    a.closeSubpath();
    p.save();
    p.translate(x + 0.5, y + 0.5);
    p.scale(s, s);
    p.setPen(outline(Qt::white, 1.4 / s));
    p.setBrush(Qt::black);
    p.drawPath(a);
    p.restore();
}

void cursorArrow(QPainter& p) { pointer(p, 0, 0, 1.25); }

void cursorPipette(QPainter& p)
{
    // Eyedropper from the lower-left tip (0, 31) up to the bulb at the top right.
    p.save();
    p.translate(1, 31);
    p.rotate(-45);
    p.setPen(outline(Qt::white, 2.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath body;
    body.moveTo(0, 0);
    body.lineTo(3, -2);
    body.lineTo(22, -2);
    body.lineTo(22, 2);
    body.lineTo(3, 2);
    body.closeSubpath();
    p.drawPath(body);
    p.drawRoundedRect(QRectF(22, -5, 14, 10), 4, 4);
    p.setPen(outline(Qt::black, 1.0));
    p.setBrush(rgb(0xd8e4f0));
    p.drawPath(body);
    p.setBrush(rgb(0x303030));
    p.drawRoundedRect(QRectF(22, -5, 14, 10), 4, 4);
    p.setBrush(rgb(0x5080c0));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(4, -1.2, 10, 2.4));
    p.restore();
}

void hand(QPainter& p, bool closed)
{
    // A hand around (8, 8), drawn in the top-left 18 x 18 pixels.
    p.save();
    p.translate(0.5, 0.5);
    QPainterPath h;
    if (closed) {
        h.addRoundedRect(QRectF(2, 4, 13, 11), 4, 4);
        for (int i = 0; i < 4; ++i)
            h.addRoundedRect(QRectF(3 + i * 3, 2, 3, 5), 1.5, 1.5);
        h.addRoundedRect(QRectF(0, 7, 5, 3), 1.5, 1.5);
    } else {
        h.addRoundedRect(QRectF(3, 7, 11, 9), 4, 4);
        const qreal tops[4] = {2, 0.5, 1, 3};
        for (int i = 0; i < 4; ++i)
            h.addRoundedRect(QRectF(3.5 + i * 2.7, tops[i], 2.6, 10 - tops[i]), 1.3, 1.3);
        QPainterPath thumb;
        thumb.addRoundedRect(QRectF(-1, 0, 6, 2.6), 1.3, 1.3);
        QTransform t;
        t.translate(1, 9);
        t.rotate(40);
        h.addPath(t.map(thumb));
    }
    h = h.simplified();
    p.setPen(outline(Qt::black, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(h);
    p.restore();
}

void cursorCross(QPainter& p)
{
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(16, 3), QPointF(16, 13));
    p.drawLine(QPointF(16, 19), QPointF(16, 29));
    p.drawLine(QPointF(3, 16), QPointF(13, 16));
    p.drawLine(QPointF(19, 16), QPointF(29, 16));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(16, 3), QPointF(16, 13));
    p.drawLine(QPointF(16, 19), QPointF(16, 29));
    p.drawLine(QPointF(3, 16), QPointF(13, 16));
    p.drawLine(QPointF(19, 16), QPointF(29, 16));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 1.5, 1.5);
}

// Tool glyphs drawn beside a small pointer whose tip is the hot spot (0, 0).
void glyphBrush(QPainter& p)
{
    p.save();
    p.translate(19, 19);
    p.rotate(45);
    p.setPen(outline(Qt::black));
    p.setBrush(rgb(0xb07840));
    p.drawRoundedRect(QRectF(-1.5, -12, 3, 10), 1, 1);
    p.setBrush(rgb(0xc0c0c8));
    p.drawRect(QRectF(-2.5, -3, 5, 3));
    QPainterPath tip;
    tip.moveTo(-2.5, 0);
    tip.lineTo(2.5, 0);
    tip.quadTo(2.5, 5, 0, 8);
    tip.quadTo(-2.5, 5, -2.5, 0);
    p.setBrush(rgb(0x3050d0));
    p.drawPath(tip);
    p.restore();
}

void glyphSmooth(QPainter& p)
{
    // A drop with soft rings: smoothing.
    QRadialGradient g(QPointF(20, 21), 9);
    g.setColorAt(0, rgb(0xe0f0ff));
    g.setColorAt(1, rgb(0x5080b0));
    QPainterPath drop;
    drop.moveTo(20, 10);
    drop.cubicTo(25, 16, 27, 19, 27, 22);
    drop.cubicTo(27, 26, 24, 29, 20, 29);
    drop.cubicTo(16, 29, 13, 26, 13, 22);
    drop.cubicTo(13, 19, 15, 16, 20, 10);
    p.setPen(outline(Qt::black));
    p.setBrush(g);
    p.drawPath(drop);
}

void glyphGhost(QPainter& p)
{
    QPainterPath gh;
    gh.moveTo(12, 29);
    gh.lineTo(12, 18);
    gh.cubicTo(12, 12, 16, 10, 19.5, 10);
    gh.cubicTo(23, 10, 27, 12, 27, 18);
    gh.lineTo(27, 29);
    gh.lineTo(24.5, 27);
    gh.lineTo(22, 29);
    gh.lineTo(19.5, 27);
    gh.lineTo(17, 29);
    gh.lineTo(14.5, 27);
    gh.closeSubpath();
    p.setPen(outline(Qt::black));
    p.setBrush(QColor(245, 245, 255, 235));
    p.drawPath(gh);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(17, 17), 1.4, 1.8);
    p.drawEllipse(QPointF(22, 17), 1.4, 1.8);
    p.setPen(QPen(Qt::red, 1.6));
    p.drawLine(QPointF(11, 29), QPointF(28, 11));
}

void glyphEraser(QPainter& p)
{
    p.save();
    p.translate(20, 20);
    p.rotate(-35);
    p.setPen(outline(Qt::black));
    p.setBrush(rgb(0xf08080));
    p.drawRoundedRect(QRectF(-8, -4, 9, 8), 1.5, 1.5);
    p.setBrush(rgb(0xf0f0f0));
    p.drawRoundedRect(QRectF(1, -4, 7, 8), 1.5, 1.5);
    p.restore();
}

void stampMark(QPainter& p)
{
    // A small stamp square in the lower-right corner.
    p.setPen(outline(Qt::black));
    p.setBrush(rgb(0xffd040));
    p.drawRect(QRectF(24.5, 24.5, 6, 6));
    p.drawLine(QPointF(27.5, 26), QPointF(27.5, 29));
    p.drawLine(QPointF(26, 27.5), QPointF(29, 27.5));
}

DrawFn toolCursor(void (*glyph)(QPainter&), bool stamp)
{
    return [=](QPainter& p) {
        glyph(p);
        if (stamp)
            stampMark(p);
        pointer(p, 0, 0, 0.8);
    };
}

void cursorDragDirection(QPainter& p)
{
    // Four arrows around the hot spot (8, 8).
    QPainterPath a;
    const qreal c = 8.5;
    auto arrow = [&](qreal dx, qreal dy) {
        const qreal ox = -dy, oy = dx;
        a.moveTo(c + dx * 8, c + dy * 8);
        a.lineTo(c + dx * 4.5 + ox * 3.2, c + dy * 4.5 + oy * 3.2);
        a.lineTo(c + dx * 4.5 + ox * 1.1, c + dy * 4.5 + oy * 1.1);
        a.lineTo(c + dx * 1.5 + ox * 1.1, c + dy * 1.5 + oy * 1.1);
        a.lineTo(c + dx * 1.5 - ox * 1.1, c + dy * 1.5 - oy * 1.1);
        a.lineTo(c + dx * 4.5 - ox * 1.1, c + dy * 4.5 - oy * 1.1);
        a.lineTo(c + dx * 4.5 - ox * 3.2, c + dy * 4.5 - oy * 3.2);
        a.closeSubpath();
    };
    arrow(1, 0);
    arrow(-1, 0);
    arrow(0, 1);
    arrow(0, -1);
    a.addRect(QRectF(c - 1.6, c - 1.6, 3.2, 3.2));
    a = a.simplified();
    p.setPen(outline(Qt::white, 1.6));
    p.setBrush(Qt::black);
    p.drawPath(a);
}

// ---- icons of the application shell (options, quit) ---------------------------

void iconProperties(QPainter& p)
{
    // A cog wheel.
    QPainterPath cog;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * M_PI / teeth, a1 = (i + 0.5) * M_PI / teeth;
        const qreal r = (i % 2 == 0) ? 7.0 : 5.2;
        const QPointF p0(8 + r * std::cos(a0), 8 + r * std::sin(a0));
        const QPointF p1(8 + r * std::cos(a1), 8 + r * std::sin(a1));
        if (i == 0)
            cog.moveTo(p0);
        else
            cog.lineTo(p0);
        cog.lineTo(p1);
    }
    cog.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(8, 8), 2.2, 2.2);
    cog = cog.subtracted(hole);
    p.setPen(outline(rgb(0x3a3f48)));
    p.setBrush(vertical(1, 15, rgb(0xd8dde6), rgb(0x7f8896)));
    p.drawPath(cog);
}

// An arc of the circle in (3, 3, 10, 10) from start over span degrees, with a
// filled arrow head.
void circularArrow(QPainter& p, QColor colour, int start, int span, const QPolygonF& head)
{
    QPen pen(colour, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), start * 16, span * 16);
    QPainterPath path;
    path.addPolygon(head);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

void iconSetDefault(QPainter& p)
{
    // A circular arrow turning back.
    circularArrow(p, rgb(0x2f7d32), 100, 290, {QPointF(1.8, 4.2), QPointF(7.6, 1.6), QPointF(6.6, 7.4)});
}

void iconArrowRight(QPainter& p)
{
    // A broad arrow pointing right (drawn on the 16-unit grid, shown 32 x 16).
    QPainterPath a;
    a.moveTo(1, 6);
    a.lineTo(9, 6);
    a.lineTo(9, 2.5);
    a.lineTo(15, 8);
    a.lineTo(9, 13.5);
    a.lineTo(9, 10);
    a.lineTo(1, 10);
    a.closeSubpath();
    p.setPen(outline(rgb(0x505050)));
    p.setBrush(vertical(2, 14, rgb(0xf0f0f0), rgb(0xa8a8a8)));
    p.drawPath(a);
}

void iconProgramQuit(QPainter& p)
{
    // A red power symbol.
    roundBadge(p, rgb(0xff8a80), rgb(0xb71c1c));
    QPen pen(Qt::white, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 4.8, 7, 7), 120 * 16, 300 * 16);
    p.drawLine(QPointF(8, 3.6), QPointF(8, 8));
}


// ---- icons of the image views (compare dock, panorama viewer) -------------------

// A picture split by the divider: before (dark) on one side, after (light) on
// the other; flipped swaps them. orientation 0..3: vertical, horizontal,
// diagonal from the top right, diagonal from the top left.
DrawFn compareIcon(int orientation, bool flipped)
{
    return [orientation, flipped](QPainter& p) {
        const QRectF frame(1.5, 2.5, 13, 11);
        QPainterPath sideA;
        switch (orientation) {
        case 0:
            sideA.addRect(QRectF(1.5, 2.5, 6.5, 11));
            break;
        case 1:
            sideA.addRect(QRectF(1.5, 2.5, 13, 5.5));
            break;
        case 2:
            sideA.moveTo(1.5, 2.5);
            sideA.lineTo(14.5, 2.5);
            sideA.lineTo(1.5, 13.5);
            sideA.closeSubpath();
            break;
        default:
            sideA.moveTo(1.5, 2.5);
            sideA.lineTo(14.5, 13.5);
            sideA.lineTo(1.5, 13.5);
            sideA.closeSubpath();
            break;
        }
        const QColor before = rgb(0x3d5a80), after = rgb(0xf2c14e);
        p.setPen(Qt::NoPen);
        p.setBrush(flipped ? before : after);
        p.drawRect(frame);
        p.setBrush(flipped ? after : before);
        p.drawPath(sideA);
        p.setPen(outline(rgb(0x303030)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        QPen line(Qt::white, 1.4);
        line.setCapStyle(Qt::FlatCap);
        p.setPen(line);
        switch (orientation) {
        case 0:
            p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
            break;
        case 1:
            p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
            break;
        case 2:
            p.drawLine(QPointF(14.5, 2.5), QPointF(1.5, 13.5));
            break;
        default:
            p.drawLine(QPointF(1.5, 2.5), QPointF(14.5, 13.5));
            break;
        }
    };
}

void iconCompareFlip(QPainter& p)
{
    // Two arrows swapping places.
    QPen pen(rgb(0x3f86d0), 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(2, 5), QPointF(13, 5));
    p.drawPolyline(QPolygonF({QPointF(10, 2), QPointF(13, 5), QPointF(10, 8)}));
    p.drawLine(QPointF(14, 11), QPointF(3, 11));
    p.drawPolyline(QPolygonF({QPointF(6, 8), QPointF(3, 11), QPointF(6, 14)}));
}

// A grey ramp; marked ranges (fractions of its width) hatched in red.
DrawFn luminanceIcon(std::vector<std::pair<qreal, qreal>> marked)
{
    return [marked](QPainter& p) {
        const QRectF ramp(1.5, 3.5, 13, 9);
        QLinearGradient g(ramp.left(), 0, ramp.right(), 0);
        g.setColorAt(0, Qt::black);
        g.setColorAt(1, Qt::white);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(ramp);
        QPen hatch(rgb(0xd32f2f), 1.2);
        p.setPen(hatch);
        for (const auto& [a, b] : marked) {
            const qreal x0 = ramp.left() + a * ramp.width(), x1 = ramp.left() + b * ramp.width();
            p.save();
            p.setClipRect(QRectF(x0, ramp.top(), x1 - x0, ramp.height()));
            for (qreal x = x0 - ramp.height(); x < x1; x += 3)
                p.drawLine(QPointF(x, ramp.bottom()), QPointF(x + ramp.height(), ramp.top()));
            p.restore();
        }
        p.setPen(outline(rgb(0x303030)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(ramp);
    };
}

// A mouse with a double arrow, vertical or horizontal.
DrawFn mouseInvertIcon(bool upDown)
{
    return [upDown](QPainter& p) {
        p.setPen(outline(rgb(0x404040)));
        p.setBrush(vertical(1, 15, rgb(0xfafafa), rgb(0xb0b0b0)));
        p.drawRoundedRect(QRectF(1.5, 3.5, 6, 9), 3, 3);
        p.drawLine(QPointF(4.5, 3.5), QPointF(4.5, 7));
        QPen arrow(rgb(0x3f86d0), 1.5);
        arrow.setCapStyle(Qt::RoundCap);
        arrow.setJoinStyle(Qt::RoundJoin);
        p.setPen(arrow);
        p.setBrush(Qt::NoBrush);
        if (upDown) {
            p.drawLine(QPointF(12, 2), QPointF(12, 14));
            p.drawPolyline(QPolygonF({QPointF(9.5, 4.5), QPointF(12, 2), QPointF(14.5, 4.5)}));
            p.drawPolyline(QPolygonF({QPointF(9.5, 11.5), QPointF(12, 14), QPointF(14.5, 11.5)}));
        } else {
            p.drawLine(QPointF(8.5, 8), QPointF(15, 8));
            p.drawPolyline(QPolygonF({QPointF(11, 5.5), QPointF(8.5, 8), QPointF(11, 10.5)}));
            p.drawPolyline(QPolygonF({QPointF(12.5, 5.5), QPointF(15, 8), QPointF(12.5, 10.5)}));
        }
    };
}

void iconFilmStrip(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(0, 0, 74, 30), rgb(0x1a1a1a));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xd8d8d0));
    for (int i = 0; i < 5; ++i) { // sprocket holes, top and bottom
        p.drawRoundedRect(QRectF(3 + i * 15, 3, 8, 5), 1.2, 1.2);
        p.drawRoundedRect(QRectF(3 + i * 15, 22, 8, 5), 1.2, 1.2);
    }
    p.setBrush(rgb(0x3a4658)); // the frame between them
    p.drawRect(QRectF(1, 10, 72, 10));
}

// ---- icons of the central preview's toolbar ----------------------------------------

QPen glyphPen(QColor c, qreal w = 1.5)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A small framed picture: the base of several preview icons.
void pictureFrame(QPainter& p, const QRectF& r)
{
    p.setPen(outline(rgb(0x404040)));
    p.setBrush(vertical(r.top(), r.bottom(), rgb(0x9fc5e8), rgb(0x3d7a3d)));
    p.drawRect(r);
}

void iconPreviewMode(QPainter& p)
{
    // A small picture in front of a large one: work on a reduced copy.
    pictureFrame(p, QRectF(1.5, 1.5, 13, 10));
    p.setPen(outline(rgb(0x202020)));
    p.setBrush(rgb(0xf2c14e));
    p.drawRect(QRectF(8.5, 8.5, 6, 6));
}

void iconRealtimeMode(QPainter& p)
{
    // A lightning bolt.
    QPainterPath bolt;
    bolt.moveTo(9.5, 1);
    bolt.lineTo(3.5, 9);
    bolt.lineTo(7.5, 9);
    bolt.lineTo(6, 15);
    bolt.lineTo(12.5, 6.5);
    bolt.lineTo(8.5, 6.5);
    bolt.closeSubpath();
    p.setPen(outline(rgb(0x8a5a00)));
    p.setBrush(vertical(1, 15, rgb(0xffe082), rgb(0xf9a825)));
    p.drawPath(bolt);
}

void iconRealtimeRefresh(QPainter& p)
{
    // A circular arrow.
    circularArrow(p, rgb(0x3f86d0), 60, 270, {QPointF(9.2, 0.8), QPointF(13.8, 3.6), QPointF(9.0, 6.4)});
}

void iconBorderPixel(QPainter& p)
{
    // A ramp whose dark end is blue and bright end red: the clipping colours.
    QLinearGradient g(1.5, 0, 14.5, 0);
    g.setColorAt(0, rgb(0x2040ff));
    g.setColorAt(0.2, rgb(0x404040));
    g.setColorAt(0.8, rgb(0xc0c0c0));
    g.setColorAt(0.9, rgb(0xffff00));
    g.setColorAt(1, rgb(0xff2020));
    p.setPen(outline(rgb(0x303030)));
    p.setBrush(g);
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
}

void iconZoom1to1(QPainter& p)
{
    // "1:1" drawn with strokes (the generator runs without fonts).
    p.setPen(outline(rgb(0x404040)));
    p.setBrush(rgb(0xf5f5f5));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
    p.setPen(glyphPen(rgb(0x202020), 1.4));
    for (qreal x : {4.0, 12.0}) {
        p.drawLine(QPointF(x, 5.5), QPointF(x, 10.5));
        p.drawLine(QPointF(x, 5.5), QPointF(x - 1.5, 7));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x202020));
    p.drawEllipse(QPointF(8, 6.6), 0.8, 0.8);
    p.drawEllipse(QPointF(8, 9.6), 0.8, 0.8);
}

void iconZoomFit(QPainter& p)
{
    // Four corner arrows around a picture.
    pictureFrame(p, QRectF(4.5, 4.5, 7, 7));
    p.setPen(glyphPen(rgb(0x303030), 1.3));
    for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
            const QPointF c(8 + sx * 6.5, 8 + sy * 6.5);
            p.drawLine(c, c - QPointF(sx * 3, 0));
            p.drawLine(c, c - QPointF(0, sy * 3));
        }
}

void iconGeometrie(QPainter& p)
{
    // A picture with a rotation arrow: the orientation tools.
    pictureFrame(p, QRectF(1.5, 4.5, 9, 10));
    p.setPen(glyphPen(rgb(0x3f86d0), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 1, 8, 8), 0, 180 * 16);
    p.drawLine(QPointF(14, 5), QPointF(12.5, 3.2));
    p.drawLine(QPointF(14, 5), QPointF(15.5, 3.2));
}

DrawFn orientationIcon(int kind) // 0 mirror, 1 flip, 2 rotate left, 3 rotate right
{
    return [kind](QPainter& p) {
        if (kind < 2) {
            const bool mirror = kind == 0;
            QPainterPath half;
            if (mirror) {
                half.moveTo(7, 2);
                half.lineTo(1.5, 14);
                half.lineTo(7, 14);
            } else {
                half.moveTo(2, 7);
                half.lineTo(14, 1.5);
                half.lineTo(14, 7);
            }
            half.closeSubpath();
            p.setPen(outline(rgb(0x404040)));
            p.setBrush(rgb(0x3d7a3d));
            p.drawPath(half);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(rgb(0x404040), 1, Qt::DashLine));
            QTransform t;
            if (mirror)
                t = QTransform(-1, 0, 0, 1, 16, 0);
            else
                t = QTransform(1, 0, 0, -1, 0, 16);
            p.drawPath(t.map(half));
            p.setPen(glyphPen(rgb(0x3f86d0), 1.2));
            if (mirror)
                p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
            else
                p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
            return;
        }
        const bool left = kind == 2;
        pictureFrame(p, QRectF(4.5, 6.5, 9, 8));
        p.setPen(glyphPen(rgb(0x3f86d0), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2, 1.5, 11, 9), left ? 20 * 16 : 70 * 16, 90 * 16);
        const QPointF tip = left ? QPointF(2.6, 5.2) : QPointF(12.4, 5.2);
        p.drawLine(tip, tip + QPointF(left ? 2.2 : -2.2, -0.8));
        p.drawLine(tip, tip + QPointF(0, -2.3));
    };
}

// ---- post-processing dock icons ----------------------------------------------------

void iconPlay(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x1b5e20), 1.0));
    p.setBrush(rgb(0x66bb6a));
    p.drawPolygon(QPolygonF({QPointF(4, 2.5), QPointF(13, 8), QPointF(4, 13.5)}));
}

void iconPipette(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x37474f), 2.2));
    p.drawLine(QPointF(3, 13), QPointF(10, 6));
    p.setPen(glyphPen(rgb(0x263238), 1.0));
    p.setBrush(rgb(0x546e7a));
    p.drawEllipse(QRectF(9.5, 2, 4.5, 4.5));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x29b6f6));
    p.drawEllipse(QRectF(2, 12, 2.5, 2.5));
}

void iconTexture(QPainter& p)
{
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            p.setPen(Qt::NoPen);
            p.setBrush((x + y) % 2 ? rgb(0x8d6e63) : rgb(0xd7ccc8));
            p.drawRect(QRectF(2 + 3 * x, 2 + 3 * y, 3, 3));
        }
    p.setPen(glyphPen(rgb(0x4e342e), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, 12, 12));
}

// A film strip with an arrow before (left) or after (right) it.
DrawFn iconFilm(bool after)
{
    return [after](QPainter& p) {
        const qreal x0 = after ? 1.5 : 6.5;
        p.setPen(glyphPen(rgb(0x212121), 0.8));
        p.setBrush(rgb(0x424242));
        p.drawRect(QRectF(x0, 2, 8, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0xeeeeee));
        for (int i = 0; i < 4; ++i) {
            p.drawRect(QRectF(x0 + 0.8, 3 + 3 * i, 1.2, 1.4));
            p.drawRect(QRectF(x0 + 6, 3 + 3 * i, 1.2, 1.4));
        }
        p.setBrush(rgb(0xffb74d));
        p.drawRect(QRectF(x0 + 2.6, 4, 2.8, 8));
        p.setPen(glyphPen(rgb(0x1565c0), 1.6));
        const qreal ax = after ? 12.5 : 3.5;
        p.drawLine(QPointF(ax - 2, 8), QPointF(ax + 2, 8));
        p.drawLine(QPointF(ax + 2, 8), QPointF(ax, 6));
        p.drawLine(QPointF(ax + 2, 8), QPointF(ax, 10));
    };
}

// A mask ellipse with a small glyph: 0 edit, 1 copy, 2 paste, 3 delete.
DrawFn iconGeometry(int kind)
{
    return [kind](QPainter& p) {
        p.setPen(glyphPen(rgb(0x0d47a1), 1.0));
        p.setBrush(QColor(100, 181, 246, 170));
        p.drawEllipse(QRectF(1.5, 3, 9, 7));
        if (kind == 1) {
            p.drawEllipse(QRectF(5, 6, 9, 7));
        } else if (kind == 2) {
            p.setPen(glyphPen(rgb(0x5d4037), 1.0));
            p.setBrush(rgb(0xffe0b2));
            p.drawRect(QRectF(7.5, 6.5, 7, 8));
            p.setBrush(rgb(0x8d6e63));
            p.drawRect(QRectF(9.5, 5.5, 3, 2));
        } else if (kind == 3) {
            p.setPen(glyphPen(rgb(0xc62828), 1.8));
            p.drawLine(QPointF(9, 8), QPointF(14, 13));
            p.drawLine(QPointF(14, 8), QPointF(9, 13));
        } else {
            p.setPen(glyphPen(rgb(0xef6c00), 2.0));
            p.drawLine(QPointF(8, 14), QPointF(14, 8));
            p.setPen(glyphPen(rgb(0x3e2723), 1.0));
            p.drawLine(QPointF(7.2, 14.8), QPointF(8, 14));
        }
    };
}

// A check box: active (ticked) or inactive (empty).
DrawFn iconCheck(bool ticked)
{
    return [ticked](QPainter& p) {
        p.setPen(glyphPen(rgb(0x455a64), 1.0));
        p.setBrush(rgb(0xfafafa));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
        if (ticked) {
            p.setPen(glyphPen(rgb(0x2e7d32), 2.0));
            p.drawPolyline(QPolygonF({QPointF(5, 8), QPointF(7.2, 10.5), QPointF(11.5, 5)}));
        }
    };
}

void iconDuplicate(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x455a64), 1.0));
    p.setBrush(rgb(0xcfd8dc));
    p.drawRect(QRectF(2.5, 2.5, 8, 8));
    p.setBrush(rgb(0xfafafa));
    p.drawRect(QRectF(5.5, 5.5, 8, 8));
}

void iconToDefault(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x1565c0), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
    p.drawLine(QPointF(10.5, 3.6), QPointF(10.8, 1.2));
    p.drawLine(QPointF(10.5, 3.6), QPointF(13, 4.2));
}

// A bar with an arrow to it: top or bottom.
DrawFn iconMoveTo(bool top)
{
    return [top](QPainter& p) {
        p.setPen(glyphPen(rgb(0x37474f), 2.0));
        const qreal bar = top ? 2.5 : 13.5;
        p.drawLine(QPointF(3, bar), QPointF(13, bar));
        p.setPen(glyphPen(rgb(0x1565c0), 1.8));
        const qreal tip = top ? 5.5 : 10.5;
        const qreal tail = top ? 13.5 : 2.5;
        const qreal d = top ? 3 : -3;
        p.drawLine(QPointF(8, tail), QPointF(8, tip));
        p.drawLine(QPointF(8, tip), QPointF(5, tip + d));
        p.drawLine(QPointF(8, tip), QPointF(11, tip + d));
    };
}

DrawFn iconDelete(bool all)
{
    return [all](QPainter& p) {
        p.setPen(glyphPen(rgb(0xc62828), 2.2));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        if (all) {
            p.setPen(glyphPen(rgb(0x455a64), 1.2));
            p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
            p.drawLine(QPointF(2, 1.5), QPointF(14, 1.5));
        }
    };
}

void iconAdd(QPainter& p)
{
    roundBadge(p, rgb(0xa5d6a7), rgb(0x2e7d32));
    p.setPen(glyphPen(Qt::white, 2.0));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
    p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
}

// Four chain rows, on (green) or off (grey) by the pattern's bits, top row first.
DrawFn iconStack(unsigned pattern)
{
    return [pattern](QPainter& p) {
        for (int i = 0; i < 4; ++i) {
            const bool on = (pattern >> (3 - i)) & 1u;
            p.setPen(glyphPen(on ? rgb(0x1b5e20) : rgb(0x616161), 0.8));
            p.setBrush(on ? rgb(0x81c784) : rgb(0xe0e0e0));
            p.drawRect(QRectF(2.5, 1.5 + 3.4 * i, 11, 2.4));
        }
    };
}

// The layer state of a chain row: blend mode normal or other, mask or not, or impossible.
DrawFn iconLayer(int blend, bool selective)
{
    return [blend, selective](QPainter& p) {
        if (blend < 0) {
            p.setPen(glyphPen(rgb(0x9e9e9e), 1.0));
            p.setBrush(rgb(0xeeeeee));
            p.drawRect(QRectF(3.5, 3.5, 9, 9));
            p.setPen(glyphPen(rgb(0x9e9e9e), 1.4));
            p.drawLine(QPointF(4, 12), QPointF(12, 4));
            return;
        }
        p.setPen(glyphPen(rgb(0x455a64), 0.8));
        p.setBrush(rgb(0x90a4ae));
        p.drawRect(QRectF(1.5, 1.5, 9, 9));
        p.setBrush(blend ? QColor(255, 213, 79, 220) : QColor(236, 239, 241, 220));
        p.drawRect(QRectF(5.5, 5.5, 9, 9));
        if (selective) {
            p.setPen(glyphPen(rgb(0x0d47a1), 1.0));
            p.setBrush(QColor(100, 181, 246, 200));
            p.drawEllipse(QRectF(8, 8, 5, 5));
        }
    };
}

// A filter dot in a type colour: filled when active, hollow when not.
DrawFn iconFilter(unsigned colour, bool active)
{
    return [colour, active](QPainter& p) {
        const QColor c = rgb(colour);
        p.setPen(glyphPen(c.darker(170), 1.2));
        p.setBrush(active ? c : QColor(Qt::transparent));
        p.drawEllipse(QRectF(3, 3, 10, 10));
        if (!active) {
            p.setPen(glyphPen(c.darker(170), 1.0));
            p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
        }
    };
}


// ---- batch window and benchmark ---------------------------------------------------

// A small landscape photograph in a frame.
void photo(QPainter& p, const QRectF& r)
{
    p.setPen(outline(rgb(0x37474f), 1.0));
    p.setBrush(vertical(r.top(), r.bottom(), rgb(0x90caf9), rgb(0xe3f2fd)));
    p.drawRect(r);
    QPolygonF hill;
    hill << QPointF(r.left(), r.bottom()) << QPointF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45)
         << QPointF(r.left() + r.width() * 0.6, r.top() + r.height() * 0.7)
         << QPointF(r.left() + r.width() * 0.8, r.top() + r.height() * 0.5) << QPointF(r.right(), r.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x558b2f));
    p.drawPolygon(hill);
}

// An arrow pointing right from x to the icon's right edge at height y.
void arrowToTheRight(QPainter& p, QColor colour, qreal width, qreal x, qreal y, qreal head)
{
    p.setPen(glyphPen(colour, width));
    p.drawLine(QPointF(x, y), QPointF(14.5, y));
    p.drawLine(QPointF(14.8 - 1.8 - head * 0.2, y - head), QPointF(14.8, y));
    p.drawLine(QPointF(14.8 - 1.8 - head * 0.2, y + head), QPointF(14.8, y));
}

void iconBatchSeriesLoad(QPainter& p)
{
    photo(p, QRectF(1.5, 3.5, 10, 8));
    arrowToTheRight(p, rgb(0x2e7d32), 1.8, 9, 13, 2.5);
}

void iconBatchSeriesDeactivate(QPainter& p)
{
    photo(p, QRectF(1.5, 2.5, 11, 9));
    p.setPen(glyphPen(rgb(0x616161), 1.4));
    p.setBrush(rgb(0xeeeeee));
    p.drawEllipse(QRectF(8.5, 8.5, 6.5, 6.5));
    p.drawLine(QPointF(9.6, 13.9), QPointF(13.9, 9.6));
}

void iconBatchSeriesDelete(QPainter& p)
{
    photo(p, QRectF(1.5, 2.5, 11, 9));
    p.setPen(glyphPen(rgb(0xc62828), 2.0));
    p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 9), QPointF(9, 14.5));
}

// The benchmark's speedometer dial, 63 x 63: a dark face with a scale from
// red (slow, lower left) over yellow to green (fast, lower right).
void dialTacho(QPainter& p)
{
    const QPointF c(31.5, 31.5);
    QRadialGradient face(c, 31);
    face.setColorAt(0, rgb(0x424242));
    face.setColorAt(1, rgb(0x111111));
    p.setPen(outline(rgb(0x9e9e9e), 1.5));
    p.setBrush(face);
    p.drawEllipse(c, 30, 30);
    for (int i = 0; i <= 24; ++i) {
        const qreal deg = -120.0 + 10.0 * i; // 0 points up, clockwise
        const qreal rad = (deg - 90.0) * M_PI / 180.0;
        const qreal h = qreal(i) / 12.0;
        QColor col = h < 1.0 ? QColor(255, int(255 * h), 0) : QColor(int(255 * (2.0 - h)), 255, 0);
        const qreal inner = (i % 4 == 0) ? 20.0 : 23.5;
        p.setPen(outline(col, i % 4 == 0 ? 2.0 : 1.2));
        p.drawLine(QPointF(c.x() + inner * std::cos(rad), c.y() + inner * std::sin(rad)),
                   QPointF(c.x() + 27.0 * std::cos(rad), c.y() + 27.0 * std::sin(rad)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x757575));
    p.drawEllipse(c, 3.5, 3.5);
}

// The benchmark's source picture, 2560 x 512: five panels of 512 pixels with
// fine structure, geometry, detail, colour and line work, drawn from a fixed
// seed, so every kernel has edges, gradients and texture to work on.
void benchmarkPicture(QPainter& p)
{
    unsigned seed = 12345u;
    auto rnd = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return qreal((seed >> 8) & 0xffff) / 65535.0;
    };
    // Sky and ground across the whole strip.
    p.fillRect(QRectF(0, 0, 2560, 512), vertical(0, 300, rgb(0x1e3c72), rgb(0xf6d365)));
    p.fillRect(QRectF(0, 300, 2560, 212), vertical(300, 512, rgb(0x5a7d2a), rgb(0x2b3a12)));
    // Mountains.
    for (int layer = 0; layer < 3; ++layer) {
        QPolygonF ridge;
        ridge << QPointF(0, 512);
        const qreal base = 230 + layer * 35;
        for (int x = 0; x <= 2560; x += 8)
            ridge << QPointF(x, base - 60 * std::sin(x * (0.004 + 0.002 * layer)) - 25 * std::sin(x * 0.021 + layer) -
                                    8 * rnd());
        ridge << QPointF(2560, 512);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40 + 30 * layer, 50 + 35 * layer, 70 + 10 * layer));
        p.drawPolygon(ridge);
    }
    // Panel 1: brick wall and stones (structure).
    for (int y = 330; y < 512; y += 14)
        for (int x = ((y / 14) % 2) * 14; x < 512; x += 28) {
            const int shade = 120 + int(70 * rnd());
            p.setPen(outline(rgb(0x3e2723), 1.0));
            p.setBrush(QColor(shade, shade / 2, shade / 3));
            p.drawRect(QRectF(x, y, 26, 12));
        }
    for (int i = 0; i < 60; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 200, 210, 60 + int(120 * rnd())));
        p.drawEllipse(QPointF(512 * rnd(), 40 + 200 * rnd()), 3 + 12 * rnd(), 2 + 6 * rnd());
    }
    // Panel 2: grid, circles and perspective lines (geometry).
    p.setPen(outline(QColor(255, 255, 255, 160), 1.0));
    for (int x = 512; x <= 1024; x += 32)
        p.drawLine(QPointF(x, 0), QPointF(x, 512));
    for (int y = 0; y <= 512; y += 32)
        p.drawLine(QPointF(512, y), QPointF(1024, y));
    for (int r = 20; r < 240; r += 22) {
        p.setPen(outline(QColor(255, 200 - r / 2, 80, 220), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(768, 256), r, r);
    }
    for (int i = 0; i < 24; ++i) {
        p.setPen(outline(rgb(0xfafafa), 1.5));
        p.drawLine(QPointF(768, 512), QPointF(512 + i * 22, 300));
    }
    // Panel 3: fine lines, dots and lettering (details).
    for (int i = 0; i < 400; ++i) {
        p.setPen(outline(QColor(int(255 * rnd()), int(255 * rnd()), int(255 * rnd())), 0.6));
        const QPointF a(1024 + 512 * rnd(), 512 * rnd());
        p.drawLine(a, a + QPointF(30 * rnd() - 15, 30 * rnd() - 15));
    }
    // Rows of small glyph-like marks (the generator has no fonts).
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 40; ++col) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 230 - row * 25));
            const qreal x = 1040 + col * 12;
            const qreal y = 50 + row * 70;
            p.drawRect(QRectF(x, y, 2, 16));
            if ((col * 7 + row) % 3)
                p.drawRect(QRectF(x, y + 7 * ((col + row) % 3), 8, 2));
        }
    // Panel 4: hue wheel and colour bars (colour).
    for (int i = 0; i < 360; i += 3) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(i, 255, 255));
        p.drawPie(QRectF(1580, 60, 300, 300), i * 16, 3 * 16);
    }
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor::fromHsv(i * 30, 180, 230));
        p.drawRect(QRectF(1900 + (i % 2) * 70, 20 + (i / 2) * 80, 60, 70));
    }
    {
        QLinearGradient g(1536, 0, 2048, 0);
        for (int k = 0; k <= 6; ++k)
            g.setColorAt(k / 6.0, QColor::fromHsv((k * 60) % 360, 255, 255));
        p.fillRect(QRectF(1536, 400, 512, 112), g);
    }
    // Panel 5: a line drawing of a house and trees (sketch).
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(rgb(0x212121), 3.0));
    p.drawRect(QRectF(2140, 220, 220, 180));
    p.drawPolyline(QPolygonF() << QPointF(2120, 230) << QPointF(2250, 120) << QPointF(2380, 230));
    for (int k = 0; k < 4; ++k)
        p.drawRect(QRectF(2160 + (k % 2) * 110, 250 + (k / 2) * 70, 60, 45));
    for (int k = 0; k < 5; ++k) {
        const qreal x = 2420 + k * 30;
        p.setPen(outline(rgb(0x1b5e20), 2.0));
        p.setBrush(rgb(0x43a047));
        p.drawEllipse(QPointF(x, 300 - 20 * (k % 2)), 16, 40);
        p.setPen(outline(rgb(0x4e342e), 3.0));
        p.drawLine(QPointF(x, 330), QPointF(x, 380));
    }
    // The sun.
    QRadialGradient sun(QPointF(1300, 110), 70);
    sun.setColorAt(0, QColor(255, 250, 220));
    sun.setColorAt(1, QColor(255, 200, 80, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(1300, 110), 70, 70);
}

// ---- the preset library, the HDR operator dock and the RAW window ------------

void iconPresetSave(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x263238), 1.0));
    p.setBrush(rgb(0x42a5f5));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1.5, 1.5);
    p.setBrush(rgb(0xeceff1));
    p.drawRect(QRectF(5, 2.5, 6, 4));
    p.setBrush(rgb(0xfafafa));
    p.drawRect(QRectF(4.5, 9, 7, 4.5));
}

void iconPresetEdit(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x5d4037), 1.0));
    p.setBrush(rgb(0xffb300));
    QPainterPath pencil;
    pencil.moveTo(3, 13);
    pencil.lineTo(4, 10);
    pencil.lineTo(11, 3);
    pencil.lineTo(13, 5);
    pencil.lineTo(6, 12);
    pencil.closeSubpath();
    p.drawPath(pencil);
    p.setPen(glyphPen(rgb(0x5d4037), 1.2));
    p.drawLine(QPointF(3.5, 12.5), QPointF(5, 11));
}

void iconPresetCombine(QPainter& p)
{
    p.setPen(glyphPen(rgb(0x37474f), 1.0));
    p.setBrush(rgb(0x90caf9));
    p.drawRect(QRectF(1.5, 2.5, 6, 6));
    p.setBrush(rgb(0xffcc80));
    p.drawRect(QRectF(8.5, 7.5, 6, 6));
    p.setPen(glyphPen(rgb(0x2e7d32), 1.6));
    p.drawLine(QPointF(5, 12), QPointF(5, 15));
    p.drawLine(QPointF(3.5, 13.5), QPointF(6.5, 13.5));
}

void iconDepthMapSave(QPainter& p)
{
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, Qt::black);
    p.setPen(glyphPen(rgb(0x37474f), 1.0));
    p.setBrush(g);
    p.drawRect(QRectF(2.5, 2.5, 8, 11));
    p.setPen(glyphPen(rgb(0x1565c0), 1.8));
    p.drawLine(QPointF(13, 5), QPointF(13, 12));
    p.drawLine(QPointF(11, 10), QPointF(13, 12.5));
    p.drawLine(QPointF(15, 10), QPointF(13, 12.5));
}

void iconRawDevelopment(QPainter& p)
{
    roundBadge(p, rgb(0xb0bec5), rgb(0x37474f));
    p.setPen(glyphPen(Qt::white, 1.0));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * M_PI / 3.0;
        p.drawLine(QPointF(8 + 2.2 * std::cos(a), 8 + 2.2 * std::sin(a)),
                   QPointF(8 + 5.0 * std::cos(a + 0.9), 8 + 5.0 * std::sin(a + 0.9)));
    }
}

// The subjects of the image-type buttons: one simple glyph each.
DrawFn iconImageType(int kind)
{
    return [kind](QPainter& p) {
        p.setPen(glyphPen(rgb(0x37474f), 1.0));
        switch (kind) {
        case 1: { // landscape
            p.setBrush(rgb(0x81c784));
            QPainterPath m;
            m.moveTo(1, 14);
            m.lineTo(6, 6);
            m.lineTo(9, 10);
            m.lineTo(11, 7);
            m.lineTo(15, 14);
            m.closeSubpath();
            p.drawPath(m);
            break;
        }
        case 2: // architecture
            p.setBrush(rgb(0xbcaaa4));
            p.drawRect(QRectF(4.5, 3.5, 7, 10.5));
            p.drawLine(QPointF(8, 3.5), QPointF(8, 14));
            break;
        case 3: // night
            p.setBrush(rgb(0xfff176));
            p.drawEllipse(QRectF(4, 3, 9, 9));
            p.setBrush(rgb(0x283593));
            p.drawEllipse(QRectF(7, 2, 8, 8));
            break;
        case 4: // portrait
            p.setBrush(rgb(0xffccbc));
            p.drawEllipse(QRectF(5, 2, 6, 6));
            p.drawRoundedRect(QRectF(3.5, 9, 9, 5.5), 2.5, 2.5);
            break;
        case 5: { // vault
            p.setBrush(Qt::NoBrush);
            p.setPen(glyphPen(rgb(0x6d4c41), 1.8));
            QPainterPath a;
            a.moveTo(3, 14);
            a.lineTo(3, 8);
            a.arcTo(QRectF(3, 3, 10, 10), 180, -180);
            a.lineTo(13, 14);
            p.drawPath(a);
            break;
        }
        case 6: // interior
            p.setBrush(rgb(0xffe0b2));
            p.drawRect(QRectF(2.5, 3.5, 11, 10));
            p.setBrush(rgb(0x90caf9));
            p.drawRect(QRectF(5, 6, 6, 4));
            break;
        case 7: { // botany
            p.setBrush(rgb(0x66bb6a));
            QPainterPath leaf;
            leaf.moveTo(3, 13);
            leaf.cubicTo(3, 4, 10, 2, 14, 2);
            leaf.cubicTo(14, 9, 9, 13, 3, 13);
            p.drawPath(leaf);
            break;
        }
        case 8: { // water
            p.setBrush(Qt::NoBrush);
            p.setPen(glyphPen(rgb(0x1e88e5), 1.6));
            for (int r = 0; r < 3; ++r) {
                QPainterPath w;
                w.moveTo(2, 5 + 4 * r);
                w.cubicTo(5, 3 + 4 * r, 7, 7 + 4 * r, 10, 5 + 4 * r);
                w.cubicTo(12, 4 + 4 * r, 13, 5 + 4 * r, 14, 5 + 4 * r);
                p.drawPath(w);
            }
            break;
        }
        default: // macro
            p.setBrush(rgb(0xe1f5fe));
            p.drawEllipse(QRectF(2.5, 2.5, 8, 8));
            p.setPen(glyphPen(rgb(0x37474f), 2.2));
            p.drawLine(QPointF(10, 10), QPointF(14, 14));
            break;
        }
    };
}

// ---- crop window ------------------------------------------------------------

// A stroke that reads on dark and light buttons: a dark rim under a light line.
void rimmedStroke(QPainter& p, const QPainterPath& path, qreal width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(rgb(0x202020), width + 1.6));
    p.drawPath(path);
    p.setPen(glyphPen(rgb(0xf4f4f4), width));
    p.drawPath(path);
}

// A letter "A" of the given height standing on the baseline at y 14.
DrawFn iconCaptionSize(qreal height)
{
    return [height](QPainter& p) {
        const qreal base = 14.0, top = base - height, half = height * 0.42;
        QPainterPath a;
        a.moveTo(8 - half, base);
        a.lineTo(8, top);
        a.lineTo(8 + half, base);
        a.moveTo(8 - half * 0.55, base - height * 0.38);
        a.lineTo(8 + half * 0.55, base - height * 0.38);
        rimmedStroke(p, a, height > 10 ? 1.6 : 1.3);
    };
}

// Caption lines on a picture at its bottom or top edge.
DrawFn iconCaptionPosition(bool bottom)
{
    return [bottom](QPainter& p) {
        pictureFrame(p, QRectF(1.5, 1.5, 13, 13));
        const qreal y = bottom ? 11.5 : 4.5;
        QPainterPath lines;
        lines.moveTo(4.5, y);
        lines.lineTo(11.5, y);
        rimmedStroke(p, lines, 1.6);
    };
}

// A caption on a darkened box with a light rim, in the middle of the picture.
void iconCaptionBackground(QPainter& p)
{
    pictureFrame(p, QRectF(1.5, 1.5, 13, 13));
    p.setPen(glyphPen(rgb(0xd0d0d0), 0.8));
    p.setBrush(QColor(24, 24, 24, 225));
    p.drawRoundedRect(QRectF(3.5, 5, 9, 6), 1.2, 1.2);
    p.setPen(glyphPen(rgb(0xf4f4f4), 1.4));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
}

// ---- undo points and the timeline ----------------------------------------------------

// A curved arrow back to the left, in the upper part of the icon.
void undoArrow(QPainter& p, QColor c)
{
    QPainterPath arc;
    arc.moveTo(13.5, 8.5);
    arc.cubicTo(13.5, 3.5, 7.5, 2.0, 4.5, 5.5);
    p.setPen(glyphPen(c, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(2.0, 3.0);
    head.lineTo(6.5, 3.5);
    head.lineTo(3.0, 8.0);
    head.closeSubpath();
    p.setPen(outline(c.darker(130), 0.8));
    p.setBrush(c);
    p.drawPath(head);
}

// The get-undo icon: the arrow over a row of pips counting the points (two
// rows of five for more than five); a plus for more than ten.
DrawFn undoCountIcon(int count, bool more)
{
    return [count, more](QPainter& p) {
        undoArrow(p, rgb(0x2f6fc0));
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0xe08a1e));
        for (int i = 0; i < count; ++i) {
            const int row = i / 5;
            const int col = i % 5;
            p.drawEllipse(QRectF(1.0 + col * 2.6, 10.2 + row * 2.8, 2.2, 2.2));
        }
        if (more) {
            p.setPen(glyphPen(rgb(0xc03020), 1.4));
            p.drawLine(QPointF(14.2, 9.8), QPointF(14.2, 15.0));
            p.drawLine(QPointF(11.6, 12.4), QPointF(16.0, 12.4));
        }
    };
}

// Load a timeline point: an arrow down into a tray.
void iconTimelineLoad(QPainter& p)
{
    const QColor c = rgb(0x2f8f3f);
    p.setPen(glyphPen(c, 1.8));
    p.drawLine(QPointF(8, 2), QPointF(8, 9.5));
    QPainterPath head;
    head.moveTo(4, 7.5);
    head.lineTo(8, 11.5);
    head.lineTo(12, 7.5);
    p.drawPath(head);
    p.setPen(glyphPen(c.darker(140), 1.4));
    p.drawLine(QPointF(2.5, 11), QPointF(2.5, 14));
    p.drawLine(QPointF(2.5, 14), QPointF(13.5, 14));
    p.drawLine(QPointF(13.5, 14), QPointF(13.5, 11));
}

// Delete a timeline point: a red cross.
void iconTimelineDelete(QPainter& p)
{
    const QColor c = rgb(0xc83228);
    p.setPen(glyphPen(c, 2.4));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

// ---- the clone-correction and mask geometry painters --------------------

// A destination disc and a dashed source circle joined by a line: the base of
// the clone-correction icons.
void stencilPair(QPainter& p, QColor colour)
{
    p.setPen(glyphPen(colour, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8.5, 8.5, 6, 6));
    QPen dashed = glyphPen(colour, 1.2);
    dashed.setDashPattern({1.5, 1.5});
    p.setPen(dashed);
    p.drawEllipse(QRectF(1.5, 1.5, 6, 6));
    p.setPen(glyphPen(colour, 1.0));
    p.drawLine(QPointF(6.8, 6.8), QPointF(9.2, 9.2));
}

DrawFn iconStencil(int kind)
{
    return [kind](QPainter& p) {
        switch (kind) {
        case 0: { // show variation: a texture wave over a grey square
            p.setPen(glyphPen(rgb(0x424242), 1.0));
            p.setBrush(vertical(2, 14, rgb(0xeeeeee), rgb(0x616161)));
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            p.setPen(glyphPen(rgb(0xff6f00), 1.4));
            QPainterPath wave;
            wave.moveTo(3, 9);
            wave.cubicTo(5, 4, 7, 14, 9, 8);
            wave.cubicTo(11, 3, 12, 10, 13, 7);
            p.drawPath(wave);
            break;
        }
        case 1: // units active
            stencilPair(p, rgb(0x2e7d32));
            break;
        case 2: // show sources: the pair with an eye-like highlight on the source
            stencilPair(p, rgb(0x1565c0));
            p.setPen(Qt::NoPen);
            p.setBrush(rgb(0x1565c0));
            p.drawEllipse(QRectF(3.3, 3.3, 2.4, 2.4));
            break;
        case 3: // recalculate all
            circularArrow(p, rgb(0x1565c0), 100, 290, {QPointF(1.8, 4.2), QPointF(7.6, 1.6), QPointF(6.6, 7.4)});
            break;
        case 4: // delete all
            iconDelete(true)(p);
            break;
        case 5: // new unit
            stencilPair(p, rgb(0x8fa4b0));
            p.setPen(glyphPen(rgb(0x2e7d32), 1.8));
            p.drawLine(QPointF(11.5, 9.5), QPointF(11.5, 13.5));
            p.drawLine(QPointF(9.5, 11.5), QPointF(13.5, 11.5));
            break;
        case 6: // best match: a target over the source
            stencilPair(p, rgb(0x8fa4b0));
            p.setPen(glyphPen(rgb(0xef6c00), 1.2));
            p.drawLine(QPointF(4.5, 0.5), QPointF(4.5, 8.5));
            p.drawLine(QPointF(0.5, 4.5), QPointF(8.5, 4.5));
            break;
        default: // delete the selected unit
            stencilPair(p, rgb(0x8fa4b0));
            p.setPen(glyphPen(rgb(0xc62828), 1.8));
            p.drawLine(QPointF(9.5, 9.5), QPointF(13.5, 13.5));
            p.drawLine(QPointF(13.5, 9.5), QPointF(9.5, 13.5));
            break;
        }
    };
}

// A soft ellipse in the colour of an additive (green) or subtractive (red)
// geometry.
void geometryBlob(QPainter& p, const QRectF& r, bool add)
{
    QRadialGradient g(r.center(), r.width() / 2);
    const QColor c = add ? rgb(0x43a047) : rgb(0xe53935);
    g.setColorAt(0, c);
    g.setColorAt(1, QColor(c.red(), c.green(), c.blue(), 60));
    p.setPen(glyphPen(c.darker(150), 1.0));
    p.setBrush(g);
    p.drawEllipse(r);
}

DrawFn iconGeometryPainter(int kind)
{
    return [kind](QPainter& p) {
        switch (kind) {
        case 0: // add additive
        case 1: // add subtractive
            geometryBlob(p, QRectF(1.5, 3.5, 10, 9), kind == 0);
            // The sign with a light rim: readable on dark and light buttons.
            for (const QPen& pen : {glyphPen(rgb(0xfafafa), 3.4), glyphPen(rgb(0x263238), 1.6)}) {
                p.setPen(pen);
                p.drawLine(QPointF(9.5, 4), QPointF(14.5, 4));
                if (kind == 0)
                    p.drawLine(QPointF(12, 1.5), QPointF(12, 6.5));
            }
            break;
        case 2: // invert: half green, half red
            geometryBlob(p, QRectF(2.5, 2.5, 11, 11), true);
            p.save();
            p.setClipRect(QRectF(8, 0, 8, 16));
            geometryBlob(p, QRectF(2.5, 2.5, 11, 11), false);
            p.restore();
            break;
        case 3: // duplicate
            geometryBlob(p, QRectF(1.5, 1.5, 8, 8), true);
            geometryBlob(p, QRectF(6.5, 6.5, 8, 8), true);
            break;
        case 4: // delete the selected geometry
            geometryBlob(p, QRectF(1.5, 2.5, 10, 9), true);
            p.setPen(glyphPen(rgb(0xc62828), 1.8));
            p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
            p.drawLine(QPointF(14, 9.5), QPointF(9.5, 14));
            break;
        case 5: // show none: an empty frame
            pictureFrame(p, QRectF(1.5, 2.5, 13, 11));
            break;
        case 6: // show the selected geometry
            pictureFrame(p, QRectF(1.5, 2.5, 13, 11));
            geometryBlob(p, QRectF(4.5, 5, 7, 6), true);
            break;
        default: // show all
            pictureFrame(p, QRectF(1.5, 2.5, 13, 11));
            geometryBlob(p, QRectF(2.5, 4, 6, 5), true);
            geometryBlob(p, QRectF(8, 7, 5.5, 5), false);
            break;
        }
    };
}

// ---- main window action icons -------------------------------------------------

void docPage(QPainter& p, const QRectF& r)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 3, r.top());
    page.lineTo(r.right(), r.top() + 3);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(outline(rgb(0x5a6270)));
    p.setBrush(vertical(r.top(), r.bottom(), rgb(0xffffff), rgb(0xd9dee6)));
    p.drawPath(page);
}

void folderShape(QPainter& p, QColor light, QColor dark)
{
    QPainterPath f;
    f.moveTo(1.5, 4);
    f.lineTo(6, 4);
    f.lineTo(7.5, 5.5);
    f.lineTo(14.5, 5.5);
    f.lineTo(14.5, 13.5);
    f.lineTo(1.5, 13.5);
    f.closeSubpath();
    p.setPen(outline(dark.darker(140)));
    p.setBrush(vertical(4, 14, light, dark));
    p.drawPath(f);
}

void diskShape(QPainter& p, QColor body)
{
    p.setPen(outline(body.darker(170)));
    p.setBrush(vertical(2, 14, body.lighter(130), body));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xf2f2f2));
    p.drawRect(QRectF(4.5, 2.5, 7, 4));
    p.setBrush(body.darker(150));
    p.drawRect(QRectF(5, 9, 6, 4.5));
}

// A small arrow badge in the lower right corner.
void arrowBadge(QPainter& p, QColor c, bool down)
{
    p.setPen(outline(c.darker(160)));
    p.setBrush(c);
    QPolygonF a;
    if (down)
        a << QPointF(9, 9) << QPointF(15, 9) << QPointF(12, 15);
    else
        a << QPointF(12, 8.5) << QPointF(15.5, 12.5) << QPointF(13.3, 12.5) << QPointF(13.3, 15.3)
          << QPointF(10.7, 15.3) << QPointF(10.7, 12.5) << QPointF(8.5, 12.5);
    p.drawPolygon(a);
}

void iconNewProject(QPainter& p)
{
    // A house: back to the start page.
    QPainterPath h;
    h.moveTo(8, 2);
    h.lineTo(14.5, 8);
    h.lineTo(12.5, 8);
    h.lineTo(12.5, 14);
    h.lineTo(3.5, 14);
    h.lineTo(3.5, 8);
    h.lineTo(1.5, 8);
    h.closeSubpath();
    p.setPen(outline(rgb(0x7a3b12)));
    p.setBrush(vertical(2, 14, rgb(0xffd08a), rgb(0xe07b2a)));
    p.drawPath(h);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x7a3b12));
    p.drawRect(QRectF(6.7, 9.5, 2.6, 4.5));
}

void iconOpenProject(QPainter& p)
{
    folderShape(p, rgb(0xffe29a), rgb(0xe0a830));
    arrowBadge(p, rgb(0x3aa04a), false);
}

void iconMenuProject(QPainter& p) { folderShape(p, rgb(0xffe29a), rgb(0xe0a830)); }

void iconSaveProject(QPainter& p) { diskShape(p, rgb(0x3f6fc0)); }

void iconSaveProjectAs(QPainter& p)
{
    diskShape(p, rgb(0x3f6fc0));
    p.setPen(glyphPen(rgb(0x7a3b12), 2.0));
    p.drawLine(QPointF(9.5, 14.5), QPointF(15, 9));
    p.setPen(glyphPen(rgb(0xffd08a), 1.0));
    p.drawLine(QPointF(10, 14), QPointF(14.5, 9.5));
}

void iconLoadImage(QPainter& p)
{
    pictureFrame(p, QRectF(1.5, 2.5, 12, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xfff3a0));
    p.drawEllipse(QPointF(5, 5.5), 1.5, 1.5);
    arrowBadge(p, rgb(0x3aa04a), false);
}

void iconBatchBrowser(QPainter& p)
{
    pictureFrame(p, QRectF(5.5, 1.5, 9, 7));
    pictureFrame(p, QRectF(3.5, 4, 9, 7));
    pictureFrame(p, QRectF(1.5, 6.5, 9, 7));
    p.setPen(glyphPen(rgb(0x303030), 1.6));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(11.3, 11), 2.6, 2.6);
    p.drawLine(QPointF(13.2, 13), QPointF(15, 14.8));
}

void iconSaveResultImage(QPainter& p)
{
    // The picture with a small disk in its corner.
    pictureFrame(p, QRectF(0.5, 1.5, 12, 9.5));
    p.save();
    p.translate(7, 7);
    p.scale(0.56, 0.56);
    diskShape(p, rgb(0x3f6fc0));
    p.restore();
}

void iconPrint(QPainter& p)
{
    docPage(p, QRectF(4.5, 1.5, 7, 5));
    p.setPen(outline(rgb(0x3a3f48)));
    p.setBrush(vertical(6, 12, rgb(0xd8dde6), rgb(0x7f8896)));
    p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.5, 1.5);
    docPage(p, QRectF(4.5, 10, 7, 4.5));
}

void iconSendTo(QPainter& p)
{
    pictureFrame(p, QRectF(1.5, 2.5, 10, 8));
    p.setPen(outline(rgb(0x1f5fb0)));
    p.setBrush(rgb(0x5aa0ff));
    QPolygonF a;
    a << QPointF(8, 9.5) << QPointF(12, 9.5) << QPointF(12, 7.5) << QPointF(15.5, 11) << QPointF(12, 14.5)
      << QPointF(12, 12.5) << QPointF(8, 12.5);
    p.drawPolygon(a);
}

void iconSendToFamily(QPainter& p)
{
    roundBadge(p, rgb(0xc6a0ff), rgb(0x5b2ea0));
    p.setPen(glyphPen(Qt::white, 1.7));
    p.drawLine(QPointF(4.5, 8), QPointF(11, 8));
    p.drawLine(QPointF(8.5, 5.2), QPointF(11.3, 8));
    p.drawLine(QPointF(8.5, 10.8), QPointF(11.3, 8));
}

DrawFn iconUndo(bool save)
{
    return [save](QPainter& p) {
        circularArrow(p, save ? rgb(0x2f8f3f) : rgb(0x1f5fb0), 90, 270,
                      QPolygonF() << QPointF(8, 0.8) << QPointF(11, 3) << QPointF(8, 5.2));
        p.setPen(Qt::NoPen);
        p.setBrush(save ? rgb(0x2f8f3f) : rgb(0x1f5fb0));
        if (save)
            p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
        else
            p.drawRect(QRectF(6.5, 6.5, 3, 3));
    };
}

void iconTimeline(QPainter& p)
{
    for (int i = 0; i < 3; ++i)
        pictureFrame(p, QRectF(0.8 + i * 5, 5, 4.4, 4.4));
    p.setPen(glyphPen(rgb(0x505a66), 1.2));
    p.drawLine(QPointF(1, 12.5), QPointF(15, 12.5));
}

void iconPanorama(QPainter& p)
{
    pictureFrame(p, QRectF(0.5, 4.5, 15, 7));
    p.setPen(glyphPen(rgb(0x2d5a2d), 1.0));
    p.drawPolyline(QPolygonF() << QPointF(0.5, 10) << QPointF(4, 7) << QPointF(7, 9.5) << QPointF(10.5, 6.5)
                               << QPointF(15.5, 9.5));
}

void iconCompareWindow(QPainter& p)
{
    pictureFrame(p, QRectF(1.5, 2.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40, 150));
    p.drawRect(QRectF(8, 3, 6, 10));
    p.setPen(glyphPen(Qt::white, 1.2));
    p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
}

void iconPostProcessing(QPainter& p)
{
    // Three sliders.
    p.setPen(glyphPen(rgb(0x505a66), 1.3));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(2, 3.5 + i * 4.5), QPointF(14, 3.5 + i * 4.5));
    const qreal knobs[3] = {5, 11, 7.5};
    const QColor colours[3] = {rgb(0xe05050), rgb(0x50b050), rgb(0x5080e0)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(outline(colours[i].darker(160)));
        p.setBrush(colours[i]);
        p.drawEllipse(QPointF(knobs[i], 3.5 + i * 4.5), 2, 2);
    }
}

void iconResetWindows(QPainter& p)
{
    p.setPen(outline(rgb(0x404a58)));
    p.setBrush(rgb(0xeef2f7));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(rgb(0x5a87c0));
    p.drawRect(QRectF(1.5, 2.5, 13, 2.5));
    p.setBrush(rgb(0xb8c6d8));
    p.drawRect(QRectF(1.5, 5, 4, 8.5));
    p.drawRect(QRectF(11, 5, 3.5, 8.5));
}

void iconBatch(QPainter& p)
{
    for (int i = 2; i >= 0; --i)
        docPage(p, QRectF(1.5 + i * 2.2, 1.5 + i * 1.2, 8.5, 10.5));
    p.setPen(glyphPen(rgb(0x2f8f3f), 1.8));
    p.drawPolyline(QPolygonF() << QPointF(8.5, 11.5) << QPointF(10.5, 13.8) << QPointF(15, 8.5));
}

void iconWeb(QPainter& p)
{
    roundBadge(p, rgb(0x9fd8ff), rgb(0x1f6fb0));
    p.setPen(glyphPen(QColor(255, 255, 255, 200), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5.2, 1.8, 5.6, 12.4));
    p.drawLine(QPointF(1.8, 8), QPointF(14.2, 8));
    p.drawLine(QPointF(3, 4.8), QPointF(13, 4.8));
    p.drawLine(QPointF(3, 11.2), QPointF(13, 11.2));
}

void iconStatistic(QPainter& p)
{
    const qreal heights[4] = {5, 9, 7, 12};
    const QColor colours[4] = {rgb(0x5080e0), rgb(0x50b050), rgb(0xe0b030), rgb(0xe05050)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(outline(colours[i].darker(160)));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(1.5 + i * 3.4, 14.5 - heights[i], 2.6, heights[i]));
    }
}

void iconBenchmark(QPainter& p)
{
    p.setPen(outline(rgb(0x3a3f48)));
    p.setBrush(vertical(2, 14, rgb(0xeef2f7), rgb(0xaab4c2)));
    p.drawPie(QRectF(1.5, 3, 13, 13), 0, 180 * 16);
    p.setPen(glyphPen(rgb(0xd03030), 1.5));
    p.drawLine(QPointF(8, 9.5), QPointF(12, 5.5));
}

void iconAbout(QPainter& p)
{
    roundBadge(p, rgb(0x8ec5ff), rgb(0x1f5fb0));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.8), 1.2, 1.2);
    p.drawRoundedRect(QRectF(7, 7, 2, 5.5), 0.6, 0.6);
}

void iconExif(QPainter& p)
{
    docPage(p, QRectF(2.5, 1.5, 11, 13));
    p.setPen(glyphPen(rgb(0x7f8896), 1.0));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(4.5, 5 + i * 2.4), QPointF(i % 2 ? 9 : 11.5, 5 + i * 2.4));
}

void iconHistogram(QPainter& p)
{
    p.setPen(outline(rgb(0x404040)));
    p.setBrush(rgb(0x202020));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    QPainterPath h;
    h.moveTo(2, 13.5);
    const qreal ys[7] = {11, 8, 5, 7, 4.5, 9, 12};
    for (int i = 0; i < 7; ++i)
        h.lineTo(2 + i * 2, ys[i]);
    h.lineTo(14, 13.5);
    h.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xe0e0e0));
    p.drawPath(h);
}

void iconHideInterface(QPainter& p)
{
    p.setPen(outline(rgb(0x404a58)));
    p.setBrush(rgb(0xeef2f7));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(glyphPen(rgb(0x404a58), 1.2));
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
}

void iconFrameColor(QPainter& p)
{
    p.setPen(outline(rgb(0x404040)));
    p.setBrush(vertical(1, 15, rgb(0x909090), rgb(0x505050)));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    pictureFrame(p, QRectF(4.5, 4.5, 7, 7));
}

std::vector<SPicture> pictures()
{
    std::vector<SPicture> v;
    auto icon = [&](const char* name, DrawFn fn) {
        for (int size : kIconSizes) {
            v.push_back({QStringLiteral("icons/silk/%1x%1/%2.png").arg(size).arg(QLatin1String(name)), size, fn,
                         size / 16.0});
        }
    };
    // Theme icons by name; the names are the program's, spelling included.
    icon("ProgrammSmybol", iconProgramSymbol);
    icon("ProgrammSymbol", iconProgramSymbol);
    icon("properties", iconProperties);
    icon("SetDefault", iconSetDefault);
    icon("PfeilRechts", iconArrowRight);
    icon("ProgramQuit", iconProgramQuit);
    icon("ProgressWait", iconProgressWait);
    icon("ProgressContinue", iconProgressContinue);
    icon("ProgressStop", iconProgressStop);
    icon("help", iconHelp);
    icon("ExposureDelete", iconExposureDelete);
    icon("newProject", iconNewProject);
    icon("openProject", iconOpenProject);
    icon("menuProject", iconMenuProject);
    icon("saveProject", iconSaveProject);
    icon("saveProjectAs", iconSaveProjectAs);
    icon("loadImage", iconLoadImage);
    icon("batchbrowser", iconBatchBrowser);
    icon("saveResultImage", iconSaveResultImage);
    icon("ErgebnisbildDrucken", iconPrint);
    icon("sendResultImageToVorlix", iconSendToFamily);
    icon("sendResultImageTo", iconSendTo);
    icon("UndoSpeichern", iconUndo(true));
    icon("UndoLaden", iconUndo(false));
    icon("Timeline", iconTimeline);
    icon("panorama", iconPanorama);
    icon("CompareWindow", iconCompareWindow);
    icon("postProcessing", iconPostProcessing);
    icon("ResetWindowPositions", iconResetWindows);
    icon("batch", iconBatch);
    icon("Web", iconWeb);
    icon("Statistic", iconStatistic);
    icon("Benchmark", iconBenchmark);
    icon("About", iconAbout);
    icon("showExifInfo", iconExif);
    icon("histogramm", iconHistogram);
    icon("HideInterface", iconHideInterface);
    icon("FrameColor", iconFrameColor);
    icon("CollapsableArrowUp", [](QPainter& p) { arrowTriangle(p, true); });
    icon("CollapsableArrowDown", [](QPainter& p) { arrowTriangle(p, false); });
    icon("StyleMenu", iconStyleMenu);
    icon("StyleSheet1", styleSwatch(0x2e2e2e, 0x5e5e5e, 0x8f8f9f, 0xd1d1d1, true));
    icon("StyleSheet2", styleSwatch(0x0e0e09, 0x2e2e29, 0x6f6f5f, 0xd1d1cb, false));
    icon("StyleSheet3", styleSwatch(0x0e0e0e, 0x2e2e2e, 0x6f6f6f, 0xd1d1d1, true));
    icon("StyleSheet4", styleSwatch(0x8e8e8e, 0xeeeeee, 0xcfcfcf, 0x272727, false));
    icon("StyleSheet5", styleSwatch(0x0e0e1e, 0x2e2e3e, 0x6f6f7f, 0xd1d1e1, true));
    icon("StyleSheet6", styleSwatch(0x1e1717, 0x3e3737, 0x7f7777, 0xe1d7d7, false));
    icon("StyleSheet7", styleSwatch(0x1e170e, 0x3e372f, 0x7f776f, 0xe1d7cf, true));
    icon("StyleSheetFree", iconStyleFree);
    // Compare dock and panorama viewer.
    const char* compareNames[4] = {"CompareVertikal", "CompareHorizontal", "CompareDiagonal1", "CompareDiagonal2"};
    for (int i = 0; i < 4; ++i) {
        icon(compareNames[i], compareIcon(i, false));
        icon((std::string(compareNames[i]) + "Flipped").c_str(), compareIcon(i, true));
    }
    icon("CompareBufferFlip", iconCompareFlip);
    icon("CompareLuminanceSelectOnOff", luminanceIcon({{0.0, 1.0}}));
    icon("CompareLuminanceSelect1", luminanceIcon({{0.15, 0.35}, {0.65, 0.85}}));
    icon("CompareLuminanceSelect2", luminanceIcon({{0.3, 0.7}}));
    icon("CompareLuminanceSelect3", luminanceIcon({{0.0, 0.3}, {0.7, 1.0}}));
    icon("MouseInvertVertikal", mouseInvertIcon(true));
    icon("MouseInvertHorizontal", mouseInvertIcon(false));
    // The central preview's toolbar.
    icon("PreviewMode", iconPreviewMode);
    icon("RealtimeMode", iconRealtimeMode);
    icon("RealtimeModeRefresh", iconRealtimeRefresh);
    icon("BorderPixel", iconBorderPixel);
    icon("Zoom1to1", iconZoom1to1);
    icon("ZoomFit2Screen", iconZoomFit);
    icon("Geometrie", iconGeometrie);
    icon("Mirror", orientationIcon(0));
    icon("Flip", orientationIcon(1));
    icon("RotateLeft", orientationIcon(2));
    icon("RotateRight", orientationIcon(3));
    // The crop window's caption controls.
    icon("CropTextBackground", iconCaptionBackground);
    icon("CropTextSmall", iconCaptionSize(6));
    icon("CropTextMedium", iconCaptionSize(9));
    icon("CropTextLarge", iconCaptionSize(12.5));
    icon("CropTextBottom", iconCaptionPosition(true));
    icon("CropTextTop", iconCaptionPosition(false));
    // Undo points and the timeline dock.
    for (int i = 1; i <= 10; ++i)
        icon(QString::asprintf("UndoLaden%02d", i).toLatin1().constData(), undoCountIcon(i, false));
    icon("UndoLaden10p", undoCountIcon(10, true));
    icon("TimelineLoad", iconTimelineLoad);
    icon("TimelineDelete", iconTimelineDelete);
    // The film strip of the preview's playback overlay, 74 x 30, tiled along
    // the top and bottom edges.
    v.push_back({QStringLiteral("images/Filmstreifen.png"), 74, iconFilmStrip, 1.0, 30});
    // the post-processing dock
    icon("Play", iconPlay);
    icon("Pipette", iconPipette);
    icon("TextureSelect", iconTexture);
    icon("FilmTypPre", iconFilm(false));
    icon("FilmTypPost", iconFilm(true));
    icon("GeometryEdit", iconGeometry(0));
    icon("GeometryCopy", iconGeometry(1));
    icon("GeometryPaste", iconGeometry(2));
    icon("GeometryDelete", iconGeometry(3));
    // The clone-correction and mask geometry painters.
    const char* stencilNames[8] = {"StencilShowVariation", "StencilActive",    "StencilShowSources", "StencilRecalcAll",
                                   "StencilDeleteAll",     "StencilNew",       "StencilBestMatch",   "StencilDelete"};
    for (int i = 0; i < 8; ++i)
        icon(stencilNames[i], iconStencil(i));
    const char* geometryNames[8] = {"GeometryAddPositive", "GeometryAddNegative", "GeometryInvert",
                                    "GeometryDuplicate",   "GeometrySingleDelete", "GeometryShowNone",
                                    "GeometryShowSingle",  "GeometryShowAll"};
    for (int i = 0; i < 8; ++i)
        icon(geometryNames[i], iconGeometryPainter(i));
    icon("KontextMenuInactive", iconCheck(true));
    icon("KontextMenuActive", iconCheck(false));
    icon("KontextMenuDuplicate", iconDuplicate);
    icon("KontextMenuToDefault", iconToDefault);
    icon("KontextMenuTop", iconMoveTo(true));
    icon("KontextMenuBottom", iconMoveTo(false));
    icon("KontextMenuDelete", iconDelete(false));
    icon("KontextMenuDeleteAll", iconDelete(true));
    icon("KontextMenuTMadd", iconAdd);
    icon("StacklistAllActive", iconStack(0xF));
    icon("StacklistUptothis", iconStack(0xC));
    icon("StacklistOnlythis", iconStack(0x4));
    icon("StacklistAllInActive", iconStack(0x0));
    icon("Layer_00_normal", iconLayer(0, false));
    icon("Layer_01_lighten", iconLayer(1, false));
    icon("Layer_00_normal+selective", iconLayer(0, true));
    icon("Layer_01_lighten+selective", iconLayer(1, true));
    icon("Layer_xx_impossible", iconLayer(-1, false));
    // the batch window and the benchmark
    icon("BatchSeriesLoad", iconBatchSeriesLoad);
    icon("BatchSeriesDeactivate", iconBatchSeriesDeactivate);
    icon("BatchSeriesDelete", iconBatchSeriesDelete);
    v.push_back({QStringLiteral("images/Tacho.png"), 63, dialTacho});
    v.push_back({QStringLiteral("images/Benchmark1.png"), 2560, benchmarkPicture, 1.0, 512});
    icon("FilterListAllActive", iconStack(0xF));
    icon("FilterListAllInActive", iconStack(0x0));
    const struct {
        const char* name;
        unsigned colour;
    } filters[] = {{"Enhance", 0xf8ff39}, {"Geometry", 0x76ff39}, {"Luminance", 0x39ffd3}, {"Color", 0x3963ff},
                   {"Smooth", 0xbb39ff},  {"Artistic", 0xff39b2}, {"Panorama", 0x808080}};
    for (const auto& f : filters) {
        icon(qPrintable(QStringLiteral("FilterList%1Active").arg(QLatin1String(f.name))), iconFilter(f.colour, true));
        icon(qPrintable(QStringLiteral("FilterList%1InActive").arg(QLatin1String(f.name))),
             iconFilter(f.colour, false));
    }

    // The preset library, the HDR operator dock, the RAW window.
    icon("PresetCopy", iconDuplicate);
    icon("PresetToDefault", iconToDefault);
    icon("PresetSave", iconPresetSave);
    icon("PresetEdit", iconPresetEdit);
    icon("PresetDelete", iconDelete(false));
    icon("PresetUp", iconMoveTo(true));
    icon("PresetDown", iconMoveTo(false));
    icon("PresetCombine", iconPresetCombine);
    icon("PresetCombineAdd", iconAdd);
    icon("TiefenkarteSpeichern", iconDepthMapSave);
    icon("rawdevelopment", iconRawDevelopment);
    icon("Continue", iconProgressContinue);
    const char* imageTypes[9] = {"ImageType_01_Landschaft", "ImageType_02_Architektur", "ImageType_03_Nachtaufnahme",
                                 "ImageType_04_Portrait",   "ImageType_05_Gewoelbe",    "ImageType_06_Innenraum",
                                 "ImageType_07_Botanik",    "ImageType_08_Gewaesser",   "ImageType_09_Makroaufnahme"};
    for (int i = 0; i < 9; ++i)
        icon(imageTypes[i], iconImageType(i + 1));

    const char* stateNames[4] = {"", "_hover", "_pressed", "_disabled"};
    for (int checked = 1; checked >= 0; --checked) {
        for (int s = 0; s < 4; ++s) {
            v.push_back({QStringLiteral("checkbox_%1%2.png")
                             .arg(QLatin1String(checked ? "checked" : "unchecked"), QLatin1String(stateNames[s])),
                         14, checkBox(checked != 0, EState(s))});
        }
    }
    v.push_back({QStringLiteral("combobox_downarrow.png"), 12, comboArrow(false)});
    v.push_back({QStringLiteral("combobox_downarrow_on.png"), 12, comboArrow(true)});

    auto cursor = [&](const char* name, DrawFn fn) {
        v.push_back({QStringLiteral("cursor/Cursor_%1.png").arg(QLatin1String(name)), 32, std::move(fn)});
    };
    cursor("Arrow", cursorArrow);
    cursor("Pipette", cursorPipette);
    cursor("ClosedHand", [](QPainter& p) { hand(p, true); });
    cursor("OpenHand", [](QPainter& p) { hand(p, false); });
    cursor("Cross", cursorCross);
    cursor("Paint", toolCursor(glyphBrush, false));
    cursor("PaintStamp", toolCursor(glyphBrush, true));
    cursor("Smooth", toolCursor(glyphSmooth, false));
    cursor("SmoothStamp", toolCursor(glyphSmooth, true));
    cursor("DeGhost", toolCursor(glyphGhost, false));
    cursor("Clear", toolCursor(glyphEraser, false));
    cursor("ClearStamp", toolCursor(glyphEraser, true));
    cursor("DragDirection", cursorDragDirection);
    return v;
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(text) == text.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [alias=path ...]\n", argv[0]);
        return 2;
    }
    const QDir out(args.at(1));
    QStringList entries;
    for (const SPicture& pic : pictures()) {
        const QString path = out.filePath(pic.path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            std::fprintf(stderr, "cannot create the folder of %s\n", qPrintable(path));
            return 1;
        }
        const QImage img = render(pic.size, pic.height > 0 ? pic.height : pic.size, pic.draw, pic.scale);
        if (!img.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        entries << QStringLiteral("    <file alias=\"%1\">%2</file>").arg(pic.path, path);
    }

    QByteArray indexTheme = "[Icon Theme]\nName=silk\nComment=Icons of Lumivex\nDirectories=";
    QByteArray sections;
    for (int size : kIconSizes) {
        const QByteArray dir = QByteArray::number(size) + "x" + QByteArray::number(size);
        indexTheme += (size == kIconSizes[0] ? "" : ",") + dir;
        sections += "\n[" + dir + "]\nSize=" + QByteArray::number(size) + "\nType=Fixed\n";
    }
    indexTheme += "\n" + sections;
    const QString indexPath = out.filePath(QStringLiteral("icons/silk/index.theme"));
    if (!writeText(indexPath, indexTheme)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(indexPath));
        return 1;
    }
    entries << QStringLiteral("    <file alias=\"icons/silk/index.theme\">%1</file>").arg(indexPath);

    for (int i = 2; i < args.size(); ++i) {
        const qsizetype eq = args.at(i).indexOf(QLatin1Char('='));
        if (eq <= 0) {
            std::fprintf(stderr, "bad resource argument %s\n", qPrintable(args.at(i)));
            return 2;
        }
        entries << QStringLiteral("    <file alias=\"%1\">%2</file>").arg(args.at(i).left(eq), args.at(i).mid(eq + 1));
    }

    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n";
    qrc += entries.join(QLatin1Char('\n')).toUtf8();
    qrc += "\n  </qresource>\n</RCC>\n";
    const QString qrcPath = out.filePath(QStringLiteral("lumivex_resources.qrc"));
    if (!writeText(qrcPath, qrc)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(qrcPath));
        return 1;
    }
    return 0;
}
