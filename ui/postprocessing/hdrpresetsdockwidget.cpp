#include "ui/postprocessing/hdrpresetsdockwidget.h"

#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/presetfiles.h"
#include "ui/postprocessing/presetsseams.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/styleengine.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSettings>

#include <cstdio>
#include <cstdlib>

HDRPresetsDockWidget* g_pHDRPresetsDockWidget = nullptr;

std::function<void(int)> HDRPresetsDockWidget::s_fnExit = [](int code) { std::exit(code); };

namespace {

QString FileNameOf(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

unsigned int Now() { return static_cast<unsigned int>(QDateTime::currentDateTimeUtc().toSecsSinceEpoch()); }

QWidget* Separator(QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(2);
    line->setStyleSheet(QStringLiteral("border: 2px solid black;"));
    return line;
}

} // namespace

// ---- construction ---------------------------------------------------------------

HDRPresetsDockWidget::HDRPresetsDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : HDRDockWidget(title, parent, flags)
{
    QVBoxLayout* content = GetContentLayout();
    content->setSizeConstraint(QLayout::SetFixedSize);
    content->setContentsMargins(5, 11, 5, 11);
    GetScrollArea()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GetScrollArea()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RefreshStyle();
    setMinimumHeight(300);

    CreateTitleWidget();
    content->addWidget(m_pTitleWidget);

    m_pScrollArea = new QScrollArea(this);
    m_pScrollArea->setObjectName(QStringLiteral("presets_tile_area"));
    m_pScrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pScrollArea->horizontalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pScrollArea->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    auto* grid = new QWidget();
    m_pGridLayout = new QGridLayout(grid);
    m_pGridLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pGridLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_pGridLayout->setContentsMargins(2, 2, 2, 2);
    m_pGridLayout->setSpacing(5);
    m_pScrollArea->setWidget(grid);
    content->addWidget(m_pScrollArea);

    // Factory presets; without one the installation is broken.
    const QString factory = PresetFiles::FactoryFolder();
    const QStringList factoryNames = PresetFiles::List(factory, {PresetFiles::FactoryFilter()});
    if (factoryNames.isEmpty()) {
        HDRMessageBox box(nullptr, QMessageBox::Critical, tr("Critical error"),
                          tr("No post-processing presets found! Please reinstall..."), QString(), tr("OK"));
        box.exec();
        s_fnExit(-1);
    }
    for (const QString& name : factoryNames)
        CreateHDRPresetGroupBox(factory + name);
    const QString user = PresetFiles::UserFolder();
    for (const QString& name : PresetFiles::List(user, {PresetFiles::UserFilter()}))
        CreateHDRPresetGroupBox(user + name);

    if (parent) {
        const QMetaObject* meta = parent->metaObject();
        if (meta->indexOfSlot("updatePostProcessing(CPostProcessing*,HDRPresetGroupBox*)") >= 0)
            connect(this, SIGNAL(updatePostProcessing(CPostProcessing*, HDRPresetGroupBox*)), parent,
                    SLOT(updatePostProcessing(CPostProcessing*, HDRPresetGroupBox*)));
        if (meta->indexOfSlot("updatePostProcessing(CPostProcessing*,HDRPresetGroupBox*,bool)") >= 0)
            connect(this, SIGNAL(updatePostProcessing(CPostProcessing*, HDRPresetGroupBox*, bool)), parent,
                    SLOT(updatePostProcessing(CPostProcessing*, HDRPresetGroupBox*, bool)));
    }
    connect(&m_PreviewTimer, SIGNAL(timeout()), this, SLOT(createOnePreview()));

    g_pHDRPresetsDockWidget = this;
    resetLabelHighlights();
    EnableFilterButtons();
    FilterTiles(nullptr);
}

HDRPresetsDockWidget::~HDRPresetsDockWidget()
{
    m_PreviewTimer.stop();
    CPostProcessing::DeleteBuffer();
    if (g_pHDRPresetsDockWidget == this)
        g_pHDRPresetsDockWidget = nullptr;
}

_QPushButton* HDRPresetsDockWidget::CreateCategoryButton(QWidget* parent, const QString& text, const QString& key)
{
    auto* button = new _QPushButton(text, parent);
    button->m_strCategory = key;
    button->m_strText = text;
    button->setFixedWidth(140);
    button->setCheckable(true);
    button->setChecked(m_FilterButtons.isEmpty());
    connect(button, SIGNAL(clicked()), this, SLOT(filterButtonClicked()));
    m_FilterButtons.append(button);
    return button;
}

void HDRPresetsDockWidget::CreateTitleWidget()
{
    m_pTitleWidget = new QWidget(this);
    auto* layout = new QVBoxLayout(m_pTitleWidget);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const struct {
        const char* text;
        const char* key;
    } buttons[8] = {{QT_TR_NOOP("Alle"), ""},
                    {QT_TR_NOOP("Benutzer"), "user"},
                    {QT_TR_NOOP("Natürlich"), "natural"},
                    {QT_TR_NOOP("Surreal"), "surreal"},
                    {QT_TR_NOOP("Landschaft"), "landscape"},
                    {QT_TR_NOOP("Architektur"), "architecture"},
                    {QT_TR_NOOP("Portrait"), "portrait"},
                    {QT_TR_NOOP("Künstlerisch"), "artistic"}};
    for (int row = 0; row < 4; ++row) {
        auto* line = new QHBoxLayout();
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(16);
        for (int i = 2 * row; i < 2 * row + 2; ++i)
            line->addWidget(CreateCategoryButton(m_pTitleWidget, tr(buttons[i].text), QLatin1String(buttons[i].key)));
        layout->addLayout(line);
    }
    const int buttonWidth = 140; // the width of a filter button
    layout->addWidget(Separator(m_pTitleWidget));
    auto* combineRow = new QHBoxLayout();
    combineRow->setContentsMargins(0, 0, 0, 0);
    combineRow->setSpacing(16);
    m_pCombineButton = new QPushButton(tr("Kombinieren"), m_pTitleWidget);
    m_pCombineButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Votreinstellungen kombinieren")));
    m_pCombineButton->setFixedWidth(2 * buttonWidth + 4);
    m_pCombineButton->setFixedHeight(18);
    connect(m_pCombineButton, SIGNAL(clicked()), this, SLOT(combineButtonClicked()));
    combineRow->addWidget(m_pCombineButton, 0, Qt::AlignLeft);
    layout->addLayout(combineRow);
    layout->addWidget(Separator(m_pTitleWidget));
    auto* fileRow = new QHBoxLayout();
    fileRow->setContentsMargins(0, 0, 0, 0);
    fileRow->setSpacing(16);
    fileRow->setAlignment(Qt::AlignLeft);
    m_pImportButton = new QPushButton(tr("Preset Import"), m_pTitleWidget);
    m_pImportButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Preset Import")));
    m_pExportButton = new QPushButton(tr("Preset Export"), m_pTitleWidget);
    m_pExportButton->setToolTip(_gui::HtmlToolTip(tr("Tooltip Preset Export")));
    for (QPushButton* b : {m_pImportButton, m_pExportButton}) {
        b->setFixedSize(buttonWidth, 18);
        fileRow->addWidget(b);
    }
    connect(m_pImportButton, SIGNAL(clicked()), this, SLOT(importButtonClicked()));
    connect(m_pExportButton, SIGNAL(clicked()), this, SLOT(exportButtonClicked()));
    layout->addLayout(fileRow);
}

HDRPresetGroupBox* HDRPresetsDockWidget::CreateHDRPresetGroupBox(const QString& path)
{
    auto* tile = new HDRPresetGroupBox(m_pScrollArea);
    tile->setToolTip(_gui::HtmlToolTip(tr("tooltip Preset Groupbox")));
    tile->SetSettingsPath(path);
    connect(tile, SIGNAL(labelClicked(HDRPresetGroupBox*)), this, SLOT(labelClicked(HDRPresetGroupBox*)));
    connect(tile, SIGNAL(labelClicked(HDRPresetGroupBox*)), this, SLOT(resetLabelHighlights()));
    connect(tile, SIGNAL(copyPresetClicked(HDRPresetGroupBox*, QString)), this,
            SLOT(copyPresetClicked(HDRPresetGroupBox*, QString)));
    connect(tile, SIGNAL(deletePresetClicked(HDRPresetGroupBox*)), this, SLOT(deletePresetClicked(HDRPresetGroupBox*)));
    connect(tile, SIGNAL(movePresetUpClicked(HDRPresetGroupBox*)), this, SLOT(movePresetUpClicked(HDRPresetGroupBox*)));
    connect(tile, SIGNAL(movePresetDownClicked(HDRPresetGroupBox*)), this,
            SLOT(movePresetDownClicked(HDRPresetGroupBox*)));
    if (!m_PresetGroupBoxes.isEmpty())
        tile->setFixedSize(m_PresetGroupBoxes.first()->size());
    m_PresetGroupBoxes.append(tile);
    return tile;
}

// ---- choosing --------------------------------------------------------------------

void HDRPresetsDockWidget::labelClicked(HDRPresetGroupBox* tile)
{
    if (tile)
        emit updatePostProcessing(tile->m_pPostProcessing, tile);
}

HDRPresetGroupBox* HDRPresetsDockWidget::GetSelectedPresetGroupBox()
{
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        if (tile->IsSelected())
            return tile;
    }
    return nullptr;
}

HDRPresetGroupBox* HDRPresetsDockWidget::LastSelectedPresetGroupBox() const
{
    for (int i = m_PresetGroupBoxes.size() - 1; i >= 0; --i) {
        if (m_PresetGroupBoxes[i]->IsSelected())
            return m_PresetGroupBoxes[i];
    }
    return nullptr;
}

void HDRPresetsDockWidget::SelectFirstVisiblePreset()
{
    if (!m_bSelectOnFilter)
        return;
    resetCalculatedStates();
    resetLabelHighlights();
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        if (tile->m_bFilterVisible) {
            tile->SetLabelHighlight(true);
            labelClicked(tile);
            break;
        }
    }
    ScrollToStart();
}

void HDRPresetsDockWidget::ScrollToActivePreset()
{
    HDRPresetGroupBox* target = m_PresetGroupBoxes.value(0);
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        if (tile->m_bFilterVisible && tile->IsSelected()) {
            target = tile;
            break;
        }
    }
    if (target)
        m_pScrollArea->ensureWidgetVisible(target, 50, 50);
}

void HDRPresetsDockWidget::ScrollToStart()
{
    m_pScrollArea->horizontalScrollBar()->setValue(0);
    m_pScrollArea->verticalScrollBar()->setValue(0);
}

void HDRPresetsDockWidget::ScrollToEnd()
{
    m_pScrollArea->horizontalScrollBar()->setValue(m_pScrollArea->horizontalScrollBar()->maximum());
    m_pScrollArea->verticalScrollBar()->setValue(m_pScrollArea->verticalScrollBar()->maximum());
}

void HDRPresetsDockWidget::ResetAllPresets()
{
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        tile->m_pPostProcessing->FromSettings();
        tile->SetReloadButtonEnabledState(false);
    }
}

void HDRPresetsDockWidget::RefreshStyle()
{
    GetScrollArea()->setStyleSheet(CStyleEngine::instance().ReplaceStyleSheetCodes(
        QStringLiteral("QScrollArea { background-color: transparent; border: 0px solid #STYLE_MAINCOLOR-2; }")));
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->m_pLabel->UpdateStyle(tile->IsSelected());
}

void HDRPresetsDockWidget::GetInfoText(QString& text)
{
    text = tr("HDRPresetsDockWidget lumivex") + tr("HDRPresetsDockWidget PresetCombiner") +
           tr("HDRPresetsDockWidget PresetImportExport") + QStringLiteral("</br>");
}

// ---- new user presets ---------------------------------------------------------------

QString HDRPresetsDockWidget::createNewPresetFilePath() { return PresetFiles::NextUserPresetPath(); }

HDRPresetGroupBox* HDRPresetsDockWidget::createNewPresetFromFilePath(QString path)
{
    HDRPresetGroupBox* tile = CreateHDRPresetGroupBox(path);
    EnableFilterButtons();
    if (m_FilterButtons[0]->isChecked() || m_FilterButtons[1]->isChecked()) {
        ReLayout();
    } else {
        m_bSelectOnFilter = false;
        m_FilterButtons[1]->click();
        m_bSelectOnFilter = true;
    }
    tile->reloadClicked(true, false);
    ScrollToEnd();
    return tile;
}

void HDRPresetsDockWidget::copyPresetClicked(HDRPresetGroupBox* tile, QString name)
{
    if (!tile)
        return;
    CPostProcessing* chain = tile->m_pPostProcessing;
    const QString newPath = createNewPresetFilePath();
    const QString temp = PresetFiles::UserFolder() + QStringLiteral("temp.ini");
    const QString remembered = chain->m_strSettingsPath;
    chain->SetSettingsPath(temp);
    chain->m_uiTimeStamp = Now();
    QFile::remove(temp);
    const bool written = !newPath.isEmpty() && chain->ToSettings();
    chain->SetSettingsPath(remembered);
    if (!written || !QFile::rename(temp, newPath)) {
        QFile::remove(temp);
        ReportPresetWriteFailure(this, newPath.isEmpty() ? PresetFiles::UserFolder() : newPath);
        return;
    }
    {
        QSettings settings(newPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("DisplayName"), name);
        settings.setValue(QStringLiteral("Category"), QStringLiteral("user"));
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            QFile::remove(newPath);
            ReportPresetWriteFailure(this, newPath);
            return;
        }
    }
    createNewPresetFromFilePath(newPath);
}

void HDRPresetsDockWidget::deletePresetClicked(HDRPresetGroupBox* tile)
{
    const int index = m_PresetGroupBoxes.indexOf(tile);
    if (index < 0)
        return;
    const bool wasSelected = tile->IsSelected();
    QFile::remove(tile->m_pPostProcessing->m_strSettingsPath);
    // The tile leaves the list and the layout now; it is destroyed after the
    // signal that asked for it has returned.
    m_PresetGroupBoxes.remove(index);
    m_pGridLayout->removeWidget(tile);
    tile->hide();
    tile->deleteLater();
    EnableFilterButtons();
    if (!m_FilterButtons[1]->isEnabled() && m_FilterButtons[1]->isChecked()) {
        m_FilterButtons[0]->click();
    } else {
        ReLayout();
        if (wasSelected)
            SelectFirstVisiblePreset();
    }
}

void HDRPresetsDockWidget::MovePreset(HDRPresetGroupBox* tile, int direction)
{
    const int index = m_PresetGroupBoxes.indexOf(tile);
    if (index < 0)
        return;
    const QString category = tile->m_pPostProcessing->m_strCategory;
    bool allowed = false;
    for (int i = index + direction; i >= 0 && i < m_PresetGroupBoxes.size(); i += direction) {
        if (m_PresetGroupBoxes[i]->m_pPostProcessing->m_strCategory == category)
            allowed = true;
    }
    if (!allowed)
        return;
    const int other = index + direction;
    HDRPresetGroupBox* neighbour = m_PresetGroupBoxes[other];
    m_PresetGroupBoxes.swapItemsAt(index, other);
    CPostProcessing* a = tile->m_pPostProcessing;
    CPostProcessing* b = neighbour->m_pPostProcessing;
    const QString pathA = a->m_strSettingsPath;
    a->SetSettingsPath(b->m_strSettingsPath);
    b->SetSettingsPath(pathA);
    if (!a->ToSettings())
        ReportPresetWriteFailure(this, a->m_strSettingsPath);
    if (!b->ToSettings())
        ReportPresetWriteFailure(this, b->m_strSettingsPath);
    ReLayout();
}

void HDRPresetsDockWidget::movePresetUpClicked(HDRPresetGroupBox* tile) { MovePreset(tile, -1); }

void HDRPresetsDockWidget::movePresetDownClicked(HDRPresetGroupBox* tile) { MovePreset(tile, 1); }

void HDRPresetsDockWidget::combineButtonClicked()
{
    PresetsSeams::CountUsage("m_iPresetCombinerOpened");
    emit combineClicked();
}

// ---- thumbnails ---------------------------------------------------------------------

void HDRPresetsDockWidget::resetLabelHighlights()
{
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->SetLabelHighlight(false);
}

void HDRPresetsDockWidget::resetCalculatedStates()
{
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->m_bCalculated = false;
}

void HDRPresetsDockWidget::CreateAllPreviews(bool)
{
    if (m_iPreviewBusy > 0) {
        // Inside a tick the shared preview buffer is in use: the new pass
        // starts when the tick has ended.
        m_PreviewTimer.stop();
        m_bPassPending = true;
        return;
    }
    StopAllPreviews();
    if (m_PresetGroupBoxes.isEmpty())
        return;
    bool highlighted = false;
    for (int i = m_PresetGroupBoxes.size() - 1; i >= 0; --i) {
        if (m_PresetGroupBoxes[i]->m_bCalculated) {
            m_PresetGroupBoxes[i]->SetLabelHighlight(true);
            highlighted = true;
        }
    }
    if (!highlighted) {
        for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
            if (tile->m_bFilterVisible) {
                tile->SetLabelHighlight(true);
                break;
            }
        }
    }
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->m_bPreviewCreated = false;
    HDRPresetGroupBox* chosen = LastSelectedPresetGroupBox();
    if (!chosen)
        chosen = m_PresetGroupBoxes.first();
    emit updatePostProcessing(chosen->m_pPostProcessing, chosen, true);
    if (PresetsSeams::Series())
        chosen->m_bPreviewCreated = true;
    emit updatePostProcessing(chosen->m_pPostProcessing, chosen, false);
    m_PreviewTimer.start(20);
    if (m_iRestoreScrollVer >= 0) {
        m_pScrollArea->verticalScrollBar()->setValue(m_iRestoreScrollVer);
        m_iRestoreScrollVer = -1;
    }
    if (m_iRestoreScrollHor >= 0) {
        m_pScrollArea->horizontalScrollBar()->setValue(m_iRestoreScrollHor);
        m_iRestoreScrollHor = -1;
    }
}

void HDRPresetsDockWidget::StopAllPreviews()
{
    // Never waits: a tick that runs further up the call stack finishes by
    // itself, and a pass asked for meanwhile starts after it.
    m_PreviewTimer.stop();
}

void HDRPresetsDockWidget::ClearAllPreviews()
{
    m_PreviewTimer.stop();
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->ClearLabel();
}

QString HDRPresetsDockWidget::CheckedCategory() const
{
    for (int i = 1; i < m_FilterButtons.size(); ++i) {
        if (m_FilterButtons[i]->isChecked())
            return m_FilterButtons[i]->m_strCategory;
    }
    return QString();
}

void HDRPresetsDockWidget::createOnePreview()
{
    // A tick that fires while another one computes (the engine's progress
    // lets the event loop run) leaves the shared preview buffer alone.
    const bool nested = m_iPreviewBusy > 0;
    ++m_iPreviewBusy;
    if (!nested && isVisible() && PresetsSeams::Series()) {
        QString key = CheckedCategory();
        for (int pass = 0; pass < 2; ++pass) {
            HDRPresetGroupBox* next = nullptr;
            for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
                if (!tile->m_bPreviewCreated && (key.isEmpty() || tile->m_pPostProcessing->m_strCategory == key)) {
                    next = tile;
                    break;
                }
            }
            if (next) {
                // A tick during another engine operation computes nothing;
                // the tile stays missing for a later tick.
                if (!next->UpdatePostProcessingInternal())
                    break;
                next->m_bPreviewCreated = true;
                if (!m_bPassPending)
                    m_PreviewTimer.start(20);
            }
            key.clear();
        }
    }
    --m_iPreviewBusy;
    if (m_iPreviewBusy == 0 && m_bPassPending) {
        m_bPassPending = false;
        CreateAllPreviews(true);
    }
}

void HDRPresetsDockWidget::SetAllFilmTypes(int filmType)
{
    for (int i = m_PresetGroupBoxes.size() - 1; i >= 0; --i)
        m_PresetGroupBoxes[i]->m_pPostProcessing->SetFilmTyp(filmType);
}

void HDRPresetsDockWidget::SetAllGreyScale(float hue, float saturation)
{
    for (int i = m_PresetGroupBoxes.size() - 1; i >= 0; --i) {
        m_PresetGroupBoxes[i]->m_pPostProcessing->SetGreyScaleColor(hue);
        m_PresetGroupBoxes[i]->m_pPostProcessing->SetGreyScaleSaturation(saturation);
    }
}

void HDRPresetsDockWidget::SetAllStructureData(int type, float smoothing, float value1, float value2, float value3,
                                               float value4, bool showDetection, int colour1, int colour2,
                                               int colour3, int colour4)
{
    for (int i = m_PresetGroupBoxes.size() - 1; i >= 0; --i)
        m_PresetGroupBoxes[i]->m_pPostProcessing->SetStructureData(type, smoothing, value1, value2, value3, value4,
                                                                   showDetection, colour1, colour2, colour3,
                                                                   colour4);
}

// ---- filter and layout -----------------------------------------------------------------

void HDRPresetsDockWidget::EnableFilterButtons()
{
    for (int i = 1; i < m_FilterButtons.size(); ++i) {
        bool any = false;
        for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
            any = any || tile->m_pPostProcessing->m_strCategory == m_FilterButtons[i]->m_strCategory;
        m_FilterButtons[i]->setEnabled(any);
    }
    m_FilterButtons[0]->setEnabled(true);
}

void HDRPresetsDockWidget::filterButtonClicked() { FilterTiles(sender()); }

void HDRPresetsDockWidget::FilterTiles(QObject* pressed)
{
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        tile->setVisible(false);
    if (pressed) {
        for (_QPushButton* button : m_FilterButtons)
            button->setChecked(button == pressed);
    }
    const bool all = m_FilterButtons[0]->isChecked();
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        bool visible = all;
        for (int i = 1; !visible && i < m_FilterButtons.size(); ++i)
            visible = m_FilterButtons[i]->isChecked() &&
                      m_FilterButtons[i]->m_strCategory == tile->m_pPostProcessing->m_strCategory;
        tile->m_bFilterVisible = visible;
    }
    ReLayout();
    if (!pressed)
        return;
    HDRPresetGroupBox* selected = GetSelectedPresetGroupBox();
    if (!selected || !selected->m_bFilterVisible)
        SelectFirstVisiblePreset();
    else
        ScrollToActivePreset();
}

void HDRPresetsDockWidget::ReLayout()
{
    if (m_PresetGroupBoxes.isEmpty())
        return;
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes)
        m_pGridLayout->removeWidget(tile);
    int columns = 1;
    if (isFloating()) {
        // At least one column, however narrow the window.
        columns = qMax(1, width() / (m_PresetGroupBoxes.first()->width() + 8));
    }
    int n = 0;
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        if (!tile->m_bFilterVisible)
            continue;
        tile->show();
        m_pGridLayout->addWidget(tile, n / columns, n % columns);
        ++n;
    }
    m_pGridLayout->setVerticalSpacing(20);
    if (width() - 12 > 0)
        m_pScrollArea->setFixedWidth(width() - 12);
    const int height = this->height() - m_pTitleWidget->height() - 55 + (isFloating() ? 25 : 0);
    if (height > 0)
        m_pScrollArea->setFixedHeight(height);
    UpdateAllMoveButtons();
}

void HDRPresetsDockWidget::UpdateAllMoveButtons()
{
    for (int i = 0; i < m_PresetGroupBoxes.size(); ++i) {
        const QString& category = m_PresetGroupBoxes[i]->m_pPostProcessing->m_strCategory;
        bool up = false, down = false;
        for (int j = 0; j < m_PresetGroupBoxes.size(); ++j) {
            if (j != i && m_PresetGroupBoxes[j]->m_pPostProcessing->m_strCategory == category)
                (j < i ? up : down) = true;
        }
        m_PresetGroupBoxes[i]->UpdateMoveButtons(up, down);
    }
}

void HDRPresetsDockWidget::resizeEvent(QResizeEvent* event)
{
    HDRDockWidget::resizeEvent(event);
    ReLayout();
}

void HDRPresetsDockWidget::showEvent(QShowEvent* event)
{
    if (isVisible()) {
        if (isFloating()) {
            setMinimumWidth(312);
            setMaximumWidth(16777215);
        } else {
            setFixedWidth(312);
        }
        GetContentWidget()->adjustSize();
    }
    HDRDockWidget::showEvent(event);
}

// ---- import and export ---------------------------------------------------------------

QString HDRPresetsDockWidget::DialogFolder() const
{
    IPresetsHost* host = PresetsSeams::Host();
    if (!host)
        return QString();
    const QString results = host->ResultsFolder();
    return results.isEmpty() ? host->LastDialogPath() : results;
}

int HDRPresetsDockWidget::CheckSettingsImportable(const QString& path) const
{
    return PresetFiles::CheckImportable(path);
}

void HDRPresetsDockWidget::exportButtonClicked()
{
    HDRPresetGroupBox* tile = LastSelectedPresetGroupBox();
    if (!tile)
        return;
    QString name = tile->m_pPostProcessing->GetDisplayNameWithCategory();
    if (name.isEmpty())
        name = tr("MyPreset");
    const QString caption = tr("Preset exportieren");
    const QString start = DialogFolder() + QStringLiteral("/") + name;
    const QString path = m_fnGetSaveFileName ? m_fnGetSaveFileName(caption, start) : [&] {
        QFileDialog dialog(this, caption, start, QStringLiteral("ini (*.ini)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectNameFilter(QStringLiteral("ini (*.ini)"));
        if (_gui::ExecModal(&dialog, [&] { return dialog.exec(); }) != QDialog::Accepted ||
            dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    }();
    if (path.isEmpty())
        return;
    PresetsSeams::CountUsage("m_iPresetsExported");
    if (!tile->m_pPostProcessing->ToSettings(path))
        ReportPresetWriteFailure(this, path);
}

void HDRPresetsDockWidget::importButtonClicked()
{
    const QString caption = tr("Presets importieren");
    const QString folder = DialogFolder();
    const QStringList paths = m_fnGetOpenFileNames ? m_fnGetOpenFileNames(caption, folder) : [&] {
        QFileDialog dialog(this, caption, folder, QStringLiteral("ini (*.ini)"));
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.selectNameFilter(QStringLiteral("ini (*.ini)"));
        if (_gui::ExecModal(&dialog, [&] { return dialog.exec(); }) != QDialog::Accepted)
            return QStringList();
        return dialog.selectedFiles();
    }();
    if (paths.isEmpty())
        return;
    QString lines[4] = {tr("Importierte Presets:") + QLatin1Char(' '), tr("Bereits vorhandene Presets:") + QLatin1Char(' '),
                        tr("Inkompatible Presets:") + QLatin1Char(' '), tr("Fehlerhafte Presets:") + QLatin1Char(' ')};
    int counts[4] = {0, 0, 0, 0};
    for (QString path : paths) {
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString name = FileNameOf(path);
        const int code = CheckSettingsImportable(path);
        int line = 3;
        if (code == 0) {
            PresetsSeams::CountUsage("m_iPresetsImported");
            const QString newPath = createNewPresetFilePath();
            // A file that cannot be copied into the library counts as faulty.
            if (!newPath.isEmpty() && QFile::copy(path, newPath)) {
                createNewPresetFromFilePath(newPath);
                line = 0;
            }
        } else if (code == 4) {
            line = 2;
        } else if (code == 5) {
            line = 1;
        }
        lines[line] += name + QStringLiteral("  ");
        ++counts[line];
    }
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        if (counts[i] > 0)
            parts << lines[i];
    }
    HDRMessageBox box(this, QMessageBox::Information, tr("Preset Import Messagetitle"),
                      parts.join(QStringLiteral("\r\n\r\n")), QString(), tr("Ok"));
    box.exec();
}

// ---- project ----------------------------------------------------------------------------

bool HDRPresetsDockWidget::SaveProject(QSettings& settings, const QString& dataFolder) const
{
    const HDRPresetGroupBox* selected = LastSelectedPresetGroupBox();
    settings.setValue(QStringLiteral("PresetsDock/Selected"),
                      selected ? int(m_PresetGroupBoxes.indexOf(const_cast<HDRPresetGroupBox*>(selected))) : -1);
    settings.setValue(QStringLiteral("PresetsDock/ScrollVerPos"), m_pScrollArea->verticalScrollBar()->value());
    settings.setValue(QStringLiteral("PresetsDock/ScrollHorPos"), m_pScrollArea->horizontalScrollBar()->value());
    for (int i = 0; i < m_FilterButtons.size(); ++i)
        settings.setValue(QStringLiteral("Filter/Button%1").arg(i), m_FilterButtons[i]->isChecked());
    for (const QString& name : PresetFiles::List(dataFolder, {QStringLiteral("lumivexpp_*.ini")}))
        QFile::remove(dataFolder + QStringLiteral("/") + name);
    bool ok = true;
    for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
        if (!tile->m_pResetButton->isEnabled())
            continue;
        const QString path = dataFolder + QStringLiteral("/") + tile->FileName();
        if (!tile->m_pPostProcessing->ToSettings(path)) {
            std::printf("preset copy not written: %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

bool HDRPresetsDockWidget::LoadProject(QSettings& settings, const QString& dataFolder)
{
    const int selected = settings.value(QStringLiteral("PresetsDock/Selected"), 0).toInt();
    for (int i = 0; i < m_PresetGroupBoxes.size(); ++i) {
        m_PresetGroupBoxes[i]->m_bCalculated = i == selected;
        m_PresetGroupBoxes[i]->SetLabelHighlight(false);
    }
    m_iRestoreScrollVer = settings.value(QStringLiteral("PresetsDock/ScrollVerPos"), 0).toInt();
    m_iRestoreScrollHor = settings.value(QStringLiteral("PresetsDock/ScrollHorPos"), 0).toInt();
    QSet<HDRPresetGroupBox*> claimed;
    for (const QString& name : PresetFiles::List(dataFolder, {PresetFiles::FactoryFilter(), PresetFiles::UserFilter()})) {
        const QString path = dataFolder + QStringLiteral("/") + name;
        HDRPresetGroupBox* match = nullptr;
        if (name.contains(QLatin1String("_vu_"))) {
            std::printf("%s", qPrintable(name));
            std::fflush(stdout);
            const unsigned int stamp = QSettings(path, QSettings::IniFormat).value(QStringLiteral("TimeStamp")).toUInt();
            // The tile of the same file and time stamp first; else the first
            // unclaimed user tile with the time stamp (copies made in one
            // second share one).
            for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
                if (tile->m_bUserPreset && !claimed.contains(tile) && tile->FileName() == name &&
                    tile->m_pPostProcessing->m_uiTimeStamp == stamp) {
                    match = tile;
                    break;
                }
            }
            for (int i = 0; !match && i < m_PresetGroupBoxes.size(); ++i) {
                HDRPresetGroupBox* tile = m_PresetGroupBoxes[i];
                if (tile->m_bUserPreset && !claimed.contains(tile) && tile->m_pPostProcessing->m_uiTimeStamp == stamp)
                    match = tile;
            }
        } else {
            for (HDRPresetGroupBox* tile : m_PresetGroupBoxes) {
                if (!tile->m_bUserPreset && tile->FileName() == name) {
                    match = tile;
                    break;
                }
            }
        }
        if (!match)
            continue;
        claimed.insert(match);
        CPostProcessing* chain = match->m_pPostProcessing;
        const QString remembered = chain->m_strSettingsPath;
        chain->SetSettingsPath(path);
        chain->FromSettings();
        chain->SetSettingsPath(remembered);
        match->EnableModifiedButtons();
    }
    for (int i = 0; i < m_FilterButtons.size(); ++i)
        m_FilterButtons[i]->setChecked(settings.value(QStringLiteral("Filter/Button%1").arg(i), false).toBool());
    EnableFilterButtons();
    if (!m_FilterButtons[1]->isEnabled() && m_FilterButtons[1]->isChecked()) {
        m_FilterButtons[0]->setChecked(true);
        m_FilterButtons[1]->setChecked(false);
    }
    FilterTiles(nullptr);
    return true;
}
