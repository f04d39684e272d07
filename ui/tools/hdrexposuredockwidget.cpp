#include "ui/tools/hdrexposuredockwidget.h"

#include "document/exposure.h"
#include "document/exposureseries.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"
#include "ui/tools/tooldocks.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>

#include <algorithm>

namespace {
const char kPresetKey[] = "ExposureDock/Preset";
constexpr int kThumbWidth = 104;
constexpr int kThumbHeight = 60;
} // namespace

// ---- the panel -------------------------------------------------------------------

HDRExposureGroupBox::HDRExposureGroupBox(QWidget* parent) : QGroupBox(parent)
{
    connect(this, &QGroupBox::clicked, this, &HDRExposureGroupBox::activateClicked);
    setMaximumWidth(260);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->setContentsMargins(4, 5, 4, 5);
    layout->setSpacing(5);

    QHBoxLayout* pictures = new QHBoxLayout();
    pictures->setContentsMargins(0, 1, 0, 1);
    pictures->setSpacing(2);
    m_pPictureLabel = new HDRExposureLabel(this);
    m_pPictureLabel->SetFixedSize(kThumbWidth, kThumbHeight);
    m_pPictureLabel->setToolTip(_gui::HtmlToolTip(tr("tooltip Belichtungsreihenbild")));
    m_pWeightmapLabel = new HDRExposureLabel(this);
    m_pWeightmapLabel->SetFixedSize(kThumbWidth, kThumbHeight);
    m_pWeightmapLabel->setToolTip(_gui::HtmlToolTip(tr("tooltip Gewichtungsbild")));
    connect(m_pPictureLabel, &HDRExposureLabel::clicked, this, &HDRExposureGroupBox::labelClicked);
    connect(m_pWeightmapLabel, &HDRExposureLabel::clicked, this, &HDRExposureGroupBox::labelClicked);
    pictures->addWidget(m_pPictureLabel);
    pictures->addWidget(m_pWeightmapLabel);
    layout->addLayout(pictures);

    QHBoxLayout* masterRow = new QHBoxLayout();
    masterRow->setContentsMargins(0, 0, 0, 0);
    m_pMasterLabel = new QLabel(tr("Master"), this);
    m_pMasterLabel->setStyleSheet(
        CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral("font-weight: bold; color: #STYLE_TEXTCOLOR+2;")));
    m_pMasterLabel->hide();
    m_pDeleteButton = new QPushButton(this);
    m_pDeleteButton->setIcon(QIcon::fromTheme(QStringLiteral("ExposureDelete"), QIcon()));
    m_pDeleteButton->setMaximumSize(18, 18);
    m_pDeleteButton->setToolTip(_gui::HtmlToolTip(tr("Bild entfernen")));
    connect(m_pDeleteButton, &QPushButton::clicked, this, &HDRExposureGroupBox::deleteClicked);
    masterRow->addWidget(m_pMasterLabel);
    masterRow->addStretch(1);
    masterRow->addWidget(m_pDeleteButton, 0, Qt::AlignRight);
    layout->addLayout(masterRow);

    m_pGlobalWeightSlider = new HDRSlider(this, tr("Globales Gewicht"), tr("schwach"), tr("stark"), QStringLiteral("%"),
                                          0, 100, 5, 1, false, QStringLiteral("stop:0 #3f3f3f, stop:1 #bfbfbf"), false);
    m_pGlobalWeightSlider->SetCenterValueInt(50);
    m_pGlobalWeightSlider->setToolTip(_gui::HtmlToolTip(tr("tooltip Global weight slider")));
    connect(m_pGlobalWeightSlider, &HDRSlider::valueUpdated, this, &HDRExposureGroupBox::sliderWeightValueChanged);
    layout->addWidget(m_pGlobalWeightSlider);

    m_pExposureValueSlider =
        new HDRSlider(this, tr("Belichtungswert"), tr("dunkel"), tr("hell"), QStringLiteral("%"), -100, 100, 10, 1,
                      false, QStringLiteral("stop:0 #0f0f0f, stop:1 #efefef"), false);
    m_pExposureValueSlider->SetCenterValueInt(0);
    m_pExposureValueSlider->setToolTip(_gui::HtmlToolTip(tr("tooltip EV slider")));
    connect(m_pExposureValueSlider, &HDRSlider::valueUpdated, this,
            &HDRExposureGroupBox::sliderSynExposureValueChanged);
    layout->addWidget(m_pExposureValueSlider);

    m_pSpacer = new QWidget(this);
    m_pSpacer->setFixedHeight(80);
    m_pSpacer->setStyleSheet(QStringLiteral("QWidget { background: transparent; }"));
    layout->addWidget(m_pSpacer);

    setCheckable(false);
    setChecked(false);
    setEnabled(false);
    adjustSize();
}

void HDRExposureGroupBox::RenderPictures()
{
    if (!m_pExposure)
        return;
    m_pPictureLabel->setPixmap(m_pExposure->CreatePixmap(m_pPictureLabel->width(), m_pPictureLabel->height()));
    m_pWeightmapLabel->setPixmap(
        m_pExposure->CreatePixmapFromWeightmap(m_pWeightmapLabel->width(), m_pWeightmapLabel->height()));
}

void HDRExposureGroupBox::SetExposure(CExposure* exposure, bool refreshOnly)
{
    if (refreshOnly) {
        if (exposure) {
            CExposure* shown = m_pExposure;
            m_pExposure = exposure;
            RenderPictures();
            m_pExposure = shown;
        }
        return;
    }
    m_pMasterLabel->show();
    m_pDeleteButton->show();
    m_pPictureLabel->show();
    m_pWeightmapLabel->show();
    m_pGlobalWeightSlider->show();
    m_pExposureValueSlider->show();

    if (exposure) {
        show();
        setCheckable(true);
        setChecked(exposure->m_bActive);
        setEnabled(true);
        setTitle(exposure->m_strFileName);
        const bool on = isChecked();
        m_pMasterLabel->setVisible(exposure->m_bMaster);
        m_pDeleteButton->setVisible(!exposure->m_bMaster);
        m_pDeleteButton->setEnabled(on);
        m_pPictureLabel->setEnabled(on);
        m_pWeightmapLabel->setEnabled(on);
        m_pExposure = exposure;
        RenderPictures();
        m_pGlobalWeightSlider->SetEnabled(on);
        m_pExposureValueSlider->SetEnabled(on);
        m_pGlobalWeightSlider->SetValueF(exposure->m_fGlobalWeight);
        m_pExposureValueSlider->SetValueF(exposure->m_fExposureValue);
    } else {
        hide();
        setCheckable(false);
        setChecked(false);
        setEnabled(false);
        setTitle(QString());
        m_pMasterLabel->hide();
        m_pDeleteButton->show();
        m_pDeleteButton->setEnabled(true);
        m_pPictureLabel->clear();
        m_pWeightmapLabel->clear();
        m_pGlobalWeightSlider->SetEnabled(true);
        m_pExposureValueSlider->SetEnabled(true);
        m_pGlobalWeightSlider->SetValueF(0.5f);
        m_pExposureValueSlider->SetValueF(0.5f);
    }
    m_pSpacer->hide();
    m_pExposure = exposure;
}

void HDRExposureGroupBox::SetLabelHighlights(bool picture, bool weightmap)
{
    m_pPictureLabel->SetChecked(picture);
    m_pWeightmapLabel->SetChecked(weightmap);
}

void HDRExposureGroupBox::activateClicked(bool on)
{
    if (!m_pExposure)
        return;
    // The last active exposure cannot be switched off.
    if (!on && g_pExposureSeries && g_pExposureSeries->GetNumActive() == 1) {
        const bool blocked = blockSignals(true);
        setChecked(true);
        blockSignals(blocked);
        return;
    }
    emit activateExposure(m_pExposure, on);
    m_pDeleteButton->setEnabled(on);
    m_pGlobalWeightSlider->SetEnabled(on);
    m_pExposureValueSlider->SetEnabled(on);
}

void HDRExposureGroupBox::deleteClicked()
{
    if (m_pExposure)
        emit deleteExposure(m_pExposure);
}

void HDRExposureGroupBox::labelClicked()
{
    if (!m_pExposure)
        return;
    if (sender() == m_pPictureLabel)
        emit displayExposureColour(m_pExposure);
    else if (sender() == m_pWeightmapLabel)
        emit displayExposureWeightmap(m_pExposure);
}

void HDRExposureGroupBox::sliderWeightValueChanged()
{
    if (m_pExposure)
        emit globalWeightChanged(m_pExposure, m_pGlobalWeightSlider->GetValueF());
}

void HDRExposureGroupBox::sliderSynExposureValueChanged()
{
    if (m_pExposure && sender() == m_pExposureValueSlider)
        emit synExposureValueChanged(m_pExposure, m_pExposureValueSlider->GetValueF());
}

// ---- the dock --------------------------------------------------------------------

HDRExposureDockWidget::HDRExposureDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : HDRDockWidget(title, parent, flags)
{
    const int contentWidth = m_pContentWidget->width();
    m_pContentLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_pContentLayout->setSpacing(14);
    m_pContentLayout->setContentsMargins(9, 11, 7, 11);
    m_pContentLayout->addSpacing(15);

    QGroupBox* presets = new QGroupBox(tr("HDR WeightPresets"), m_pContentWidget);
    presets->setToolTip(_gui::HtmlToolTip(tr("tooltip HDRWeightPreset Groupbox")));
    presets->setFixedHeight(60);
    presets->setFixedWidth(contentWidth - 20);
    QVBoxLayout* presetLayout = new QVBoxLayout(presets);
    presetLayout->setContentsMargins(4, 1, 4, 5);
    m_pWeightPresetCombo = new QComboBox(presets);
    m_pWeightPresetCombo->setMaximumWidth(270);
    m_pWeightPresetCombo->addItems(QStringList()
                                   << tr("HDR WeightPreset custom") << tr("HDR WeightPreset equal")
                                   << tr("HDR WeightPreset Luminance") << tr("HDR WeightPreset Congruence")
                                   << tr("HDR WeightPreset LuminanceCongruence"));
    m_pWeightPresetCombo->setMaxVisibleItems(10);
    presetLayout->addWidget(m_pWeightPresetCombo);
    m_pContentLayout->addWidget(presets);
    ResetPresetToIndex(1);
    presets->hide();

    m_pExposureGroupBox = new HDRExposureGroupBox(m_pContentWidget);
    m_pExposureGroupBox->setFixedWidth(contentWidth - 20);
    m_pExposureGroupBox->setToolTip(_gui::HtmlToolTip(tr("tooltip Belichtungsreihenbild an/aus")));
    m_pContentLayout->addWidget(m_pExposureGroupBox);

    struct SLink {
        const char* szSignal;
        const char* szSlot;
    };
    const SLink links[] = {
        {SIGNAL(activateExposure(CExposure*, bool)), "activateExposure(CExposure*,bool)"},
        {SIGNAL(deleteExposure(CExposure*)), "deleteExposure(CExposure*)"},
        {SIGNAL(displayExposureColour(CExposure*)), "displayExposureColour(CExposure*)"},
        {SIGNAL(displayExposureWeightmap(CExposure*)), "displayExposureWeightmap(CExposure*)"},
        {SIGNAL(globalWeightChanged(CExposure*, float)), "globalWeightChanged(CExposure*,float)"},
        {SIGNAL(synExposureValueChanged(CExposure*, float)), "synExposureValueChanged(CExposure*,float)"},
    };
    for (const SLink& link : links)
        ToolDocks::ConnectToParent(m_pExposureGroupBox, link.szSignal, parent, link.szSlot);
    connect(m_pExposureGroupBox, &HDRExposureGroupBox::displayExposureColour, this,
            &HDRExposureDockWidget::resetLabelHighlights);
    connect(m_pExposureGroupBox, &HDRExposureGroupBox::displayExposureWeightmap, this,
            &HDRExposureDockWidget::resetLabelHighlights);

    QWidget* trailing = new QWidget(m_pContentWidget);
    trailing->setFixedHeight(200);
    trailing->setStyleSheet(QStringLiteral("QWidget { background: transparent; }"));
    m_pContentLayout->addWidget(trailing);
}

void HDRExposureDockWidget::UpdateDisplay(CExposureSeries* series, bool refreshOnly)
{
    const bool filled = series && !series->m_vExposures.isEmpty();
    if (refreshOnly) {
        if (filled)
            m_pExposureGroupBox->SetExposure(series->m_vExposures.first(), true);
        return;
    }
    if (filled) {
        const int height = m_pExposureGroupBox->height();
        m_iShownExposures = 0;
        m_pExposureGroupBox->SetExposure(series->m_vExposures.first(), false);
        m_iShownExposures = 1;
        m_strTitle = tr("Belichtungsreihe mit %n Bild(ern)", nullptr, int(series->m_vExposures.size()));
        m_pContentWidget->setFixedHeight((height + 20) * m_iShownExposures);
    } else {
        m_pExposureGroupBox->SetExposure(nullptr, false);
        m_strTitle = tr("Belichtungsreihe");
    }
}

void HDRExposureDockWidget::resetLabelHighlights() { m_pExposureGroupBox->SetLabelHighlights(false, false); }

void HDRExposureDockWidget::ScrollToCenter() { m_pScrollArea->verticalScrollBar()->setValue(0); }

void HDRExposureDockWidget::ResetPresetToIndex(int index)
{
    const bool blocked = m_pWeightPresetCombo->blockSignals(true);
    m_pWeightPresetCombo->setCurrentIndex(index);
    m_pWeightPresetCombo->blockSignals(blocked);
}

int HDRExposureDockWidget::PresetIndex() const { return m_pWeightPresetCombo->currentIndex(); }

void HDRExposureDockWidget::GetInfoText(QString& text) { text = tr("HDRExposureDockWidget lumivex"); }

bool HDRExposureDockWidget::SaveProject(QSettings& settings, const QString&) const
{
    settings.setValue(QLatin1String(kPresetKey), m_pWeightPresetCombo->currentIndex());
    return true;
}

bool HDRExposureDockWidget::LoadProject(QSettings& settings, const QString&)
{
    // A stored entry outside the list is clamped into it.
    const int entry = settings.value(QLatin1String(kPresetKey), 0).toInt();
    ResetPresetToIndex(qBound(0, entry, std::max(m_pWeightPresetCombo->count() - 1, 0)));
    return true;
}
