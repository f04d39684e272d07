// Build-time generator of the splash picture "lumivexstartuppro.png": the
// program's name and version over a dusk-to-dawn gradient, with a light band
// at the bottom right where the start-up writes its messages (dark blue,
// right-aligned).
//
//   lumivex_gen_startup <output file> <version text>
//
// Deterministic for a given Qt version and font set.

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 340;

void drawLandscape(QPainter& p)
{
    // Sky: deep blue at the top to a warm glow at the horizon.
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(0x1b, 0x24, 0x4a));
    sky.setColorAt(0.45, QColor(0x5a, 0x4a, 0x8c));
    sky.setColorAt(0.72, QColor(0xe8, 0x9a, 0x58));
    sky.setColorAt(1.0, QColor(0xf6, 0xe2, 0xb8));
    p.fillRect(0, 0, kWidth, kHeight, sky);

    // The sun, half risen, with a soft halo.
    QRadialGradient halo(QPointF(430, 200), 120);
    halo.setColorAt(0.0, QColor(255, 244, 200, 220));
    halo.setColorAt(1.0, QColor(255, 244, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(430, 200), 120, 120);
    p.setBrush(QColor(0xff, 0xf2, 0xb0));
    p.drawEllipse(QPointF(430, 200), 34, 34);

    // Three ridges, darker towards the front, stop short of the message band.
    const QColor ridges[3] = {QColor(0x6d, 0x4f, 0x7a), QColor(0x47, 0x35, 0x5c), QColor(0x2a, 0x22, 0x3c)};
    for (int r = 0; r < 3; ++r) {
        QPainterPath hill;
        const qreal base = 215 + r * 22;
        hill.moveTo(0, kHeight - 40);
        hill.lineTo(0, base);
        for (int x = 0; x <= kWidth; x += 40) {
            const qreal y = base - 18 * ((x / 40 + r) % 3) - (r == 0 ? 10 : 0);
            hill.lineTo(x, y);
        }
        hill.lineTo(kWidth, kHeight - 40);
        hill.closeSubpath();
        p.setBrush(ridges[r]);
        p.drawPath(hill);
    }
    // The message band: a light strip for the dark blue start-up messages.
    QLinearGradient band(0, kHeight - 40, 0, kHeight);
    band.setColorAt(0.0, QColor(0xf3, 0xe6, 0xc8));
    band.setColorAt(1.0, QColor(0xfb, 0xf5, 0xe6));
    p.fillRect(0, kHeight - 40, kWidth, 40, band);
}

void drawTitle(QPainter& p, const QString& version)
{
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(58);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QRect(42, 42, 520, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumivex"));
    p.setPen(QColor(0xff, 0xfa, 0xf0));
    p.drawText(QRect(40, 40, 520, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumivex"));
    const int proLeft = 40 + QFontMetrics(name).horizontalAdvance(QStringLiteral("Lumivex")) + 12;

    QFont pro(QStringLiteral("DejaVu Sans"));
    pro.setPixelSize(30);
    p.setFont(pro);
    p.setPen(QColor(0xff, 0xd8, 0x90));
    p.drawText(QRect(proLeft, 52, 200, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pro"));

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(15);
    p.setFont(small);
    p.setPen(QColor(0xe8, 0xe4, 0xf4));
    p.drawText(QRect(44, 118, 520, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("HDR photo finishing  \u00b7  Version ") + version);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output file> <version text>\n", argv[0]);
        return 2;
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    drawLandscape(p);
    drawTitle(p, QString::fromUtf8(argv[2]));
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
