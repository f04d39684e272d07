#include "ui/postprocessing/hdrpresetcombinewindow.h"

#include "document/postprocessing.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"
#include "ui/postprocessing/presetfiles.h"
#include "ui/postprocessing/presetsseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

} // namespace

QString HDRPresetCombineWindow::TempPathA() { return PresetFiles::UserFolder() + QStringLiteral("_tempA.ini"); }

QString HDRPresetCombineWindow::TempPathB() { return PresetFiles::UserFolder() + QStringLiteral("_tempB.ini"); }

HDRPresetCombineWindow::HDRPresetCombineWindow(QWidget* parent, HDRPresetsDockWidget* dock)
    : HDRInfoDialog(parent), m_pPresetsDock(dock)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("PresetCombine"), QIcon()));
    setWindowTitle(tr("Voreinstellungen kombinieren"));
    auto* outer = new QVBoxLayout();
    outer->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    GetMainLayout()->addLayout(outer);

    m_pTabWidget = new QTabWidget(this);
    m_pTabWidget->setObjectName(QStringLiteral("combine_presets_tab"));
    outer->addWidget(m_pTabWidget);

    auto* page = new QWidget();
    page->setObjectName(QStringLiteral("combine_addition"));
    page->setStyleSheet(
        CStyleEngine::instance().ReplaceStyleSheetCodes(QStringLiteral(".QWidget { background: #STYLE_BACKGROUND+1; }")));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setSizeConstraint(QLayout::SetFixedSize);
    pageLayout->setSpacing(20);
    auto* row = new QHBoxLayout();
    auto makeColumn = [&](QComboBox*& combo, HDRPresetGroupBox*& tile, const char* comboTip, const char* tileTip) {
        auto* column = new QVBoxLayout();
        combo = new QComboBox(page);
        combo->setMaxVisibleItems(15);
        combo->setToolTip(_gui::HtmlToolTip(tr(comboTip)));
        tile = new HDRPresetGroupBox(page);
        tile->setToolTip(_gui::HtmlToolTip(tr(tileTip)));
        tile->m_pLabel->m_bCheckable = false;
        tile->HideAllButtons();
        column->addWidget(combo);
        column->addWidget(tile);
        return column;
    };
    row->addLayout(makeColumn(m_pComboA, m_pGroupBoxA, QT_TR_NOOP("PostProcessing Preset A"),
                              QT_TR_NOOP("tooltip Preset Groupbox A")));
    row->addSpacing(10);
    auto* plus = new QLabel(page);
    plus->setPixmap(QIcon::fromTheme(QStringLiteral("PresetCombineAdd"), QIcon()).pixmap(32, 32));
    plus->setAlignment(Qt::AlignCenter);
    plus->setScaledContents(false);
    row->addWidget(plus);
    row->addSpacing(10);
    row->addLayout(makeColumn(m_pComboB, m_pGroupBoxB, QT_TR_NOOP("PostProcessing Preset B"),
                              QT_TR_NOOP("tooltip Preset Groupbox B")));
    pageLayout->addLayout(row);
    m_pGroupBoxResult = new HDRPresetGroupBox(page);
    m_pGroupBoxResult->setToolTip(_gui::HtmlToolTip(tr("tooltip Preset Groupbox Result")));
    m_pGroupBoxResult->m_pLabel->m_bCheckable = false;
    m_pGroupBoxResult->m_pLabel->setFixedSize(596, 320);
    m_pGroupBoxResult->HideAllButtons();
    pageLayout->addWidget(m_pGroupBoxResult, 0, Qt::AlignHCenter);
    m_pTabWidget->addTab(page, tr("Addieren"));
    connect(m_pTabWidget, SIGNAL(currentChanged(int)), this, SLOT(tabChanged(int)));
    connect(m_pComboA, SIGNAL(currentIndexChanged(int)), this, SLOT(presetSelected(int)));
    connect(m_pComboB, SIGNAL(currentIndexChanged(int)), this, SLOT(presetSelected(int)));

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(new QWidget(this));
    m_pConfirmButton = new QPushButton(tr("Kombinieren"), this);
    m_pConfirmButton->setToolTip(_gui::HtmlToolTip(tr("Kombinieren ausführen")));
    m_pCancelButton = new QPushButton(tr("Abbrechen"), this);
    m_pCancelButton->setToolTip(_gui::HtmlToolTip(tr("Kombinieren abbrechen")));
    for (QPushButton* b : {m_pConfirmButton, m_pCancelButton}) {
        b->setFixedSize(106, 34);
        buttons->addWidget(b);
    }
    connect(m_pConfirmButton, SIGNAL(clicked()), this, SLOT(confirmClicked()));
    connect(m_pCancelButton, SIGNAL(clicked()), this, SLOT(cancelClicked()));
    outer->addLayout(buttons);
    m_pConfirmButton->setFocus();
    CreateInfoArea();
}

void HDRPresetCombineWindow::showEvent(QShowEvent* event)
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        m_strSavedInfoText = dock->StoredText();
    if (m_pTabWidget->currentIndex() != 0)
        m_pTabWidget->setCurrentIndex(0);
    else
        tabChanged(0);
    m_strResultPath = m_pPresetsDock->createNewPresetFilePath();
    m_bConfirmed = false;
    const bool blockedA = m_pComboA->blockSignals(true);
    const bool blockedB = m_pComboB->blockSignals(true);
    m_pComboA->clear();
    m_pComboB->clear();
    int selected = 0;
    for (int i = 0; i < m_pPresetsDock->m_PresetGroupBoxes.size(); ++i) {
        HDRPresetGroupBox* tile = m_pPresetsDock->m_PresetGroupBoxes[i];
        m_pComboA->addItem(QIcon(), tile->title());
        m_pComboB->addItem(QIcon(), tile->title());
        if (tile->IsSelected())
            selected = i;
    }
    m_pComboA->setCurrentIndex(selected);
    m_pComboA->blockSignals(blockedA);
    m_pComboB->blockSignals(blockedB);
    presetSelected();
    m_pComboA->setFixedWidth(m_pGroupBoxA->width());
    m_pComboB->setFixedWidth(m_pGroupBoxB->width());
    HDRInfoDialog::showEvent(event);
}

void HDRPresetCombineWindow::presetSelected(int)
{
    HDRPresetGroupBox* a = m_pPresetsDock->GetPresetGroupBox(unsigned(qMax(0, m_pComboA->currentIndex())));
    HDRPresetGroupBox* b = m_pPresetsDock->GetPresetGroupBox(unsigned(qMax(0, m_pComboB->currentIndex())));
    if (!a || !b)
        return;
    a->m_pPostProcessing->ToSettings(TempPathA());
    b->m_pPostProcessing->ToSettings(TempPathB());
    m_pGroupBoxA->SetSettingsPath(TempPathA());
    m_pGroupBoxA->HideAllButtons();
    m_pGroupBoxA->UpdatePostProcessingInternal();
    m_pGroupBoxB->SetSettingsPath(TempPathB());
    m_pGroupBoxB->HideAllButtons();
    m_pGroupBoxB->UpdatePostProcessingInternal();
    if (m_strResultPath.isEmpty())
        return;
    QFile::remove(m_strResultPath);
    CPostProcessing combined;
    combined.FromSettings(TempPathA());
    combined.FromSettings(TempPathB());
    combined.SetDisplayName(a->m_pPostProcessing->GetDisplayName() + QStringLiteral(" + ") +
                            b->m_pPostProcessing->GetDisplayName());
    combined.SetCategory(QStringLiteral("user"));
    combined.ToSettings(m_strResultPath);
    m_pGroupBoxResult->SetSettingsPath(m_strResultPath);
    m_pGroupBoxResult->HideAllButtons();
    m_pGroupBoxResult->UpdatePostProcessingInternal();
}

void HDRPresetCombineWindow::confirmClicked()
{
    HDRInputDialog dialog(this, tr("Voreinstellungen kombinieren"), tr("Vergeben sie einen Namen:"),
                          m_pGroupBoxResult->m_pPostProcessing->GetDisplayName(), tr("OK"), tr("Abbrechen"));
    dialog.setStyleSheet(QStringLiteral("QPushButton{min-width:50px; min-height: 20px}"));
    dialog.exec();
    if (dialog.result() != QDialog::Accepted)
        return;
    CPostProcessing* chain = m_pGroupBoxResult->m_pPostProcessing;
    chain->SetDisplayName(dialog.textValue());
    // A time stamp of its own, so the project part can tell combinations apart.
    chain->m_uiTimeStamp = static_cast<unsigned int>(QDateTime::currentDateTimeUtc().toSecsSinceEpoch());
    if (m_strResultPath.isEmpty() || !chain->ToSettings()) {
        ReportPresetWriteFailure(this, m_strResultPath.isEmpty() ? PresetFiles::UserFolder() : m_strResultPath);
        return;
    }
    m_bConfirmed = true;
    close();
    PresetsSeams::CountUsage("m_iPresetCreated");
    m_pPresetsDock->createNewPresetFromFilePath(m_strResultPath);
}

void HDRPresetCombineWindow::cancelClicked() { close(); }

void HDRPresetCombineWindow::done(int result)
{
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->UpdateText(m_strSavedInfoText);
    QFile::remove(TempPathA());
    QFile::remove(TempPathB());
    if (!m_bConfirmed && !m_strResultPath.isEmpty())
        QFile::remove(m_strResultPath);
    HDRInfoDialog::done(result);
}

void HDRPresetCombineWindow::tabChanged(int index)
{
    IInfoDock* dock = ToolkitSeams::InfoDock();
    if (index == 0 && dock)
        dock->UpdateText(tr("HDRPresetCombineWindow Addition"));
    if (dock && GetInfoBrowser())
        GetInfoBrowser()->setHtml(dock->InfoHtml());
}
