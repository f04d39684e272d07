#include "ui/postprocessing/hdrrawdevelopmentwindow.h"

#include "engine/core/colortemp.h"
#include "engine/core/settings.h"
#include "engine/draw/painters.h"
#include "platform/userpaths.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/postprocessing/presetsseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>

#include <vector>

HDRRAWDevelopmentWindow* g_pRAWDevelopment = nullptr;

namespace {

const char kSpinSheet[] =
    "QSpinBox { color: %1; } QSpinBox::up-button { width: 0px; height: 0px; } QSpinBox::down-button { width: 0px; "
    "height: 0px; }";
const char kToolTipSheet[] = " QToolTip { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 "
                             "#STYLE_BACKGROUND+3, stop: 1 #STYLE_BACKGROUND+2); }";

} // namespace

// ---- strip and spin box ------------------------------------------------------------

void HDRWhiteBalanceLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit valueSelected(float(event->position().x()) / float(width()) * 15500.0f + 1000.0f);
}

void HDRWhiteBalanceLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    emit valueSelected(float(event->position().x()) / float(width()) * 15500.0f + 1000.0f);
}

void HDRWhiteBalanceSpinBox::focusInEvent(QFocusEvent* event)
{
    QSpinBox::focusInEvent(event);
    emit gotFocus();
}

// ---- construction ------------------------------------------------------------------

QGroupBox* HDRRAWDevelopmentWindow::Group(const QString& text, bool checkable)
{
    auto* group = new QGroupBox(text, this);
    group->setCheckable(checkable);
    group->setChecked(false);
    group->setFixedWidth(320);
    return group;
}

HDRRAWDevelopmentWindow::HDRRAWDevelopmentWindow(QWidget* parent) : HDRInfoDialog(parent)
{
    setObjectName(QStringLiteral("raw_development_window"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("rawdevelopment"), QIcon()));
    setWindowTitle(tr("RAW-Entwicklung lumivex"));
    GetMainLayout()->setSizeConstraint(QLayout::SetFixedSize);

    auto* content = new QVBoxLayout();
    GetMainLayout()->addLayout(content);

    // Image type (hidden).
    auto* typeRow = new QHBoxLayout();
    typeRow->setAlignment(Qt::AlignLeft);
    m_pImageTypeGroupBox = Group(tr("ImageType"), false);
    auto* typeLayout = new QHBoxLayout(m_pImageTypeGroupBox);
    typeLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const char* icons[9] = {"ImageType_01_Landschaft", "ImageType_02_Architektur", "ImageType_03_Nachtaufnahme",
                            "ImageType_04_Portrait",   "ImageType_05_Gewoelbe",    "ImageType_06_Innenraum",
                            "ImageType_07_Botanik",    "ImageType_08_Gewaesser",   "ImageType_09_Makroaufnahme"};
    for (int i = 0; i < 9; ++i) {
        auto* button = new QPushButton(m_pImageTypeGroupBox);
        button->setCheckable(true);
        button->setFixedSize(50, 34);
        button->setIcon(QIcon::fromTheme(QLatin1String(icons[i]), QIcon()));
        connect(button, SIGNAL(clicked()), this, SLOT(imageTypeClicked()));
        typeLayout->addWidget(button);
        m_pImageTypeButtons[i] = button;
    }
    for (int hidden : {2, 6, 7})
        m_pImageTypeButtons[hidden]->hide();
    typeRow->addWidget(m_pImageTypeGroupBox, 0, Qt::AlignLeft | Qt::AlignBottom);
    m_pImageTypeGroupBox->hide();
    content->addLayout(typeRow);

    auto* columns = new QHBoxLayout();
    columns->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    auto* left = new QVBoxLayout();
    auto* right = new QVBoxLayout();
    columns->addLayout(left);
    columns->addLayout(right);
    content->addLayout(columns);

    // Scaling (hidden).
    m_pScaleGroupBox = Group(tr("Skalierung"), false);
    auto* scaleLayout = new QVBoxLayout(m_pScaleGroupBox);
    m_pScaleSpinBox = new QDoubleSpinBox(m_pScaleGroupBox);
    m_pScaleSpinBox->setPrefix(QStringLiteral(" "));
    m_pScaleSpinBox->setSuffix(QStringLiteral(" %"));
    m_pScaleSpinBox->setRange(10, 400);
    m_pScaleSpinBox->setSingleStep(10);
    m_pScaleSpinBox->setDecimals(0);
    m_pScaleSpinBox->setAccelerated(true);
    scaleLayout->addWidget(m_pScaleSpinBox);
    m_pScaleMethodComboBox = new QComboBox(m_pScaleGroupBox);
    for (const char* text : {QT_TR_NOOP("1st order BSpline"), QT_TR_NOOP("bilinear"), QT_TR_NOOP("cubic bspline"),
                             QT_TR_NOOP("cubic"), QT_TR_NOOP("O-Spline"), QT_TR_NOOP("sinc filter")})
        m_pScaleMethodComboBox->addItem(tr(text));
    scaleLayout->addWidget(m_pScaleMethodComboBox);
    left->addWidget(m_pScaleGroupBox);
    m_pScaleGroupBox->hide();

    // Colour space.
    m_pColorSpaceGroupBox = Group(tr("Farbraum"), true);
    m_pColorSpaceGroupBox->setToolTip(_gui::HtmlToolTip(tr("RAW Farbraum Groupbox")));
    auto* colourLayout = new QVBoxLayout(m_pColorSpaceGroupBox);
    colourLayout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_pColorSpaceComboBox = new QComboBox(m_pColorSpaceGroupBox);
    m_pColorSpaceComboBox->setFixedWidth(300);
    m_pColorSpaceComboBox->setToolTip(_gui::HtmlToolTip(tr("RAW Farbraum")));
    for (const char* text :
         {QT_TR_NOOP("Colorspace sRGB"), QT_TR_NOOP("Colorspace Adobe RGB"), QT_TR_NOOP("Colorspace ProPhoto RGB"),
          QT_TR_NOOP("Colorspace Apple RGB"), QT_TR_NOOP("Colorspace Best RGB"),
          QT_TR_NOOP("Colorspace Wide Gamut RGB"), QT_TR_NOOP("Colorspace Colormatch RGB"),
          QT_TR_NOOP("Colorspace NTSC RGB"), QT_TR_NOOP("Colorspace PAL/SECAM RGB"), QT_TR_NOOP("Colorspace Beta RGB"),
          QT_TR_NOOP("Colorspace Bruce RGB"), QT_TR_NOOP("Colorspace CIE RGB"), QT_TR_NOOP("Colorspace Don RGB 4"),
          QT_TR_NOOP("Colorspace ECI RGB"), QT_TR_NOOP("Colorspace Ekta Space PS5"),
          QT_TR_NOOP("Colorspace SMPTE-C RGB")})
        m_pColorSpaceComboBox->addItem(tr(text));
    m_pColorSpaceComboBox->setMaxVisibleItems(16);
    colourLayout->addWidget(m_pColorSpaceComboBox);
    left->addWidget(m_pColorSpaceGroupBox);

    // White balance.
    m_pWhiteBalanceGroupBox = Group(tr("Weißabgleich"), true);
    m_pWhiteBalanceGroupBox->setToolTip(_gui::HtmlToolTip(tr("RAW WhiteBalance Groupbox")));
    auto* wbLayout = new QVBoxLayout(m_pWhiteBalanceGroupBox);
    wbLayout->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_pWhiteBalanceListWidget = new QListWidget(m_pWhiteBalanceGroupBox);
    m_pWhiteBalanceListWidget->setFixedHeight(250);
    m_pWhiteBalanceListWidget->setToolTip(_gui::HtmlToolTip(tr("RAW WhiteBalance Listbox")));
    const struct {
        const char* text;
        int kelvin;
    } presets[14] = {{QT_TR_NOOP("automatisch"), -1},
                     {QT_TR_NOOP("Kerzenschein"), 1500},
                     {QT_TR_NOOP("Glühbirne 60 Watt"), 2680},
                     {QT_TR_NOOP("Glühbirne 100 Watt"), 2800},
                     {QT_TR_NOOP("Glühbirne 200 Watt"), 3000},
                     {QT_TR_NOOP("Halogenlampe"), 3200},
                     {QT_TR_NOOP("Leuchtstofflampe"), 4000},
                     {QT_TR_NOOP("Morgen-/Abendsonne"), 5000},
                     {QT_TR_NOOP("Vor-/Nachmittagssonne"), 5500},
                     {QT_TR_NOOP("Mittagssonne"), 5700},
                     {QT_TR_NOOP("bedeckter Himmel"), 7000},
                     {QT_TR_NOOP("Nebel"), 8000},
                     {QT_TR_NOOP("Blauer Himmel (Schatten)"), 9000},
                     {QT_TR_NOOP("nördliches Himmelslicht"), 15000}};
    for (const auto& p : presets)
        m_pWhiteBalanceListWidget->addItem(createListWidgetItem(tr(p.text), p.kelvin));
    m_pWhiteBalanceListWidget->addItem(createListWidgetItem(QStringLiteral("###invisible###"), 0));
    const int rows = m_pWhiteBalanceListWidget->count();
    m_pWhiteBalanceListWidget->item(rows - 1)->setHidden(true);
    for (int row = 1; row < rows; ++row) {
        QListWidgetItem* item = m_pWhiteBalanceListWidget->item(row);
        float r = 0, g = 0, b = 0;
        MP_UI_GetRGBFromTemperatur(&r, &g, &b, item->data(Qt::UserRole).toFloat());
        item->setBackground(QColor(int(255 * r), int(255 * g), int(255 * b), 64));
    }
    wbLayout->addWidget(m_pWhiteBalanceListWidget);
    auto* panel = new QWidget(m_pWhiteBalanceGroupBox);
    panel->setStyleSheet(QStringLiteral("background-color: transparent;"));
    panel->setFixedHeight(75);
    auto* grid = new QGridLayout(panel);
    m_pWhiteBalanceMinLabel = new QLabel(QStringLiteral("%1K").arg(1000), panel);
    m_pWhiteBalanceMinLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(m_pWhiteBalanceMinLabel, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    m_pColorTemperatureLabel = new QLabel(tr("Farbtemperatur"), panel);
    m_pColorTemperatureLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pColorTemperatureLabel->setMinimumWidth(100);
    grid->addWidget(m_pColorTemperatureLabel, 0, 1, Qt::AlignRight | Qt::AlignVCenter);
    m_pWhiteBalanceSpinBox = new HDRWhiteBalanceSpinBox(this);
    m_pWhiteBalanceSpinBox->setFixedWidth(45);
    m_pWhiteBalanceSpinBox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_pWhiteBalanceSpinBox->setRange(1000, 16500);
    m_pWhiteBalanceSpinBox->setContextMenuPolicy(Qt::NoContextMenu);
    m_pWhiteBalanceSpinBox->setToolTip(_gui::HtmlToolTip(tr("RAW WhiteBalance Temperatur Slider")));
    grid->addWidget(m_pWhiteBalanceSpinBox, 0, 2, Qt::AlignLeft | Qt::AlignBottom);
    m_pWhiteBalanceMaxLabel = new QLabel(QStringLiteral("%1K").arg(16500), panel);
    m_pWhiteBalanceMaxLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_pWhiteBalanceMaxLabel, 0, 3, Qt::AlignRight | Qt::AlignBottom);
    m_pWhiteBalanceColorLabel = new HDRWhiteBalanceLabel(this);
    m_pWhiteBalanceColorLabel->setScaledContents(true);
    m_pWhiteBalanceColorLabel->setFixedSize(m_pWhiteBalanceGroupBox->width() - 50, 30);
    m_pWhiteBalanceColorLabel->setStyleSheet(
        QStringLiteral("QLabel { border-style: solid; border-width: 2px; border-color: black; }"));
    grid->addWidget(m_pWhiteBalanceColorLabel, 1, 0, 1, 4, Qt::AlignTop | Qt::AlignHCenter);
    wbLayout->addWidget(panel);
    left->addWidget(m_pWhiteBalanceGroupBox);

    // Noise reduction (hidden).
    m_pDenoiseGroupBox = Group(tr("Entrauschen"), true);
    auto* denoiseLayout = new QVBoxLayout(m_pDenoiseGroupBox);
    auto* denoiseRow = new QHBoxLayout();
    m_pDenoiseQualityNormalButton = new QPushButton(tr("Qualität normal"), m_pDenoiseGroupBox);
    m_pDenoiseQualityHighButton = new QPushButton(tr("Qualität hoch"), m_pDenoiseGroupBox);
    m_pDenoiseQualityUltraButton = new QPushButton(tr("Qualität ultra"), m_pDenoiseGroupBox);
    for (QPushButton* b : {m_pDenoiseQualityNormalButton, m_pDenoiseQualityHighButton, m_pDenoiseQualityUltraButton}) {
        b->setCheckable(true);
        b->setFixedHeight(22);
        connect(b, SIGNAL(clicked()), this, SLOT(denoiseQualityClicked()));
        denoiseRow->addWidget(b);
    }
    denoiseLayout->addLayout(denoiseRow);
    m_pDenoiseSharpnessSlider = new HDRSlider(m_pDenoiseGroupBox, tr("Schärfe"), tr("scharf"), tr("weich"),
                                              QStringLiteral("%"), 1, 100, 5, 1, false, QStringLiteral(" "), false);
    m_pDenoiseSharpnessSlider->SetCenterValueInt(25);
    denoiseLayout->addWidget(m_pDenoiseSharpnessSlider);
    m_pDenoiseDarkImagesCheckBox = new QCheckBox(tr("dunkle Bilder stärker entrauschen"), m_pDenoiseGroupBox);
    m_pHotPixelCheckBox = new QCheckBox(tr("Hotpixel korrigieren"), m_pDenoiseGroupBox);
    denoiseLayout->addWidget(m_pDenoiseDarkImagesCheckBox);
    denoiseLayout->addWidget(m_pHotPixelCheckBox);
    right->addWidget(m_pDenoiseGroupBox);
    m_pDenoiseGroupBox->hide();

    // Exposure optimisation (hidden).
    m_pOptimizeGroupBox = Group(tr("Optimierung der Belichtung"), true);
    auto* optimizeLayout = new QVBoxLayout(m_pOptimizeGroupBox);
    m_pOptimizeExposureCheckBox = new QCheckBox(tr("Belichtung optimieren"), m_pOptimizeGroupBox);
    m_pOptimizeDarkColorsCheckBox = new QCheckBox(tr("dunkle Bereiche farblich optimieren"), m_pOptimizeGroupBox);
    optimizeLayout->addWidget(m_pOptimizeExposureCheckBox);
    optimizeLayout->addWidget(m_pOptimizeDarkColorsCheckBox);
    right->addWidget(m_pOptimizeGroupBox);
    m_pOptimizeGroupBox->hide();

    // Alignment (hidden).
    m_pAlignGroupBox = Group(tr("Ausrichtung"), true);
    auto* alignLayout = new QVBoxLayout(m_pAlignGroupBox);
    auto* alignRow = new QHBoxLayout();
    m_pAlignQualityFastButton = new QPushButton(tr("Qualität schnell"), m_pAlignGroupBox);
    m_pAlignQualityNormalButton = new QPushButton(tr("Qualität normal"), m_pAlignGroupBox);
    m_pAlignQualityHighButton = new QPushButton(tr("Qualität hoch"), m_pAlignGroupBox);
    m_pAlignQualityUltraButton = new QPushButton(tr("Qualität ultra"), m_pAlignGroupBox);
    for (QPushButton* b : {m_pAlignQualityFastButton, m_pAlignQualityNormalButton, m_pAlignQualityHighButton,
                           m_pAlignQualityUltraButton}) {
        b->setCheckable(true);
        b->setFixedHeight(22);
        connect(b, SIGNAL(clicked()), this, SLOT(alignQualityClicked()));
        alignRow->addWidget(b);
    }
    alignLayout->addLayout(alignRow);
    m_pAlignShiftCheckBox = new QCheckBox(tr("Verschiebung korrigieren"), m_pAlignGroupBox);
    m_pAlignRotationCheckBox = new QCheckBox(tr("Kamerarotation korrigieren"), m_pAlignGroupBox);
    m_pAlignZoomCheckBox = new QCheckBox(tr("Kamerazoom korrigieren"), m_pAlignGroupBox);
    m_pAlignMotionCheckBox = new QCheckBox(tr("Bewegung/ Scherung/ Drehung korrigieren"), m_pAlignGroupBox);
    m_pAlignMicroDetailsCheckBox = new QCheckBox(tr("Mikrodetails korrigieren"), m_pAlignGroupBox);
    for (QCheckBox* c : {m_pAlignShiftCheckBox, m_pAlignRotationCheckBox, m_pAlignZoomCheckBox, m_pAlignMotionCheckBox,
                         m_pAlignMicroDetailsCheckBox}) {
        connect(c, SIGNAL(toggled(bool)), this, SLOT(alignmentAlgorithmSelected()));
        alignLayout->addWidget(c);
    }
    m_pAlignAccuracySlider = new HDRSlider(m_pAlignGroupBox, tr("Genauigkeit"), tr("gering"), tr("hoch"),
                                           QStringLiteral("%"), 1, 100, 5, 1, false, QStringLiteral(" "), false);
    m_pAlignAccuracySlider->SetCenterValueInt(50);
    m_pAlignSearchRadiusSlider = new HDRSlider(m_pAlignGroupBox, tr("Suchradius"), tr("gering"), tr("hoch"),
                                               QStringLiteral("px"), 0, 100, 5, 1, false, QStringLiteral(" "), false);
    m_pAlignSearchRadiusSlider->SetCenterValueInt(50);
    alignLayout->addWidget(m_pAlignAccuracySlider);
    alignLayout->addWidget(m_pAlignSearchRadiusSlider);
    m_pGeneticAlgorithmCheckBox = new QCheckBox(tr("genetischen Algorithmus verwenden"), m_pAlignGroupBox);
    m_pAutoCropCheckBox = new QCheckBox(tr("automatischer Beschnitt ausgerichteter Bilder"), m_pAlignGroupBox);
    alignLayout->addWidget(m_pGeneticAlgorithmCheckBox);
    alignLayout->addWidget(m_pAutoCropCheckBox);
    m_pInterpolationComboBox = new QComboBox(m_pAlignGroupBox);
    for (const char* text : {QT_TR_NOOP("Interpolation keine"), QT_TR_NOOP("Interpolation linear"),
                             QT_TR_NOOP("Interpolation quadratisch"), QT_TR_NOOP("Interpolation kubisch"),
                             QT_TR_NOOP("Interpolation S-Kurve"), QT_TR_NOOP("Interpolation S-Kurve quadratisch"),
                             QT_TR_NOOP("Interpolation S-Kurve kubisch")})
        m_pInterpolationComboBox->addItem(tr(text));
    alignLayout->addWidget(m_pInterpolationComboBox);
    right->addWidget(m_pAlignGroupBox);
    m_pAlignGroupBox->hide();

    // De-ghosting (hidden).
    m_pDeGhostGroupBox = Group(tr("Geisterbildkorrektur"), true);
    auto* ghostLayout = new QVBoxLayout(m_pDeGhostGroupBox);
    m_pLocalMTBCheckBox = new QCheckBox(tr("use local MTB"), m_pDeGhostGroupBox);
    m_pDeGhostStrengthSlider = new HDRSlider(m_pDeGhostGroupBox, tr("Schärfe"), tr("schwach"), tr("stark"),
                                             QStringLiteral("%"), 1, 100, 5, 1, false, QStringLiteral(" "), false);
    m_pDeGhostStrengthSlider->SetCenterValueInt(50);
    m_pPanoramaCheckBox = new QCheckBox(tr("panorama checkbox"), m_pDeGhostGroupBox);
    ghostLayout->addWidget(m_pLocalMTBCheckBox);
    ghostLayout->addWidget(m_pDeGhostStrengthSlider);
    ghostLayout->addWidget(m_pPanoramaCheckBox);
    right->addWidget(m_pDeGhostGroupBox);
    m_pDeGhostGroupBox->hide();

    // Restore, show-again and confirm.
    auto* bottom = new QHBoxLayout();
    m_pDefaultButton = new QPushButton(this);
    m_pDefaultButton->setFixedSize(34, 34);
    m_pDefaultButton->setIcon(QIcon::fromTheme(QStringLiteral("SetDefault"), QIcon()));
    m_pDefaultButton->setToolTip(_gui::HtmlToolTip(tr("RAW auf Standardwerte zurücksetzen")));
    connect(m_pDefaultButton, SIGNAL(clicked()), this, SLOT(defaultClicked()));
    bottom->addWidget(m_pDefaultButton, 0, Qt::AlignLeft | Qt::AlignBottom);
    m_pShowAgainCheckBox = new QCheckBox(tr("Fenster immer anzeigen"), this);
    m_pShowAgainCheckBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip Fenster immer anzeigen")));
    bottom->addWidget(m_pShowAgainCheckBox, 0, Qt::AlignHCenter);
    ShowAgainResetToSettings();
    ShowAgainFromSettings();
    connect(m_pShowAgainCheckBox, SIGNAL(clicked()), this, SLOT(showAgainClicked()));
    m_pConfirmButton = new QPushButton(this);
    m_pConfirmButton->setFixedSize(34, 34);
    m_pConfirmButton->setIcon(QIcon::fromTheme(QStringLiteral("Continue"), QIcon()));
    m_pConfirmButton->setToolTip(_gui::HtmlToolTip(tr("RAW Bestätigen")));
    connect(m_pConfirmButton, SIGNAL(clicked()), this, SLOT(confirmClicked()));
    bottom->addWidget(m_pConfirmButton, 0, Qt::AlignRight | Qt::AlignBottom);
    content->addLayout(bottom);

    connect(m_pWhiteBalanceListWidget, SIGNAL(currentRowChanged(int)), this, SLOT(whiteBalanceSelected(int)));
    connect(m_pWhiteBalanceSpinBox, SIGNAL(editingFinished()), this, SLOT(whiteBalanceSpinboxUpdated()));
    connect(m_pWhiteBalanceColorLabel, SIGNAL(valueSelected(f32)), this, SLOT(whiteBalanceSelected(f32)));
    connect(m_pWhiteBalanceSpinBox, SIGNAL(gotFocus()), this, SLOT(whiteBalanceSpinboxChanged()));
    connect(m_pWhiteBalanceSpinBox, SIGNAL(valueChanged(int)), this, SLOT(whiteBalanceSpinboxChanged()));

    defaultClicked();
    adjustSize();
    g_pRAWDevelopment = this;
    CDocumentSettings::SetRawDevelopmentSource(this);
    m_pConfirmButton->setFocus();
    CreateInfoArea();
}

HDRRAWDevelopmentWindow::~HDRRAWDevelopmentWindow()
{
    if (g_pRAWDevelopment == this)
        g_pRAWDevelopment = nullptr;
    IRawDevelopmentSource* previous = CDocumentSettings::SetRawDevelopmentSource(nullptr);
    if (previous != this)
        CDocumentSettings::SetRawDevelopmentSource(previous);
}

QListWidgetItem* HDRRAWDevelopmentWindow::createListWidgetItem(const QString& text, int kelvin)
{
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, kelvin);
    return item;
}

// ---- settings -----------------------------------------------------------------------

void HDRRAWDevelopmentWindow::defaultClicked()
{
    m_pScaleSpinBox->setValue(100);
    m_pScaleMethodComboBox->setCurrentIndex(4);
    for (QPushButton* b : m_pImageTypeButtons)
        b->setChecked(false);
    m_pColorSpaceGroupBox->setChecked(false);
    m_pColorSpaceComboBox->setCurrentIndex(1);
    m_pWhiteBalanceGroupBox->setChecked(false);
    m_pWhiteBalanceListWidget->setCurrentRow(0);
    whiteBalanceSelected(0);
    m_pDenoiseQualityNormalButton->setChecked(true);
    m_pDenoiseQualityHighButton->setChecked(false);
    m_pDenoiseQualityUltraButton->setChecked(false);
    m_pDenoiseGroupBox->setChecked(false);
    m_pDenoiseSharpnessSlider->SetToCenterValue();
    m_pDenoiseDarkImagesCheckBox->setChecked(true);
    m_pHotPixelCheckBox->setChecked(false);
    m_pOptimizeGroupBox->setChecked(false);
    m_pOptimizeExposureCheckBox->setChecked(true);
    m_pOptimizeDarkColorsCheckBox->setChecked(false);
    m_pAlignGroupBox->setChecked(false);
    m_pAlignQualityFastButton->setChecked(false);
    m_pAlignQualityNormalButton->setChecked(true);
    m_pAlignQualityHighButton->setChecked(false);
    m_pAlignQualityUltraButton->setChecked(false);
    for (QCheckBox* c : {m_pAlignShiftCheckBox, m_pAlignRotationCheckBox, m_pAlignZoomCheckBox, m_pAlignMotionCheckBox,
                         m_pAlignMicroDetailsCheckBox})
        c->setChecked(false);
    m_pAlignAccuracySlider->SetToCenterValue();
    m_pAlignSearchRadiusSlider->SetToCenterValue();
    m_pGeneticAlgorithmCheckBox->setChecked(false);
    m_pAutoCropCheckBox->setChecked(false);
    m_pInterpolationComboBox->setCurrentIndex(0);
    m_pDeGhostGroupBox->setChecked(false);
    m_pLocalMTBCheckBox->setChecked(true);
    m_pDeGhostStrengthSlider->SetToCenterValue();
}

int HDRRAWDevelopmentWindow::GetAlignQualityByCheckdState() const
{
    if (m_pAlignQualityUltraButton->isChecked())
        return 3;
    if (m_pAlignQualityHighButton->isChecked())
        return 2;
    if (m_pAlignQualityNormalButton->isChecked())
        return 1;
    if (m_pAlignQualityFastButton->isChecked())
        return 0;
    return 1;
}

int HDRRAWDevelopmentWindow::GetDenoiseQualityByCheckdState() const
{
    if (m_pDenoiseQualityUltraButton->isChecked())
        return 2;
    if (m_pDenoiseQualityHighButton->isChecked())
        return 1;
    if (m_pDenoiseQualityNormalButton->isChecked())
        return 0;
    return 1;
}

int HDRRAWDevelopmentWindow::getImageTypeIndex() const
{
    for (int i = 0; i < 9; ++i) {
        if (m_pImageTypeButtons[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void HDRRAWDevelopmentWindow::rememberGroupboxStates()
{
    m_bSavedColorSpaceState = m_pColorSpaceGroupBox->isChecked();
    m_bSavedWhiteBalanceState = m_pWhiteBalanceGroupBox->isChecked();
    m_bSavedDenoiseState = m_pDenoiseGroupBox->isChecked();
    m_bSavedOptimizeState = m_pOptimizeGroupBox->isChecked();
    m_bSavedAlignState = m_pAlignGroupBox->isChecked();
    m_bSavedDeGhostState = m_pDeGhostGroupBox->isChecked();
}

void HDRRAWDevelopmentWindow::disableAllGroupboxStates()
{
    for (QGroupBox* g : {m_pColorSpaceGroupBox, m_pWhiteBalanceGroupBox, m_pDenoiseGroupBox, m_pOptimizeGroupBox,
                         m_pAlignGroupBox, m_pDeGhostGroupBox})
        g->setChecked(false);
}

void HDRRAWDevelopmentWindow::recoverGroupboxStates()
{
    m_pColorSpaceGroupBox->setChecked(m_bSavedColorSpaceState);
    m_pWhiteBalanceGroupBox->setChecked(m_bSavedWhiteBalanceState);
    m_pDenoiseGroupBox->setChecked(m_bSavedDenoiseState);
    m_pOptimizeGroupBox->setChecked(m_bSavedOptimizeState);
    m_pAlignGroupBox->setChecked(m_bSavedAlignState);
    m_pDeGhostGroupBox->setChecked(m_bSavedDeGhostState);
}

bool HDRRAWDevelopmentWindow::IsShowAgainChecked() const { return m_pShowAgainCheckBox->isChecked(); }

int HDRRAWDevelopmentWindow::ExtraProgressCategories() const
{
    int n = 0;
    if (m_pAlignGroupBox->isChecked() && (m_pAlignShiftCheckBox->isChecked() || m_pAlignMotionCheckBox->isChecked() ||
                                          m_pAlignMicroDetailsCheckBox->isChecked()))
        ++n;
    if (m_pOptimizeGroupBox->isChecked())
        ++n;
    if (m_pDeGhostGroupBox->isChecked())
        ++n;
    return n;
}

SRawDevelopmentSettings HDRRAWDevelopmentWindow::GetRawDevelopmentSettings() const
{
    SRawDevelopmentSettings s;
    s.dScalePercent = m_pScaleSpinBox->value();
    s.iScaleMethod = m_pScaleMethodComboBox->currentIndex();
    s.bColorSpaceGroup = m_pColorSpaceGroupBox->isChecked();
    s.iColorSpace = m_pColorSpaceComboBox->currentIndex();
    s.bWhiteBalanceGroup = m_pWhiteBalanceGroupBox->isChecked();
    s.fWhiteBalanceKelvin = m_fWhiteBalanceKelvin;
    s.bDenoiseGroup = m_pDenoiseGroupBox->isChecked();
    s.iDenoiseQuality = GetDenoiseQualityByCheckdState();
    s.fDenoiseSharpness = m_pDenoiseSharpnessSlider->GetValueF();
    s.bDenoiseDarkImages = m_pDenoiseDarkImagesCheckBox->isChecked();
    s.bHotPixel = m_pHotPixelCheckBox->isChecked();
    s.bOptimizeGroup = m_pOptimizeGroupBox->isChecked();
    s.bOptimizeExposure = m_pOptimizeExposureCheckBox->isChecked();
    s.bOptimizeDarkColors = m_pOptimizeDarkColorsCheckBox->isChecked();
    s.bAlignGroup = m_pAlignGroupBox->isChecked();
    s.iAlignQuality = GetAlignQualityByCheckdState();
    s.bAlignShift = m_pAlignShiftCheckBox->isChecked();
    s.bAlignRotation = m_pAlignRotationCheckBox->isChecked();
    s.bAlignZoom = m_pAlignZoomCheckBox->isChecked();
    s.bAlignMotion = m_pAlignMotionCheckBox->isChecked();
    s.bAlignMicroDetails = m_pAlignMicroDetailsCheckBox->isChecked();
    s.bGeneticAlgorithm = m_pGeneticAlgorithmCheckBox->isChecked();
    s.bAutoCrop = m_pAutoCropCheckBox->isChecked();
    s.fAlignAccuracy = m_pAlignAccuracySlider->GetValueF();
    s.fAlignSearchRadius = m_pAlignSearchRadiusSlider->GetValueF();
    s.iInterpolation = m_pInterpolationComboBox->currentIndex();
    s.bDeGhostGroup = m_pDeGhostGroupBox->isChecked();
    s.bLocalMTB = m_pLocalMTBCheckBox->isChecked();
    s.fDeGhostStrength = m_pDeGhostStrengthSlider->GetValueF();
    return s;
}

// ---- white balance -------------------------------------------------------------------

void HDRRAWDevelopmentWindow::updateWhiteBalanceColorLabel(float kelvin)
{
    std::vector<uint32_t> pixels(size_t(100) * 30);
    m_fWhiteBalanceKelvin =
        MP_UI_paintColorTemperatur(pixels.data(), 100, 30, 100, 1000.0f, 16500.0f, (kelvin - 1000.0f) / 15500.0f);
    QImage image(reinterpret_cast<const uchar*>(pixels.data()), 100, 30, 400, QImage::Format_ARGB32);
    HDRPixmapCreator creator(&image);
    m_pWhiteBalanceColorLabel->setPixmap(creator.m_Pixmap);
}

void HDRRAWDevelopmentWindow::whiteBalanceSelected(int row)
{
    if (row < 0 || row >= m_pWhiteBalanceListWidget->count() - 1)
        return;
    updateWhiteBalanceColorLabel(m_pWhiteBalanceListWidget->item(row)->data(Qt::UserRole).toFloat());
    m_pWhiteBalanceSpinBox->setValue(int(m_fWhiteBalanceKelvin));
    const QString colour = row == 0 ? QStringLiteral("transparent") : QStringLiteral("#STYLE_TEXTCOLOR");
    m_pWhiteBalanceSpinBox->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
        QString::fromLatin1(kSpinSheet).arg(colour) + QLatin1String(kToolTipSheet)));
}

void HDRRAWDevelopmentWindow::whiteBalanceSelected(f32 kelvin)
{
    updateWhiteBalanceColorLabel(qBound(1000.0f, kelvin, 16500.0f));
    m_pWhiteBalanceListWidget->setCurrentRow(m_pWhiteBalanceListWidget->count() - 1);
    m_pWhiteBalanceSpinBox->setValue(int(m_fWhiteBalanceKelvin));
}

void HDRRAWDevelopmentWindow::whiteBalanceSpinboxUpdated()
{
    updateWhiteBalanceColorLabel(float(m_pWhiteBalanceSpinBox->value()));
    m_pWhiteBalanceListWidget->setCurrentRow(m_pWhiteBalanceListWidget->count() - 1);
}

void HDRRAWDevelopmentWindow::whiteBalanceSpinboxChanged()
{
    m_pWhiteBalanceSpinBox->setStyleSheet(QString::fromLatin1(kSpinSheet).arg(QStringLiteral("black")));
}

// ---- button groups ------------------------------------------------------------------

void HDRRAWDevelopmentWindow::alignQualityClicked()
{
    for (QPushButton* b : {m_pAlignQualityFastButton, m_pAlignQualityNormalButton, m_pAlignQualityHighButton,
                           m_pAlignQualityUltraButton})
        b->setChecked(false);
    if (auto* b = qobject_cast<QPushButton*>(sender()))
        b->setChecked(true);
}

void HDRRAWDevelopmentWindow::denoiseQualityClicked()
{
    for (QPushButton* b : {m_pDenoiseQualityNormalButton, m_pDenoiseQualityHighButton, m_pDenoiseQualityUltraButton})
        b->setChecked(false);
    if (auto* b = qobject_cast<QPushButton*>(sender()))
        b->setChecked(true);
}

void HDRRAWDevelopmentWindow::imageTypeClicked()
{
    for (QPushButton* b : m_pImageTypeButtons) {
        if (b != sender())
            b->setChecked(false);
    }
}

void HDRRAWDevelopmentWindow::alignmentAlgorithmSelected()
{
    m_pGeneticAlgorithmCheckBox->setEnabled(m_pAlignShiftCheckBox->isChecked() ||
                                            m_pAlignRotationCheckBox->isChecked() ||
                                            m_pAlignZoomCheckBox->isChecked() || m_pAlignMotionCheckBox->isChecked() ||
                                            m_pAlignMicroDetailsCheckBox->isChecked());
}

// ---- show again -------------------------------------------------------------------------

QString HDRRAWDevelopmentWindow::ShowAgainPath()
{
    return lumivex::platform::userSettingsFolder() + QStringLiteral("rawdevshowagain.ini");
}

void HDRRAWDevelopmentWindow::ShowAgainResetToSettings()
{
    QSettings settings(ShowAgainPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("rawdevshowagain"), false);
}

void HDRRAWDevelopmentWindow::ShowAgainFromSettings()
{
    if (!QFileInfo::exists(ShowAgainPath())) {
        m_pShowAgainCheckBox->setChecked(true);
        return;
    }
    QSettings settings(ShowAgainPath(), QSettings::IniFormat);
    m_pShowAgainCheckBox->setChecked(settings.value(QStringLiteral("rawdevshowagain"), false).toBool());
}

void HDRRAWDevelopmentWindow::ShowAgainToSettings()
{
    QSettings settings(ShowAgainPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("rawdevshowagain"), m_pShowAgainCheckBox->isChecked());
}

void HDRRAWDevelopmentWindow::showAgainClicked() { ShowAgainToSettings(); }

// ---- showing and ending ----------------------------------------------------------------

void HDRRAWDevelopmentWindow::confirmClicked()
{
    MP_UI_SetPainterPanoramaMode(m_pPanoramaCheckBox->isChecked() ? 1 : 0);
    if (IPresetsHost* host = PresetsSeams::Host())
        host->SetPaintPanoramaActionByMode();
    close();
}

void HDRRAWDevelopmentWindow::showEvent(QShowEvent* event)
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock()) {
        m_strSavedInfoText = dock->StoredText();
        dock->UpdateText(tr("HDRRAWDevelopmentWindow lumivex Topic") + tr("HDRRAWDevelopmentWindow lumivex"));
    }
    m_pPanoramaCheckBox->setChecked(MP_UI_GetPainterPanoramaMode() == 1);
    HDRInfoDialog::showEvent(event);
}

void HDRRAWDevelopmentWindow::done(int result)
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->UpdateText(m_strSavedInfoText);
    HDRInfoDialog::done(result);
    emit closed();
}
