#include "ui/views/hdrimagepreview.h"

#include "document/exposure.h"
#include "engine/MP_calc.h"
#include "ui/options/options.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"
#include "ui/views/viewhost.h"
#include "ui/views/viewrender.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

HDRImagePreview* g_pHDRImagePreview = nullptr;
_QPreviewLabel* g_pPreviewImage = nullptr;

namespace {

constexpr const char* kTransparent = "QWidget { background: transparent; }";

QWidget* toolbarSpacer(QToolBar* toolBar)
{
    auto* w = new QWidget(toolBar);
    w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    w->setStyleSheet(QLatin1String(kTransparent));
    return w;
}

} // namespace

// ---- scroll area ------------------------------------------------------------------------

void _QScrollArea::mousePressEvent(QMouseEvent* event)
{
    setCursor(HDRCursor::ClosedHand);
    m_ptPressPos = event->position().toPoint();
    m_iPressH = horizontalScrollBar()->value();
    m_iPressV = verticalScrollBar()->value();
    if (!m_bPanning) {
        m_bPanning = true;
        if (widget())
            widget()->update();
    }
    QScrollArea::mousePressEvent(event);
}

void _QScrollArea::mouseReleaseEvent(QMouseEvent* event)
{
    setCursor(HDRCursor::OpenHand);
    if (m_bPanning) {
        m_bPanning = false;
        if (widget())
            widget()->update();
    }
    QScrollArea::mouseReleaseEvent(event);
}

void _QScrollArea::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClick();
    QScrollArea::mouseDoubleClickEvent(event);
}

void _QScrollArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!QApplication::overrideCursor()) {
        const QPoint p = event->position().toPoint();
        emit cursorDrag(m_ptPressPos.x() - p.x(), m_ptPressPos.y() - p.y(), static_cast<quint32>(std::max(0, m_iPressH)),
                        static_cast<quint32>(std::max(0, m_iPressV)));
    }
    QScrollArea::mouseMoveEvent(event);
}

void _QScrollArea::resizeEvent(QResizeEvent* event)
{
    emit sizeUpdated();
    QScrollArea::resizeEvent(event);
}

// ---- label ----------------------------------------------------------------------------------

_QPreviewLabel::_QPreviewLabel(QWidget* scrollArea)
    : QLabel(scrollArea), m_pScrollArea(qobject_cast<_QScrollArea*>(scrollArea)), m_pMagnifier(new QLabel(nullptr))
{
    m_pMagnifier->setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    m_pMagnifier->setFixedSize(105, 105);
    m_pMagnifier->hide();
    m_imgFilmStrip = QImage(QStringLiteral(":/images/Filmstreifen.png"));
    setAttribute(Qt::WA_MouseTracking);
}

_QPreviewLabel::~_QPreviewLabel() { delete m_pMagnifier; }

QPoint _QPreviewLabel::PixmapPixel(const QPoint& pos) const
{
    const QPixmap pm = pixmap();
    if (pm.isNull() || width() <= 0)
        return QPoint(0, 0);
    const float s = static_cast<float>(pm.width()) / static_cast<float>(width());
    return QPoint(static_cast<int>(static_cast<float>(pos.x()) * s), static_cast<int>(static_cast<float>(pos.y()) * s));
}

void _QPreviewLabel::UpdateMagnifier(const QPixmap& pm, int px, int py)
{
    // The 7 x 7 block around the pixel, shifted inward at the edges and held
    // inside pictures smaller than the block.
    const QImage img = pm.toImage();
    const int cx = std::clamp(px, 3, std::max(3, pm.width() - 4));
    const int cy = std::clamp(py, 3, std::max(3, pm.height() - 4));
    std::vector<uint32_t> cells(49), picture(105 * 105);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) {
            const int x = std::clamp(cx - 3 + j, 0, pm.width() - 1);
            const int y = std::clamp(cy - 3 + i, 0, pm.height() - 1);
            cells[static_cast<size_t>(i) * 7 + j] = img.pixel(x, y);
        }
    MP_UI_previewPixelGrid(105, 105, 7, 7, cells.data(), picture.data());
    m_pMagnifier->setPixmap(ViewPixmap(picture.data(), 105, 105));
}

void _QPreviewLabel::mouseMoveEvent(QMouseEvent* event)
{
    const QPixmap pm = pixmap();
    if (!pm.isNull()) {
        const QPoint p = PixmapPixel(event->position().toPoint());
        const int px = std::clamp(p.x(), 0, pm.width() - 1), py = std::clamp(p.y(), 0, pm.height() - 1);
        const QRgb colour = pm.copy(px, py, 1, 1).toImage().pixel(0, 0);
        emit moveSignal(QPoint(px, py), colour);
        if (QApplication::overrideCursor()) {
            UpdateMagnifier(pm, px, py);
            m_pMagnifier->move(event->globalPosition().toPoint() + QPoint(10, 10));
        } else {
            m_pMagnifier->hide();
        }
    } else {
        m_pMagnifier->hide();
    }
    QLabel::mouseMoveEvent(event);
    event->ignore();
}

void _QPreviewLabel::wheelEvent(QWheelEvent* event)
{
    emit wheelZoom(event->angleDelta().y(), PixmapPixel(event->position().toPoint()));
    event->accept();
}

void _QPreviewLabel::enterEvent(QEnterEvent* event)
{
    m_pMagnifier->setVisible(QApplication::overrideCursor() != nullptr);
    QLabel::enterEvent(event);
}

void _QPreviewLabel::leaveEvent(QEvent* event)
{
    emit leaveSignal();
    m_pMagnifier->hide();
    QLabel::leaveEvent(event);
}

void _QPreviewLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap pm = pixmap();
    if (pm.isNull())
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(QRect(0, 0, width(), height()), pm, QRect(0, 0, pm.width(), pm.height()));
    if (m_pScrollArea && m_pScrollArea->IsPanning() &&
        (width() > m_pScrollArea->width() || height() > m_pScrollArea->height()))
        PaintNavigator(painter, pm);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (MP_UI_GetAnimMode())
        PaintPlaybackOverlay(painter);
    else
        m_iAnimationFrame = 0;
}

void _QPreviewLabel::PaintNavigator(QPainter& painter, const QPixmap& pm)
{
    const int viewW = m_pScrollArea->width(), viewH = m_pScrollArea->height();
    const int labelW = width(), labelH = height();
    int navW = std::clamp(static_cast<int>(static_cast<float>(viewW) * 0.35f), 0, pm.width());
    int navH = std::clamp(static_cast<int>(static_cast<float>(viewH) * 0.35f), 0, pm.height());
    if (!IExposure::GetScaledSize(navW, navH, static_cast<unsigned>(pm.width()), static_cast<unsigned>(pm.height())) ||
        navW <= 0 || navH <= 0)
        return;
    const QPoint m = mapFromParent(QPoint(20, viewH - navH - 20));
    const int navX = m.x() < 0 ? 20 : m.x();
    const int navY = m.y() <= labelH - navH - 17 ? m.y() : labelH - navH - 20;
    const QPixmap thumb = pm.scaled(2 * navW, 2 * navH, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                              .scaled(navW, navH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(navX, navY, navW, navH, thumb);
    painter.setPen(QPen(QColor(31, 31, 31, 255), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(QPoint(navX, navY), QPoint(navX + navW - 1, navY + navH - 1)), QColor(0, 0, 0, 128));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawRect(QRect(QPoint(navX - 1, navY - 1), QPoint(navX + navW - 1, navY + navH - 1)));
    const QPoint v0 = mapFromParent(QPoint(0, 0)), v1 = mapFromParent(QPoint(viewW, viewH));
    const float vx0 = static_cast<float>(std::max(0, v0.x())), vy0 = static_cast<float>(std::max(0, v0.y()));
    const float vx1 = static_cast<float>(std::min(labelW, v1.x())), vy1 = static_cast<float>(std::min(labelH, v1.y()));
    const float lw = static_cast<float>(labelW), lh = static_cast<float>(labelH);
    const int tx0 = static_cast<int>(vx0 / lw * static_cast<float>(navW));
    const int ty0 = static_cast<int>(vy0 / lh * static_cast<float>(navH));
    const int tx1 = static_cast<int>(static_cast<float>(navW) * (vx1 / lw));
    const int ty1 = static_cast<int>(static_cast<float>(navH) * (vy1 / lh));
    painter.setPen(QPen(QColor(224, 224, 255, 255), 2));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(QRect(navX + tx0, navY + ty0, tx1 - tx0, ty1 - ty0), thumb, QRect(tx0, ty0, tx1 - tx0, ty1 - ty0));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawRect(QRect(QPoint(navX + tx0, navY + ty0), QPoint(navX + tx1 - 1, navY + ty1 - 1)));
}

void _QPreviewLabel::PaintPlaybackOverlay(QPainter& painter)
{
    const int sw = m_imgFilmStrip.width(), sh = m_imgFilmStrip.height();
    if (sw > 0 && sh > 0) {
        for (int x = 0; x < width() + sw; x += sw)
            painter.drawImage(x - m_iAnimationFrame % sw, 0, m_imgFilmStrip);
        for (int x = 0; x < width() + sw; x += sw)
            painter.drawImage(x - m_iAnimationFrame % sw, height() - sh, m_imgFilmStrip);
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const int viewW = m_pScrollArea ? m_pScrollArea->width() : width();
    const int viewH = m_pScrollArea ? m_pScrollArea->height() : height();
    const int off = std::max(0, viewH - height());
    const QString title = g_pHDRImagePreview ? g_pHDRImagePreview->m_strDisplayText : QString();
    auto text = [&](const QString& s, const QFont& font, int extra, QColor front) {
        painter.setFont(font);
        QPoint m = mapFromParent(QPoint(0, 30));
        painter.setPen(QColor(0, 0, 0, 255));
        painter.drawText(QRect(QPoint(m.x(), m.y()), QPoint(m.x() + viewW, m.y() + off + extra)), Qt::AlignCenter, s);
        m = mapFromParent(QPoint(-2, 28));
        painter.setPen(front);
        painter.drawText(QRect(QPoint(m.x(), m.y()), QPoint(m.x() + viewW, m.y() + off + extra)), Qt::AlignCenter, s);
    };
    text(title, QFont(QStringLiteral("Arial"), 20), 30, QColor(255, 255, 255, 255));
    text(tr("Leertaste zum stoppen"), QFont(QStringLiteral("Arial"), 12), 72, QColor(255, 255, 192, 255));
    ++m_iAnimationFrame;
}

// ---- preview --------------------------------------------------------------------------------

HDRImagePreview::HDRImagePreview(QWidget* parent, QToolBar* toolBar, QToolBar*) : QWidget(parent)
{
    g_pHDRImagePreview = this;
    if (!toolBar)
        toolBar = new QToolBar(this); // a preview without a main window keeps its controls
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);

    auto button = [&](const char* icon, const QString& tip) {
        auto* b = new QPushButton(toolBar);
        b->setFixedSize(34, 34);
        b->setIcon(QIcon::fromTheme(QLatin1String(icon), QIcon()));
        b->setToolTip(_gui::HtmlToolTip(tip));
        return b;
    };
    COptions* options = COptions::getInstance();
    toolBar->addWidget(toolbarSpacer(toolBar));
    m_pPreviewModeButton = button("PreviewMode", tr("Vorschaumodus an/aus"));
    m_pPreviewModeButton->setCheckable(true);
    m_pPreviewModeButton->setChecked(options->m_bPreviewMode);
    m_pPreviewModeAction = toolBar->addWidget(m_pPreviewModeButton);
    connect(m_pPreviewModeButton, &QPushButton::toggled, this, [this](bool on) {
        if (IViewHost* host = ViewSeams::Host())
            host->PreviewModeToggled(on);
        previewModeToggled(on);
    });
    m_pRealTimeButton = button("RealtimeMode", tr("Echtzeitberechnung an/aus"));
    m_pRealTimeButton->setCheckable(true);
    m_pRealTimeButton->setChecked(options->m_bRealTimeMode);
    toolBar->addWidget(m_pRealTimeButton);
    connect(m_pRealTimeButton, &QPushButton::toggled, this, [this](bool on) {
        if (IViewHost* host = ViewSeams::Host())
            host->RealTimeModeToggled(on);
        realTimeModeToggled(on);
    });
    m_pRefreshButton = button("RealtimeModeRefresh", tr("neu berechnen"));
    m_pRefreshButton->setEnabled(!options->m_bRealTimeMode);
    toolBar->addWidget(m_pRefreshButton);
    connect(m_pRefreshButton, &QPushButton::clicked, this, [] {
        if (IViewHost* host = ViewSeams::Host())
            host->RefreshClicked();
    });
    toolBar->addSeparator();
    m_pBorderPixelButton = button("BorderPixel", tr("Grenzpixel anzeigen"));
    m_pBorderPixelButton->setCheckable(true);
    m_pBorderPixelAction = toolBar->addWidget(m_pBorderPixelButton);
    m_pBorderPixelAction->setVisible(false);
    connect(m_pBorderPixelButton, &QPushButton::clicked, this, &HDRImagePreview::updateShowLimits);
    toolBar->addSeparator();
    m_pActualSizeButton = button("Zoom1to1", tr("Originalgröße"));
    toolBar->addWidget(m_pActualSizeButton);
    connect(m_pActualSizeButton, &QPushButton::clicked, this, &HDRImagePreview::actualSizeClicked);
    m_pZoomSlider = new HDRSlider(toolBar, tr("Zoomfaktor"), tr("kleiner"), tr("größer"), QStringLiteral("%"), 5, 1000,
                                  5, 1, false, QStringLiteral(" "), false);
    m_pZoomSlider->setFixedWidth(220);
    m_pZoomSlider->SetCenterValueInt(100);
    m_pZoomSlider->SetValueInt(100);
    m_pZoomSlider->m_bContinuousUpdate = true;
    m_pZoomSlider->m_bResetOnDoubleClick = false;
    toolBar->addWidget(m_pZoomSlider);
    connect(m_pZoomSlider, &HDRSlider::valueUpdated, this, &HDRImagePreview::sliderValueUpdated);
    m_pFitButton = button("ZoomFit2Screen", tr("passende Größe"));
    m_pFitButton->setCheckable(true);
    toolBar->addWidget(m_pFitButton);
    connect(m_pFitButton, &QPushButton::clicked, this, &HDRImagePreview::fitToScreenClicked);
    toolBar->addSeparator();
    m_pAdditionalButton = button("Geometrie", tr("Zusatzfunktionen ein-/ausblenden"));
    m_pAdditionalButton->setCheckable(true);
    m_pAdditionalButton->setChecked(true);
    toolBar->addWidget(m_pAdditionalButton);
    m_pAdditionalPlaceholder = new QWidget(toolBar);
    m_pAdditionalPlaceholder->setFixedWidth(136);
    m_pAdditionalPlaceholder->setStyleSheet(QLatin1String(kTransparent));
    m_pAdditionalPlaceholderAction = toolBar->addWidget(m_pAdditionalPlaceholder);
    connect(m_pAdditionalButton, &QPushButton::toggled, this, &HDRImagePreview::additionalButtonToggled);
    auto orientationButton = [&](const char* icon, const QString& tip, void (HDRImagePreview::*slot)()) {
        QPushButton* b = button(icon, tip);
        QAction* action = toolBar->addWidget(b);
        connect(m_pAdditionalButton, &QPushButton::toggled, action, &QAction::setVisible);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_pMirrorButton = orientationButton("Mirror", tr("horizontal spiegeln LUMIVEX Tavren"), &HDRImagePreview::updateMirror);
    m_pFlipButton = orientationButton("Flip", tr("vertikal spiegeln LUMIVEX Tavren"), &HDRImagePreview::updateFlip);
    m_pRotateLeftButton = orientationButton("RotateLeft", tr("90 Grad nach links drehen LUMIVEX Tavren"),
                                            &HDRImagePreview::updateRotateLeft);
    m_pRotateRightButton = orientationButton("RotateRight", tr("90 Grad nach rechts drehen LUMIVEX Tavren"),
                                             &HDRImagePreview::updateRotateRight);
    toolBar->addWidget(toolbarSpacer(toolBar));
    m_pAdditionalButton->setChecked(false);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pScrollArea = new _QScrollArea(this);
    row->addWidget(m_pScrollArea);
    m_pScrollArea->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_pScrollArea->setCursor(HDRCursor::OpenHand);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_pScrollArea, &_QScrollArea::cursorDrag, this, &HDRImagePreview::cursorDrag);
    connect(m_pScrollArea, &_QScrollArea::sizeUpdated, this, &HDRImagePreview::fitToScreenResize);
    connect(m_pScrollArea, &_QScrollArea::doubleClick, this, &HDRImagePreview::doubleClick);
    connect(m_pScrollArea, &_QScrollArea::drawQuit, this, [] {
        if (IViewHost* host = ViewSeams::Host())
            host->WeightDrawQuit();
    });
    m_pPreviewLabel = new _QPreviewLabel(m_pScrollArea);
    m_pScrollArea->setWidget(m_pPreviewLabel);
    m_pPreviewLabel->setScaledContents(true);
    g_pPreviewImage = m_pPreviewLabel;
    connect(m_pPreviewLabel, &_QPreviewLabel::wheelZoom, this, &HDRImagePreview::wheelZoom);

    auto* status = new QWidget(this);
    layout->addWidget(status);
    auto* statusRow = new QHBoxLayout(status);
    statusRow->setContentsMargins(0, 0, 0, 0);
    auto* left = new QHBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* right = new QHBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusRow->addLayout(left);
    statusRow->addLayout(right);
    auto* gap = new QLabel(status);
    gap->setFixedWidth(4);
    left->addWidget(gap);
    auto label = [&](QHBoxLayout* to, Qt::Alignment align) {
        auto* l = new QLabel(status);
        l->setAlignment(align | Qt::AlignVCenter);
        to->addWidget(l, 0, align | Qt::AlignVCenter);
        return l;
    };
    m_pSizeLabel = label(left, Qt::AlignLeft);
    m_pSizeLabel->setMinimumWidth(20);
    m_pInfoLabel = label(left, Qt::AlignLeft);
    m_pInfoLabel->setMinimumWidth(20);
    m_pPositionCaptionLabel = label(right, Qt::AlignRight);
    m_pPositionCaptionLabel->setMinimumWidth(20);
    m_pPositionLabel = label(right, Qt::AlignRight);
    m_pPositionLabel->setMinimumWidth(70);
    for (QLabel** l : {&m_pRedLabel, &m_pGreenLabel, &m_pBlueLabel, &m_pSwatchLabel}) {
        *l = label(right, Qt::AlignRight);
        (*l)->setFixedSize(25, 20);
    }
    connect(m_pPreviewLabel, &_QPreviewLabel::moveSignal, this, &HDRImagePreview::updateStatusBar);
    connect(m_pPreviewLabel, &_QPreviewLabel::leaveSignal, this, &HDRImagePreview::clearStatusBar);
}

HDRImagePreview::~HDRImagePreview()
{
    if (g_pHDRImagePreview == this)
        g_pHDRImagePreview = nullptr;
    if (g_pPreviewImage == m_pPreviewLabel)
        g_pPreviewImage = nullptr;
}

int HDRImagePreview::ZoomValue() const { return m_pZoomSlider->GetValueInt(); }

QSize HDRImagePreview::GetScrollAreaSize() const { return m_pScrollArea->size(); }

void HDRImagePreview::SetZoom(int value)
{
    m_pZoomSlider->SetValueInt(value);
    m_pFitButton->setChecked(false);
    resizeLabel(true);
}

void HDRImagePreview::resizeLabel(bool keepPosition)
{
    QScrollBar* h = m_pScrollArea->horizontalScrollBar();
    QScrollBar* v = m_pScrollArea->verticalScrollBar();
    float fx = 0.5f, fy = 0.5f;
    if (keepPosition) {
        if (h->maximum() >= 1)
            fx = static_cast<float>(h->value()) / static_cast<float>(h->maximum());
        if (v->maximum() >= 1)
            fy = static_cast<float>(v->value()) / static_cast<float>(v->maximum());
    }
    const float z = static_cast<float>(ZoomValue()) / 100.0f;
    if (m_iImageWidth > 0 && m_iImageHeight > 0)
        m_pPreviewLabel->resize(static_cast<int>(static_cast<float>(m_iImageWidth) * z),
                                static_cast<int>(static_cast<float>(m_iImageHeight) * z));
    h->setValue(static_cast<int>(static_cast<float>(h->maximum()) * fx));
    v->setValue(static_cast<int>(static_cast<float>(v->maximum()) * fy));
}

void HDRImagePreview::zoomInClicked() { SetZoom((ZoomValue() / 25) * 25 + 25); }

void HDRImagePreview::zoomOutClicked()
{
    const int v = ZoomValue();
    const int m = (v / 25) * 25;
    SetZoom(v == m ? m - 25 : m);
}

void HDRImagePreview::wheelZoom(qint32 delta, QPoint)
{
    const int v = ZoomValue();
    int next = v;
    if (delta > 0) {
        next = static_cast<int>(static_cast<float>(v) * 1.101f);
        if (next == v)
            ++next;
    } else if (delta < 0) {
        next = static_cast<int>(static_cast<float>(v) * 0.9090909f);
        if (next == v)
            --next;
    }
    SetZoom(next);
}

void HDRImagePreview::actualSizeClicked() { SetZoom(100); }

void HDRImagePreview::sliderValueUpdated()
{
    m_pFitButton->setChecked(false);
    resizeLabel(true);
}

void HDRImagePreview::fitToScreenClicked()
{
    if (m_iImageWidth <= 0 || m_iImageHeight <= 0)
        return; // no picture: nothing to fit
    const float viewW = static_cast<float>(m_pScrollArea->width()), viewH = static_cast<float>(m_pScrollArea->height());
    const float W = static_cast<float>(m_iImageWidth), H = static_cast<float>(m_iImageHeight);
    int v = 0;
    if (viewH > 0.0f && viewW / viewH >= W / H)
        v = static_cast<int>(99.0f * viewH / H);
    else
        v = static_cast<int>(99.0f * viewW / W);
    m_pZoomSlider->SetValueInt(v);
    resizeLabel(false);
}

void HDRImagePreview::fitToScreenResize()
{
    if (m_pFitButton->isChecked())
        fitToScreenClicked();
}

void HDRImagePreview::doubleClick()
{
    if (m_pFitButton->isChecked())
        m_pActualSizeButton->click();
    else
        m_pFitButton->click();
}

void HDRImagePreview::cursorDrag(qint32 dx, qint32 dy, quint32 hStart, quint32 vStart)
{
    // A bar without room (the picture fits) stays where it is.
    auto follow = [](QScrollBar* bar, qint32 d, quint32 start) {
        const float max = static_cast<float>(bar->maximum());
        if (max <= 0.0f)
            return;
        bar->setValue(static_cast<int>(static_cast<float>(start) + (static_cast<float>(d) / max) * max));
    };
    follow(m_pScrollArea->horizontalScrollBar(), dx, hStart);
    follow(m_pScrollArea->verticalScrollBar(), dy, vStart);
}

void HDRImagePreview::SetPixmap(const QPixmap& pixmap)
{
    const QSize before = m_pPreviewLabel->size();
    const int h = m_pScrollArea->horizontalScrollBar()->value();
    const int v = m_pScrollArea->verticalScrollBar()->value();
    m_iImageWidth = pixmap.width();
    m_iImageHeight = pixmap.height();
    m_pPreviewLabel->setPixmap(pixmap);
    std::copy(IExposure::sm_pbBackgroundColor, IExposure::sm_pbBackgroundColor + 3, m_ucFrameRGB);
    updateFrameColor(m_bFrameFromImage);
    resizeLabel(false);
    if (m_pPreviewLabel->size() == before) {
        m_pScrollArea->horizontalScrollBar()->setValue(h);
        m_pScrollArea->verticalScrollBar()->setValue(v);
    }
}

void HDRImagePreview::Clear()
{
    m_pPreviewLabel->clear();
    m_pPreviewLabel->adjustSize();
    m_pZoomSlider->SetToCenterValue();
    m_pFitButton->setChecked(false);
    clearStatusBar();
}

void HDRImagePreview::SetRefreshButtonEnabled(bool enabled)
{
    if (enabled)
        if (IViewHost* host = ViewSeams::Host())
            host->MarkChanged();
    if (!m_bIgnoreNextRefreshEnable)
        m_pRefreshButton->setEnabled(enabled);
    m_bIgnoreNextRefreshEnable = false;
}

bool HDRImagePreview::GetRefreshButtonEnabled() const { return m_pRefreshButton->isEnabled(); }

void HDRImagePreview::SetInitialButtonState()
{
    COptions* options = COptions::getInstance();
    SetPreviewButtonVisible(true);
    m_pPreviewModeButton->setChecked(options->m_bPreviewMode);
    m_pRealTimeButton->setChecked(options->m_bRealTimeMode);
    m_pRefreshButton->setEnabled(!options->m_bRealTimeMode);
    m_pFitButton->setChecked(false);
    DisableShowLimits();
}

void HDRImagePreview::SetPreviewButtonVisible(bool visible)
{
    m_pPreviewModeButton->setVisible(visible);
    m_pPreviewModeAction->setVisible(visible);
}

void HDRImagePreview::EnableShowLimits()
{
    m_pBorderPixelButton->setVisible(true);
    m_pBorderPixelAction->setVisible(true);
}

void HDRImagePreview::DisableShowLimits()
{
    m_pBorderPixelButton->setChecked(false);
    MP_UI_SetLimitPixelMode(0);
    m_pBorderPixelButton->setVisible(false);
    m_pBorderPixelAction->setVisible(false);
}

void HDRImagePreview::SetIsHistogram(bool histogram)
{
    if (histogram != m_bIsHistogram)
        fitToScreenClicked();
    m_bIsHistogram = histogram;
}

void HDRImagePreview::updateFrameColor(bool fromImage)
{
    const QString sheet =
        fromImage ? QStringLiteral("QScrollArea { border: 2px inset #STYLE_BORDERCOLOR; background-color: rgb(%1, %2, %3); }")
                        .arg(m_ucFrameRGB[0])
                        .arg(m_ucFrameRGB[1])
                        .arg(m_ucFrameRGB[2])
                  : QStringLiteral("QScrollArea { border: 2px inset #STYLE_BORDERCOLOR; background-color: #STYLE_BACKGROUND; }");
    m_pScrollArea->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(sheet));
    m_bFrameFromImage = fromImage;
}

void HDRImagePreview::previewModeToggled(bool on)
{
    if (on)
        m_pRealTimeButton->setChecked(true);
}

void HDRImagePreview::realTimeModeToggled(bool) { m_pRefreshButton->setEnabled(false); }

void HDRImagePreview::updateShowLimits()
{
    const bool on = m_pBorderPixelButton->isChecked();
    MP_UI_SetLimitPixelMode(on ? 1 : 0);
    if (on)
        if (IViewHost* host = ViewSeams::Host())
            host->CountUsage("m_iBorderPixelViewed", 1);
    emit showLimitsClicked();
}

void HDRImagePreview::Orientation(const char* key, int operation)
{
    IViewHost* host = ViewSeams::Host();
    if (host) {
        host->CountUsage(key, 1);
        const IViewHost::SDocumentInfo doc = host->DocumentInfo();
        if (doc.exists && doc.exposures >= 1)
            host->ChangeOrientation(static_cast<IViewHost::EOrientation>(operation));
    }
    emit geometryClicked();
}

void HDRImagePreview::updateMirror() { Orientation("m_iHMirrorClicked", IViewHost::eMIRROR); }
void HDRImagePreview::updateFlip() { Orientation("m_iVMirrorClicked", IViewHost::eFLIP); }
void HDRImagePreview::updateRotateLeft() { Orientation("m_iRotateLeftClicked", IViewHost::eROTATE_LEFT); }
void HDRImagePreview::updateRotateRight() { Orientation("m_iRotateRightClicked", IViewHost::eROTATE_RIGHT); }

void HDRImagePreview::updateStatusBar(QPoint p, QRgb rgb)
{
    IViewHost* host = ViewSeams::Host();
    if (!host)
        return;
    const IViewHost::SDocumentInfo doc = host->DocumentInfo();
    if (!doc.exists)
        return;
    const int W = doc.fullWidth, H = doc.fullHeight;
    QString size = doc.hasMaster ? doc.masterFileName : QString();
    size += QStringLiteral(" - %1x%2 ").arg(W).arg(H) + tr("Pixel") +
            QString::asprintf(" (%.2f ", static_cast<double>(static_cast<float>(W) * static_cast<float>(H) / 1000000.0f)) +
            tr("Abkürzung Megapixel") + QStringLiteral(")");
    m_pSizeLabel->setText(size);
    QString info;
    if (doc.hasMaster) {
        if (doc.iso >= 0)
            info += QStringLiteral(" - ") + tr("ISO") + QStringLiteral(" %1").arg(doc.iso);
        if (!doc.cameraModel.isEmpty())
            info += QStringLiteral(" - ") + QStringLiteral("%1").arg(doc.cameraModel);
    }
    m_pInfoLabel->setText(info);
    m_pPositionCaptionLabel->setText(tr("Position"));
    const bool preview = COptions::getInstance()->m_bPreviewMode;
    const int Wv = preview ? doc.previewWidth : W, Hv = preview ? doc.previewHeight : H;
    if (Wv > 0 && Hv > 0) {
        const float s = static_cast<float>(MP_UI_GetImageSizeMode());
        const int x = static_cast<int>(static_cast<float>(W) * ((static_cast<float>(p.x()) + 0.5f) / static_cast<float>(Wv)) * s);
        const int y = static_cast<int>(static_cast<float>(H) * ((static_cast<float>(p.y()) + 0.5f) / static_cast<float>(Hv)) * s);
        m_pPositionLabel->setText(QStringLiteral("(%1,%2)").arg(x).arg(y) + QStringLiteral(" -"));
    } else {
        m_pPositionLabel->clear(); // no preview size: no position
    }
    const int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
    m_pRedLabel->setText(QString::number(r));
    m_pRedLabel->setStyleSheet(QStringLiteral("QLabel { color: #ff3f3f; }"));
    m_pGreenLabel->setText(QString::number(g));
    m_pGreenLabel->setStyleSheet(QStringLiteral("QLabel { color: #1fff1f; }"));
    m_pBlueLabel->setText(QString::number(b));
    m_pBlueLabel->setStyleSheet(QStringLiteral("QLabel { color: #1f1fff; }"));
    m_pSwatchLabel->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(%1, %2, %3); border: 1px solid; border-color: #6f6f7f; }").arg(r).arg(g).arg(b));
}

void HDRImagePreview::clearStatusBar()
{
    for (QLabel* l : {m_pSizeLabel, m_pInfoLabel, m_pPositionCaptionLabel, m_pPositionLabel, m_pRedLabel, m_pGreenLabel,
                      m_pBlueLabel})
        l->clear();
    m_pSwatchLabel->setStyleSheet(QString());
}

void HDRImagePreview::additionalButtonToggled(bool on) { m_pAdditionalPlaceholderAction->setVisible(!on); }
