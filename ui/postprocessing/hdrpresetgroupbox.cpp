#include "ui/postprocessing/hdrpresetgroupbox.h"

#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "ui/postprocessing/presetfiles.h"
#include "ui/postprocessing/presetsseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrexposurelabel.h"

#include <QBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

const char kButtonSheet[] = "QPushButton{min-width:50px; min-height: 20px}";

QPushButton* SmallButton(QWidget* parent, const char* icon, const QString& tip)
{
    auto* button = new QPushButton(parent);
    button->setMaximumSize(18, 18);
    button->setIcon(QIcon::fromTheme(QLatin1String(icon), QIcon()));
    button->setToolTip(_gui::HtmlToolTip(tip));
    return button;
}

} // namespace

void ReportPresetWriteFailure(QWidget* parent, const QString& path)
{
    HDRMessageBox box(parent, QMessageBox::Warning,
                      QCoreApplication::translate("HDRPresetGroupBox", "Voreinstellung speichern"),
                      QCoreApplication::translate("HDRPresetGroupBox",
                                                  "Die Voreinstellung konnte nicht geschrieben werden: %1")
                          .arg(path),
                      QString(), QCoreApplication::translate("HDRPresetGroupBox", "OK"));
    box.exec();
}

HDRPresetGroupBox::HDRPresetGroupBox(QWidget* parent) : QGroupBox(parent)
{
    m_pPostProcessing = new CPostProcessing();
    m_pLabel = new HDRExposureLabel(this);
    m_pLabel->setFixedSize(230, 160);
    m_pLabel->m_bStayChecked = true;
    m_pLabel->m_uiBorderWidth = 3;
    m_pLabel->UpdateStyle(false);
    connect(m_pLabel, SIGNAL(clicked()), this, SLOT(labelClicked()));

    m_pCopyButton = SmallButton(this, "PresetCopy", tr("Duplizieren"));
    m_pResetButton = SmallButton(this, "PresetToDefault", tr("Zurücksetzen"));
    m_pSaveButton = SmallButton(this, "PresetSave", tr("Einstellungen speichern"));
    m_pRenameButton = SmallButton(this, "PresetEdit", tr("Umbenennen"));
    m_pDeleteButton = SmallButton(this, "PresetDelete", tr("Löschen"));
    m_pSpacer = new QLabel(this);
    m_pSpacer->setFixedSize(8, 25);
    m_pUpButton = SmallButton(this, "PresetUp", tr("Nach oben schieben"));
    m_pDownButton = SmallButton(this, "PresetDown", tr("Nach unten schieben"));
    connect(m_pCopyButton, SIGNAL(clicked()), this, SLOT(copyClicked()));
    connect(m_pResetButton, SIGNAL(clicked()), this, SLOT(reloadButtonClicked()));
    connect(m_pSaveButton, SIGNAL(clicked()), this, SLOT(saveClicked()));
    connect(m_pRenameButton, SIGNAL(clicked()), this, SLOT(renameClicked()));
    connect(m_pDeleteButton, SIGNAL(clicked()), this, SLOT(deleteClicked()));
    connect(m_pUpButton, SIGNAL(clicked()), this, SLOT(moveUpClicked()));
    connect(m_pDownButton, SIGNAL(clicked()), this, SLOT(moveDownClicked()));
    m_pUpButton->hide();
    m_pDownButton->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setSpacing(8);
    layout->addWidget(m_pLabel);
    auto* column = new QVBoxLayout();
    column->setSpacing(15);
    for (QWidget* w : {static_cast<QWidget*>(m_pCopyButton), static_cast<QWidget*>(m_pResetButton),
                       static_cast<QWidget*>(m_pSaveButton), static_cast<QWidget*>(m_pRenameButton),
                       static_cast<QWidget*>(m_pDeleteButton), static_cast<QWidget*>(m_pSpacer),
                       static_cast<QWidget*>(m_pUpButton), static_cast<QWidget*>(m_pDownButton)})
        column->addWidget(w);
    layout->addLayout(column);
    layout->setAlignment(column, Qt::AlignTop);
    adjustSize();
}

HDRPresetGroupBox::~HDRPresetGroupBox() { delete m_pPostProcessing; }

QString HDRPresetGroupBox::FileName() const
{
    const QString& path = m_pPostProcessing->m_strSettingsPath;
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void HDRPresetGroupBox::SetSettingsPath(const QString& path)
{
    // By the file name: a folder named "..._vu_..." makes no factory preset
    // deletable.
    m_bUserPreset = PresetFiles::IsUserPresetName(path);
    m_pRenameButton->setVisible(m_bUserPreset);
    m_pResetButton->setEnabled(false);
    m_pSaveButton->setEnabled(false);
    m_pSaveButton->setVisible(m_bUserPreset);
    m_pDeleteButton->setVisible(m_bUserPreset);
    m_pUpButton->hide();
    m_pDownButton->hide();
    m_pPostProcessing->SetSettingsPath(path);
    m_pPostProcessing->FromSettings();
    setTitle(m_pPostProcessing->GetDisplayNameWithCategory());
}

void HDRPresetGroupBox::labelClicked() { emit labelClicked(this); }

bool HDRPresetGroupBox::Ask(const QString& title, const QString& question)
{
    HDRMessageBox box(this, QMessageBox::Question, title,
                      question.arg(m_pPostProcessing->GetDisplayName(), 0, QLatin1Char(' ')), tr("Ja"), tr("Nein"));
    box.setStyleSheet(QLatin1String(kButtonSheet));
    box.exec();
    return box.YesClicked();
}

void HDRPresetGroupBox::reloadButtonClicked() { reloadClicked(true, true); }

void HDRPresetGroupBox::reloadClicked(bool forceApply, bool askFirst)
{
    if (askFirst) {
        if (!Ask(tr("Voreinstellung zurücksetzen"), tr("Soll die Voreinstellung \"%1\" wirklich zurückgesetzt werden?")))
            return;
    }
    m_pPostProcessing->FromSettings();
    m_pPostProcessing->m_bForceApply = forceApply;
    m_pResetButton->setEnabled(false);
    m_pSaveButton->setEnabled(false);
    emit labelClicked(this);
    m_pLabel->SetChecked(true);
}

void HDRPresetGroupBox::saveClicked()
{
    if (!m_pPostProcessing->ToSettings()) {
        // Unsaved: the preset stays modified, so nothing is lost.
        ReportPresetWriteFailure(this, m_pPostProcessing->m_strSettingsPath);
        return;
    }
    m_pResetButton->setEnabled(false);
    m_pSaveButton->setEnabled(false);
}

void HDRPresetGroupBox::renameClicked()
{
    HDRInputDialog dialog(this, tr("Voreinstellung umbenennen"), tr("Vergeben sie einen neuen Namen:"),
                          m_pPostProcessing->GetDisplayName(), tr("OK"), tr("Abbrechen"));
    dialog.setStyleSheet(QLatin1String(kButtonSheet));
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;
    PresetsSeams::CountUsage("m_iPresetRenamed");
    const QString oldName = m_pPostProcessing->m_strDisplayName;
    m_pPostProcessing->SetDisplayName(dialog.textValue());
    if (!m_pPostProcessing->ToSettings()) {
        // The file keeps the old name, so does the tile.
        m_pPostProcessing->SetDisplayName(oldName);
        ReportPresetWriteFailure(this, m_pPostProcessing->m_strSettingsPath);
        return;
    }
    setTitle(m_pPostProcessing->GetDisplayNameWithCategory());
    m_pResetButton->setEnabled(false);
    m_pSaveButton->setEnabled(false);
}

void HDRPresetGroupBox::copyClicked()
{
    HDRInputDialog dialog(this, tr("Voreinstellung kopieren"), tr("Vergeben sie einen Namen:"),
                          m_pPostProcessing->GetDisplayName() + QStringLiteral(" (") + tr("Kopie") +
                              QStringLiteral(")"),
                          tr("OK"), tr("Abbrechen"));
    dialog.setStyleSheet(QLatin1String(kButtonSheet));
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;
    PresetsSeams::CountUsage("m_iPresetCreated");
    emit copyPresetClicked(this, dialog.textValue());
}

void HDRPresetGroupBox::deleteClicked()
{
    if (!Ask(tr("Voreinstellung löschen"), tr("Soll die Voreinstellung \"%1\" wirklich gelöscht werden?")))
        return;
    PresetsSeams::CountUsage("m_iPresetDeleted");
    emit deletePresetClicked(this);
}

void HDRPresetGroupBox::moveUpClicked()
{
    PresetsSeams::CountUsage("m_iPresetResorted");
    emit movePresetUpClicked(this);
}

void HDRPresetGroupBox::moveDownClicked()
{
    PresetsSeams::CountUsage("m_iPresetResorted");
    emit movePresetDownClicked(this);
}

bool HDRPresetGroupBox::UpdatePostProcessingInternal()
{
    CExposureSeries* series = PresetsSeams::Series();
    if (!series || !series->m_pusPreviewBuffer || series->m_uiPreviewWidth == 0 || series->m_uiPreviewHeight == 0)
        return false;
    m_pPostProcessing->SetAccordingExposureSeries(series);
    if (!CPostProcessing::InitBuffer(series->m_pusPreviewBuffer,
                                     QSize(int(series->m_uiPreviewWidth), int(series->m_uiPreviewHeight)),
                                     m_pLabel->size(), true))
        return false;
    if (m_pPostProcessing->Process(series->m_uiWidth, series->m_uiHeight, true) == CPostProcessing::PP_BUSY)
        return false;
    UpdateLabelPixmap();
    return true;
}

QSize HDRPresetGroupBox::LabelSize() const { return m_pLabel->size(); }

void HDRPresetGroupBox::UpdateLabelPixmap() { m_pLabel->setPixmap(CPostProcessing::CreatePixmap(false, true)); }

void HDRPresetGroupBox::EnableModifiedButtons()
{
    m_pResetButton->setEnabled(true);
    m_pSaveButton->setEnabled(true);
}

void HDRPresetGroupBox::ClearLabel() { m_pLabel->clear(); }

void HDRPresetGroupBox::SetLabelHighlight(bool on) { m_pLabel->SetChecked(on); }

bool HDRPresetGroupBox::IsSelected() const { return m_pLabel->m_bChecked; }

void HDRPresetGroupBox::HideAllButtons()
{
    for (QPushButton* b : {m_pDownButton, m_pUpButton, m_pRenameButton, m_pDeleteButton, m_pResetButton, m_pSaveButton,
                           m_pCopyButton})
        b->hide();
    // Without buttons the column keeps no empty strip beside the picture.
    m_pSpacer->hide();
    m_pLabel->UpdateStyle(false);
}

void HDRPresetGroupBox::UpdateMoveButtons(bool up, bool down)
{
    m_pUpButton->setEnabled(up);
    m_pDownButton->setEnabled(down);
}

void HDRPresetGroupBox::SetReloadButtonEnabledState(bool on) { m_pResetButton->setEnabled(on); }
