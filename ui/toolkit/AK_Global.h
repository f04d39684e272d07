#pragma once
// Small building blocks shared by the interactive windows.
//
// _hlp: value types that keep a value, point or rectangle inside a range at
// all times, scalar helpers with fixed rounding and clamping rules, a
// grow-only buffer, array filling and a sleep.
// _gui: layout spacings and size scaling, a pixmap test, the mouse-button
// rules of the drawing surfaces and drawing primitives for overlays, most of
// them with a dark one-pixel shadow so that marks stay visible on any image.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QSizeF>
#include <QThread>

#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;
class QPainter;
class QPixmap;
class QLine;

namespace _hlp {

// ---- scalar helpers --------------------------------------------------------

// lo when v < lo, otherwise hi when v > hi, otherwise v. The lower bound is
// tested first; a float NaN comes back unchanged.
template <class T>
inline T MathClamp(T v, T lo, T hi)
{
    if (v < lo)
        return lo;
    if (v > hi)
        return hi;
    return v;
}

template <class T>
inline T MathMin(T a, T b)
{
    return b < a ? b : a;
}

template <class T>
inline T MathMax(T a, T b)
{
    return a < b ? b : a;
}

template <class T>
inline T MathAbs(T v)
{
    return v < 0 ? -v : v;
}

template <>
inline float MathAbs<float>(float v)
{
    unsigned int u;
    std::memcpy(&u, &v, sizeof u);
    u &= 0x7fffffffu;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// Nearest integer, halves away from zero. NaN gives 0; values beyond the int
// range give the nearest end of the range.
int MathRound(float x);
// x rounded to the given number of decimal digits (unchanged above 8 digits).
float MathRound(float x, unsigned int digits);

// a + (b - a) * t, kept between the two ends (whichever is the smaller).
template <class T>
inline T MathLerp(T a, T b, float t)
{
    return MathClamp(a + (b - a) * t, MathMin(a, b), MathMax(a, b));
}

template <>
inline int MathLerp<int>(int a, int b, float t)
{
    // a + trunc(float(b - a) * t); the step is clamped before it becomes an int.
    const float span = static_cast<float>(b - a);
    float step = span * t;
    if (!(step == step))
        return a;
    step = MathClamp(step, MathMin(span, 0.0f), MathMax(span, 0.0f));
    return MathClamp(a + static_cast<int>(step), MathMin(a, b), MathMax(a, b));
}

// Position of x between a and b as 0..1; 0 for an empty range (a = b).
inline float MathPos(float a, float b, float x)
{
    if (a == b)
        return 0.0f;
    return MathClamp((x - a) / (b - a), 0.0f, 1.0f);
}

// a at t = 0, b at t = 0.5 and a again at t = 1 (t clamped to 0..1).
int MathCycle(int a, int b, float t);
QColor MathCycle(QColor const& c1, QColor c2, float t);

// 0 when a or b is 0 or less; otherwise a / b, wrapped into [0, 1) after
// adding c when c > 0; limited to 0..1.
float MathLimitToMax(float a, float b, float c);

// The largest size with aspect's width-to-height ratio that fits in size.
QSizeF MathAdjustAspect(QSizeF const& size, QSizeF const& aspect);

template <class T>
inline void Swap(T* a, T* b)
{
    T t = *a;
    *a = *b;
    *b = t;
}

template <class T>
inline void ArrFill(T* array, unsigned int n, T const& v)
{
    for (unsigned int i = 0; i < n; ++i)
        array[i] = v;
}

template <class T, size_t N>
inline void ArrFill(T (&array)[N], T const& v)
{
    ArrFill(array, static_cast<unsigned int>(N), v);
}

// Formats like snprintf; keeps at most size - 1 characters, always ends the
// buffer with a NUL and returns the number of characters written.
unsigned int StrPrintF(char* buffer, unsigned int size, char const* format, ...)
    __attribute__((format(printf, 3, 4)));
unsigned int StrPrintFV(char* buffer, unsigned int size, char const* format, va_list args)
    __attribute__((format(printf, 3, 0)));

// ---- ranged value types ----------------------------------------------------

template <class T>
struct SRange {
    SRange() = default;
    SRange(T a, T b) : m_Min(a), m_Max(b) {}
    void Set(T a, T b)
    {
        m_Min = a;
        m_Max = b;
    }
    void Set(SRange const& r) { *this = r; }
    void Clr() { Set(T(0), T(0)); }
    T Min() const { return m_Min; }
    T Max() const { return m_Max; }

private:
    T m_Min = T(0);
    T m_Max = T(0);
};

template <class T>
struct SRange2D {
    SRange2D() = default;
    SRange2D(SRange<T> const& x, SRange<T> const& y) : m_X(x), m_Y(y) {}
    void Set(SRange<T> const& x, SRange<T> const& y)
    {
        m_X = x;
        m_Y = y;
    }
    SRange<T> const& X() const { return m_X; }
    SRange<T> const& Y() const { return m_Y; }
    void Clr()
    {
        m_X.Clr();
        m_Y.Clr();
    }

private:
    SRange<T> m_X;
    SRange<T> m_Y;
};

// A value that always lies in its range.
template <class T>
struct SRangedValue {
    SRangedValue() = default;
    void Set(T v)
    {
        m_Value = v;
        Normalise();
    }
    SRangedValue& operator=(T v)
    {
        Clr();
        Set(v);
        return *this;
    }
    void Clr() { Set(T(0)); }
    void SetRange(SRange<T> const& r)
    {
        m_Range = r;
        Normalise();
    }
    T Get() const { return m_Value; }
    operator T() const { return m_Value; }
    SRange<T> const& GetRange() const { return m_Range; }
    void Normalise() { m_Value = MathClamp(m_Value, m_Range.Min(), m_Range.Max()); }

private:
    T m_Value = T(0);
    SRange<T> m_Range;
};

template <class T>
struct SRangedPoint {
    SRangedPoint() = default;
    void Set(T x, T y)
    {
        SetX(x);
        SetY(y);
    }
    void SetX(T x) { m_X = x; }
    void SetY(T y) { m_Y = y; }
    T X() const { return m_X.Get(); }
    T Y() const { return m_Y.Get(); }
    void Clr() { Set(T(0), T(0)); }
    void SetXRange(SRange<T> const& r) { m_X.SetRange(r); }
    void SetYRange(SRange<T> const& r) { m_Y.SetRange(r); }
    SRange<T> const& GetXRange() const { return m_X.GetRange(); }
    SRange<T> const& GetYRange() const { return m_Y.GetRange(); }
    void SetRange(SRange2D<T> const& r)
    {
        SetXRange(r.X());
        SetYRange(r.Y());
    }
    void SetRange(T xmin, T xmax, T ymin, T ymax)
    {
        SetXRange(SRange<T>(xmin, xmax));
        SetYRange(SRange<T>(ymin, ymax));
    }
    operator QPoint() const { return QPoint(X(), Y()); }
    bool operator==(SRangedPoint const& o) const { return X() == o.X() && Y() == o.Y(); }

private:
    SRangedValue<T> m_X;
    SRangedValue<T> m_Y;
};

// A rectangle of four edges: left and top are the top-left corner, right and
// bottom the bottom-right corner; both corners share the x and the y range.
template <class T>
struct SRangedRect {
    SRangedRect() = default;
    void Set(T left, T top, T right, T bottom)
    {
        SetLeft(left);
        SetTop(top);
        SetRight(right);
        SetBottom(bottom);
    }
    void SetLeft(T v) { m_TL.SetX(v); }
    void SetTop(T v) { m_TL.SetY(v); }
    void SetRight(T v) { m_BR.SetX(v); }
    void SetBottom(T v) { m_BR.SetY(v); }
    T Left() const { return m_TL.X(); }
    T Top() const { return m_TL.Y(); }
    T Right() const { return m_BR.X(); }
    T Bottom() const { return m_BR.Y(); }
    void Clr() { Set(T(0), T(0), T(0), T(0)); }
    void SetXRange(SRange<T> const& r)
    {
        m_TL.SetXRange(r);
        m_BR.SetXRange(r);
    }
    void SetYRange(SRange<T> const& r)
    {
        m_TL.SetYRange(r);
        m_BR.SetYRange(r);
    }
    void SetRange(SRange<T> const& x, SRange<T> const& y)
    {
        SetXRange(x);
        SetYRange(y);
    }
    SRange<T> const& GetXRange() const { return m_TL.GetXRange(); }
    SRange<T> const& GetYRange() const { return m_TL.GetYRange(); }
    SRange2D<T> GetRange() const { return SRange2D<T>(GetXRange(), GetYRange()); }
    void CopyRange(SRangedRect const& other) { SetRange(other.GetXRange(), other.GetYRange()); }
    T Width() const { return MathMax<T>(Right() - Left(), T(0)); }
    T Height() const { return MathMax<T>(Bottom() - Top(), T(0)); }
    bool IsEmpty() const { return Width() == T(0) || Height() == T(0); }
    void Maximise() { Set(GetXRange().Min(), GetYRange().Min(), GetXRange().Max(), GetYRange().Max()); }
    void InheritRange() { SetRange(SRange<T>(Left(), Right()), SRange<T>(Top(), Bottom())); }
    // Corners (left, top) and (right, bottom): the QRect is one wider and
    // higher than Width() and Height().
    operator QRect() const { return QRect(QPoint(Left(), Top()), QPoint(Right(), Bottom())); }
    bool operator==(SRangedRect const& o) const
    {
        return Left() == o.Left() && Top() == o.Top() && Right() == o.Right() && Bottom() == o.Bottom();
    }
    bool operator!=(SRangedRect const& o) const { return !(*this == o); }

private:
    SRangedPoint<T> m_TL;
    SRangedPoint<T> m_BR;
};

// A fraction 0..1.
struct SRangedValueRel : SRangedValue<float> {
    SRangedValueRel() { SetRange(SRange<float>(0.0f, 1.0f)); }
    SRangedValueRel(float x) : SRangedValueRel() { Set(x); }
    SRangedValueRel& operator=(float x)
    {
        SRangedValue<float>::operator=(x);
        return *this;
    }
};

// A point in fractions 0..1.
struct SRangedPointRel : SRangedPoint<float> {
    SRangedPointRel() { SetRange(0.0f, 1.0f, 0.0f, 1.0f); }
    SRangedPointRel(float x, float y) : SRangedPointRel() { Set(x, y); }
};

// A rectangle in fractions 0..1 of another one.
struct SRangedRectRel : SRangedRect<float> {
    SRangedRectRel() { SetRange(SRange<float>(0.0f, 1.0f), SRange<float>(0.0f, 1.0f)); }
};

// The part of rect that rel describes, with rect's ranges.
template <class T>
SRangedRect<T> CombineRects(SRangedRect<T> const& rect, SRangedRectRel const& rel);

template <>
inline SRangedRect<int> CombineRects<int>(SRangedRect<int> const& rect, SRangedRectRel const& rel)
{
    SRangedRect<int> out;
    out.CopyRange(rect);
    const float w = static_cast<float>(rect.Width());
    const float h = static_cast<float>(rect.Height());
    out.SetLeft(rect.Left() + MathRound(rel.Left() * w));
    out.SetTop(rect.Top() + MathRound(rel.Top() * h));
    out.SetRight(rect.Left() + MathRound(rel.Right() * w));
    out.SetBottom(rect.Top() + MathRound(rel.Bottom() * h));
    return out;
}

// ---- buffers and threads ---------------------------------------------------

// A zero-filled buffer that only ever grows: Create(n) reallocates only when
// it holds nothing or fewer than n elements.
template <class T>
class CGrowingBuffer {
public:
    CGrowingBuffer() = default;
    ~CGrowingBuffer() { Destroy(); }
    CGrowingBuffer(CGrowingBuffer const&) = delete;
    CGrowingBuffer& operator=(CGrowingBuffer const&) = delete;

    // The data pointer; null when the storage cannot be had (the buffer is
    // then empty).
    T* Create(unsigned int n)
    {
        if (!m_pData || n > m_uiCount) {
            Destroy();
            if (n == 0)
                return nullptr;
            m_pData = new (std::nothrow) T[n]();
            if (m_pData)
                m_uiCount = n;
        }
        return m_pData;
    }
    void Destroy()
    {
        delete[] m_pData;
        m_pData = nullptr;
        m_uiCount = 0;
    }
    bool IsCreated() const { return m_uiCount > 0 && m_pData; }
    unsigned int Count() const { return m_uiCount; }

    operator T*() const { return m_pData; }
    operator unsigned char*() const
        requires(!std::is_same_v<T, unsigned char>)
    {
        return reinterpret_cast<unsigned char*>(m_pData);
    }
    operator void*() const { return m_pData; }

private:
    unsigned int m_uiCount = 0;
    T* m_pData = nullptr;
};

// Makes QThread's sleep reachable by name; never instantiated.
class CSleep : public QThread {
public:
    static void msleep(unsigned long ms) { QThread::msleep(ms); }

private:
    CSleep() = delete;
};

} // namespace _hlp

namespace _gui {

void AdjustLayout(QGridLayout* layout); // spacing 20
void AdjustLayout(QHBoxLayout* layout); // spacing 20
void AdjustLayout(QVBoxLayout* layout); // spacing 4
int AdjustHeight(int h);                // h * 1.3, rounded
int AdjustWidth(int w);                 // w * 1.3, rounded, + 6

bool IsPixmapValid(QPixmap const* pixmap);

// The program's rich tooltip: "<H3><p>" + text + "</p></H3><p></p>".
QString HtmlToolTip(const QString& text);

// On drawing surfaces the left button acts and the right button opens
// context menus.
bool IsActionButton(Qt::MouseButton button);
bool IsContextButton(Qt::MouseButton button);
bool IsActionButtonPressed(Qt::MouseButtons buttons);
bool IsContextButtonPressed(Qt::MouseButtons buttons);

void DrawEllipse(QPainter& p, QPoint const& c, int r);
void DrawArc(QPainter& p, QPoint const& c, int r, int start, int span);
void DrawCross(QPainter& p, QPointF const& c, float size);
void DrawPolygon(QPainter& p, QPoint const* points, unsigned int n);

// Shadowed forms: the shape first in #2e2e2e, 2 px wide (1 px for text) and
// moved by (+1, +1), then with the painter's own pen in place.
void DrawShadowedEllipse(QPainter& p, QPoint const& c, int r);
void DrawShadowedArc(QPainter& p, QPoint const& c, int r, int start, int span);
void DrawShadowedLine(QPainter& p, QLine const& line);
void DrawShadowedText(QPainter& p, int x, int y, QString const& text);
// The shadow cross lies under the cross itself, giving it a dark outline.
void DrawShadowedCross(QPainter& p, QPointF const& c, float size);

} // namespace _gui
