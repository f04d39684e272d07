// The clone-correction painter dialog: its controls, the view pictures and
// the commands on all units.

#include "ui/editors/HDRStencilPainter.h"

#include "engine/core/conversions.h"
#include "engine/core/settings.h"
#include "engine/effects/effectframe.h"
#include "engine/series/stencil.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/hdrslider.h"

#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

const char* const kGroove = "stop:0 #3f3f3f, stop:1 #dfdfdf";

QString Tip(const char* key) { return _gui::HtmlToolTip(CStencilPainter::tr(key)); }

QPushButton* IconButton(QPushButton* button, const char* icon, QSize size, const char* tip, bool checkable)
{
    button->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(size);
    button->setCheckable(checkable);
    button->setToolTip(Tip(tip));
    return button;
}

QGroupBox* FixedGroup(QGroupBox* group, QVBoxLayout** inner)
{
    group->setFixedWidth(252);
    *inner = new QVBoxLayout(group);
    (*inner)->setSpacing(4);
    (*inner)->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return group;
}

} // namespace

CStencilPainter::CStencilPainter(QWidget* parent)
    : QDialog(parent), m_fVariationIntensity(0.5f), m_bCreatePixmap(true), m_bMouseInside(false), m_bNewStencil(false),
      m_bVariationEnabled(false), m_bStencilsEnabled(true), m_bShowSources(false), m_ppPixmapCreator{nullptr, nullptr},
      m_RenderGate(this)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    m_iViewWidth = static_cast<int>(0.7 * desktop.width());
    m_iViewHeight = static_cast<int>(0.7 * desktop.height());

    setWindowTitle(tr("Stencil Painter"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol")));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::WindowModal);
    setWindowOpacity(1.0);
    setObjectName(QStringLiteral("stencil_painter_window"));

    auto* top = new QHBoxLayout(this);
    top->setSpacing(20);
    top->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    top->setSizeConstraint(QLayout::SetFixedSize);
    CreateImage(top);
    auto* column = new QVBoxLayout();
    column->setSpacing(4);
    top->addLayout(column);
    CreateRadarControl(column);
    CreateGeneralControls(column);
    column->addSpacing(4);
    CreateStencilControl(column);
    column->addItem(new QSpacerItem(226, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
    CreatePageControls(column);
    Clear();
}

CStencilPainter::~CStencilPainter() { FreeResources(); }

void CStencilPainter::CreateImage(QHBoxLayout* layout)
{
    m_pStencilLabel = new CStencilLabel(this);
    m_pStencilLabel->setFixedSize(m_iViewWidth, m_iViewHeight);
    layout->addWidget(m_pStencilLabel, 0, Qt::AlignLeft | Qt::AlignTop);
    connect(m_pStencilLabel, &CStencilLabel::SigUpdate, this, &CStencilPainter::OnUpdate);
    connect(m_pStencilLabel, &CStencilLabel::SigSetNewStencil, this, &CStencilPainter::OnSetNewStencil,
            Qt::DirectConnection);
    connect(m_pStencilLabel, &CStencilLabel::SigCreatePixmap, this, &CStencilPainter::OnCreatePixmap,
            Qt::DirectConnection);
    connect(m_pStencilLabel, &CStencilLabel::SigToggleBestMatch, this, &CStencilPainter::OnToggleBestMatch);
}

void CStencilPainter::CreateRadarControl(QVBoxLayout* layout)
{
    QVBoxLayout* inner = nullptr;
    layout->addWidget(FixedGroup(new QGroupBox(this), &inner));
    m_pRadarLabel = new CRadarLabel(this);
    const int height = m_iViewWidth > 0 ? _hlp::MathRound(226.0f * m_iViewHeight / m_iViewWidth) : 226;
    m_pRadarLabel->setFixedSize(226, std::max(height, 1));
    inner->addWidget(m_pRadarLabel, 0, Qt::AlignHCenter);
    connect(m_pRadarLabel, &CRadarLabel::SigSetZoomCenter, m_pStencilLabel, &CStencilLabel::OnSetZoomCenter);
    connect(m_pRadarLabel, &CRadarLabel::SigWheel, m_pStencilLabel, &CStencilLabel::OnWheel);
    inner->addSpacing(_gui::AdjustHeight(20));

    auto* variationRow = new QHBoxLayout();
    variationRow->setSpacing(8);
    m_pVariationButton =
        IconButton(new QPushButton(this), "StencilShowVariation", QSize(34, 34),
                   QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Show Variation"), true);
    m_pVariationSlider = new HDRSlider(this, QStringLiteral("-"), QStringLiteral("+"));
    m_pVariationSlider->SetValueVisible(false);
    m_pVariationSlider->setFixedWidth(158);
    m_pVariationSlider->SetCenterValueF(0.5f);
    m_pVariationSlider->m_bContinuousUpdate = true;
    m_pVariationSlider->SetStyleSheet(QLatin1String(kGroove));
    m_pVariationSlider->SetValueF(0.5f);
    m_pVariationSlider->setToolTip(
        Tip(QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Variation Intensity")));
    variationRow->addWidget(m_pVariationButton);
    variationRow->addWidget(m_pVariationSlider);
    inner->addLayout(variationRow);
    inner->addSpacing(_gui::AdjustHeight(4));
    connect(m_pVariationButton, &QPushButton::toggled, this, &CStencilPainter::OnEnableVariation);
    connect(m_pVariationSlider, &HDRSlider::valueUpdated, this, &CStencilPainter::OnVariationIntensityUpdated);

    auto* toggleRow = new QHBoxLayout();
    toggleRow->setSpacing(8);
    m_pStencilsButton = IconButton(new QPushButton(this), "StencilActive", QSize(106, 34),
                                   QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Stencil Active"), true);
    m_pSourcesButton = IconButton(new QPushButton(this), "StencilShowSources", QSize(106, 34),
                                  QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Show Sources"), true);
    toggleRow->addWidget(m_pStencilsButton);
    toggleRow->addWidget(m_pSourcesButton);
    inner->addLayout(toggleRow);
    connect(m_pStencilsButton, &QPushButton::toggled, this, &CStencilPainter::OnEnableStencils);
    connect(m_pSourcesButton, &QPushButton::toggled, this, &CStencilPainter::OnShowSources);
}

void CStencilPainter::CreateGeneralControls(QVBoxLayout* layout)
{
    QVBoxLayout* inner = nullptr;
    layout->addWidget(FixedGroup(new QGroupBox(this), &inner));
    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    m_pRecalcAllButton = IconButton(new QPushButton(this), "StencilRecalcAll", QSize(106, 34),
                                    QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Recalc All"), false);
    m_pDeleteAllButton = IconButton(new QPushButton(this), "StencilDeleteAll", QSize(106, 34),
                                    QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Delete All"), false);
    row->addWidget(m_pRecalcAllButton);
    row->addWidget(m_pDeleteAllButton);
    inner->addLayout(row);
    connect(m_pRecalcAllButton, &QPushButton::clicked, this, &CStencilPainter::OnRecalcAll);
    connect(m_pDeleteAllButton, &QPushButton::clicked, this, &CStencilPainter::OnDeleteAll);
}

void CStencilPainter::CreateStencilControl(QVBoxLayout* layout)
{
    QVBoxLayout* inner = nullptr;
    m_pStencilGroup = new _gui::COpacityGroupBox(this);
    layout->addWidget(FixedGroup(m_pStencilGroup, &inner));

    auto* newRow = new QHBoxLayout();
    newRow->setSpacing(8);
    m_pNewStencilButton = new _gui::COpacityPushButton(this);
    IconButton(m_pNewStencilButton, "StencilNew", QSize(34, 34),
               QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window New Stencil"), true);
    m_pNewSizeSlider = new _gui::HDROpacitySlider(this, tr("Größe"), QStringLiteral("-"), QStringLiteral("+"));
    m_pNewSizeSlider->setFixedWidth(158);
    m_pNewSizeSlider->SetStyleSheet(QLatin1String(kGroove));
    m_pNewSizeSlider->SetCenterValueF(SStencilData::RadiusRelToPercent(SStencilData::kDefaultRadius));
    m_pNewSizeSlider->SetSmoothUpdate(true);
    m_pNewSizeSlider->setToolTip(Tip(QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window New Stencil Size")));
    newRow->addWidget(m_pNewStencilButton);
    newRow->addWidget(m_pNewSizeSlider);
    inner->addLayout(newRow);
    inner->addSpacing(_gui::AdjustHeight(40));
    connect(m_pNewStencilButton, &QPushButton::toggled, this, &CStencilPainter::OnNewStencil);
    connect(m_pNewSizeSlider, &_gui::HDROpacitySlider::SigValueUpdated, this, &CStencilPainter::OnNewSizeUpdated);

    m_pSizeSlider = new _gui::HDROpacitySlider(this, tr("Größe"), QStringLiteral("-"), QStringLiteral("+"));
    m_pSizeSlider->setFixedWidth(226);
    m_pSizeSlider->SetStyleSheet(QLatin1String(kGroove));
    m_pSizeSlider->SetCenterValueF(SStencilData::RadiusRelToPercent(SStencilData::kDefaultRadius));
    m_pSizeSlider->SetSmoothUpdate(true);
    m_pSizeSlider->setToolTip(Tip(QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Stencil Size")));
    inner->addWidget(m_pSizeSlider, 0, Qt::AlignHCenter);
    inner->addSpacing(_gui::AdjustHeight(20));
    connect(m_pSizeSlider, &_gui::HDROpacitySlider::SigControlUpdated, this, &CStencilPainter::OnSizeUpdated);
    connect(m_pSizeSlider, &_gui::HDROpacitySlider::SigControlFinished, this, &CStencilPainter::OnSizeUpdateFinished);

    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    m_pBestMatchButton = new _gui::COpacityPushButton(this);
    IconButton(m_pBestMatchButton, "StencilBestMatch", QSize(106, 34),
               QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Best Match"), false);
    m_pDeleteButton = new _gui::COpacityPushButton(this);
    IconButton(m_pDeleteButton, "StencilDelete", QSize(106, 34),
               QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Delete"), false);
    row->addWidget(m_pBestMatchButton);
    row->addWidget(m_pDeleteButton);
    inner->addLayout(row);
    connect(m_pBestMatchButton, &QPushButton::clicked, this, &CStencilPainter::OnBestMatch);
    connect(m_pDeleteButton, &QPushButton::clicked, this, &CStencilPainter::OnDeleteSelected);
}

void CStencilPainter::CreatePageControls(QVBoxLayout* layout)
{
    QVBoxLayout* inner = nullptr;
    layout->addWidget(FixedGroup(new QGroupBox(this), &inner));
    m_pFinishButton = new QPushButton(tr("Beenden"), this);
    m_pFinishButton->setFixedSize(226, 34);
    m_pFinishButton->setToolTip(Tip(QT_TRANSLATE_NOOP("CStencilPainter", "tooltip Stencil Window Finish")));
    inner->addWidget(m_pFinishButton, 0, Qt::AlignHCenter);
    connect(m_pFinishButton, &QPushButton::clicked, this, &CStencilPainter::OnFinish);
}

// ---- resources and the view pictures ------------------------------------------------

bool CStencilPainter::CreateResources(unsigned int width, unsigned int height)
{
    FreeResources();
    const size_t pixels = static_cast<size_t>(width) * height;
    // The buffers count their elements in 32 bits.
    if (pixels == 0 || pixels * 3 > UINT_MAX)
        return false;
    const unsigned int n = static_cast<unsigned int>(pixels);
    if (!m_WorkBuffer.Create(n * 3) || !m_ARGBBuffer.Create(n) || !m_RadarARGBBuffer.Create(n)) {
        FreeResources();
        return false;
    }
    m_ppPixmapCreator[0] = new HDRPixmapCreator();
    m_ppPixmapCreator[1] = new HDRPixmapCreator();
    m_bCreatePixmap = true;
    return true;
}

void CStencilPainter::FreeResources()
{
    // The pixmaps share the picture buffers: they go first.
    for (HDRPixmapCreator*& creator : m_ppPixmapCreator) {
        delete creator;
        creator = nullptr;
    }
    m_WorkBuffer.Destroy();
    m_ARGBBuffer.Destroy();
    m_RadarARGBBuffer.Destroy();
}

void CStencilPainter::BuildPixmaps()
{
    const SImageMetric& image = m_ImageMetric;
    const int w = static_cast<int>(image.uiWidth), h = static_cast<int>(image.uiHeight);
    for (unsigned int k = 0; k < 2; ++k) {
        HDRPixmapCreator* creator = m_ppPixmapCreator[k];
        // The navigator shows the uncorrected image, which does not change
        // while the painter is open: it is made once per opening.
        const bool stale = k == 0 ? (m_bCreatePixmap || creator->m_Pixmap.isNull()) : creator->m_Pixmap.isNull();
        if (!stale)
            continue;
        unsigned int* argb =
            k == 0 ? static_cast<unsigned int*>(m_ARGBBuffer) : static_cast<unsigned int*>(m_RadarARGBBuffer);
        const uint16_t* pixels = image.pData;
        if (k == 0 && (m_bStencilsEnabled || m_bVariationEnabled)) {
            MP_copyImageBanded(image.pData, m_WorkBuffer, w, h);
            if (m_bStencilsEnabled) {
                const SStencilRawData& raw = m_pStencilLabel->GetStencilRawData();
                MP_UI_StencilCopyAll(static_cast<int>(raw.uiCount), raw.pfDstX, raw.pfDstY, raw.pfRadius, raw.pfSrcX,
                                     raw.pfSrcY, w, h, m_WorkBuffer, image.pData);
            }
            if (m_bVariationEnabled)
                MP_UI_StencilCalcVariationToBuffer(w, h, m_WorkBuffer, m_WorkBuffer, m_fVariationIntensity);
            pixels = m_WorkBuffer;
        }
        // The old pixmap shares the buffer that is about to be rewritten.
        creator->m_Pixmap = QPixmap();
        MP_UI_ConvertRGB48toARGB8888(w, h, pixels, argb);
        QImage picture(reinterpret_cast<const uchar*>(argb), w, h, static_cast<qsizetype>(w) * 4, QImage::Format_RGB32);
        creator->Create(&picture);
        creator->m_pImage = nullptr;
    }
    m_bCreatePixmap = false;
}

QPixmap* CStencilPainter::GetPixmap(unsigned int index)
{
    if (index > 1 || !m_WorkBuffer.IsCreated() || !m_ARGBBuffer.IsCreated() || !m_RadarARGBBuffer.IsCreated() ||
        !m_ppPixmapCreator[0] || !m_ppPixmapCreator[1] || !m_ImageMetric.IsValid())
        return nullptr;
    if (m_bCreatePixmap || m_ppPixmapCreator[0]->m_Pixmap.isNull() || m_ppPixmapCreator[1]->m_Pixmap.isNull()) {
        // While an engine operation runs the last pictures stay; the rebuild
        // follows once it is over.
        const bool now = m_RenderGate.Run([this] {
            if (!m_ppPixmapCreator[0] || !m_ppPixmapCreator[1])
                return;
            BuildPixmaps();
            if (m_bBuildDeferred) {
                m_bBuildDeferred = false;
                m_pStencilLabel->update();
                m_pRadarLabel->update();
            }
        });
        if (!now)
            m_bBuildDeferred = true;
    }
    return &m_ppPixmapCreator[index]->m_Pixmap;
}

unsigned int CStencilPainter::GetNumStencils() const { return m_pStencilLabel->GetNumStencils(); }

QRectF CStencilPainter::GetZoomRect() const { return m_pStencilLabel->GetZoomRect(); }

// ---- opening, state ------------------------------------------------------------------

void CStencilPainter::Show(const unsigned short* rgb48, unsigned int width, unsigned int height)
{
    if (!rgb48 || width == 0 || height == 0)
        return;
    if (!OpenImage(rgb48, width, height)) {
        HDRMessageBox box(
            this, QMessageBox::Warning, tr("Stencil Painter"),
            QCoreApplication::translate("IExposure", "Es steht nicht genügend Arbeitsspeicher zur Verfügung."),
            QString(), tr("OK"));
        box.exec();
        return;
    }
    exec();
    CloseImage();
}

bool CStencilPainter::OpenImage(const unsigned short* rgb48, unsigned int width, unsigned int height)
{
    if (!rgb48 || !CreateResources(width, height))
        return false;
    m_ImageMetric.Set(rgb48, width, height);
    return true;
}

void CStencilPainter::CloseImage() { FreeResources(); }

void CStencilPainter::Clear()
{
    m_pStencilLabel->Clear();
    m_fVariationIntensity = 0.5f;
    m_NewStencilData.Reset();
    SetVariationEnabled(false);
    SetStencilsEnabled(true);
    SetShowSources(false);
    Reset();
}

void CStencilPainter::Reset()
{
    m_pStencilLabel->Reset();
    m_bCreatePixmap = true;
    SetNewStencil(false);
}

void CStencilPainter::SetVariationEnabled(bool on)
{
    m_bVariationEnabled = on;
    m_pVariationButton->setChecked(on);
}

void CStencilPainter::SetStencilsEnabled(bool on)
{
    m_bStencilsEnabled = on;
    m_pStencilsButton->setChecked(on);
}

void CStencilPainter::SetShowSources(bool on)
{
    m_bShowSources = on;
    m_pSourcesButton->setChecked(on);
}

void CStencilPainter::SetNewStencil(bool on)
{
    m_bNewStencil = on;
    m_pNewStencilButton->setChecked(on);
}

void CStencilPainter::Update()
{
    m_pStencilLabel->Update();
    m_pRadarLabel->Update();
    UpdateConstrols();
}

void CStencilPainter::UpdateConstrols()
{
    const unsigned int n = m_pStencilLabel->GetNumStencils();
    bool add = false, selection = false, bestMatch = false, newSize = false;
    float opacity = 0.25f;
    if (m_pStencilLabel->IsStencilEditEnabled()) {
        add = n < CStencilLabel::kSlots;
        opacity = 1.0f;
        if (m_bNewStencil) {
            newSize = true;
        } else if (m_pStencilLabel->IsSelected()) {
            const SStencilData& d = m_pStencilLabel->GetStencilData(m_pStencilLabel->SelectedIdx());
            // Showing the radius changes nothing: the slider stays silent.
            const QSignalBlocker block(m_pSizeSlider);
            m_pSizeSlider->SetValueF(SStencilData::RadiusRelToPercent(d.fRadius));
            selection = true;
            bestMatch = !d.bAutomatic;
        }
    }
    m_pStencilGroup->SetOpacity(opacity);
    m_pNewStencilButton->SetOpacity(opacity);
    m_pBestMatchButton->SetOpacity(opacity);
    m_pDeleteButton->SetOpacity(opacity);
    m_pNewSizeSlider->SetOpacity(opacity);
    m_pSizeSlider->SetOpacity(opacity);

    m_pVariationSlider->SetEnabled(m_bVariationEnabled);
    m_pVariationSlider->SetValueF(m_fVariationIntensity);
    m_pStencilGroup->setTitle(tr("Korrektureinheiten") + QStringLiteral("  ") +
                              QString::asprintf("( %i/%i )", static_cast<int>(n), int(CStencilLabel::kSlots)));
    {
        const QSignalBlocker block(m_pNewSizeSlider);
        m_pNewSizeSlider->SetValueF(SStencilData::RadiusRelToPercent(m_NewStencilData.fRadius));
    }
    m_pNewStencilButton->setEnabled(add);
    m_pNewSizeSlider->SetEnabled(newSize);
    m_pSizeSlider->SetEnabled(selection);
    m_pDeleteButton->setEnabled(selection);
    m_pBestMatchButton->setEnabled(bestMatch);
    m_pRecalcAllButton->setEnabled(n > 0);
    m_pDeleteAllButton->setEnabled(n > 0);
}

void CStencilPainter::UpdateSelectedSize(bool finished)
{
    const unsigned int s = m_pStencilLabel->SelectedIdx();
    if (s >= CStencilLabel::kSlots)
        return;
    SStencilData d = m_pStencilLabel->GetStencilData(s);
    d.fRadius = SStencilData::PercentToRadiusRel(m_pSizeSlider->GetValueF());
    d.bAutomatic = true;
    m_pStencilLabel->SetStencilData(s, d);
    if (finished)
        m_pStencilLabel->UpdateStencilData(s, true);
}

void CStencilPainter::UpdateBestMatch(bool toggle)
{
    const unsigned int s = m_pStencilLabel->SelectedIdx();
    if (s >= CStencilLabel::kSlots)
        return;
    SStencilData d = m_pStencilLabel->GetStencilData(s);
    d.bAutomatic = toggle ? !d.bAutomatic : true;
    m_pStencilLabel->SetStencilData(s, d);
    if (d.bAutomatic)
        m_pStencilLabel->UpdateStencilData(s, false);
}

// ---- slots ------------------------------------------------------------------------------

void CStencilPainter::OnUpdate() { Update(); }

void CStencilPainter::OnSetNewStencil(bool on) { SetNewStencil(on); }

void CStencilPainter::OnCreatePixmap() { m_bCreatePixmap = true; }

void CStencilPainter::OnNewStencil(bool on)
{
    if (on)
        m_pStencilLabel->Deselect();
    m_bNewStencil = on;
    Update();
}

void CStencilPainter::OnNewSizeUpdated()
{
    m_NewStencilData.fRadius = SStencilData::PercentToRadiusRel(m_pNewSizeSlider->GetValueF());
    Update();
}

void CStencilPainter::OnSizeUpdated()
{
    UpdateSelectedSize(false);
    Update();
}

void CStencilPainter::OnSizeUpdateFinished()
{
    UpdateSelectedSize(true);
    Update();
}

void CStencilPainter::OnBestMatch()
{
    UpdateBestMatch(false);
    Update();
}

void CStencilPainter::OnToggleBestMatch()
{
    UpdateBestMatch(true);
    Update();
}

void CStencilPainter::OnDeleteSelected()
{
    m_pStencilLabel->DeleteSelected();
    Update();
}

void CStencilPainter::OnEnableVariation(bool on)
{
    m_bVariationEnabled = on;
    m_bCreatePixmap = true;
    Update();
}

void CStencilPainter::OnVariationIntensityUpdated()
{
    m_fVariationIntensity = m_pVariationSlider->GetValueF();
    m_bCreatePixmap = true;
    Update();
}

void CStencilPainter::OnEnableStencils(bool on)
{
    m_bStencilsEnabled = on;
    m_bCreatePixmap = true;
    Update();
}

void CStencilPainter::OnShowSources(bool on)
{
    m_bShowSources = on;
    m_bCreatePixmap = true;
    Update();
}

void CStencilPainter::OnRecalcAll()
{
    const unsigned int n = m_pStencilLabel->GetNumStencils();
    if (n == 0) {
        Update();
        return;
    }
    {
        HDRProgressThread progress(1, 0);
        HDRProgressThread::OpenCategory(19, false);
        HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Neuberechnung"));
        const double start = MP_UI_GetActualTime();
        unsigned int done = 0;
        for (unsigned int slot = 0; slot < CStencilLabel::kSlots; ++slot) {
            done += m_pStencilLabel->UpdateStencilData(slot, false) ? 1 : 0;
            HDRProgressThread::AddMessage(19, static_cast<float>(done) / static_cast<float>(n));
        }
        std::printf("OnRecalcAll: %g ms\n", MP_UI_CalcTimeDifference(start));
        std::fflush(stdout);
        _hlp::CSleep::msleep(250);
    }
    Update();
}

void CStencilPainter::OnDeleteAll()
{
    HDRMessageBox box(this, QMessageBox::Question, tr("Alle Korrekturen löschen"),
                      tr("Sollen alle Korrekturen wirklich gelöscht werden?"), tr("Ja"), tr("Nein"));
    box.exec();
    if (!box.YesClicked())
        return;
    m_pStencilLabel->Clear();
    m_bCreatePixmap = true;
    Update();
}

void CStencilPainter::OnFinish() { accept(); }

// ---- events ----------------------------------------------------------------------------

void CStencilPainter::enterEvent(QEnterEvent*)
{
    m_bMouseInside = true;
    Update();
}

void CStencilPainter::leaveEvent(QEvent*)
{
    if (geometry().contains(QCursor::pos()))
        return;
    m_bMouseInside = false;
    Update();
}

void CStencilPainter::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Reset();
    Update();
    m_pFinishButton->setFocus();
}
