#include "ui/postprocessing/hdrpositionpicker.h"

#include "document/postprocessing.h"
#include "engine/draw/painters.h"
#include "ui/toolkit/AK_Global.h"
#include "engine/views/zoom.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/postprocessing/postprocessingseams.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/styleengine.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const kNoButtons =
    "QSpinBox::up-button { width: 0px; height: 0px; } QSpinBox::down-button { width: 0px; height: 0px; }";

// Float to int for a value that may be NaN or far out of range.
int ClampToInt(double v, int lo, int hi)
{
    if (!(v == v))
        return lo;
    return static_cast<int>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

struct SplineTableInit {
    SplineTableInit()
    {
        for (unsigned kind = 0; kind < 2; ++kind)
            for (unsigned preset = 1; preset <= 10; ++preset) {
                float knots[12] = {};
                CPPOperatorCatalogue::SplinePreset(kind, preset, knots);
                for (int j = 0; j < 6; ++j) {
                    HDRPositionPicker::s_ppppfSplineDefaults[kind][preset - 1][j][0] = knots[2 * j];
                    HDRPositionPicker::s_ppppfSplineDefaults[kind][preset - 1][j][1] = knots[2 * j + 1];
                }
            }
    }
};

} // namespace

float HDRPositionPicker::s_ppppfSplineDefaults[2][10][128][2] = {};
static SplineTableInit s_SplineTableInit;

// ---- HDRPositionPickerLabel ------------------------------------------------------

QPointF HDRPositionPickerLabel::Normalised(const QPointF& p) const
{
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return {std::clamp(p.x() / w, 0.0, 1.0), std::clamp(p.y() / h, 0.0, 1.0)};
}

void HDRPositionPickerLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    const QPointF p = Normalised(event->position());
    emit mousePress(float(p.x()), float(p.y()));
}

void HDRPositionPickerLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    const QPointF p = Normalised(event->position());
    emit mouseRelease(float(p.x()), float(p.y()));
}

void HDRPositionPickerLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    const QPointF p = Normalised(event->position());
    if (event->buttons() & Qt::LeftButton)
        emit mouseDrag(float(p.x()), float(p.y()));
    else
        emit mouseMove(float(p.x()), float(p.y()));
}

// ---- HDRPositionPicker ------------------------------------------------------------

HDRPositionPicker::HDRPositionPicker(EMode mode, const QString& name, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* header = new QHBoxLayout;
    header->setSpacing(0);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSizeConstraint(QLayout::SetFixedSize);
    m_pNameLabel = new QLabel(name, this);
    m_pNameLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pNameLabel->setStyleSheet(QStringLiteral("font-size: 11px;"));
    header->addWidget(m_pNameLabel, 1);
    m_pStack = new QStackedWidget(this);
    m_pStack->setMaximumWidth(160);
    header->addWidget(m_pStack, 2);
    layout->addLayout(header);

    m_pPage0 = new QWidget;
    auto* page0 = new QHBoxLayout(m_pPage0);
    page0->setSpacing(0);
    page0->setContentsMargins(2, 2, 2, 2);
    page0->setAlignment(Qt::AlignRight);
    m_pPipetteButton = new QPushButton(m_pPage0);
    m_pPipetteButton->setCheckable(true);
    m_pPipetteButton->setFixedSize(22, 22);
    m_pPipetteButton->setIcon(QIcon::fromTheme(QStringLiteral("Pipette")));
    m_pPipetteButton->setToolTip(_gui::HtmlToolTip(tr("Pipette")));
    m_pPipetteButton->setVisible(false);
    connect(m_pPipetteButton, &QPushButton::clicked, this, &HDRPositionPicker::pipetteButtonClicked);
    page0->addWidget(m_pPipetteButton);
    for (int i = 0; i < 3; ++i) {
        m_pLabels[i] = new QLabel(QStringLiteral("#:"), m_pPage0);
        m_pLabels[i]->setFixedWidth(20);
        m_pLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_pLabels[i]->setStyleSheet(QStringLiteral("font-size: 11px;"));
        m_pSpinBoxes[i] = new QSpinBox(m_pPage0);
        m_pSpinBoxes[i]->setFixedWidth(45);
        m_pSpinBoxes[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
        m_pSpinBoxes[i]->setRange(0, 255);
        m_pSpinBoxes[i]->setStyleSheet(QString::fromLatin1(kNoButtons));
        m_pSpinBoxes[i]->setContextMenuPolicy(Qt::NoContextMenu);
        m_pSpinBoxes[i]->setKeyboardTracking(false);
        connect(m_pSpinBoxes[i], &QSpinBox::valueChanged, this, &HDRPositionPicker::spinboxEditingFinished);
        page0->addWidget(m_pLabels[i]);
        page0->addWidget(m_pSpinBoxes[i]);
    }
    m_pStack->addWidget(m_pPage0);

    m_pGradationCombo = new QComboBox;
    for (const char* text : {QT_TR_NOOP("eSplGradation custom"), QT_TR_NOOP("eSplGradation linear"),
             QT_TR_NOOP("eSplGradation over exposed"), QT_TR_NOOP("eSplGradation under exposed"),
             QT_TR_NOOP("eSplGradation compress"), QT_TR_NOOP("eSplGradation expand"),
             QT_TR_NOOP("eSplGradation compress intense"), QT_TR_NOOP("eSplGradation overexpand"),
             QT_TR_NOOP("eSplGradation bright light"), QT_TR_NOOP("eSplGradation deep shadow"),
             QT_TR_NOOP("eSplGradation Artwork")})
        m_pGradationCombo->addItem(tr(text));
    m_pEffectCombo = new QComboBox;
    for (const char* text : {QT_TR_NOOP("eSplEffect custom"), QT_TR_NOOP("eSplEffect flat"),
             QT_TR_NOOP("eSplEffect lights"), QT_TR_NOOP("eSplEffect midtones"), QT_TR_NOOP("eSplEffect shadows"),
             QT_TR_NOOP("eSplEffect extremes"), QT_TR_NOOP("eSplEffect constant low"),
             QT_TR_NOOP("eSplEffect cut extremes"), QT_TR_NOOP("eSplEffect protect light"),
             QT_TR_NOOP("eSplEffect protect shadow"), QT_TR_NOOP("eSplEffect protect light&shadow")})
        m_pEffectCombo->addItem(tr(text));
    for (QComboBox* combo : {m_pGradationCombo, m_pEffectCombo}) {
        combo->setMaxVisibleItems(11);
        connect(combo, &QComboBox::currentIndexChanged, this, &HDRPositionPicker::comboBoxIndexChanged);
        m_pStack->addWidget(combo);
    }

    m_pBox = new HDRPositionPickerLabel(this);
    m_pBox->setFixedSize(262, 262);
    m_pBox->setMouseTracking(true);
    m_pBox->setScaledContents(false);
    connect(m_pBox, &HDRPositionPickerLabel::mouseMove, this, &HDRPositionPicker::mouseMove);
    connect(m_pBox, &HDRPositionPickerLabel::mouseDrag, this, &HDRPositionPicker::mouseDrag);
    connect(m_pBox, &HDRPositionPickerLabel::mousePress, this, &HDRPositionPicker::mousePress);
    connect(m_pBox, &HDRPositionPickerLabel::mouseRelease, this, &HDRPositionPicker::mouseRelease);
    layout->addWidget(m_pBox);

    SetMode(mode);
    adjustSize();
}

HDRPositionPicker::~HDRPositionPicker()
{
    if (CGlobalState::s_pInstance && CGlobalState::s_pInstance->m_pReceiver == this)
        CGlobalState::Deactivate();
    if (m_bOverrideCursor)
        QApplication::restoreOverrideCursor();
}

void HDRPositionPicker::SetMode(EMode mode)
{
    switch (mode) {
    case eModePoint:
        m_pStack->setCurrentIndex(0);
        m_pLabels[0]->setText(QStringLiteral(" X:"));
        m_pLabels[1]->setText(QStringLiteral(" Y:"));
        m_pLabels[2]->setVisible(false);
        m_pSpinBoxes[2]->setVisible(false);
        break;
    case eModeLine:
        m_pStack->setVisible(false);
        break;
    case eModeSpline:
        m_pStack->setCurrentIndex(1);
        break;
    case eModeColor: {
        m_pStack->setCurrentIndex(0);
        m_pStack->setMinimumWidth(180);
        m_pPipetteButton->setVisible(true);
        m_pLabels[0]->setText(QStringLiteral(" "));
        m_pLabels[1]->setVisible(false);
        m_pLabels[2]->setVisible(false);
        const char* colours[3] = {"red", "green", "blue"};
        for (int i = 0; i < 3; ++i)
            m_pSpinBoxes[i]->setStyleSheet(
                QStringLiteral("QSpinBox { border-style: solid; border-width: 2px; border-color: %1; }")
                    .arg(QLatin1String(colours[i])) +
                QString::fromLatin1(kNoButtons));
        break;
    }
    case eModeGeometry:
        break;
    }
    m_eMode = mode;
}

int HDRPositionPicker::PointCount() const
{
    switch (m_eMode) {
    case eModeLine:
        return 2;
    case eModeSpline:
        return 6;
    case eModePoint:
    case eModeColor:
        return 1;
    default:
        return 0;
    }
}

void HDRPositionPicker::SetDefaultValue(float x, float y, unsigned i)
{
    if (i >= 128)
        return;
    m_pfDefaultValues[i][0] = x;
    m_pfDefaultValues[i][1] = y;
}

void HDRPositionPicker::SetDefaultValue(int r, int g, int b)
{
    if (m_eMode != eModeColor)
        return;
    StoreColor(m_pfDefaultValues, r, g, b);
}

void HDRPositionPicker::StoreColor(float (&values)[128][2], int& r, int& g, int& b) const
{
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    ColorToPos(r, g, b, &values[0][0], &values[0][1]);
    values[1][0] = float(r) / 255.0f;
    values[1][1] = float(g) / 255.0f;
    values[2][0] = float(b) / 255.0f;
}

void HDRPositionPicker::SetDefaultValue(float r, float g, float b)
{
    if (m_eMode != eModeColor)
        return;
    SetDefaultValue(ClampToInt(r * 255.0f, 0, 255), ClampToInt(g * 255.0f, 0, 255), ClampToInt(b * 255.0f, 0, 255));
}

void HDRPositionPicker::SetSplineMode(ESplineMode mode, unsigned preset)
{
    if (m_eMode == eModeSpline) {
        const int index = static_cast<int>(std::min(preset, 10u));
        if (mode == eSplGradation) {
            m_pGradationCombo->setCurrentIndex(index);
            m_pEffectCombo->setVisible(false);
            m_pEffectCombo->setEnabled(false);
            m_pStack->setCurrentIndex(1);
        } else {
            m_pEffectCombo->setCurrentIndex(index);
            m_pGradationCombo->setVisible(false);
            m_pGradationCombo->setEnabled(false);
            m_pStack->setCurrentIndex(2);
        }
    }
    m_eSplineMode = mode == eSplEffect ? eSplEffect : eSplGradation;
    m_uiSplinePreset = preset;
    std::copy(&m_pfValues[0][0], &m_pfValues[0][0] + 256, &m_pfDefaultValues[0][0]);
}

void HDRPositionPicker::ResetToDefaultValues()
{
    switch (m_eMode) {
    case eModePoint:
        SetPos(m_pfDefaultValues[0][0], m_pfDefaultValues[0][1], 0);
        break;
    case eModeLine:
        SetPos(m_pfDefaultValues[0][0], m_pfDefaultValues[0][1], 0);
        SetPos(m_pfDefaultValues[1][0], m_pfDefaultValues[1][1], 1);
        break;
    case eModeGeometry:
        for (unsigned i = 0; i < 128; ++i)
            SetPos(m_pfDefaultValues[i][0], m_pfDefaultValues[i][1], i);
        break;
    case eModeColor:
        SetPos(m_pfDefaultValues[0][0], m_pfDefaultValues[0][1], 0);
        break;
    default:
        break;
    }
    UpdateDisplay();
}

void HDRPositionPicker::SetSpinBoxValue(QSpinBox* box, int value)
{
    if (!box)
        return;
    QSignalBlocker block(box);
    box->setValue(value);
}

void HDRPositionPicker::SetPos(float x, float y, unsigned i)
{
    if (m_eMode == eModeColor) {
        m_pfValues[0][0] = x;
        m_pfValues[0][1] = y;
        int r = 0, g = 0, b = 0;
        PosToColor(x, y, &r, &g, &b);
        m_pfValues[1][0] = float(r) / 255.0f;
        m_pfValues[1][1] = float(g) / 255.0f;
        m_pfValues[2][0] = float(b) / 255.0f;
        SetSpinBoxValue(m_pSpinBoxes[0], r);
        SetSpinBoxValue(m_pSpinBoxes[1], g);
        SetSpinBoxValue(m_pSpinBoxes[2], b);
        return;
    }
    if (i >= 128)
        return;
    m_pfValues[i][0] = x;
    m_pfValues[i][1] = y;
    if (i == 0) {
        // the spin boxes show point 0 in the spin boxes' own scale
        const int max0 = m_pSpinBoxes[0]->maximum();
        const int max1 = m_pSpinBoxes[1]->maximum();
        SetSpinBoxValue(m_pSpinBoxes[0], ClampToInt((double(max0) + 1.0) * double(x), 0, max0));
        SetSpinBoxValue(m_pSpinBoxes[1], ClampToInt((double(max1) + 1.0) * double(y), 0, max1));
    }
}

void HDRPositionPicker::setPos(float x, float y, unsigned i)
{
    ClampMinDist(x, y, i);
    SetPos(x, y, i);
    UpdateDisplay();
}

void HDRPositionPicker::ClampMinDist(float& x, float& y, unsigned i) const
{
    switch (m_eMode) {
    case eModeColor: {
        const float dx = x - 0.5f;
        const float dy = y - 0.5f;
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d > 0.5f) {
            x = 0.5f + dx * 0.5f / d;
            y = 0.5f + dy * 0.5f / d;
        }
        break;
    }
    case eModeLine: {
        if (i > 1)
            break;
        const unsigned o = 1 - i;
        const float dx = x - m_pfValues[o][0];
        const float dy = y - m_pfValues[o][1];
        if (std::sqrt(dx * dx + dy * dy) <= 0.05f) {
            x = m_pfValues[i][0];
            y = m_pfValues[i][1];
        }
        break;
    }
    case eModeSpline:
        if (i > 5)
            break;
        if (i > 0 && x < m_pfValues[i - 1][0] + 0.05f)
            x = m_pfValues[i][0];
        if (i <= 4 && x > m_pfValues[i + 1][0] - 0.05f)
            x = m_pfValues[i][0];
        if (i == 0)
            x = 0.0f;
        if (i == 5)
            x = 1.0f;
        break;
    default:
        break;
    }
}

void HDRPositionPicker::SetColor(int r, int g, int b)
{
    if (m_eMode != eModeColor)
        return;
    StoreColor(m_pfValues, r, g, b);
    SetSpinBoxValue(m_pSpinBoxes[0], r);
    SetSpinBoxValue(m_pSpinBoxes[1], g);
    SetSpinBoxValue(m_pSpinBoxes[2], b);
}

void HDRPositionPicker::SetColor(float r, float g, float b)
{
    SetColor(ClampToInt(r * 255.0f, 0, 255), ClampToInt(g * 255.0f, 0, 255), ClampToInt(b * 255.0f, 0, 255));
}

void HDRPositionPicker::setColor(int r, int g, int b)
{
    if (m_eMode != eModeColor)
        return;
    SetColor(r, g, b);
    UpdateDisplay();
}

void HDRPositionPicker::SetGeometry(unsigned n, float a, float b, float c, float d, float e, float f, float g,
                                    float h)
{
    if (n >= 32)
        return;
    SetPos(a, b, 4 * n);
    SetPos(c, d, 4 * n + 1);
    SetPos(e, f, 4 * n + 2);
    SetPos(g, h, 4 * n + 3);
}

void HDRPositionPicker::GetGeometry(float* a, float* b, float* c, float* d, float* e, float* f, float* g, float* h,
                                    unsigned n) const
{
    if (n >= 32)
        return;
    float* targets[8] = {a, b, c, d, e, f, g, h};
    const float* source = &m_pfValues[4 * n][0];
    for (int k = 0; k < 8; ++k)
        if (targets[k])
            *targets[k] = source[k];
}

void HDRPositionPicker::GetValues(float* values) const
{
    if (values)
        std::copy(&m_pfValues[0][0], &m_pfValues[0][0] + 256, values);
}

void HDRPositionPicker::GetDefaultValues(float* values) const
{
    if (values)
        std::copy(&m_pfDefaultValues[0][0], &m_pfDefaultValues[0][0] + 256, values);
}

void HDRPositionPicker::RefreshComboBox()
{
    if (m_eMode != eModeSpline)
        return;
    const unsigned kind = m_eSplineMode == eSplEffect ? 1 : 0;
    int match = 0;
    for (int p = 0; p < 10 && match == 0; ++p) {
        bool same = true;
        for (int j = 0; j < 128 && same; ++j)
            same = std::fabs(s_ppppfSplineDefaults[kind][p][j][0] - m_pfValues[j][0]) <= 0.05f &&
                   std::fabs(s_ppppfSplineDefaults[kind][p][j][1] - m_pfValues[j][1]) <= 0.05f;
        if (same)
            match = p + 1;
    }
    QComboBox* combo = kind == 1 ? m_pEffectCombo : m_pGradationCombo;
    QSignalBlocker block(combo);
    combo->setCurrentIndex(match);
}

void HDRPositionPicker::UpdateDisplay()
{
    const int w = m_pBox->width();
    const int h = m_pBox->height();
    if (w <= 0 || h <= 0)
        return;
    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull())
        return;
    QSize previewSize;
    const uint16_t* preview = nullptr;
    const bool photoModes = m_eMode == eModePoint || m_eMode == eModeLine || m_eMode == eModeSpline;
    if (photoModes && PostProcessingSeams::ImageSource())
        preview = PostProcessingSeams::ImageSource()->PreviewImage(&previewSize);
    const bool showPhoto = preview && previewSize.width() > 0 && previewSize.height() > 0;
    if (showPhoto && (preview != m_pBackdropSource || previewSize != m_BackdropSourceSize ||
                      QSize(w, h) != m_BackdropSize || m_Backdrop.empty())) {
        // scale the preview to the box once; later redraws start from it
        m_Backdrop.assign(size_t(w) * size_t(h) * 3, 0);
        MP_UI_zoomPreviewPicture(preview, m_Backdrop.data(), 0, 0, 0, 0, float(w), float(h), float(w),
                                 float(previewSize.width()), float(previewSize.height()), 0.0f, 0.0f,
                                 float(previewSize.width()), float(previewSize.height()));
        m_pBackdropSource = preview;
        m_BackdropSourceSize = previewSize;
        m_BackdropSize = QSize(w, h);
    }
    // the painter writes 0xAARRGGBB rows of the box width, as QImage::Format_ARGB32 lays them out
    std::vector<uint32_t> buffer(size_t(w) * size_t(h));
    const int result = MP_UI_positionBox(w, h, showPhoto ? m_Backdrop.data() : nullptr, w, h, buffer.data(),
                                         &m_pfValues[0][0], 0x2E00, 0x2E00, 0x2E00, 1, showPhoto ? 1 : 0,
                                         m_eMode == eModePoint, m_eMode == eModeLine, 0, m_eMode == eModeSpline,
                                         m_eMode == eModeColor, static_cast<int>(m_uiPositionType));
    if (result != 0)
        std::fill(buffer.begin(), buffer.end(), 0xFF2E2E2Eu);
    for (int y = 0; y < h; ++y)
        std::copy(buffer.data() + size_t(y) * size_t(w), buffer.data() + size_t(y + 1) * size_t(w),
                  reinterpret_cast<uint32_t*>(image.scanLine(y)));
    HDRPixmapCreator creator(&image);
    m_pBox->setPixmap(creator.m_Pixmap);
}

void HDRPositionPicker::UpdateExposureSeries()
{
    IPickerImageSource* source = PostProcessingSeams::ImageSource();
    const QSize size = source ? source->ImageSize() : QSize();
    m_Backdrop.clear(); // a new image: scale its preview again
    if (size.width() <= 0 || size.height() <= 0)
        return; // keeps the square box and 0..255
    m_pSpinBoxes[0]->setMaximum(size.width());
    m_pSpinBoxes[1]->setMaximum(size.height());
    if (m_eMode == eModeColor)
        return;
    const float scaled = std::trunc(262.0f * float(size.height()) / float(size.width()));
    const int height = static_cast<int>(std::trunc(std::clamp(scaled, 196.5f, 349.33334f)));
    m_pBox->setFixedSize(262, height);
    UpdateDisplay();
}

void HDRPositionPicker::PosToColor(float x, float y, int* red, int* green, int* blue) const
{
    float r = 0, g = 0, b = 0;
    MP_UI_PostoRGB(&r, &g, &b, x, y);
    if (red)
        *red = ClampToInt(r * 255.0f, 0, 255);
    if (green)
        *green = ClampToInt(g * 255.0f, 0, 255);
    if (blue)
        *blue = ClampToInt(b * 255.0f, 0, 255);
}

void HDRPositionPicker::ColorToPos(int red, int green, int blue, float* x, float* y) const
{
    float px = 0.5f, py = 0.5f;
    MP_UI_RGBtoPos(&px, &py, float(red) / 255.0f, float(green) / 255.0f, float(blue) / 255.0f);
    if (x)
        *x = px;
    if (y)
        *y = py;
}

// ---- user input ---------------------------------------------------------------

void HDRPositionPicker::mouseMove(float x, float y)
{
    m_iSelectedPoint = -1;
    const int n = PointCount();
    const float ex = 6.0f / float(std::max(1, m_pBox->width()));
    const float ey = 6.0f / float(std::max(1, m_pBox->height()));
    for (int i = 0; i < n; ++i) {
        const float px = m_pfValues[i][0];
        const float py = m_eMode == eModeSpline ? 1.0f - m_pfValues[i][1] : m_pfValues[i][1];
        if (px - ex < x && x < px + ex && py - ey < y && y < py + ey) {
            m_iSelectedPoint = i;
            m_pBox->unsetCursor();
            return;
        }
    }
    m_pBox->setCursor(HDRCursor::Cross);
}

void HDRPositionPicker::mouseDrag(float x, float y)
{
    if (m_iSelectedPoint < 0)
        return;
    if (m_eMode == eModeSpline)
        y = 1.0f - y;
    const unsigned i = static_cast<unsigned>(m_iSelectedPoint);
    const float oldX = m_pfValues[i][0];
    const float oldY = m_pfValues[i][1];
    setPos(x, y, i);
    if (m_eMode == eModeSpline && (x != oldX || y != oldY)) {
        QSignalBlocker b1(m_pGradationCombo);
        QSignalBlocker b2(m_pEffectCombo);
        m_pGradationCombo->setCurrentIndex(0);
        m_pEffectCombo->setCurrentIndex(0);
    }
}

void HDRPositionPicker::mousePress(float x, float y)
{
    if (m_eMode != eModePoint && m_eMode != eModeColor)
        return;
    setPos(x, y, 0);
    mouseMove(x, y);
    if (m_eMode == eModeColor)
        m_iSelectedPoint = 0;
}

void HDRPositionPicker::mouseRelease(float, float)
{
    if (m_iSelectedPoint >= 0)
        emit valueUpdated();
}

void HDRPositionPicker::spinboxEditingFinished()
{
    if (m_eMode == eModePoint) {
        QObject* s = sender();
        const int max0 = std::max(1, m_pSpinBoxes[0]->maximum());
        const int max1 = std::max(1, m_pSpinBoxes[1]->maximum());
        if (s == m_pSpinBoxes[0])
            setPos(float(m_pSpinBoxes[0]->value()) / float(max0), m_pfValues[0][1], 0);
        else if (s == m_pSpinBoxes[1])
            setPos(m_pfValues[0][0], float(m_pSpinBoxes[1]->value()) / float(max1), 0);
        else
            return;
        emit valueUpdated();
    } else if (m_eMode == eModeColor) {
        setColor(m_pSpinBoxes[0]->value(), m_pSpinBoxes[1]->value(), m_pSpinBoxes[2]->value());
        emit valueUpdated();
    }
}

void HDRPositionPicker::comboBoxIndexChanged(int index)
{
    if (m_eMode != eModeSpline || index <= 0 || index > 10)
        return;
    const unsigned kind = sender() == m_pEffectCombo ? 1 : 0;
    for (unsigned j = 0; j < 128; ++j)
        SetPos(s_ppppfSplineDefaults[kind][index - 1][j][0], s_ppppfSplineDefaults[kind][index - 1][j][1], j);
    UpdateDisplay();
    emit valueUpdated();
}

// ---- pipette ------------------------------------------------------------------

void HDRPositionPicker::pipetteButtonClicked()
{
    if (m_bPipetteUnderMouse) {
        m_bPipetteUnderMouse = false;
        m_pPipetteButton->setChecked(false);
        return;
    }
    if (m_pPipetteButton->isChecked())
        CGlobalState::Activate(this);
}

void HDRPositionPicker::eventActivate()
{
    m_bPicking = false;
    if (!m_bOverrideCursor) {
        QApplication::setOverrideCursor(HDRCursor::Pipette);
        m_bOverrideCursor = true;
    }
}

void HDRPositionPicker::eventDeactivate()
{
    m_bPipetteUnderMouse = m_pPipetteButton->underMouse();
    m_pPipetteButton->setChecked(false);
    if (m_bOverrideCursor) {
        QApplication::restoreOverrideCursor();
        m_bOverrideCursor = false;
    }
}

bool HDRPositionPicker::eventFilter(QObject* object, QEvent* event)
{
    QLabel* preview = PostProcessingSeams::PreviewLabel();
    if (event->type() == QEvent::MouseButtonPress && preview && object == preview) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_bPicking = true;
            // only a press on the picture itself picks a colour; the label's
            // margins (and a label without a picture) give nothing
            const QPixmap pixmap = preview->pixmap();
            if (!pixmap.isNull() && preview->width() > 0) {
                const double s = double(pixmap.width()) / double(preview->width());
                const QPointF p = mouse->position();
                const int px = static_cast<int>(p.x() * s);
                const int py = static_cast<int>(p.y() * s);
                if (p.x() >= 0 && p.y() >= 0 && px < pixmap.width() && py < pixmap.height()) {
                    const QColor c = pixmap.copy(px, py, 1, 1).toImage().pixelColor(0, 0);
                    setColor(c.red(), c.green(), c.blue());
                    emit valueUpdated();
                }
            }
            return false;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease && m_bPicking) {
        m_bPicking = false;
        return false;
    }
    return true;
}

void HDRPositionPicker::showEvent(QShowEvent* event)
{
    m_pPage0->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
        QStringLiteral(".QWidget { background-color: #STYLE_BOXCOLOR+1; }")));
    QWidget::showEvent(event);
}
