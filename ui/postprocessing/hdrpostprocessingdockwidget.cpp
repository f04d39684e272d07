#include "ui/postprocessing/hdrpostprocessingdockwidget.h"

#include "engine/MP_calc.h"
#include "engine/core/textures.h"
#include "ui/postprocessing/hdrblendmodecombobox.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFormLayout>
#include <QLineEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyleOption>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

HDRPostProcessingDockWidget* g_pHDRPostProcessingDockWidget = nullptr;

QColor HDRPostProcessingDockWidget::s_PPOperatorColors[8] = {
    QColor(255, 127, 57, 28), QColor(248, 255, 57, 28), QColor(118, 255, 57, 28), QColor(57, 255, 211, 28),
    QColor(57, 99, 255, 28),  QColor(187, 57, 255, 28), QColor(255, 57, 178, 28), QColor(128, 128, 128, 28)};

namespace {

float ToFloat(const QString& s)
{
    bool ok = false;
    const float f = s.trimmed().toFloat(&ok);
    return ok && std::isfinite(f) ? f : 0.0f;
}

int ToInt(const QString& s)
{
    bool ok = false;
    const int i = s.trimmed().toInt(&ok);
    return ok ? i : 0;
}

// The blend modes in their groups (key, id); an id of -1 is a separator.
struct SBlendMode {
    const char* key;
    int id;
};
const SBlendMode kBlendModes[] = {
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Normal"), 0},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Aufhellen"), 1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Abdunkeln"), 2},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Durchschnitt"), 4},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Multiplizieren"), 3},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Länge"), 5},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Doppelte Stärke"), 6},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Kubisch"), 26},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Euklidisch"), 27},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Überblenden"), 30},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Differenz"), 7},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Negation"), 8},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Ausschluss"), 10},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Invers Addieren"), 31},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Negativ Multiplizieren"), 9},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Weiches Licht"), 12},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Hartes Licht"), 13},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Lineares Licht"), 18},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Strahlendes Licht"), 19},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Lichtpunkt"), 20},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Farbig abwedeln"), 14},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Farbig nachbelichten"), 15},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Linear abwedeln"), 16},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Linear nachbelichten"), 17},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Reflektieren"), 22},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Leuchten"), 23},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Farbe expandieren"), 28},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Farbe komprimieren"), 29},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Harte Mischung"), 21},
    {nullptr, -1},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Quadratische Division"), 11},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Phoenix"), 24},
    {QT_TRANSLATE_NOOP("HDRPostProcessingDockWidget", "Blendmode Division"), 25},
};

// The integer HDRSlider::SetValueF gives for fraction x.
int SliderIntForFraction(const HDRSlider* slider, float x)
{
    if (!(x == x))
        x = 0.0f;
    x = std::clamp(x, 0.0f, 1.0f);
    const float span = float(slider->maximum()) - float(slider->minimum()) + 1.0f;
    const double v = double(slider->minimum()) + std::trunc(double(span * x));
    return static_cast<int>(std::clamp(v, double(slider->minimum()), double(slider->maximum())));
}

// A blend id from a stored float: clamped before it becomes an int.
int BlendId(float v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -1.0f, 1000.0f));
}

HDRSlider* MakeSlider(QWidget* parent, const QString& name, const QString& low, const QString& high, const char* unit,
                      int min, int max, const QString& groove = QStringLiteral(" "))
{
    return new HDRSlider(parent, name, low, high, QString::fromUtf8(unit), min, max, 10, 1, false, groove, false);
}

} // namespace

// ---- construction ----------------------------------------------------------------

HDRPostProcessingDockWidget::HDRPostProcessingDockWidget(const QString& title, QWidget* parent,
                                                         Qt::WindowFlags flags, const QString& catalogue,
                                                         const QString& filmTypes)
    : HDRDockWidget(title, parent, flags)
{
    for (auto& row : m_pfStructureRecoverValues)
        std::fill(row, row + 4, 1.0f);

    QVBoxLayout* content = GetContentLayout();
    content->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    content->setSizeConstraint(QLayout::SetFixedSize);
    content->setSpacing(19);
    content->setContentsMargins(9, 11, 7, 11);

    g_pHDRPostProcessingDockWidget = this;

    BuildTonemappingPanel();
    BuildPostProcessPanel();
    BuildGreyScaleGroup();
    BuildFilmTypGroup(filmTypes);
    BuildLightEffectGroup();
    BuildStructureGroup();
    BuildHiddenGroups();
    BuildChainGroup();

    content->addSpacing(-14);
    m_pParameterStack = new QStackedWidget(GetContentWidget());
    m_pParameterStack->setVisible(false);
    content->addWidget(m_pParameterStack);

    BuildCatalogue(catalogue);
    PlaceCatalogueItems();
    updateListHeader();
    m_pTonemappingList->setFixedHeight(std::max(69, 18 * m_pTonemappingList->count() - 3));
    SetDynamicStyleSheets();
    ResetAllFilterButtons();
    CPostProcessing::SetFilmSettings(this);
}

HDRPostProcessingDockWidget::~HDRPostProcessingDockWidget()
{
    if (CPostProcessing::FilmSettings() == this)
        CPostProcessing::SetFilmSettings(nullptr);
    if (g_pHDRPostProcessingDockWidget == this)
        g_pHDRPostProcessingDockWidget = nullptr;
    // catalogue items that are not in a list are ours
    for (QListWidgetItem* item : m_pOperatorItems)
        if (!item->listWidget())
            delete item;
}

void HDRPostProcessingDockWidget::Highlight()
{
    if (m_pHost)
        m_pHost->HighlightPostProcessingDock();
}

void HDRPostProcessingDockWidget::BuildTonemappingPanel()
{
    m_pTonemappingCollapsible = new HDRCollapsible(this);
    m_pTonemappingCollapsible->SetHeader(tr("Tonemapping"));
    m_pTonemappingCollapsible->setMaximumWidth(290);
    m_pTonemappingCollapsible->setStyleSheet(QStringLiteral("padding-top: 0px;"));
    m_pTonemappingCollapsible->setToolTip(_gui::HtmlToolTip(tr("tooltip Tonemapping groupBox")));
    m_pTonemappingList = new HDRTonemappingListWidget(m_pTonemappingCollapsible);
    m_pTonemappingCollapsible->AddWidget(m_pTonemappingList, true, true);
    m_pTonemappingList->setFixedWidth(256);
    m_pTonemappingList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTonemappingList->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pTonemappingList->setMouseTracking(true);
    connect(m_pTonemappingList, &QListWidget::itemDoubleClicked, this, &HDRPostProcessingDockWidget::addNewOperator);
    connect(m_pTonemappingList, &HDRTonemappingListWidget::contextItemAdd, this,
            &HDRPostProcessingDockWidget::addNewOperator);
    connect(m_pTonemappingList, &QListWidget::itemEntered, this, &HDRPostProcessingDockWidget::listItemEntered);
    connect(m_pTonemappingList, &QListWidget::itemClicked, this, [this] { Highlight(); });
    GetContentLayout()->addWidget(m_pTonemappingCollapsible);
    m_pTonemappingCollapsible->setVisible(false);
}

void HDRPostProcessingDockWidget::BuildPostProcessPanel()
{
    m_pPostProcessCollapsible = new HDRCollapsible(this);
    m_pPostProcessCollapsible->SetHeader(tr("Post-Processing Filter"));
    m_pPostProcessCollapsible->setMaximumWidth(290);
    m_pPostProcessCollapsible->setStyleSheet(QStringLiteral("padding-top: 0px;"));
    m_pPostProcessCollapsible->setToolTip(_gui::HtmlToolTip(tr("tooltip Post-Processing Filter groupBox")));

    // the filter buttons hold the filter state; they are never shown
    auto* row = new QHBoxLayout;
    m_pFilterButtonRow = row;
    auto makeButton = [&](bool checkable, QColor colour) {
        auto* b = new QPushButton(m_pPostProcessCollapsible);
        b->setFixedSize(18, 18);
        b->setCheckable(checkable);
        b->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour.name()));
        b->setVisible(false);
        connect(b, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::filterButtonClicked);
        connect(b, &QPushButton::clicked, this, [this] { Highlight(); });
        row->addWidget(b);
        return b;
    };
    m_pFilterAllButton = makeButton(false, Qt::white);
    m_pFilterEnhanceButton = makeButton(true, s_PPOperatorColors[1]);
    m_pFilterGeometryButton = makeButton(true, s_PPOperatorColors[2]);
    m_pFilterExposureButton = makeButton(true, s_PPOperatorColors[3]);
    m_pFilterColorizeButton = makeButton(true, s_PPOperatorColors[4]);
    m_pFilterSmoothButton = makeButton(true, s_PPOperatorColors[5]);
    m_pFilterArtisticButton = makeButton(true, s_PPOperatorColors[6]);
    m_pFilterPanoramaButton = makeButton(true, s_PPOperatorColors[7]);
    m_pFilterNoneButton = makeButton(false, Qt::black);
    m_pPostProcessCollapsible->InsertLayout(row, true);
    removeFilterButtonMargins();
    connect(m_pPostProcessCollapsible, &HDRCollapsible::collapse, this,
            &HDRPostProcessingDockWidget::removeFilterButtonMargins);

    m_pOperatorList = new HDRPostProcessListWidget(this);
    m_pPostProcessCollapsible->AddWidget(m_pOperatorList, true, true);
    m_pOperatorList->setFixedSize(256, 207);
    m_pOperatorList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pOperatorList->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pOperatorList->setMouseTracking(true);
    connect(m_pOperatorList, &QListWidget::itemDoubleClicked, this, &HDRPostProcessingDockWidget::addNewOperator);
    connect(m_pOperatorList, &HDRTonemappingListWidget::contextItemAdd, this,
            &HDRPostProcessingDockWidget::addNewOperator);
    connect(m_pOperatorList, &QListWidget::itemEntered, this, &HDRPostProcessingDockWidget::listItemEntered);
    connect(m_pOperatorList, &QListWidget::itemClicked, this, [this] { Highlight(); });
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterAll, m_pFilterAllButton, &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterEnhance, m_pFilterEnhanceButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterGeometry, m_pFilterGeometryButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterExposure, m_pFilterExposureButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterColorize, m_pFilterColorizeButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterSmooth, m_pFilterSmoothButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterArtistic, m_pFilterArtisticButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterPanorama, m_pFilterPanoramaButton,
            &QPushButton::click);
    connect(m_pOperatorList, &HDRPostProcessListWidget::contextFilterNone, m_pFilterNoneButton, &QPushButton::click);
    GetContentLayout()->addWidget(m_pPostProcessCollapsible);
}

void HDRPostProcessingDockWidget::BuildGreyScaleGroup()
{
    m_pGreyScaleGroupBox = new QGroupBox(tr("Grauwandlung"), GetContentWidget());
    m_pGreyScaleGroupBox->setMaximumWidth(290);
    auto* layout = new QVBoxLayout(m_pGreyScaleGroupBox);
    m_pGreyScaleColorSlider = MakeSlider(m_pGreyScaleGroupBox, tr("Farbton"), tr("-180°"), tr("180°"), "°", 0, 360);
    m_pGreyScaleColorSlider->SetValueF(0.5f);
    m_pGreyScaleSaturationSlider =
        MakeSlider(m_pGreyScaleGroupBox, tr("Intensität"), tr("schwach"), tr("stark"), "%", 0, 300);
    m_pGreyScaleSaturationSlider->SetCenterValueF(0.0f);
    m_pGreyScaleSaturationSlider->SetValueF(0.0f);
    layout->addWidget(m_pGreyScaleColorSlider);
    layout->addWidget(m_pGreyScaleSaturationSlider);
    GetContentLayout()->addWidget(m_pGreyScaleGroupBox);
    m_pGreyScaleGroupBox->setVisible(false);
}

void HDRPostProcessingDockWidget::BuildFilmTypGroup(const QString& filmTypes)
{
    m_pFilmTypGroupBox = new QGroupBox(tr("Filmtyp"), GetContentWidget());
    m_pFilmTypGroupBox->setMaximumWidth(290);
    auto* layout = new QVBoxLayout(m_pFilmTypGroupBox);
    layout->setContentsMargins(11, 5, 11, 11);
    m_pFilmTypComboBox = new QComboBox(m_pFilmTypGroupBox);
    m_pFilmTypComboBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip Filmtyp")));

    CFilmTypeTable table;
    table.Load(filmTypes); // logs the names and a parse error itself
    for (const SFilmType& type : table.m_vecTypes) {
        if (m_iFilmTypCount >= PP_MAX_FILMTYPES)
            break;
        m_pFilmTypComboBox->addItem(type.name);
        std::copy(type.values, type.values + PP_FILMTYPE_VALUES, m_pfFilmTypes[m_iFilmTypCount]);
        ++m_iFilmTypCount;
    }
    m_pFilmTypComboBox->setMaxVisibleItems(30);
    connect(m_pFilmTypComboBox, &QComboBox::currentIndexChanged, this,
            &HDRPostProcessingDockWidget::filmTypIndexChanged);

    auto* row = new QHBoxLayout;
    row->addWidget(m_pFilmTypComboBox);
    auto* spacer = new QLabel(m_pFilmTypGroupBox);
    spacer->setFixedWidth(5);
    row->addWidget(spacer);
    auto makeButton = [&](const char* icon, const char* tip) {
        auto* b = new QPushButton(m_pFilmTypGroupBox);
        b->setFixedSize(20, 20);
        b->setCheckable(true);
        b->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        b->setToolTip(_gui::HtmlToolTip(tr(tip)));
        row->addWidget(b);
        return b;
    };
    m_pFilmTypPreButton = makeButton("FilmTypPre", QT_TR_NOOP("Tooltip Filmtyp PreButton"));
    m_pFilmTypPostButton = makeButton("FilmTypPost", QT_TR_NOOP("Tooltip Filmtyp PostButton"));
    m_pFilmTypPreButton->setChecked(MP_UI_GetFilmTypeAfterPPMode() == 0);
    m_pFilmTypPostButton->setChecked(MP_UI_GetFilmTypeAfterPPMode() != 0);
    connect(m_pFilmTypPreButton, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::filmTypPreButtonClicked);
    connect(m_pFilmTypPostButton, &QPushButton::clicked, this,
            &HDRPostProcessingDockWidget::filmTypPostButtonClicked);
    layout->addLayout(row);

    m_pFilmTypIntensitySlider = MakeSlider(m_pFilmTypGroupBox, tr("Intensität"), tr("schwach"), tr("stark"), "%", 0,
        100, QStringLiteral("stop:0 #1f1f1f, stop:1 #dfdfdf"));
    m_pFilmTypIntensitySlider->setToolTip(_gui::HtmlToolTip(tr("tooltip Filmtype Intensity Slider")));
    m_pFilmTypIntensitySlider->SetCenterValueF(1.0f);
    m_pFilmTypIntensitySlider->SetToCenterValue();
    m_pFilmTypIntensitySlider->GetSlider()->m_dMinKeyInterval = 400.0;
    m_pFilmTypIntensitySlider->setVisible(false);
    connect(m_pFilmTypIntensitySlider, &HDRSlider::valueUpdated, this,
            &HDRPostProcessingDockWidget::filmTypIntensitySliderChanged);
    layout->addWidget(m_pFilmTypIntensitySlider);

    m_pFilmTypGrainingSlider = MakeSlider(m_pFilmTypGroupBox, tr("Körnung"), tr("gering"), tr("hoch"), "%", 0, 100,
        QStringLiteral("stop:0 #6f6f6f, stop:0.1 #8f8f8f, stop:0.2 #5f5f5f, stop:0.3 #9f9f9f, stop:0.4 #5f5f5f, "
                       "stop:0.5 #afafaf, stop:0.6 #4f4f4f, stop:0.7 #bfbfbf, stop:0.8 #3f3f3f, stop:0.9 #cfcfcf, "
                       "stop:1 #2f2f2f"));
    m_pFilmTypGrainingSlider->setToolTip(_gui::HtmlToolTip(tr("tooltip Filmtype Graining Slider")));
    m_pFilmTypGrainingSlider->SetCenterValueF(0.2f);
    m_pFilmTypGrainingSlider->SetToCenterValue();
    m_pFilmTypGrainingSlider->GetSlider()->m_dMinKeyInterval = 400.0;
    m_pFilmTypGrainingSlider->setVisible(false);
    connect(m_pFilmTypGrainingSlider, &HDRSlider::valueUpdated, this,
            &HDRPostProcessingDockWidget::filmTypGrainingSliderChanged);
    layout->addWidget(m_pFilmTypGrainingSlider);
    GetContentLayout()->addWidget(m_pFilmTypGroupBox);
}

void HDRPostProcessingDockWidget::BuildLightEffectGroup()
{
    m_pLightEffectGroupBox = new QGroupBox(tr("Lichtwirkung"), GetContentWidget());
    m_pLightEffectGroupBox->setMaximumWidth(290);
    auto* row = new QHBoxLayout(m_pLightEffectGroupBox);
    const char* texts[3] = {QT_TR_NOOP("Tageslicht"), QT_TR_NOOP("Dämmerung"), QT_TR_NOOP("Nacht")};
    for (int i = 0; i < 3; ++i) {
        m_pTonemappingMultipleButtons[i] = new QPushButton(tr(texts[i]), m_pLightEffectGroupBox);
        m_pTonemappingMultipleButtons[i]->setCheckable(true);
        m_pTonemappingMultipleButtons[i]->setFixedHeight(20);
        row->addWidget(m_pTonemappingMultipleButtons[i]);
    }
    m_pTonemappingMultipleButtons[0]->setChecked(true);
    setTonemappingMultipleModeByButtonState();
    GetContentLayout()->addWidget(m_pLightEffectGroupBox);
    m_pLightEffectGroupBox->setVisible(false);
}

void HDRPostProcessingDockWidget::BuildStructureGroup()
{
    m_pStructureGroupBox = new QGroupBox(tr("Struktur-Assistent"), GetContentWidget());
    m_pStructureGroupBox->setMaximumWidth(290);
    auto* layout = new QVBoxLayout(m_pStructureGroupBox);
    auto* row1 = new QHBoxLayout;
    auto* row2 = new QHBoxLayout;
    for (int i = 0; i < 11; ++i) {
        m_pStructureTypeButtons[i] =
            new QPushButton(i == 0 ? QStringLiteral("-") : QString::number(i), m_pStructureGroupBox);
        m_pStructureTypeButtons[i]->setCheckable(true);
        (i <= 5 ? row1 : row2)->addWidget(m_pStructureTypeButtons[i]);
    }
    m_pStructureTypeButtons[0]->setChecked(true);
    layout->addLayout(row1);
    layout->addLayout(row2);
    m_pStructureLines[0] = new QWidget(m_pStructureGroupBox);
    m_pStructureLines[0]->setFixedHeight(2);
    m_pStructureLines[0]->setVisible(false);
    layout->addWidget(m_pStructureLines[0]);
    for (int i = 0; i < 4; ++i) {
        m_pStructureValueSliders[i] = new HDRSlider(m_pStructureGroupBox, QStringLiteral(" "), QStringLiteral("0%"),
                                                    QStringLiteral("100%"), QStringLiteral("%"), 0, 100, 10, 1,
                                                    false, QStringLiteral(" "), false);
        m_pStructureValueSliders[i]->SetValueF(1.0f);
        m_pStructureValueSliders[i]->setVisible(false);
        layout->addWidget(m_pStructureValueSliders[i]);
    }
    m_pStructureLines[1] = new QWidget(m_pStructureGroupBox);
    m_pStructureLines[1]->setFixedHeight(2);
    m_pStructureLines[1]->setVisible(false);
    layout->addWidget(m_pStructureLines[1]);
    m_pStructureSmoothSlider = new HDRSlider(m_pStructureGroupBox, tr("Glättung"), QStringLiteral("0%"),
                                             QStringLiteral("100%"), QStringLiteral("%"), 0, 100, 10, 1, false,
                                             QStringLiteral(" "), false);
    m_pStructureSmoothSlider->SetCenterValueF(0.25f);
    m_pStructureSmoothSlider->SetValueF(0.25f);
    m_pStructureSmoothSlider->setVisible(false);
    layout->addWidget(m_pStructureSmoothSlider);
    GetContentLayout()->addWidget(m_pStructureGroupBox);
    m_pStructureGroupBox->setVisible(false);
}

void HDRPostProcessingDockWidget::BuildHiddenGroups()
{
    m_pMoodGroupBox = new QGroupBox(tr("Bildstimmungs-Assistent"), GetContentWidget());
    GetContentLayout()->addWidget(m_pMoodGroupBox);
    m_pMoodGroupBox->setVisible(false);
    m_pOptimizerGroupBox = new QGroupBox(tr("Optimierungs-Assistent"), GetContentWidget());
    GetContentLayout()->addWidget(m_pOptimizerGroupBox);
    m_pOptimizerGroupBox->setVisible(false);
    m_pCorrectionGroupBox = new QGroupBox(tr("Kratzer/Sensorverunreinigungen"), GetContentWidget());
    GetContentLayout()->addWidget(m_pCorrectionGroupBox);
    m_pCorrectionGroupBox->setVisible(false);
    m_pWebAnimGroupBox = new QGroupBox(tr("Web-Animationen"), GetContentWidget());
    {
        auto* layout = new QVBoxLayout(m_pWebAnimGroupBox);
        auto* form = new QFormLayout;
        m_pWebAnimTitleEdit = new QLineEdit(m_pWebAnimGroupBox);
        m_pWebAnimAuthorEdit = new QLineEdit(m_pWebAnimGroupBox);
        form->addRow(tr("Titel:"), m_pWebAnimTitleEdit);
        form->addRow(tr("Autor:"), m_pWebAnimAuthorEdit);
        layout->addLayout(form);
        m_pWebAnimQualitySlider = MakeSlider(m_pWebAnimGroupBox, tr("Jpg-Qualität"), tr("gering"), tr("hoch"), "%", 0,
                                             100);
        m_pWebAnimQualitySlider->SetValueFloat(0.778f);
        layout->addWidget(m_pWebAnimQualitySlider);
        m_pWebAnimSaveButton = new QPushButton(tr("Web-Animation speichern"), m_pWebAnimGroupBox);
        connect(m_pWebAnimSaveButton, &QPushButton::clicked, this,
                &HDRPostProcessingDockWidget::webAnimSaveButtonClicked);
        layout->addWidget(m_pWebAnimSaveButton);
    }
    GetContentLayout()->addWidget(m_pWebAnimGroupBox);
    m_pWebAnimGroupBox->setVisible(false);
    for (QGroupBox* g : {m_pMoodGroupBox, m_pOptimizerGroupBox, m_pCorrectionGroupBox, m_pWebAnimGroupBox})
        g->setMaximumWidth(290);
}

void HDRPostProcessingDockWidget::BuildChainGroup()
{
    m_pChainGroupBox = new QGroupBox(tr("gewählte Filter"), GetContentWidget());
    m_pChainGroupBox->setMaximumWidth(290);
    m_pChainGroupBox->setToolTip(_gui::HtmlToolTip(tr("tooltip gewählte Filter groupBox")));
    auto* layout = new QVBoxLayout(m_pChainGroupBox);
    layout->setContentsMargins(11, 5, 11, 11);
    layout->setSpacing(3);

    m_pChainList = new _QListWidget(m_pChainGroupBox);
    m_pChainList->setFixedSize(256, 202);
    m_pChainList->setDragEnabled(true);
    m_pChainList->setDragDropMode(QAbstractItemView::InternalMove);
    m_pChainList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pChainList->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pChainList->setMouseTracking(true);
    layout->addWidget(m_pChainList);

    auto makeButton = [&](const char* icon) {
        auto* b = new QPushButton(m_pChainGroupBox);
        b->setFixedSize(18, 18);
        b->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        b->setVisible(false);
        connect(b, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::choosenFilterButtonClicked);
        connect(b, &QPushButton::clicked, this, [this] { Highlight(); });
        return b;
    };
    m_pFilterAllActivateButton = makeButton("StacklistAllActive");
    m_pFilterAllToggleButton = makeButton("StacklistUptothis");
    m_pFilterAllSingleButton = makeButton("StacklistOnlythis");
    m_pFilterAllDeactivateButton = makeButton("StacklistAllInActive");

    connect(m_pChainList, &_QListWidget::itemContextRemoveAllClicked, this,
            &HDRPostProcessingDockWidget::removeAllOperators);
    connect(m_pChainList, &QListWidget::itemDoubleClicked, this, &HDRPostProcessingDockWidget::removeOperator);
    connect(m_pChainList, &_QListWidget::itemContextRemoveClicked, this,
            &HDRPostProcessingDockWidget::removeOperator);
    connect(m_pChainList, &_QListWidget::itemContextCopyClicked, this, &HDRPostProcessingDockWidget::copyOperator);
    connect(m_pChainList, &_QListWidget::itemContextResetClicked, this, &HDRPostProcessingDockWidget::resetOperator);
    connect(m_pChainList, &QListWidget::itemChanged, this, &HDRPostProcessingDockWidget::operatorItemChanged);
    connect(m_pChainList, &QListWidget::currentRowChanged, this, &HDRPostProcessingDockWidget::selectOperator);
    connect(m_pChainList, &_QListWidget::orderChanged, this, &HDRPostProcessingDockWidget::operatorOrderChanged);
    connect(m_pChainList, &_QListWidget::contextFilterAllActivate, m_pFilterAllActivateButton, &QPushButton::click);
    connect(m_pChainList, &_QListWidget::contextFilterAllToggle, m_pFilterAllToggleButton, &QPushButton::click);
    connect(m_pChainList, &_QListWidget::contextFilterAllSingle, m_pFilterAllSingleButton, &QPushButton::click);
    connect(m_pChainList, &_QListWidget::contextFilterAllDeactivate, m_pFilterAllDeactivateButton,
            &QPushButton::click);
    connect(m_pChainList, &QListWidget::itemEntered, this, &HDRPostProcessingDockWidget::listItemEntered);
    connect(m_pChainList, &QListWidget::itemClicked, this, [this] { Highlight(); });

    auto* row = new QHBoxLayout;
    m_pPanoramaCheckBox = new QCheckBox(tr("360 Grad Panorama mode"), m_pChainGroupBox);
    m_pPanoramaCheckBox->setToolTip(_gui::HtmlToolTip(tr("tooltip 360 Grad Panorama mode")));
    connect(m_pPanoramaCheckBox, &QCheckBox::clicked, this, &HDRPostProcessingDockWidget::panoramaModeClicked);
    row->addWidget(m_pPanoramaCheckBox, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_pRadiusDisplayButton = new QPushButton(m_pChainGroupBox);
    m_pRadiusDisplayButton->setCheckable(true);
    m_pRadiusDisplayButton->setVisible(false);
    row->addWidget(m_pRadiusDisplayButton, 0, Qt::AlignRight | Qt::AlignVCenter);
    layout->addLayout(row);
    GetContentLayout()->addWidget(m_pChainGroupBox);
}

// ---- catalogue and pages -----------------------------------------------------------

void HDRPostProcessingDockWidget::BuildCatalogue(const QString& catalogue)
{
    m_Catalogue.Load(catalogue);
    for (const SCatalogueEntry& entry : m_Catalogue.m_vecEntries) {
        m_vecCatalogue.append(entry.op);
        auto* item = new QListWidgetItem(QCoreApplication::translate("PPOperators.xml", entry.op.name.toUtf8()));
        item->setData(Qt::UserRole, entry.op.id);
        item->setBackground(s_PPOperatorColors[std::clamp(entry.op.eType, 0, 6)]);
        m_pOperatorItems.append(item);
        BuildPage(entry);
    }
}

void HDRPostProcessingDockWidget::BuildPage(const SCatalogueEntry& entry)
{
    SParameterSet set;
    auto* page = new QGroupBox(QCoreApplication::translate("PPOperators.xml", entry.op.name.toUtf8()), this);
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(9, 0, 10, 11);
    layout->setSpacing(5);
    // The page's rows carry no padding of their own here (the slider draws its
    // labels inside its height), so the rows stand one below the other instead
    // of being pulled up into the row above.
    const int pullUp = 0;

    auto elementsOf = [&](const char* kind) {
        QVector<const SCatalogueElement*> list;
        for (const SCatalogueElement& e : entry.elements)
            if (e.kind == QLatin1String(kind))
                list.append(&e);
        return list;
    };
    auto tip = [](const SCatalogueElement* e) { return _gui::HtmlToolTip(e->Translated(QStringLiteral("tooltip"))); };
    auto fval = [](const SCatalogueElement* e, const char* key) { return ToFloat(e->Attribute(QLatin1String(key))); };

    for (const SCatalogueElement* e : elementsOf("combo")) {
        auto* row = new QHBoxLayout;
        auto* combo = new HDRBlendModeComboBox(page);
        for (const SBlendMode& m : kBlendModes) {
            if (m.id < 0)
                combo->insertSeparator(combo->count());
            else
                combo->addItem(tr(m.key), m.id);
        }
        combo->setFixedWidth(158);
        combo->setToolTip(tip(e));
        combo->setVisible(e->shown);
        connect(combo, &QComboBox::currentIndexChanged, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        auto* label = new QLabel(tr("Deckkraft"), page);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setStyleSheet(QStringLiteral("font: 9px;"));
        label->setVisible(e->shown);
        auto* box = new QDoubleSpinBox(page);
        box->setToolTip(_gui::HtmlToolTip(tr("Tooltip LayerEffekt SpinBox")));
        box->setFixedSize(55, 22);
        box->setDecimals(0);
        box->setRange(0, 100);
        box->setSingleStep(10);
        box->setAccelerated(true);
        box->setValue(100);
        box->setSuffix(QStringLiteral("%"));
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setVisible(e->shown);
        connect(box, &QDoubleSpinBox::valueChanged, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        row->addWidget(combo);
        row->addWidget(label);
        row->addWidget(box);
        layout->addLayout(row);
        set.pComboBoxes.append(combo);
        set.pSpinBoxes.append(box);
    }
    for (const SCatalogueElement* e : elementsOf("geometry")) {
        auto* picker = new HDRPositionPicker(HDRPositionPicker::eModeGeometry, e->Translated(QStringLiteral("name")),
                                             page);
        picker->setFixedWidth(253);
        picker->setToolTip(tip(e));
        picker->setVisible(false);
        picker->setEnabled(e->shown);
        for (unsigned i = 0; i < 128; ++i)
            picker->SetDefaultValue(0.0f, 0.0f, i);
        picker->ResetToDefaultValues();
        connect(picker, &HDRPositionPicker::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        layout->addWidget(picker);
        set.pGeometryPickers.append(picker);
        layout->addSpacing(pullUp);
        auto* row = new QHBoxLayout;
        struct {
            const char* icon;
            const char* tip;
            QSize size;
            Qt::Alignment align;
            QVarLengthArray<QPushButton*, 256>* list;
        } buttons[] = {
            {"GeometryEdit", QT_TR_NOOP("Tooltip GeometryButton Select"), {40, 32}, Qt::AlignLeft,
                &set.pGeometryEditButtons},
            {"GeometryCopy", QT_TR_NOOP("Tooltip GeometryButtonCopy Select"), {32, 32}, Qt::AlignRight,
                &set.pGeometryCopyButtons},
            {"GeometryPaste", QT_TR_NOOP("Tooltip GeometryButtonPaste Select"), {32, 32}, Qt::AlignLeft,
                &set.pGeometryPasteButtons},
            {"GeometryDelete", QT_TR_NOOP("Tooltip GeometryButtonClear Select"), {40, 32}, Qt::AlignRight,
                &set.pGeometryDeleteButtons},
        };
        for (const auto& b : buttons) {
            auto* button = new QPushButton(page);
            button->setIcon(QIcon::fromTheme(QLatin1String(b.icon)));
            button->setToolTip(_gui::HtmlToolTip(tr(b.tip)));
            button->setFixedSize(b.size);
            button->setVisible(e->shown);
            connect(button, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::geometryButtonPressed);
            row->addWidget(button, 0, b.align | Qt::AlignVCenter);
            b.list->append(button);
        }
        set.pGeometryPasteButtons.last()->setEnabled(m_bGeometryClipboardFilled);
        layout->addLayout(row);
        layout->addSpacing(pullUp);
    }
    for (const SCatalogueElement* e : elementsOf("slider")) {
        auto* row = new QHBoxLayout;
        const bool texture = e->Attribute(QStringLiteral("hastexture")) == QLatin1String("1");
        const int min = ToInt(e->Attribute(QStringLiteral("min")));
        const int max = ToInt(e->Attribute(QStringLiteral("max")));
        QPushButton* button = new QPushButton(page);
        if (texture) {
            for (int slot = min; slot <= max && slot - min < 4096; ++slot)
                MP_UI_SetTextureNeeded(slot, 1);
            button->setIcon(QIcon::fromTheme(QStringLiteral("TextureSelect")));
            button->setToolTip(_gui::HtmlToolTip(tr("Tooltip SliderButton Texture Select")));
            button->setFixedHeight(51);
            button->setVisible(e->shown);
            connect(button, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::textureButtonPressed);
            row->addWidget(button);
            layout->addSpacing(10);
        }
        layout->addSpacing(pullUp);
        if (!texture) {
            button->setIcon(QIcon::fromTheme(QStringLiteral("Play")));
            button->setToolTip(_gui::HtmlToolTip(tr("Tooltip SliderButton Realtime Preview")));
            button->setFixedSize(14, 18);
            button->setVisible(e->shown);
            connect(button, &QPushButton::clicked, this, &HDRPostProcessingDockWidget::sliderButtonPressed);
            row->addWidget(button);
        }
        set.pSliderButtons.append(button);
        auto* slider = new HDRSlider(page, e->Translated(QStringLiteral("name")), e->Translated(QStringLiteral("low")),
                                     e->Translated(QStringLiteral("high")), e->Attribute(QStringLiteral("unit")),
                                     min, std::max(min, max), 5, ToInt(e->Attribute(QStringLiteral("grating"))),
                                     false, e->Translated(QStringLiteral("style")), false);
        slider->setFixedWidth(239);
        slider->setToolTip(tip(e));
        slider->setVisible(e->shown && !texture);
        slider->SetEnabled(e->shown);
        slider->SetValueF(fval(e, "default"));
        slider->SetCenterValueF(fval(e, "default"));
        slider->m_bIsRadius = e->Attribute(QStringLiteral("isradius")) == QLatin1String("1");
        connect(slider, &HDRSlider::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        row->addWidget(slider);
        layout->addLayout(row);
        set.pSliders.append(slider);
    }
    for (const SCatalogueElement* e : elementsOf("line")) {
        auto* picker = new HDRPositionPicker(HDRPositionPicker::eModeLine, e->Translated(QStringLiteral("name")), page);
        picker->setFixedWidth(253);
        picker->setToolTip(tip(e));
        picker->setVisible(e->shown);
        picker->setEnabled(e->shown);
        picker->SetDefaultValue(fval(e, "x1"), fval(e, "y1"), 0u);
        picker->SetDefaultValue(fval(e, "x2"), fval(e, "y2"), 1u);
        picker->ResetToDefaultValues();
        connect(picker, &HDRPositionPicker::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        layout->addWidget(picker);
        set.pLinePickers.append(picker);
    }
    for (const SCatalogueElement* e : elementsOf("position")) {
        auto* picker =
            new HDRPositionPicker(HDRPositionPicker::eModePoint, e->Translated(QStringLiteral("name")), page);
        picker->setFixedWidth(253);
        picker->setToolTip(tip(e));
        picker->setVisible(e->shown);
        picker->setEnabled(e->shown);
        picker->SetPositionType(static_cast<unsigned>(std::clamp(ToInt(e->Attribute(QStringLiteral("type"))), 0, 3)));
        picker->SetDefaultValue(fval(e, "x"), fval(e, "y"), 0u);
        picker->ResetToDefaultValues();
        connect(picker, &HDRPositionPicker::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        layout->addWidget(picker);
        set.pPositionPickers.append(picker);
    }
    for (const SCatalogueElement* e : elementsOf("spline")) {
        auto* picker =
            new HDRPositionPicker(HDRPositionPicker::eModeSpline, e->Translated(QStringLiteral("name")), page);
        picker->setFixedWidth(253);
        picker->SetSplineMode(ToInt(e->Attribute(QStringLiteral("category"))) == 1 ? HDRPositionPicker::eSplEffect
                                                                                     : HDRPositionPicker::eSplGradation,
                              static_cast<unsigned>(std::clamp(ToInt(e->Attribute(QStringLiteral("default"))), 0, 10)));
        picker->setToolTip(tip(e));
        picker->setVisible(e->shown);
        picker->setEnabled(e->shown);
        connect(picker, &HDRPositionPicker::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        layout->addWidget(picker);
        set.pSplinePickers.append(picker);
    }
    for (const SCatalogueElement* e : elementsOf("color")) {
        auto* picker =
            new HDRPositionPicker(HDRPositionPicker::eModeColor, e->Translated(QStringLiteral("name")), page);
        picker->setFixedWidth(253);
        picker->setToolTip(tip(e));
        picker->setVisible(e->shown);
        picker->setEnabled(e->shown);
        picker->SetDefaultValue(fval(e, "r"), fval(e, "g"), fval(e, "b"));
        picker->ResetToDefaultValues();
        connect(picker, &HDRPositionPicker::valueUpdated, this, &HDRPostProcessingDockWidget::parameterValueChanged);
        layout->addWidget(picker);
        set.pColorPickers.append(picker);
    }
    if (entry.elements.isEmpty()) {
        auto* label = new QLabel(tr("keine Parameter verfügbar"), page);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setStyleSheet(QStringLiteral("font: italic"));
        label->setFixedSize(253, 15);
        layout->addWidget(label);
    }
    layout->addSpacing(15);
    m_pParameterStack->addWidget(page);
    m_ParameterSets.append(set);
}

void HDRPostProcessingDockWidget::PlaceCatalogueItems()
{
    for (const QString& type : m_Catalogue.m_TypeOrder) {
        QVector<int> indices;
        for (int i = 0; i < m_Catalogue.m_vecEntries.size(); ++i)
            if (m_Catalogue.m_vecEntries[i].typeString == type)
                indices.append(i);
        std::stable_sort(indices.begin(), indices.end(), [this](int a, int b) {
            return CPPOperatorCatalogue::caseInsensitiveLessThan(m_pOperatorItems[a]->text(),
                                                                 m_pOperatorItems[b]->text());
        });
        QListWidget* list = type == QLatin1String("tonemapping") ? static_cast<QListWidget*>(m_pTonemappingList)
                                                                  : static_cast<QListWidget*>(m_pOperatorList);
        for (int i : indices)
            list->addItem(m_pOperatorItems[i]);
    }
}

// ---- frame -------------------------------------------------------------------------

void HDRPostProcessingDockWidget::CollapsiblesFromSettings()
{
    QSettings settings(m_strInitialUserPath + QStringLiteral("collapsibles.ini"), QSettings::IniFormat);
    const QString key = QStringLiteral("PostProcessingDock/PostProcess");
    if (settings.contains(key))
        m_pPostProcessCollapsible->Collapse(settings.value(key).toBool());
}

void HDRPostProcessingDockWidget::CollapsiblesToSettings()
{
    QSettings settings(m_strInitialUserPath + QStringLiteral("collapsibles.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("PostProcessingDock/PostProcess"), m_pPostProcessCollapsible->IsOpened());
    settings.sync();
}

void HDRPostProcessingDockWidget::SetDynamicStyleSheets()
{
    const QString sheet =
        CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral("border: 1px solid #STYLE_BORDERCOLOR+1;"));
    for (QWidget* line : m_pStructureLines)
        if (line)
            line->setStyleSheet(sheet);
}

void HDRPostProcessingDockWidget::GetInfoText(QString& text)
{
    m_strInfoText = tr("HDRPostProcessingDockWidget lumivex VERSION_PRO");
    m_strInfoText += tr("HDRPostProcessingDockWidget RealtimeAnimMode");
    m_strInfoText += tr("HDRPostProcessingDockWidget PanoramaMode");
    m_strInfoText += QStringLiteral("</br>");
    text = m_strInfoText;
}

void HDRPostProcessingDockWidget::Resize()
{
    if (GetContentWidget())
        GetContentWidget()->adjustSize();
}

void HDRPostProcessingDockWidget::paintEvent(QPaintEvent* event) { QDockWidget::paintEvent(event); }

// ---- film settings -----------------------------------------------------------------------

int HDRPostProcessingDockWidget::FilmTypeIndex() const { return m_pFilmTypComboBox->currentIndex(); }
float HDRPostProcessingDockWidget::FilmTypeIntensity() const { return m_pFilmTypIntensitySlider->GetValueF(); }
float HDRPostProcessingDockWidget::FilmTypeGraining() const { return m_pFilmTypGrainingSlider->GetValueF(); }

bool HDRPostProcessingDockWidget::FilmTypeRow(int row, float values[PP_FILMTYPE_VALUES]) const
{
    if (row < 0 || row >= m_iFilmTypCount || !values)
        return false;
    std::copy(m_pfFilmTypes[row], m_pfFilmTypes[row] + PP_FILMTYPE_VALUES, values);
    return true;
}

void HDRPostProcessingDockWidget::MarkChainChanged(bool byAssistant)
{
    if (!m_pPostProcessing)
        return;
    m_pPostProcessing->m_bChanged = true;
    if (byAssistant)
        m_pPostProcessing->m_bChangedByAssistant = true;
}

void HDRPostProcessingDockWidget::FilmSettingChanged()
{
    if (m_pPresets)
        m_pPresets->StopAllPreviews();
    MarkChainChanged(true);
    emit updateCurrentPostProcessing();
    if (m_pPresets)
        m_pPresets->CreateAllPreviews(true);
}

void HDRPostProcessingDockWidget::SetGrainingCentreFromRow(int row)
{
    // without a table row (empty table) the centre stays where it is
    if (row < 0 || row >= m_iFilmTypCount)
        return;
    const float g = m_pfFilmTypes[row][6];
    const int centre = (g == g) ? static_cast<int>(std::clamp(std::trunc(100.0f * g), 0.0f, 100.0f)) : 0;
    m_pFilmTypGrainingSlider->SetCenterValueInt(centre);
    QSignalBlocker block(m_pFilmTypGrainingSlider);
    m_pFilmTypGrainingSlider->SetToCenterValue();
}

void HDRPostProcessingDockWidget::filmTypIndexChanged()
{
    const int index = m_pFilmTypComboBox->currentIndex();
    m_pFilmTypIntensitySlider->setVisible(index > 0);
    m_pFilmTypGrainingSlider->setVisible(index > 0);
    {
        QSignalBlocker block(m_pFilmTypIntensitySlider);
        m_pFilmTypIntensitySlider->SetValueF(1.0f);
    }
    SetGrainingCentreFromRow(index);
    if (m_pPresets)
        m_pPresets->SetAllFilmTypes(index);
    if (m_pPostProcessing)
        m_pPostProcessing->SetFilmTyp(index);
    FilmSettingChanged();
}

void HDRPostProcessingDockWidget::filmTypPreButtonClicked()
{
    const bool nowChecked = m_pFilmTypPreButton->isChecked();
    m_pFilmTypPreButton->setChecked(true);
    m_pFilmTypPostButton->setChecked(false);
    if (nowChecked)
        SetFilmTypPrePost();
}

void HDRPostProcessingDockWidget::filmTypPostButtonClicked()
{
    const bool nowChecked = m_pFilmTypPostButton->isChecked();
    m_pFilmTypPostButton->setChecked(true);
    m_pFilmTypPreButton->setChecked(false);
    if (nowChecked)
        SetFilmTypPrePost();
}

void HDRPostProcessingDockWidget::SetFilmTypPrePost()
{
    MP_UI_SetFilmTypeAfterPPMode(m_pFilmTypPreButton->isChecked() ? 0 : 1);
    if (m_pFilmTypComboBox->currentIndex() > 0)
        FilmSettingChanged();
}

void HDRPostProcessingDockWidget::filmTypIntensitySliderChanged() { FilmSettingChanged(); }
void HDRPostProcessingDockWidget::filmTypGrainingSliderChanged() { FilmSettingChanged(); }

// ---- light effect, structure, panorama -------------------------------------------------

void HDRPostProcessingDockWidget::setTonemappingMultipleModeByButtonState()
{
    for (int i = 0; i < 3; ++i)
        if (m_pTonemappingMultipleButtons[i]->isChecked())
            MP_UI_SetTonemappingMultipleMode(i);
}

void HDRPostProcessingDockWidget::setTonemappingMultipleButtonStateByMode()
{
    for (QPushButton* b : m_pTonemappingMultipleButtons)
        b->setChecked(false);
    const int mode = MP_UI_GetTonemappingMultipleMode();
    m_pTonemappingMultipleButtons[mode == 1 ? 1 : mode == 2 ? 2 : 0]->setChecked(true);
}

int HDRPostProcessingDockWidget::getStructureType() const
{
    int type = 0;
    for (int i = 0; i < 11; ++i)
        if (m_pStructureTypeButtons[i]->isChecked())
            type = i;
    return type;
}

void HDRPostProcessingDockWidget::setStructureType(int type)
{
    for (QPushButton* b : m_pStructureTypeButtons)
        b->setChecked(false);
    if (type == 0) {
        m_pStructureTypeButtons[0]->setChecked(true);
        for (QWidget* w : m_pStructureLines)
            w->setVisible(false);
        for (HDRSlider* s : m_pStructureValueSliders)
            s->setVisible(false);
        m_pStructureSmoothSlider->setVisible(false);
    } else if (type > 0 && type <= 10) {
        m_pStructureTypeButtons[type]->setChecked(true);
    }
}

void HDRPostProcessingDockWidget::setStructureSliderValues(float smooth, float v1, float v2, float v3, float v4)
{
    const float values[5] = {smooth, v1, v2, v3, v4};
    HDRSlider* sliders[5] = {m_pStructureSmoothSlider, m_pStructureValueSliders[0], m_pStructureValueSliders[1],
                             m_pStructureValueSliders[2], m_pStructureValueSliders[3]};
    for (int i = 0; i < 5; ++i) {
        QSignalBlocker block(sliders[i]);
        sliders[i]->SetValueF(values[i]);
    }
}

void HDRPostProcessingDockWidget::webAnimSaveButtonClicked()
{
    const float v = m_pWebAnimQualitySlider->GetValueFloat();
    const int quality = static_cast<int>(std::clamp(v * 90.0f + 10.0f, 1.0f, 100.0f));
    if (m_pHost)
        m_pHost->CalcWebAnim(false, 1, quality, 0, 0, 0, 0, 0, m_pWebAnimAuthorEdit->text(),
                             m_pWebAnimTitleEdit->text());
}

void HDRPostProcessingDockWidget::panoramaModeClicked()
{
    MP_UI_SetPanoramaMode(m_pPanoramaCheckBox->isChecked() ? 1 : 0);
    if (m_pHost)
        m_pHost->RecomputeHDR();
    MarkChainChanged(true);
    emit updateCurrentPostProcessing();
}

// ---- project state -----------------------------------------------------------------------

bool HDRPostProcessingDockWidget::SaveProject(QSettings& s, const QString&) const
{
    const QString g = QStringLiteral("PostProcessingDock/");
    auto put = [&](const char* key, const QVariant& v) { s.setValue(g + QLatin1String(key), v); };
    put("ToneMapping", m_pTonemappingCollapsible->IsOpened());
    put("PostProcess", m_pPostProcessCollapsible->IsOpened());
    put("EnhanceButton", m_pFilterEnhanceButton->isChecked());
    put("GeometryButton", m_pFilterGeometryButton->isChecked());
    put("ExposureButton", m_pFilterExposureButton->isChecked());
    put("ColorizeButton", m_pFilterColorizeButton->isChecked());
    put("SmoothButton", m_pFilterSmoothButton->isChecked());
    put("ArtisticButton", m_pFilterArtisticButton->isChecked());
    put("PanoramaButton", m_pFilterPanoramaButton->isChecked());
    put("ParnoramaMode", m_pPanoramaCheckBox->isChecked());
    put("RadiusDisplay", m_pRadiusDisplayButton->isChecked());
    put("GreyScaleColor", m_pGreyScaleColorSlider->GetValueF());
    put("GreyScaleSaturation", m_pGreyScaleSaturationSlider->GetValueF());
    put("FilmTyp", m_pFilmTypComboBox->currentIndex());
    put("FilmTypPrePost", MP_UI_GetFilmTypeAfterPPMode());
    put("FilmTypIntensitySlider", m_pFilmTypIntensitySlider->GetValueF());
    put("FilmTypGrainingSlider", m_pFilmTypGrainingSlider->GetValueF());
    put("TonemappingMultipleMode", MP_UI_GetTonemappingMultipleMode());
    put("StructureDetectionTyp", getStructureType());
    put("StructureDetectionValueSmooth", m_pStructureSmoothSlider->GetValueF());
    for (int i = 0; i < 4; ++i)
        s.setValue(
            g + QStringLiteral("StructureDetectionValue%1").arg(i + 1), m_pStructureValueSliders[i]->GetValueF());
    for (int t = 0; t <= 10; ++t)
        for (int i = 0; i < 4; ++i)
            s.setValue(g + QStringLiteral("StructureDetectionRecoverTyp%1/Value%2").arg(t).arg(i + 1),
                       m_pfStructureRecoverValues[t][i]);
    const char* names[5] = {"DeNoise", "Gamma", "Contrast", "Color", "Sharpen"};
    for (int i = 0; i < 5; ++i)
        s.setValue(g + QStringLiteral("Optimizer%1Checked").arg(QLatin1String(names[i])), m_pbOptimizerChecked[i]);
    for (int i = 0; i < 5; ++i)
        s.setValue(g + QStringLiteral("Optimizer%1Trend").arg(QLatin1String(names[i])), m_pfOptimizerTrends[i]);
    return true;
}

bool HDRPostProcessingDockWidget::LoadProject(QSettings& s, const QString&)
{
    const QString g = QStringLiteral("PostProcessingDock/");
    auto key = [&](const char* k) { return g + QLatin1String(k); };
    auto has = [&](const char* k) { return s.contains(key(k)); };
    auto boolOf = [&](const char* k) { return s.value(key(k), false).toBool(); };
    // a float from the file: NaN and garbage become 0 in the slider setters
    auto floatOf = [&](const char* k) { return s.value(key(k)).toFloat(); };

    m_pTonemappingCollapsible->Collapse(boolOf("ToneMapping"));
    m_pPostProcessCollapsible->Collapse(boolOf("PostProcess"));

    struct {
        QPushButton* button;
        const char* key;
    } types[] = {{m_pFilterEnhanceButton, "EnhanceButton"},   {m_pFilterGeometryButton, "GeometryButton"},
                 {m_pFilterExposureButton, "ExposureButton"}, {m_pFilterColorizeButton, "ColorizeButton"},
                 {m_pFilterSmoothButton, "SmoothButton"},     {m_pFilterArtisticButton, "ArtisticButton"}};
    for (const auto& t : types)
        if (t.button->isChecked() != boolOf(t.key))
            t.button->click();

    m_pFilterPanoramaButton->setChecked(false);
    if (has("PanoramaButton") && boolOf("PanoramaButton"))
        m_pFilterPanoramaButton->click();
    else
        updateFilterList();

    m_pPanoramaCheckBox->setChecked(false);
    if (has("ParnoramaMode") && boolOf("ParnoramaMode"))
        m_pPanoramaCheckBox->setChecked(true);
    MP_UI_SetPanoramaMode(m_pPanoramaCheckBox->isChecked() ? 1 : 0);

    m_pRadiusDisplayButton->setChecked(false);
    if (has("RadiusDisplay") && boolOf("RadiusDisplay"))
        m_pRadiusDisplayButton->setChecked(true);
    MP_UI_SetRadiusDisplayMode(m_pRadiusDisplayButton->isChecked() ? 1 : 0);

    {
        QSignalBlocker b1(m_pGreyScaleColorSlider);
        QSignalBlocker b2(m_pGreyScaleSaturationSlider);
        if (has("GreyScaleColor") && has("GreyScaleSaturation")) {
            m_pGreyScaleColorSlider->SetValueF(floatOf("GreyScaleColor"));
            m_pGreyScaleSaturationSlider->SetValueF(floatOf("GreyScaleSaturation"));
        } else {
            m_pGreyScaleColorSlider->SetValueF(0.5f);
            m_pGreyScaleSaturationSlider->SetValueF(0.0f);
        }
        if (m_pPresets)
            m_pPresets->SetAllGreyScale(m_pGreyScaleColorSlider->GetValueF(),
                                        m_pGreyScaleSaturationSlider->GetValueF());
    }

    {
        QSignalBlocker block(m_pFilmTypComboBox);
        m_pFilmTypComboBox->setCurrentIndex(m_iFilmTypCount > 0 ? 0 : -1);
        if (has("FilmTyp")) {
            bool ok = false;
            const int index = s.value(key("FilmTyp")).toInt(&ok);
            if (ok && index >= 0 && index < m_pFilmTypComboBox->count())
                m_pFilmTypComboBox->setCurrentIndex(index);
        }
        if (m_pPresets)
            m_pPresets->SetAllFilmTypes(m_pFilmTypComboBox->currentIndex());
    }
    SetGrainingCentreFromRow(m_pFilmTypComboBox->currentIndex());
    {
        QSignalBlocker b1(m_pFilmTypIntensitySlider);
        QSignalBlocker b2(m_pFilmTypGrainingSlider);
        if (has("FilmTypIntensitySlider"))
            m_pFilmTypIntensitySlider->SetValueF(floatOf("FilmTypIntensitySlider"));
        if (has("FilmTypGrainingSlider"))
            m_pFilmTypGrainingSlider->SetValueF(floatOf("FilmTypGrainingSlider"));
    }
    const bool film = m_pFilmTypComboBox->currentIndex() > 0;
    m_pFilmTypIntensitySlider->setVisible(film);
    m_pFilmTypGrainingSlider->setVisible(film);

    MP_UI_SetTonemappingMultipleMode(0);
    setTonemappingMultipleButtonStateByMode();

    MP_UI_SetFilmTypeAfterPPMode(has("FilmTypPrePost") ? s.value(key("FilmTypPrePost")).toInt() : 1);
    {
        QSignalBlocker b1(m_pFilmTypPreButton);
        QSignalBlocker b2(m_pFilmTypPostButton);
        const bool before = MP_UI_GetFilmTypeAfterPPMode() == 0;
        m_pFilmTypPreButton->setChecked(before);
        m_pFilmTypPostButton->setChecked(!before);
    }
    setStructureType(0);
    setStructureSliderValues(0.25f, 1.0f, 1.0f, 1.0f, 1.0f);
    return true;
}

// ---- chain editor ------------------------------------------------------------------------

int HDRPostProcessingDockWidget::FindOperatorListItemIdx(unsigned int id) const
{
    for (int i = 0; i < m_pOperatorItems.size(); ++i)
        if (m_pOperatorItems[i]->data(Qt::UserRole).toUInt() == id)
            return i;
    return -1;
}

QListWidgetItem* HDRPostProcessingDockWidget::FindOperatorListItem(unsigned int id) const
{
    const int i = FindOperatorListItemIdx(id);
    return i >= 0 ? m_pOperatorItems[i] : nullptr;
}

int HDRPostProcessingDockWidget::FindOperatorListItemIdxByRow(unsigned int row) const
{
    QListWidgetItem* item = m_pChainList->item(static_cast<int>(row));
    return item ? FindOperatorListItemIdx(item->data(Qt::UserRole).toUInt()) : -1;
}

bool HDRPostProcessingDockWidget::CurrentRowChecked() const
{
    QListWidgetItem* item = m_pChainList->currentItem();
    return item && item->checkState() == Qt::Checked;
}

SOperator HDRPostProcessingDockWidget::NewOperatorFromCatalogue(int index) const
{
    SOperator op;
    const SOperator& c = m_vecCatalogue[index];
    op.kernel = c.kernel;
    op.id = c.id;
    op.name = c.name;
    op.eType = c.eType;
    op.iprecalcSmooth = c.iprecalcSmooth;
    op.bReadBWPoint = c.bReadBWPoint;
    op.bCalcBW = c.bCalcBW;
    op.bCalcGradation = c.bCalcGradation;
    op.bActive = true;
    op.pano = false;
    return op;
}

namespace {

// The default parameters of a page, in parameter order.
QVarLengthArray<SParameter, PP_MAX_PARAMETERS> PageDefaults(const HDRPostProcessingDockWidget::SParameterSet& set)
{
    QVarLengthArray<SParameter, PP_MAX_PARAMETERS> list;
    auto add = [&](int type) -> SParameter& {
        list.append(SParameter());
        list.last().eType = type;
        return list.last();
    };
    for (HDRSlider* s : set.pSliders)
        add(ePTSlider).pfValues[0] = s->GetCenterValueF();
    for (HDRPositionPicker* p : set.pPositionPickers)
        p->GetDefaultValues(add(ePTPosition).pfValues);
    for (HDRPositionPicker* p : set.pLinePickers)
        p->GetDefaultValues(add(ePTLine).pfValues);
    for (HDRPositionPicker* p : set.pSplinePickers)
        p->GetDefaultValues(add(ePTSpline).pfValues);
    for (HDRPositionPicker* p : set.pColorPickers)
        p->GetDefaultValues(add(ePTColor).pfValues);
    for (int i = 0; i < set.pComboBoxes.size(); ++i) {
        SParameter& p = add(ePTBlend);
        p.pfValues[0] = 0.0f;
        p.pfValues[1] = 100.0f;
    }
    for (HDRPositionPicker* p : set.pGeometryPickers)
        p->GetDefaultValues(add(ePTGeometry).pfValues);
    return list;
}

// Brings a chain operator to its page's template: the k-th parameter of each
// kind is kept, missing ones come from the page's defaults, surplus ones are
// dropped (and logged).
void BindToTemplate(SOperator& op, const HDRPostProcessingDockWidget::SParameterSet& set)
{
    QVarLengthArray<SParameter, PP_MAX_PARAMETERS> bound = PageDefaults(set);
    int used[7] = {};
    int perType[7] = {};
    for (const SParameter& p : bound)
        ++perType[std::clamp(p.eType, 0, 6)];
    bool same = bound.size() == op.parameters.size();
    for (int i = 0; same && i < bound.size(); ++i)
        same = bound[i].eType == op.parameters[i].eType;
    if (same)
        return;
    int dropped = 0;
    for (const SParameter& p : op.parameters) {
        if (p.eType < 0 || p.eType > 6) {
            ++dropped;
            continue;
        }
        const int k = used[p.eType]++;
        if (k >= perType[p.eType]) {
            ++dropped;
            continue;
        }
        int seen = 0;
        for (SParameter& b : bound)
            if (b.eType == p.eType && seen++ == k) {
                b = p;
                break;
            }
    }
    if (dropped > 0)
        std::printf("operator %s: %d parameters beyond its template dropped\n", op.kernel.toUtf8().constData(),
                    dropped);
    op.parameters = bound;
}

} // namespace

QListWidgetItem* HDRPostProcessingDockWidget::addOperator(QListWidgetItem* item, bool select)
{
    if (!item)
        return nullptr;
    auto* row = new QListWidgetItem(*item);
    row->setCheckState(Qt::Checked);
    {
        QSignalBlocker block(m_pChainList);
        m_pChainList->addItem(row);
    }
    if (select) {
        selectOperator(m_pChainList->count() - 1);
        m_pParameterStack->setVisible(
            m_pChainList->count() > 0 && FindOperatorListItemIdxByRow(m_pChainList->count() - 1) >= 0);
    }
    updateAllLayerIcons();
    return row;
}

QListWidgetItem* HDRPostProcessingDockWidget::addNewOperator(QListWidgetItem* catalogueItem)
{
    if (!m_pPostProcessing || !catalogueItem)
        return nullptr;
    const int p = FindOperatorListItemIdx(catalogueItem->data(Qt::UserRole).toUInt());
    if (p < 0)
        return nullptr;
    SOperator op = NewOperatorFromCatalogue(p);
    op.parameters = PageDefaults(m_ParameterSets[p]);
    m_pPostProcessing->m_vecOperators.append(op);
    QListWidgetItem* row = addOperator(catalogueItem, true);
    m_pPostProcessing->m_bChanged = true;
    emit updateCurrentPostProcessing();
    updateListHeader();
    return row;
}

QListWidgetItem* HDRPostProcessingDockWidget::copyOperator(QListWidgetItem* row)
{
    if (!m_pPostProcessing || !row)
        return nullptr;
    const int r = m_pChainList->row(row);
    if (r < 0 || r >= m_pPostProcessing->m_vecOperators.size())
        return nullptr;
    const int p = FindOperatorListItemIdx(row->data(Qt::UserRole).toUInt());
    SOperator op;
    if (p >= 0)
        op = NewOperatorFromCatalogue(p);
    else { // an operator the catalogue does not know copies as itself
        op = m_pPostProcessing->m_vecOperators[r];
        op.bActive = true;
        op.pano = false;
    }
    op.parameters = m_pPostProcessing->m_vecOperators[r].parameters;
    m_pPostProcessing->m_vecOperators.append(op);
    QListWidgetItem* added = addOperator(row, true);
    m_pPostProcessing->m_bChanged = true;
    emit updateCurrentPostProcessing();
    updateListHeader();
    return added;
}

bool HDRPostProcessingDockWidget::AskYesNo(const QString& title, const QString& text)
{
    HDRMessageBox box(this, QMessageBox::Question, title, text, tr("Ja"), tr("Nein"));
    box.setStyleSheet(QStringLiteral("QPushButton{min-width:50px; min-height: 20px}"));
    box.exec();
    return box.YesClicked();
}

void HDRPostProcessingDockWidget::removeOperator(QListWidgetItem* row)
{
    if (!m_pPostProcessing || !row || m_pChainList->row(row) < 0)
        return;
    const bool yes = AskYesNo(tr("Operator entfernen"),
                              tr("Soll der Operator \"%1\" aus der Liste entfernt werden?").arg(row->text()));
    if (yes) {
        const bool checked = row->checkState() == Qt::Checked;
        const int r = m_pChainList->row(row);
        delete m_pChainList->takeItem(r);
        if (r < m_pPostProcessing->m_vecOperators.size())
            m_pPostProcessing->m_vecOperators.remove(r);
        m_pParameterStack->setVisible(m_pChainList->count() > 0);
        if (checked) {
            m_pPostProcessing->m_bChanged = true;
            emit updateCurrentPostProcessing();
        }
        m_CheckStates.clear();
        for (int i = 0; i < m_pChainList->count(); ++i)
            m_CheckStates.append(m_pChainList->item(i)->checkState() == Qt::Checked);
    }
    updateListHeader();
}

void HDRPostProcessingDockWidget::removeAllOperators()
{
    if (!m_pPostProcessing)
        return;
    const bool yes = AskYesNo(tr("Alle Operatoren entfernen"),
                              tr("Sollen alle Operatoren aus der Liste entfernt werden?"));
    if (yes)
        clearOperatorList();
}

void HDRPostProcessingDockWidget::clearOperatorList()
{
    if (!m_pPostProcessing)
        return;
    for (int r = m_pChainList->count() - 1; r >= 0; --r) {
        delete m_pChainList->takeItem(r);
        if (r < m_pPostProcessing->m_vecOperators.size())
            m_pPostProcessing->m_vecOperators.remove(r);
    }
    m_pParameterStack->setVisible(m_pChainList->count() > 0);
    m_pPostProcessing->m_bChanged = true;
    emit updateCurrentPostProcessing();
    m_CheckStates.clear();
    updateListHeader();
}

void HDRPostProcessingDockWidget::operatorItemChanged(QListWidgetItem* row)
{
    if (!m_pPostProcessing || !row)
        return;
    const int i = m_pChainList->row(row);
    if (i < 0 || i >= m_pPostProcessing->m_vecOperators.size())
        return;
    const bool checked = row->checkState() == Qt::Checked;
    m_pPostProcessing->m_vecOperators[i].bActive = checked;
    while (m_CheckStates.size() <= i)
        m_CheckStates.append(true);
    if (m_CheckStates[i] != checked) {
        m_pPostProcessing->m_bChanged = true;
        emit updateCurrentPostProcessing();
    }
    m_CheckStates[i] = checked;
    updateListHeader();
}

void HDRPostProcessingDockWidget::operatorOrderChanged()
{
    if (!m_pPostProcessing)
        return;
    const QVector<SOperator> copy = m_pPostProcessing->m_vecOperators;
    m_pPostProcessing->m_vecOperators.clear();
    for (int i = 0; i < m_pChainList->count() && i < _QListWidget::OldIndexList.size(); ++i) {
        const unsigned j = _QListWidget::OldIndexList[i];
        if (j < unsigned(copy.size()))
            m_pPostProcessing->m_vecOperators.append(copy[j]);
    }
    m_CheckStates.clear();
    for (int i = 0; i < m_pChainList->count(); ++i)
        m_CheckStates.append(m_pChainList->item(i)->checkState() == Qt::Checked);
    if (CurrentRowChecked()) {
        m_pPostProcessing->m_bChanged = true;
        emit updateCurrentPostProcessing();
    }
}

void HDRPostProcessingDockWidget::choosenFilterButtonClicked()
{
    if (!m_pPostProcessing)
        return;
    QObject* s = sender();
    {
        QSignalBlocker block(m_pChainList);
        const int n = m_pChainList->count();
        int selected = -1;
        for (int i = 0; i < n; ++i)
            if (m_pChainList->item(i)->isSelected())
                selected = i;
        for (int i = 0; i < n; ++i) {
            bool on = false;
            if (s == m_pFilterAllActivateButton)
                on = true;
            else if (s == m_pFilterAllToggleButton)
                on = i <= std::max(0, selected);
            else if (s == m_pFilterAllSingleButton)
                on = i == selected;
            else if (s == m_pFilterAllDeactivateButton)
                on = false;
            else
                on = m_pChainList->item(i)->checkState() == Qt::Checked;
            m_pChainList->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_CheckStates.clear();
    for (int i = 0; i < m_pChainList->count(); ++i) {
        m_CheckStates.append(m_pChainList->item(i)->checkState() == Qt::Checked);
        if (i < m_pPostProcessing->m_vecOperators.size())
            m_pPostProcessing->m_vecOperators[i].bActive = m_CheckStates[i];
    }
    m_pPostProcessing->m_bChanged = true;
    emit updateCurrentPostProcessing();
    updateListHeader();
}

void HDRPostProcessingDockWidget::SetCurrentPostProcessing(CPostProcessing* chain)
{
    setWindowTitle(tr("Expertenmodus") + QStringLiteral(": ") + (chain ? chain->GetDisplayName() : QString()));
    m_strTitle = windowTitle();
    SetHighlighted(false);
    m_pPostProcessing = chain;
    {
        QSignalBlocker block(m_pChainList);
        while (m_pChainList->count() > 0)
            delete m_pChainList->takeItem(0);
    }
    if (!chain) {
        m_pParameterStack->setVisible(false);
        updateListHeader();
        return;
    }
    chain->SetGreyScaleColor(m_pGreyScaleColorSlider->GetValueF());
    chain->SetGreyScaleSaturation(m_pGreyScaleSaturationSlider->GetValueF());
    chain->SetFilmTyp(m_pFilmTypComboBox->currentIndex());

    const int n = chain->m_vecOperators.size();
    for (int i = 0; i < n; ++i) {
        SOperator& op = chain->m_vecOperators[i];
        const int p = FindOperatorListItemIdx(op.id);
        if (p >= 0) {
            BindToTemplate(op, m_ParameterSets[p]);
            addOperator(m_pOperatorItems[p], i == n - 1);
        } else {
            // unknown to this catalogue: shown by its kernel name, without a page
            QListWidgetItem stand(op.kernel.isEmpty() ? op.name : op.kernel);
            stand.setData(Qt::UserRole, op.id);
            stand.setBackground(s_PPOperatorColors[7]);
            addOperator(&stand, i == n - 1);
        }
    }
    {
        QSignalBlocker block(m_pChainList);
        for (int j = 0; j < m_pChainList->count() && j < n; ++j) {
            if (FindOperatorListItemIdxByRow(j) >= 0)
                chain->m_vecOperators[j].name = m_pChainList->item(j)->text();
            if (!chain->m_vecOperators[j].bActive)
                m_pChainList->item(j)->setCheckState(Qt::Unchecked);
        }
    }
    for (SParameterSet& set : m_ParameterSets) {
        for (auto* list : {&set.pPositionPickers, &set.pLinePickers, &set.pSplinePickers, &set.pGeometryPickers})
            for (HDRPositionPicker* picker : *list) {
                picker->UpdateExposureSeries();
                picker->SetPostProcessing(chain);
            }
    }
    selectOperator(0);
    updateListHeader();
}

void HDRPostProcessingDockWidget::setOperatorLayerIcon(QListWidgetItem* row, int layerIndex)
{
    if (!row)
        return;
    const char* icon = "Layer_xx_impossible";
    const char* word = "nicht verfügbar";
    switch (layerIndex) {
    case 0: icon = "Layer_00_normal"; word = "normal"; break;
    case 1: icon = "Layer_01_lighten"; word = "aktiv"; break;
    case 2: icon = "Layer_00_normal+selective"; word = "normal"; break;
    case 3: icon = "Layer_01_lighten+selective"; word = "aktiv"; break;
    default: break;
    }
    row->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    const int p = FindOperatorListItemIdx(row->data(Qt::UserRole).toUInt());
    const QString kernel = p >= 0 ? m_vecCatalogue[p].kernel : row->text();
    row->setToolTip(_gui::HtmlToolTip(tr("Layer Effekt: ") + QString::fromUtf8(word) + QStringLiteral(" - ") +
                            QCoreApplication::translate("PPOperators.xml", ("tooltip " + kernel).toUtf8())));
}

void HDRPostProcessingDockWidget::updateAllLayerIcons()
{
    if (!m_pPostProcessing)
        return;
    QSignalBlocker block(m_pChainList);
    for (int i = 0; i < m_pChainList->count(); ++i)
        setOperatorLayerIcon(m_pChainList->item(i), i < m_pPostProcessing->m_vecOperators.size()
                                                        ? m_pPostProcessing->GetLayerIconIndex(i)
                                                        : 4);
}

void HDRPostProcessingDockWidget::updateListHeader()
{
    int shown = 0;
    for (int i = 0; i < m_pOperatorList->count(); ++i)
        if (!m_pOperatorList->item(i)->isHidden())
            ++shown;
    m_pPostProcessCollapsible->SetHeader(tr("Post-Processing Filter") +
                                         QStringLiteral(" (%1/%2)").arg(shown).arg(m_pOperatorList->count()));
    int checked = 0;
    for (int i = 0; i < m_pChainList->count(); ++i)
        if (m_pChainList->item(i)->checkState() == Qt::Checked)
            ++checked;
    m_pChainGroupBox->setTitle(tr("gewählte Filter") +
                               QStringLiteral(" (%1/%2)").arg(checked).arg(m_pChainList->count()));
}

// ---- catalogue list and filters ---------------------------------------------------------

void HDRPostProcessingDockWidget::ResetAllFilterButtons() { m_pFilterAllButton->click(); }

void HDRPostProcessingDockWidget::filterButtonClicked()
{
    QObject* s = sender();
    if (s == m_pFilterAllButton || s == m_pFilterNoneButton) {
        const bool on = s == m_pFilterAllButton;
        for (QPushButton* b : {m_pFilterEnhanceButton, m_pFilterGeometryButton, m_pFilterExposureButton,
                               m_pFilterColorizeButton, m_pFilterSmoothButton, m_pFilterArtisticButton})
            b->setChecked(on);
    }
    updateFilterList();
}

void HDRPostProcessingDockWidget::updateFilterList()
{
    QPushButton* filters[7] = {nullptr,
                               m_pFilterEnhanceButton,
                               m_pFilterGeometryButton,
                               m_pFilterExposureButton,
                               m_pFilterColorizeButton,
                               m_pFilterSmoothButton,
                               m_pFilterArtisticButton};
    for (int i = 0; i < m_pOperatorList->count(); ++i) {
        QListWidgetItem* item = m_pOperatorList->item(i);
        const QColor colour = item->background().color();
        for (int k = 1; k <= 6; ++k)
            if (colour == s_PPOperatorColors[k])
                item->setHidden(!filters[k]->isChecked());
        if (m_pFilterPanoramaButton->isChecked()) {
            const int p = FindOperatorListItemIdx(item->data(Qt::UserRole).toUInt());
            if (p < 0 || !m_vecCatalogue[p].pano)
                item->setHidden(true);
        }
    }
    updateListHeader();
}

void HDRPostProcessingDockWidget::removeFilterButtonMargins()
{
    if (m_pFilterButtonRow) {
        m_pFilterButtonRow->setSpacing(0);
        m_pFilterButtonRow->setContentsMargins(0, 0, 0, 0);
    }
}

void HDRPostProcessingDockWidget::listItemEntered(QListWidgetItem* item)
{
    if (!item || !item->listWidget())
        return;
    const int p = FindOperatorListItemIdx(item->data(Qt::UserRole).toUInt());
    if (p < 0)
        return;
    item->listWidget()->setToolTip(_gui::HtmlToolTip(
        QCoreApplication::translate("PPOperators.xml", ("tooltip " + m_vecCatalogue[p].kernel).toUtf8())));
}

// ---- parameter pages --------------------------------------------------------------------

void HDRPostProcessingDockWidget::selectOperator(int row)
{
    if (row < 0 && sender() == m_pChainList)
        return;
    if (m_pChainList->count() == 0 || !m_pPostProcessing) {
        m_pParameterStack->setVisible(false);
    } else {
        row = std::clamp(row, 0, m_pChainList->count() - 1);
        const int p = FindOperatorListItemIdxByRow(static_cast<unsigned>(row));
        {
            QSignalBlocker block(m_pChainList);
            m_pChainList->setCurrentRow(row);
        }
        if (p < 0 || row >= m_pPostProcessing->m_vecOperators.size()) {
            // an operator this catalogue does not know has no page
            m_pParameterStack->setVisible(false);
        } else {
            m_pParameterStack->setCurrentIndex(p);
            m_pParameterStack->setVisible(true);
            const SParameterSet& set = m_ParameterSets[p];
            const SOperator& op = m_pPostProcessing->m_vecOperators[row];
            int k[7] = {};
            for (const SParameter& par : op.parameters) {
                const float* v = par.pfValues;
                switch (par.eType) {
                case ePTSlider:
                    if (k[0] < set.pSliders.size()) {
                        QSignalBlocker block(set.pSliders[k[0]]);
                        set.pSliders[k[0]]->SetResetToValueF(v[0]);
                    }
                    ++k[0];
                    break;
                case ePTPosition:
                    if (k[1] < set.pPositionPickers.size()) {
                        set.pPositionPickers[k[1]]->SetPos(v[0], v[1], 0);
                        set.pPositionPickers[k[1]]->UpdateDisplay();
                    }
                    ++k[1];
                    break;
                case ePTLine:
                    if (k[4] < set.pLinePickers.size()) {
                        set.pLinePickers[k[4]]->SetPos(v[0], v[1], 0);
                        set.pLinePickers[k[4]]->SetPos(v[2], v[3], 1);
                        set.pLinePickers[k[4]]->UpdateDisplay();
                    }
                    ++k[4];
                    break;
                case ePTSpline:
                    if (k[2] < set.pSplinePickers.size()) {
                        for (unsigned j = 0; j < 6; ++j)
                            set.pSplinePickers[k[2]]->SetPos(v[2 * j], v[2 * j + 1], j);
                        set.pSplinePickers[k[2]]->UpdateDisplay();
                        set.pSplinePickers[k[2]]->RefreshComboBox();
                    }
                    ++k[2];
                    break;
                case ePTColor:
                    if (k[3] < set.pColorPickers.size()) {
                        set.pColorPickers[k[3]]->SetColor(v[2], v[3], v[4]);
                        set.pColorPickers[k[3]]->UpdateDisplay();
                    }
                    ++k[3];
                    break;
                case ePTBlend:
                    if (k[5] < set.pComboBoxes.size()) {
                        QComboBox* combo = set.pComboBoxes[k[5]];
                        {
                            QSignalBlocker block(combo);
                            const int id = BlendId(v[0]);
                            for (int i = 0; i < combo->count(); ++i) {
                                if (combo->itemData(i).isNull())
                                    continue;
                                combo->setCurrentIndex(i);
                                if (combo->itemData(i).toInt() == id)
                                    break;
                            }
                        }
                        combo->repaint();
                        QDoubleSpinBox* box = set.pSpinBoxes[k[5]];
                        {
                            QSignalBlocker block(box);
                            box->setValue(v[1] == v[1] ? double(v[1]) : 100.0);
                        }
                        box->repaint();
                    }
                    ++k[5];
                    break;
                case ePTGeometry:
                    if (k[6] < set.pGeometryPickers.size()) {
                        for (unsigned j = 0; j < 128; ++j)
                            set.pGeometryPickers[k[6]]->SetPos(v[2 * j], v[2 * j + 1], j);
                        set.pGeometryPickers[k[6]]->UpdateDisplay();
                    }
                    ++k[6];
                    break;
                default:
                    break;
                }
            }
        }
    }
    m_CheckStates.clear();
    for (int i = 0; i < m_pChainList->count(); ++i)
        m_CheckStates.append(m_pChainList->item(i)->checkState() == Qt::Checked);
    Resize();
}

bool HDRPostProcessingDockWidget::FindSenderPage(QObject*, int* page, int* row) const
{
    if (!m_pPostProcessing || m_pChainList->count() == 0)
        return false;
    const int r = m_pChainList->currentRow();
    if (r < 0 || r >= m_pPostProcessing->m_vecOperators.size())
        return false;
    const int p = FindOperatorListItemIdxByRow(static_cast<unsigned>(r));
    if (p < 0 || p >= m_ParameterSets.size())
        return false;
    *page = p;
    *row = r;
    return true;
}

namespace {
// Index of the k-th parameter of `type` in op, -1 when it has none.
int ParameterIndex(const SOperator& op, int type, int k)
{
    int seen = 0;
    for (int i = 0; i < op.parameters.size(); ++i)
        if (op.parameters[i].eType == type && seen++ == k)
            return i;
    return -1;
}

template <class List>
int IndexIn(const List& list, QObject* object)
{
    for (int i = 0; i < list.size(); ++i)
        if (list[i] == object)
            return i;
    return -1;
}
} // namespace

void HDRPostProcessingDockWidget::parameterValueChanged()
{
    int p = 0, r = 0;
    if (!FindSenderPage(sender(), &p, &r))
        return;
    QObject* s = sender();
    const SParameterSet& set = m_ParameterSets[p];
    SOperator& op = m_pPostProcessing->m_vecOperators[r];
    bool changed = false;
    bool found = true;
    bool blend = false;
    auto storePicker = [&](HDRPositionPicker* picker, int type, int k, int compared) {
        const int i = ParameterIndex(op, type, k);
        if (i < 0)
            return;
        float values[PP_PARAMETER_VALUES];
        picker->GetValues(values);
        float* stored = op.parameters[i].pfValues;
        changed = !std::equal(values, values + compared, stored);
        std::copy(values, values + PP_PARAMETER_VALUES, stored);
    };
    int k = -1;
    if ((k = IndexIn(set.pSliders, s)) >= 0) {
        const int i = ParameterIndex(op, ePTSlider, k);
        if (i >= 0) {
            HDRSlider* slider = set.pSliders[k];
            float& stored = op.parameters[i].pfValues[0];
            const float value = slider->GetValueF();
            // a step smaller than 0.002 (one unit of a wide range) still counts
            // when the slider no longer shows the stored value
            changed = std::fabs(stored - value) >= 0.002f ||
                      SliderIntForFraction(slider, stored) != slider->GetValueInt() || !(stored == stored);
            stored = value;
        }
    } else if ((k = IndexIn(set.pPositionPickers, s)) >= 0)
        storePicker(set.pPositionPickers[k], ePTPosition, k, 2);
    else if ((k = IndexIn(set.pLinePickers, s)) >= 0)
        storePicker(set.pLinePickers[k], ePTLine, k, 4);
    else if ((k = IndexIn(set.pSplinePickers, s)) >= 0)
        storePicker(set.pSplinePickers[k], ePTSpline, k, 12);
    else if ((k = IndexIn(set.pColorPickers, s)) >= 0)
        storePicker(set.pColorPickers[k], ePTColor, k, 5);
    else if ((k = IndexIn(set.pComboBoxes, s)) >= 0 || (k = IndexIn(set.pSpinBoxes, s)) >= 0) {
        const int i = ParameterIndex(op, ePTBlend, k);
        if (i >= 0) {
            float* stored = op.parameters[i].pfValues;
            const float id = float(set.pComboBoxes[k]->currentData().toInt());
            const float opacity = float(set.pSpinBoxes[k]->value());
            changed = !(std::fabs(stored[0] - id) < 0.002f) || !(std::fabs(stored[1] - opacity) < 0.001f);
            stored[0] = id;
            stored[1] = opacity;
            blend = true;
        }
    } else if ((k = IndexIn(set.pGeometryPickers, s)) >= 0)
        storePicker(set.pGeometryPickers[k], ePTGeometry, k, PP_PARAMETER_VALUES);
    else
        found = false;
    if (!found)
        return;
    if (blend)
        updateAllLayerIcons();
    if (CurrentRowChecked()) {
        if (changed)
            m_pPostProcessing->m_bChanged = true;
        emit updateCurrentPostProcessing();
    }
}

void HDRPostProcessingDockWidget::resetOperator(QListWidgetItem* item)
{
    if (!m_pPostProcessing || !item)
        return;
    const int p = FindOperatorListItemIdx(item->data(Qt::UserRole).toUInt());
    const int r = m_pChainList->row(item);
    if (p < 0 || r < 0 || r >= m_pPostProcessing->m_vecOperators.size())
        return;
    const SParameterSet& set = m_ParameterSets[p];
    SOperator& op = m_pPostProcessing->m_vecOperators[r];
    int k[7] = {};
    bool blend = false;
    for (SParameter& par : op.parameters) {
        float* v = par.pfValues;
        auto resetPicker = [&](const auto& list, int& n) {
            if (n < list.size()) {
                HDRPositionPicker* picker = list[n];
                picker->GetDefaultValues(v);
                if (par.eType == ePTColor)
                    picker->SetColor(v[2], v[3], v[4]);
                else
                    for (unsigned j = 0; j < 128; ++j)
                        picker->SetPos(v[2 * j], v[2 * j + 1], j);
                picker->UpdateDisplay();
                if (par.eType == ePTSpline)
                    picker->RefreshComboBox();
            }
            ++n;
        };
        switch (par.eType) {
        case ePTSlider:
            if (k[0] < set.pSliders.size()) {
                HDRSlider* slider = set.pSliders[k[0]];
                v[0] = slider->GetCenterValueF();
                QSignalBlocker block(slider);
                slider->SetResetToValueF(v[0]);
            }
            ++k[0];
            break;
        case ePTPosition: resetPicker(set.pPositionPickers, k[1]); break;
        case ePTSpline: resetPicker(set.pSplinePickers, k[2]); break;
        case ePTColor: resetPicker(set.pColorPickers, k[3]); break;
        case ePTLine: resetPicker(set.pLinePickers, k[4]); break;
        case ePTGeometry: resetPicker(set.pGeometryPickers, k[6]); break;
        case ePTBlend:
            if (k[5] < set.pComboBoxes.size()) {
                QSignalBlocker b1(set.pComboBoxes[k[5]]);
                QSignalBlocker b2(set.pSpinBoxes[k[5]]);
                set.pComboBoxes[k[5]]->setCurrentIndex(0);
                set.pSpinBoxes[k[5]]->setValue(100);
            }
            v[0] = 0.0f;
            v[1] = 100.0f;
            blend = true;
            ++k[5];
            break;
        default:
            break;
        }
    }
    if (blend)
        updateAllLayerIcons();
    if (item->checkState() == Qt::Checked) {
        m_pPostProcessing->m_bChanged = true;
        emit updateCurrentPostProcessing();
    }
    updateListHeader();
}

// ---- slider tools and geometry buttons ----------------------------------------------------

void HDRPostProcessingDockWidget::sliderButtonPressed()
{
    int p = 0, r = 0;
    if (m_bSweeping || !FindSenderPage(sender(), &p, &r))
        return;
    const int i = IndexIn(m_ParameterSets[p].pSliderButtons, sender());
    if (i < 0 || i >= m_ParameterSets[p].pSliders.size())
        return;
    if (m_pHost && !m_pHost->PreviewMode()) {
        const bool yes = AskYesNo(tr("Titel Echtzeit-Wiedergabe"),
                                  tr("Message Echtzeit-Wiedergabe nur im Preview Mode"));
        if (!yes)
            return;
        m_pHost->TogglePreviewMode();
    }
    if (m_pHost)
        m_pHost->CountAnimModeUsed();

    // chain, operator and slider are pinned for the whole sweep
    m_bSweeping = true;
    CPostProcessing* chain = m_pPostProcessing;
    HDRSlider* slider = m_ParameterSets[p].pSliders[i];
    const unsigned id = chain->m_vecOperators[r].id;
    QListWidgetItem* rowItem = m_pChainList->item(r);

    const float savedRate = MP_UI_GetKernelSampleRate();
    const float savedExponent = MP_UI_GetKernelExponent();
    MP_UI_SetKernelSampleRate(0.5f);
    if (savedExponent < 3.5f)
        MP_UI_SetKernelExponent(3.5f);
    if (m_pHost)
        m_pHost->CountChange();
    auto process = [this] {
        if (m_fnProcessEvents)
            m_fnProcessEvents();
        else
            QCoreApplication::processEvents();
    };
    QElapsedTimer timer;
    timer.start();
    auto clock = [&]() { return m_fnClockMs ? m_fnClockMs() : double(timer.nsecsElapsed()) / 1.0e6; };
    process();
    MP_UI_SetAnimMode(1);
    MP_UI_SetKeyPressedMode(0);

    const float start = slider->GetValueF();
    float v = start;
    double debt = 0.0;
    for (int step = 0; step < 1500; ++step) {
        process();
        const bool escaped = MP_UI_GetKeyPressedMode() != 0;
        const bool last = escaped || step == 1499;
        v += 0.0013333333f;
        if (v <= 1.0f)
            slider->SetValueF(v);
        else if (v <= 2.0f)
            slider->SetValueF(2.0f - v);
        else
            slider->SetValueF(v - 2.0f);
        if (last) {
            MP_UI_SetKernelSampleRate(savedRate);
            MP_UI_SetKernelExponent(savedExponent);
            MP_UI_SetAnimMode(0);
            if (!escaped)
                slider->SetValueF(start);
            process();
        }
        if (debt >= 3.5 && !last) {
            debt -= 3.5;
            continue;
        }
        const double t0 = clock();
        // the operator may have been removed or moved meanwhile: find it by row and id
        if (m_pPostProcessing == chain && r < chain->m_vecOperators.size() && chain->m_vecOperators[r].id == id) {
            const int index = ParameterIndex(chain->m_vecOperators[r], ePTSlider, i);
            if (index >= 0)
                chain->m_vecOperators[r].parameters[index].pfValues[0] = slider->GetValueF();
            if (m_pChainList->row(rowItem) == r && rowItem->checkState() == Qt::Checked) {
                chain->m_bChanged = true;
                chain->m_bChangedByAssistant = true;
                emit updateCurrentPostProcessing();
            }
        }
        debt = clock() - t0;
        if (m_pHost) {
            const int shown = static_cast<int>(float(slider->minimum()) +
                                               float(slider->maximum() - slider->minimum()) * slider->GetValueF());
            m_pHost->SetOverlayText(slider->GetName() + QStringLiteral(" ") + QString::number(shown) +
                                    slider->GetUnit());
        }
        if (last)
            break;
    }
    MP_UI_SetKernelSampleRate(savedRate);
    MP_UI_SetKernelExponent(savedExponent);
    m_bSweeping = false;
}

void HDRPostProcessingDockWidget::textureButtonPressed()
{
    int p = 0, r = 0;
    if (!FindSenderPage(sender(), &p, &r))
        return;
    const int i = IndexIn(m_ParameterSets[p].pSliderButtons, sender());
    if (i < 0 || i >= m_ParameterSets[p].pSliders.size() || !m_pHost)
        return;
    HDRSlider* slider = m_ParameterSets[p].pSliders[i];
    const int chosen = m_pHost->ChooseTexture(slider);
    if (chosen < 0)
        return;
    {
        QSignalBlocker block(slider);
        slider->SetValueInt(chosen);
    }
    slider->EmitValueUpdated();
}

void HDRPostProcessingDockWidget::geometryButtonPressed()
{
    int p = 0, r = 0;
    if (!FindSenderPage(sender(), &p, &r))
        return;
    const SParameterSet& set = m_ParameterSets[p];
    QObject* s = sender();
    for (int i = 0; i < set.pGeometryPickers.size(); ++i) {
        HDRPositionPicker* picker = set.pGeometryPickers[i];
        if (i < set.pGeometryEditButtons.size() && s == set.pGeometryEditButtons[i]) {
            std::puts("corresponding GeometryPicker found");
            if (m_pHost) {
                const bool mode = m_pHost->PreviewMode();
                if (!mode)
                    m_pHost->TogglePreviewMode();
                m_pHost->EditGeometry(picker, m_pPostProcessing->m_vecOperators[r].name);
                if (m_pHost->PreviewMode() != mode)
                    m_pHost->TogglePreviewMode();
            }
            updateAllLayerIcons();
            return;
        }
        if (i < set.pGeometryCopyButtons.size() && s == set.pGeometryCopyButtons[i]) {
            std::puts("corresponding GeometryPicker found");
            m_bGeometryClipboardFilled = true;
            for (const SParameterSet& other : m_ParameterSets)
                for (QPushButton* b : other.pGeometryPasteButtons)
                    b->setEnabled(true);
            for (unsigned n = 0; n < 32; ++n) {
                float* c = m_pfGeometryClipboard + 8 * n;
                picker->GetGeometry(c, c + 1, c + 2, c + 3, c + 4, c + 5, c + 6, c + 7, n);
            }
            return;
        }
        const bool paste = i < set.pGeometryPasteButtons.size() && s == set.pGeometryPasteButtons[i];
        const bool clear = i < set.pGeometryDeleteButtons.size() && s == set.pGeometryDeleteButtons[i];
        if (!paste && !clear)
            continue;
        std::puts("corresponding GeometryPicker found");
        const bool yes = AskYesNo(paste ? tr("Geometrien einfügen") : tr("Alle Geometrien löschen"),
                                  paste ? tr("Sollen alle Geometrien aus dem Zwischenspeicher eingefügt werden?")
                                : tr("Sollen alle Geometrien für diesen Effekt entfernt werden?"));
        if (!yes)
            return;
        if (paste) {
            for (unsigned n = 0; n < 32; ++n) {
                const float* c = m_pfGeometryClipboard + 8 * n;
                picker->SetGeometry(n, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
            }
        } else {
            picker->ResetToDefaultValues();
        }
        picker->ForceValueUpdate();
        updateAllLayerIcons();
        return;
    }
}
