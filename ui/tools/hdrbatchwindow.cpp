#include "ui/tools/hdrbatchwindow.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "ui/options/optionswindow.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/styleengine.h"
#include "ui/toolkit/toolkitseams.h"
#include "ui/tools/hdrbatchexposurewidget.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <cstring>

unsigned HDRBatchWindow::s_uiCurrentPPPresetIdx = 0;
QLabel* HDRBatchWindow::s_pPreviewLabel = nullptr;
HDRExposureLabel* HDRBatchWindow::s_pCurrentExposureLabel = nullptr;
bool HDRBatchWindow::s_bContextMenuOpen = false;
std::function<QString(const QString&, const QString&)> HDRBatchWindow::s_FolderDialog;
std::function<void(const QString&)> HDRBatchWindow::s_ScanHook;

namespace {

constexpr unsigned kBatchCategory = 11;

QString tip(const char* key) { return _gui::HtmlToolTip(QCoreApplication::translate("HDRBatchWindow", key)); }

QString styled(const QString& sheet) { return CStyleEngine::instance().ReplaceStyleSheetCodes(sheet); }

int mainWindowHeight(const QWidget* dialog)
{
    if (IToolkitMainWindow* window = ToolkitSeams::MainWindow())
        return window->MainWindowGeometry().height();
    if (dialog->parentWidget())
        return dialog->parentWidget()->height();
    return 700;
}

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    // 125 px, wider when a translation needs it: a label is never clipped.
    label->setMinimumWidth(125);
    return label;
}

// What the runner reports, forwarded to the progress window and the list.
class CThreadReporter : public IBatchRunReporter {
public:
    explicit CThreadReporter(HDRBatchProcessThread* thread) : m_pThread(thread) {}
    void Message(const QString& text, unsigned type) override
    {
        HDRProgressThread::AddMessage(kBatchCategory, text, type);
    }
    void Fraction(float fraction) override { HDRProgressThread::AddMessage(kBatchCategory, fraction); }
    void BoxDone(quint32 box) override { emit m_pThread->removeBatchExposure(box); }

private:
    HDRBatchProcessThread* m_pThread;
};

// The RAW development settings of the run's start, read by the document on
// the worker instead of the window's widgets.
class CRawSnapshot : public IRawDevelopmentSource {
public:
    explicit CRawSnapshot(const SRawDevelopmentSettings& s) : m_Settings(s) {}
    SRawDevelopmentSettings GetRawDevelopmentSettings() const override { return m_Settings; }

private:
    SRawDevelopmentSettings m_Settings;
};

class CSigmoidSnapshot : public ISigmoidSource {
public:
    explicit CSigmoidSnapshot(float v) : m_fValue(v) {}
    float GetSigmoidValue() const override { return m_fValue; }

private:
    float m_fValue;
};

struct SRunSources {
    std::unique_ptr<CRawSnapshot> raw;
    std::unique_ptr<CSigmoidSnapshot> sigmoid;
    IRawDevelopmentSource* oldRaw = nullptr;
    ISigmoidSource* oldSigmoid = nullptr;
    bool installed = false;
};
SRunSources& runSources()
{
    static SRunSources s;
    return s;
}

} // namespace

// ---- Threads ----------------------------------------------------------------------------

FIBITMAP* HDRBatchLoadThread::LoadPreviewBitmap(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const FREE_IMAGE_FORMAT fif = CLoadThread::ReadableFormat(name);
    if (fif == FIF_UNKNOWN)
        return nullptr;
    // A damaged or oversized file gets no preview rather than a hang.
    if (!CLoadThread::SafeToLoad(name, fif))
        return nullptr;
    const int flags = (fif == FIF_RAW || fif == FIF_JPEG) ? 1 : 0;
    return FreeImage_Load(fif, name.constData(), flags);
}

void HDRBatchLoadThread::run() { m_pBitmap = LoadPreviewBitmap(m_strFilePath); }

void HDRBatchScanThread::run()
{
    if (HDRBatchWindow::s_ScanHook)
        HDRBatchWindow::s_ScanHook(m_strFolder);
    BatchFiles::SScanControl control;
    control.cancelled = [this] { return m_bCancel.load(); };
    m_Result = BatchFiles::ScanFolder(m_strFolder, m_bRecursive, control);
}

void HDRBatchPreviewsThread::run()
{
    for (quint32 i = 0; i < m_uiCount && !m_bStop.load(); ++i)
        emit calculatePreview(i);
}

void HDRBatchProcessThread::run()
{
    CThreadReporter reporter(this);
    CBatchRunner runner(m_pBatchWindow->m_RunSettings, reporter, m_pBatchWindow->m_bCancelRequested);
    m_iWritten = runner.Run(m_pBatchWindow->m_vecJobs);
}

// ---- Construction -----------------------------------------------------------------------

HDRBatchWindow::HDRBatchWindow(QWidget* parent, IBatchOperatorSource* operatorSource,
                               IBatchPresetSource* presetSource)
    : HDRInfoDialog(parent), m_pHDROperatorDock(operatorSource), m_pPresetsDockWidget(presetSource)
{
    HDRBatchExposureWidget::s_pOperatorSource = operatorSource;
    HDRBatchExposureWidget::s_pPresetSource = presetSource;
    m_strImagesTitle = tr("Bilder");

    setWindowIcon(QIcon::fromTheme(QStringLiteral("batch")));
    setWindowTitle(tr("Stapelverarbeitung"));
    setMouseTracking(true);

    auto* content = new QVBoxLayout();
    content->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    content->setSpacing(8);
    m_pMainLayout->addLayout(content);

    // Source and output.
    auto* topRow = new QHBoxLayout();
    content->addLayout(topRow);
    auto* sourceBox = new QGroupBox(tr("Quelldaten"), this);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    topRow->addWidget(sourceBox);
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(tr("Quellordner:"), sourceBox));
        m_pSourcePathEdit = new QLineEdit(sourceBox);
        m_pSourcePathEdit->setFixedWidth(200);
        row->addWidget(m_pSourcePathEdit);
        m_pSourceButton = new QPushButton(QStringLiteral("..."), sourceBox);
        m_pSourceButton->setFixedSize(64, 24);
        m_pSourceButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Tooltip Quellpfad auswählen")));
        row->addWidget(m_pSourceButton);
        row->addStretch(1);
        sourceLayout->addLayout(row);
    }
    {
        auto* row = new QHBoxLayout();
        QLabel* label = fieldLabel(tr("Zuordnung:"), sourceBox);
        row->addWidget(label);
        m_pMatchModeComboBox = new QComboBox(sourceBox);
        m_pMatchModeComboBox->setFixedWidth(200);
        m_pMatchModeComboBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Zuordnungsverfahren wählen")));
        m_pMatchModeComboBox->addItem(tr("Automatische Zuordnung"), 0);
        m_pMatchModeComboBox->addItem(tr("Einzelbilder"), 1);
        for (int n = 2; n <= 9; ++n)
            m_pMatchModeComboBox->addItem(tr("%1-Bilder Gruppierung").arg(n), n);
        row->addWidget(m_pMatchModeComboBox);
        sourceLayout->addLayout(row);
        label->hide();
        m_pMatchModeComboBox->hide();
    }
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(QStringLiteral(" "), sourceBox));
        m_pRecursiveCheckBox = new QCheckBox(tr("Unterverzeichnisse einbeziehen"), sourceBox);
        m_pRecursiveCheckBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Checkbox rekursiv")));
        row->addWidget(m_pRecursiveCheckBox);
        row->addStretch(1);
        sourceLayout->addLayout(row);
    }

    m_pOutputGroupBox = new QGroupBox(tr("Ausgabedaten"), this);
    auto* outputLayout = new QVBoxLayout(m_pOutputGroupBox);
    topRow->addWidget(m_pOutputGroupBox);
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(tr("Zielordner:"), m_pOutputGroupBox));
        m_pTargetPathEdit = new QLineEdit(m_pOutputGroupBox);
        m_pTargetPathEdit->setFixedWidth(200);
        row->addWidget(m_pTargetPathEdit);
        m_pTargetButton = new QPushButton(QStringLiteral("..."), m_pOutputGroupBox);
        m_pTargetButton->setFixedSize(64, 24);
        m_pTargetButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Tooltip Ausgabepfad auswählen")));
        row->addWidget(m_pTargetButton);
        row->addStretch(1);
        outputLayout->addLayout(row);
    }
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(tr("Zielformat:"), m_pOutputGroupBox));
        m_pFormatComboBox = new QComboBox(m_pOutputGroupBox);
        m_pFormatComboBox->setFixedWidth(200);
        m_pFormatComboBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Speicherformat wählen")));
        m_pFormatComboBox->addItem(tr("TIF 8-Bit (*.tif)"), QStringLiteral(".tif"));
        m_pFormatComboBox->addItem(tr("Jpeg 8-Bit (*.jpg)"), QStringLiteral(".jpg"));
        m_pFormatComboBox->addItem(tr("TIFF 16-Bit (*.tiff)"), QStringLiteral(".tiff"));
        m_pFormatComboBox->addItem(tr("PNG 16-Bit (*.png)"), QStringLiteral(".png"));
        m_pFormatComboBox->addItem(tr("Jpeg 16-Bit (*.jp2)"), QStringLiteral(".jp2"));
        row->addWidget(m_pFormatComboBox);
        row->addStretch(1);
        outputLayout->addLayout(row);
    }
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(QStringLiteral(" "), m_pOutputGroupBox));
        auto* resort = new QCheckBox(tr("Dateien auf Festplatte umsortieren"), m_pOutputGroupBox);
        resort->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "tooltip Dateien auf Festplatte umsortieren")));
        resort->setChecked(false);
        row->addWidget(resort);
        outputLayout->addLayout(row);
        row->itemAt(0)->widget()->hide();
        resort->hide();
    }
    content->addSpacing(10);

    // Processing.
    m_pProcessingGroupBox = new QGroupBox(tr("Verarbeitung"), this);
    auto* processingLayout = new QVBoxLayout(m_pProcessingGroupBox);
    content->addWidget(m_pProcessingGroupBox);
    {
        auto* row = new QHBoxLayout();
        m_pHDRPresetComboBox = new QComboBox(m_pProcessingGroupBox);
        m_pHDRPresetComboBox->setFixedWidth(200);
        m_pHDRPresetComboBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Batch HDR Preset")));
        m_pHDRPresetComboBox->setMaxVisibleItems(15);
        if (m_pHDROperatorDock)
            m_pHDRPresetComboBox->addItems(m_pHDROperatorDock->HDRPresetTexts());
        row->addWidget(m_pHDRPresetComboBox);
        m_pHDRPresetComboBox->hide();
        m_pPanoramaCheckBox = new QCheckBox(tr("360 Grad Panorama mode"), m_pProcessingGroupBox);
        m_pPanoramaCheckBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "tooltip 360 Grad Panorama mode")));
        row->addWidget(m_pPanoramaCheckBox);
        row->addStretch(1);
        processingLayout->addLayout(row);
        auto* optimise = new QCheckBox(tr("automatische Bildoptimierung"), m_pProcessingGroupBox);
        optimise->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "tooltip automatische Bildoptimierung")));
        processingLayout->addWidget(optimise);
        optimise->hide();
        optimise->setObjectName(QStringLiteral("optimise"));
        connect(optimise, &QCheckBox::clicked, this, [](bool on) {
            if (g_pHDRPostProcessingDockWidget && on)
                g_pHDRPostProcessingDockWidget->SetAllOptimizerButtonsActive();
            else if (g_pHDRPostProcessingDockWidget)
                g_pHDRPostProcessingDockWidget->SetAllOptimizerButtonsInActive();
        });
    }
    processingLayout->addSpacing(18);
    {
        auto* row = new QHBoxLayout();
        row->addWidget(fieldLabel(tr("PP Voreinstellung Color/Tavren:"), m_pProcessingGroupBox));
        m_pPresetComboBox = new QComboBox(m_pProcessingGroupBox);
        m_pPresetComboBox->setFixedWidth(200);
        m_pPresetComboBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Batch PostProcessing Preset")));
        m_pPresetComboBox->setMaxVisibleItems(15);
        row->addWidget(m_pPresetComboBox);
        row->addStretch(1);
        processingLayout->addLayout(row);
    }
    processingLayout->addSpacing(8);
    content->addSpacing(10);

    // The series list.
    m_pImagesGroupBox = new QGroupBox(m_strImagesTitle, this);
    m_pImagesGroupBox->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Batch Einzelbildbereich")));
    auto* imagesLayout = new QVBoxLayout(m_pImagesGroupBox);
    m_pScrollArea = new QScrollArea(m_pImagesGroupBox);
    m_pScrollArea->setAlignment(Qt::AlignTop);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->verticalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pScrollArea->setMinimumWidth(802);
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_pScrollArea->setFixedHeight(screen && screen->geometry().height() >= 900 ? 405 : 315);
    m_pScrollContent = new QWidget();
    m_pScrollContent->setContentsMargins(-6, 5, 11, 5);
    m_pSeriesLayout = new QVBoxLayout(m_pScrollContent);
    m_pSeriesLayout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_pSeriesLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_pSeriesLayout->setDirection(QBoxLayout::BottomToTop);
    m_pScrollArea->setWidget(m_pScrollContent);
    imagesLayout->addWidget(m_pScrollArea);
    content->addWidget(m_pImagesGroupBox);
    content->addSpacing(8);

    m_pStatusLabel = new QLabel(this);
    content->addWidget(m_pStatusLabel);
    m_pProgressBar = new QProgressBar(this);
    m_pProgressBar->setTextVisible(true);
    m_pProgressBar->setRange(0, 100);
    m_pProgressBar->setValue(0);
    m_pProgressBar->setEnabled(false);
    content->addWidget(m_pProgressBar);

    auto* buttons = new QHBoxLayout();
    content->addLayout(buttons);
    m_pDefaultButton = new QPushButton(QIcon::fromTheme(QStringLiteral("SetDefault")), QString(), this);
    m_pDefaultButton->setFixedSize(34, 34);
    m_pDefaultButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Stapelverarbeitung auf Standardwerte zurücksetzen")));
    buttons->addWidget(m_pDefaultButton, 0, Qt::AlignLeft | Qt::AlignBottom);
    buttons->addStretch(1);
    m_pCancelButton = new QPushButton(tr("Abbrechen"), this);
    m_pCancelButton->setFixedSize(106, 34);
    m_pCancelButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Stapelverarbeitung Abbrechen")));
    buttons->addWidget(m_pCancelButton);
    buttons->addSpacing(12);
    m_pStartButton = new QPushButton(this);
    m_pStartButton->setFixedSize(106, 34);
    m_pStartButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Stapelverarbeitung starten")));
    buttons->addWidget(m_pStartButton);
    m_pCloseBrowserButton = new QPushButton(tr("Batchbutton Beenden"), this);
    m_pCloseBrowserButton->setFixedSize(106, 34);
    m_pCloseBrowserButton->setToolTip(tip(QT_TRANSLATE_NOOP("HDRBatchWindow", "Browser beenden")));
    buttons->addWidget(m_pCloseBrowserButton, 0, Qt::AlignRight | Qt::AlignBottom);
    m_pCloseBrowserButton->hide();

    m_pPathTimer = new QTimer(this);
    m_pPathTimer->setSingleShot(true);
    m_pPathTimer->setInterval(kTypingPauseMs);
    connect(m_pPathTimer, &QTimer::timeout, this, [this] { pathChanged(m_pSourcePathEdit->text()); });
    connect(m_pSourcePathEdit, &QLineEdit::textChanged, this, &HDRBatchWindow::sourceTextChanged);
    connect(m_pSourcePathEdit, &QLineEdit::editingFinished, this, &HDRBatchWindow::sourceEditingFinished);
    connect(m_pTargetPathEdit, &QLineEdit::textChanged, this, &HDRBatchWindow::targetTextChanged);
    connect(m_pSourceButton, &QPushButton::clicked, this, &HDRBatchWindow::selectSource);
    connect(m_pTargetButton, &QPushButton::clicked, this, &HDRBatchWindow::selectTarget);
    connect(m_pMatchModeComboBox, &QComboBox::currentIndexChanged, this, &HDRBatchWindow::matchModeSelected);
    connect(m_pRecursiveCheckBox, &QCheckBox::clicked, this, &HDRBatchWindow::recursiveClicked);
    connect(m_pHDRPresetComboBox, &QComboBox::currentIndexChanged, this, &HDRBatchWindow::operatorSelected);
    connect(m_pPresetComboBox, &QComboBox::currentIndexChanged, this, &HDRBatchWindow::presetSelected);
    connect(m_pPanoramaCheckBox, &QCheckBox::clicked, this, &HDRBatchWindow::panoramaModeClicked);
    connect(m_pDefaultButton, &QPushButton::clicked, this, &HDRBatchWindow::defaultClicked);
    connect(m_pCancelButton, &QPushButton::clicked, this, &HDRBatchWindow::cancelClicked);
    connect(m_pCloseBrowserButton, &QPushButton::clicked, this, &HDRBatchWindow::cancelClicked);
    connect(m_pStartButton, &QPushButton::clicked, this, &HDRBatchWindow::startClicked);

    s_pPreviewLabel = new QLabel(this);
    s_pPreviewLabel->setFixedSize(1, 1);
    CreateInfoArea();
    m_pInfoLayout->addWidget(s_pPreviewLabel);

    m_pStartButton->setText(tr("Starten"));
    m_pStatusLabel->setText(tr("Bitte gültigen Quell & Zielordner wählen..."));
    m_pMatchModeComboBox->setCurrentIndex(1);
}

HDRBatchWindow::~HDRBatchWindow()
{
    stopPreviewCalculation();
    stopImageLoading();
    for (HDRBatchScanThread* scan : m_vecCancelledScans) {
        scan->blockSignals(true);
        scan->wait();
        delete scan;
    }
    m_vecCancelledScans.clear();
    if (m_pProcessThread) {
        m_bCancelRequested = true;
        m_pProcessThread->wait();
        delete m_pProcessThread;
        m_pProcessThread = nullptr;
    }
    delete m_pProgressThread;
    m_pProgressThread = nullptr;
    clearBatchExposures();
    if (s_pPreviewLabel && s_pPreviewLabel->window() == this)
        s_pPreviewLabel = nullptr;
    if (HDRBatchExposureWidget::s_pOperatorSource == m_pHDROperatorDock)
        HDRBatchExposureWidget::s_pOperatorSource = nullptr;
    if (HDRBatchExposureWidget::s_pPresetSource == m_pPresetsDockWidget)
        HDRBatchExposureWidget::s_pPresetSource = nullptr;
}

// ---- Modes, show, end --------------------------------------------------------------------

void HDRBatchWindow::setWindowMode(int mode)
{
    m_iWindowMode = mode;
    const bool batch = mode == 0;
    setWindowTitle(batch ? tr("Stapelverarbeitung") : tr("Bilddaten-Browser"));
    m_pSourcePathEdit->setFixedWidth(batch ? 200 : 627);
    for (QWidget* w : {static_cast<QWidget*>(m_pProcessingGroupBox), static_cast<QWidget*>(m_pOutputGroupBox),
                       static_cast<QWidget*>(m_pStatusLabel), static_cast<QWidget*>(m_pDefaultButton),
                       static_cast<QWidget*>(m_pCancelButton), static_cast<QWidget*>(m_pStartButton)})
        w->setVisible(batch);
    m_pCloseBrowserButton->setVisible(!batch);
    const int h = mainWindowHeight(this);
    m_pScrollArea->setFixedHeight(batch ? std::max(h - 540, 315) : std::max(h - 400, 415));
    m_pSeriesLayout->setSpacing(batch ? 12 : 19);
}

void HDRBatchWindow::showEvent(QShowEvent* event)
{
    if (!m_bStateSaved) {
        MP_UI_SetIsBatchMode(1);
        m_iSavedStructureType =
            g_pHDRPostProcessingDockWidget ? unsigned(g_pHDRPostProcessingDockWidget->getStructureType()) : 0u;
        if (g_pHDRPostProcessingDockWidget) {
            g_pHDRPostProcessingDockWidget->setStructureType(0);
            g_pHDRPostProcessingDockWidget->RememberOptimizerForBatchProcessing();
            const QCheckBox* optimise = findChild<QCheckBox*>(QStringLiteral("optimise"));
            if (optimise && optimise->isChecked())
                g_pHDRPostProcessingDockWidget->SetAllOptimizerButtonsActive();
            else
                g_pHDRPostProcessingDockWidget->SetAllOptimizerButtonsInActive();
        }
        m_iSavedKernelOutput = unsigned(MP_UI_GetShowExexcuteKernelOutput());
        MP_UI_SetShowExexcuteKernelOutput(0);
        m_iSavedTonemappingMultipleMode = unsigned(MP_UI_GetTonemappingMultipleMode());
        MP_UI_SetTonemappingMultipleMode(0);
        m_iSavedPanoramaMode = MP_UI_GetPanoramaMode();
        m_bStateSaved = true;
    }

    setStyleSheet(styled(QStringLiteral(".QScrollArea { background-color: #STYLE_BACKGROUND; }")));
    if (s_pPreviewLabel)
        s_pPreviewLabel->setStyleSheet(styled(QStringLiteral(
            ".QLabel { border: 2px outset; border-color: #STYLE_MAINCOLOR-2; border-radius: 0px; }")));

    if (IInfoDock* dock = ToolkitSeams::InfoDock()) {
        m_strSavedInfoText = dock->StoredText();
        dock->UpdateText(m_iWindowMode == 0 ? tr("HDRBatchWindow Infotext lumivex")
                                            : tr("HDRBatchWindowBrowser Infotext lumivex"));
    }

    {
        const QSignalBlocker block(m_pPresetComboBox);
        m_pPresetComboBox->clear();
        if (m_pPresetsDockWidget)
            for (int i = 0, n = m_pPresetsDockWidget->TileCount(); i < n; ++i)
                m_pPresetComboBox->addItem(m_pPresetsDockWidget->TileTitle(i));
    }
    defaultClicked();

    QString start;
    if (m_iWindowMode == 1) {
        start = pathfromFolderSettings(QStringLiteral("lastDialogPath"));
        if (g_pOptionsWindow && !g_pOptionsWindow->GetPath(IOptionsWindow::ePATH_SERIES).isEmpty())
            start = g_pOptionsWindow->GetPath(IOptionsWindow::ePATH_SINGLE);
    }
    if (!m_strDragDropFolder.isEmpty()) {
        start = m_strDragDropFolder;
        m_strDragDropFolder.clear();
    }
    if (!start.isEmpty())
        m_pSourcePathEdit->setText(start);

    m_vecOpenAsProject.clear();
    m_lstSelectedFiles.clear();
    m_pPanoramaCheckBox->setChecked(false);
    MP_UI_SetPanoramaMode(0);
    HDRInfoDialog::showEvent(event);
}

void HDRBatchWindow::restoreSavedState()
{
    if (!m_bStateSaved)
        return;
    m_bStateSaved = false;
    MP_UI_SetShowExexcuteKernelOutput(int(m_iSavedKernelOutput));
    MP_UI_SetPanoramaMode(m_iSavedPanoramaMode);
    if (g_pHDRPostProcessingDockWidget) {
        g_pHDRPostProcessingDockWidget->setStructureType(int(m_iSavedStructureType));
        g_pHDRPostProcessingDockWidget->RecoverOptimizerForBatchProcessing();
    }
    MP_UI_SetTonemappingMultipleMode(int(m_iSavedTonemappingMultipleMode));
    MP_UI_SetIsBatchMode(0);
}

void HDRBatchWindow::cancelClicked() { close(); }

void HDRBatchWindow::closeEvent(QCloseEvent* event)
{
    if (m_pProcessThread) { // the progress window ends a run, not the dialog
        event->ignore();
        return;
    }
    restoreSavedState();
    HDRInfoDialog::closeEvent(event);
}

void HDRBatchWindow::done(int result)
{
    if (m_pProcessThread)
        return;
    restoreSavedState();
    if (IInfoDock* dock = ToolkitSeams::InfoDock())
        dock->UpdateText(m_strSavedInfoText);
    defaultClicked();
    // The preset tiles' chains forget the batch's series.
    if (m_pPresetsDockWidget)
        for (int i = 0, n = m_pPresetsDockWidget->TileCount(); i < n; ++i)
            if (CPostProcessing* chain = m_pPresetsDockWidget->TileChain(i))
                chain->SetAccordingExposureSeries(nullptr);
    MP_UI_SetAnimCount(0);
    HDRInfoDialog::done(result);
}

void HDRBatchWindow::defaultClicked()
{
    m_pSourcePathEdit->clear();
    m_pRecursiveCheckBox->setChecked(true);
    m_pMatchModeComboBox->setCurrentIndex(1);
    m_pTargetPathEdit->clear();
    m_pFormatComboBox->setCurrentIndex(1);
    if (m_pHDROperatorDock) {
        const int i = m_pHDRPresetComboBox->findText(m_pHDROperatorDock->CurrentHDRPresetText(),
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            m_pHDRPresetComboBox->setCurrentIndex(i);
        m_pHDROperatorDock->SelectHDRPresetText(m_pHDRPresetComboBox->currentText());
    }
    m_pPresetComboBox->setCurrentIndex(m_pPresetComboBox->count() > 0 ? 0 : -1);
    if (m_pPresetComboBox->currentIndex() >= 0) // also when the index did not change
        s_uiCurrentPPPresetIdx = unsigned(m_pPresetComboBox->currentIndex());
    m_pPanoramaCheckBox->setChecked(false);
    m_pStatusLabel->setText(tr("Bitte gültigen Quell & Zielordner wählen..."));
    m_pStartButton->setText(tr("Starten"));
    m_pStartButton->setEnabled(true);
    clearPreviewLabel();
    m_bStartRequested = false;
}

// ---- Folders ------------------------------------------------------------------------------

QString HDRBatchWindow::pathfromFolderSettings(const QString& key)
{
    const QString ini = lumivex::platform::userSettingsFolder() + QStringLiteral("lastsaveformat.ini");
    if (!QFileInfo::exists(ini))
        return QString();
    return QSettings(ini, QSettings::IniFormat).value(key).toString();
}

void HDRBatchWindow::pathToFolderSettings(const QString& key, const QString& path, bool folderOnly)
{
    const QString ini = lumivex::platform::userSettingsFolder() + QStringLiteral("lastsaveformat.ini");
    QSettings settings(ini, QSettings::IniFormat);
    settings.setValue(key, folderOnly ? QFileInfo(path).absolutePath() : path);
    settings.sync();
}

namespace {

QString runFolderDialog(QWidget* parent, const QString& title, const QString& start)
{
    if (HDRBatchWindow::s_FolderDialog)
        return HDRBatchWindow::s_FolderDialog(title, start);
    HDRFileDialog dialog(parent, title, start, QString(), QFileDialog::Directory, QFileDialog::ShowDirsOnly);
    dialog.setWindowTitle(title);
    dialog.setDirectory(start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

// The folder dialog of a path field: start folder from the field, the last
// dialog folder or the options' default folder.
void chooseFolder(QWidget* parent, QLineEdit* field, const QString& title, IOptionsWindow::EPaths entry)
{
    QString start = field->text();
    const QString preset = g_pOptionsWindow ? g_pOptionsWindow->GetPath(entry) : QString();
    if (start.isEmpty())
        start = preset.isEmpty() ? HDRBatchWindow::pathfromFolderSettings(QStringLiteral("lastDialogPath")) : preset;
    const QString chosen = runFolderDialog(parent, title, start);
    if (chosen.isEmpty())
        return;
    if (preset.isEmpty())
        HDRBatchWindow::pathToFolderSettings(QStringLiteral("lastDialogPath"), chosen, false);
    field->clear();
    field->setText(chosen);
}

} // namespace

void HDRBatchWindow::selectSource()
{
    chooseFolder(this, m_pSourcePathEdit, tr("Quellpfad auswählen"), IOptionsWindow::ePATH_SERIES);
}

void HDRBatchWindow::selectTarget()
{
    chooseFolder(this, m_pTargetPathEdit, tr("Zielpfad auswählen"), IOptionsWindow::ePATH_RESULTS);
}

void HDRBatchWindow::sourceTextChanged(const QString& text)
{
    // Set by the program (folder dialog, dropped folder, start folder, reset):
    // at once.
    if (!m_pSourcePathEdit->isModified()) {
        pathChanged(text);
        return;
    }
    // Typed: a text that names no folder empties the list at once; a folder is
    // scanned once the typing pauses (each typed prefix such as "/" would be a
    // scan of its own).
    const QFileInfo info(text);
    if (text.isEmpty() || !info.isAbsolute() || !info.isDir())
        pathChanged(text);
    else
        m_pPathTimer->start();
}

void HDRBatchWindow::sourceEditingFinished()
{
    if (m_pPathTimer->isActive())
        pathChanged(m_pSourcePathEdit->text());
}

void HDRBatchWindow::targetTextChanged(const QString& text)
{
    // Typed source text waiting for its pause is not applied early.
    if (!m_pPathTimer->isActive())
        pathChanged(text);
}

void HDRBatchWindow::pathChanged(const QString&)
{
    m_pPathTimer->stop();
    const QString text = m_pSourcePathEdit->text();
    const QFileInfo info(text);
    if (!text.isEmpty() && info.isAbsolute() && info.isDir()) {
        if (text != m_strLoadPath) {
            m_strLoadPath = text;
            stopImageLoading();
            stopPreviewCalculation();
            clearBatchExposures();
            startImageLoading();
        }
        return;
    }
    stopImageLoading();
    stopPreviewCalculation();
    m_strLoadPath.clear();
    clearBatchExposures();
    m_pStatusLabel->setText(tr("Bitte gültigen Quell & Zielordner wählen..."));
}

void HDRBatchWindow::recursiveClicked()
{
    stopImageLoading();
    stopPreviewCalculation();
    clearBatchExposures();
    startImageLoading();
}

void HDRBatchWindow::matchModeSelected(int) { recursiveClicked(); }

void HDRBatchWindow::panoramaModeClicked() { MP_UI_SetPanoramaMode(m_pPanoramaCheckBox->isChecked() ? 1 : 0); }

void HDRBatchWindow::presetSelected(int index)
{
    QMutexLocker lock(&m_Mutex);
    if (index >= 0) // a cleared list keeps the chosen tile
        s_uiCurrentPPPresetIdx = unsigned(index);
    startPreviewCalculation(-1, -1, false);
}

void HDRBatchWindow::operatorSelected(int)
{
    QMutexLocker lock(&m_Mutex);
    if (m_pHDROperatorDock)
        m_pHDROperatorDock->SelectHDRPresetText(m_pHDRPresetComboBox->currentText());
    startPreviewCalculation(-1, -1, true);
}

// ---- Box requests -----------------------------------------------------------------------

void HDRBatchWindow::contextMenuOpenSeriesAsProject()
{
    auto* box = qobject_cast<HDRBatchExposureWidget*>(sender());
    if (!box)
        return;
    box->RememberFilePaths();
    m_vecOpenAsProject = box->m_vecFilePaths;
    QTimer::singleShot(5, this, [this] { close(); });
}

void HDRBatchWindow::contextMenuRemoveSeries()
{
    auto* box = qobject_cast<HDRBatchExposureWidget*>(sender());
    for (int i = 0; i < m_aBatchExposures.size(); ++i)
        if (m_aBatchExposures[i] == box)
            disableBatchExposure(unsigned(i));
}

void HDRBatchWindow::disableBatchExposure(unsigned index)
{
    if (index >= unsigned(m_aBatchExposures.size()))
        return;
    HDRBatchExposureWidget* box = m_aBatchExposures[int(index)];
    box->setChecked(false);
    box->hide();
    box->DeleteExposureSeries();
    clearPreviewLabel();
    setImagesTitle(getNumVisibleBatchExposures());
}

int HDRBatchWindow::getNumVisibleBatchExposures() const
{
    int n = 0;
    for (const HDRBatchExposureWidget* box : m_aBatchExposures)
        n += box->isVisibleTo(m_pScrollContent) ? 1 : 0;
    return n;
}

void HDRBatchWindow::clearPreviewLabel()
{
    if (s_pPreviewLabel) {
        s_pPreviewLabel->clear();
        s_pPreviewLabel->setFixedSize(1, 1);
    }
    s_pCurrentExposureLabel = nullptr;
}

void HDRBatchWindow::setImagesTitle(int count)
{
    m_pImagesGroupBox->setTitle(m_strImagesTitle + QStringLiteral(": %1").arg(count));
}

void HDRBatchWindow::rawDevelopmentClosed()
{
    if (!isVisible())
        return;
    IInfoDock* dock = ToolkitSeams::InfoDock();
    if (dock)
        dock->SetInfoDockVisible(false);
    IToolkitMainWindow* window = ToolkitSeams::MainWindow();
    if (window && m_pInfoButton && m_pInfoBrowser && m_pInfoButton->isChecked() != window->IsShowInfoActChecked()) {
        m_pInfoButton->setChecked(window->IsShowInfoActChecked());
        m_pInfoBrowser->setVisible(m_pInfoButton->isChecked());
        Resize(false);
    }
}

// ---- Scan and loading -------------------------------------------------------------------

bool HDRBatchWindow::caseInsensitiveLessThan(const QString& a, const QString& b)
{
    return BatchFiles::caseInsensitiveLessThan(a, b);
}

void HDRBatchWindow::startImageLoading()
{
    stopImageLoading();
    m_pStatusLabel->setText(tr("Der Quellordner wird nach Dateien durchsucht."));
    if (m_strLoadPath.isEmpty()) { // nothing to list
        startListedImageLoading(BatchFiles::ScanFolder(m_strLoadPath, m_pRecursiveCheckBox->isChecked()));
        return;
    }
    // The listing runs off the GUI thread; the scan counts as loading until
    // its images are loaded.
    m_pScanThread = new HDRBatchScanThread(m_strLoadPath, m_pRecursiveCheckBox->isChecked());
    connect(m_pScanThread, &QThread::finished, this, &HDRBatchWindow::scanThreadFinished, Qt::QueuedConnection);
    m_bLoading = true;
    m_pScanThread->start();
}

void HDRBatchWindow::cancelScan()
{
    if (!m_pScanThread)
        return;
    m_pScanThread->m_bCancel = true;
    m_vecCancelledScans.append(m_pScanThread);
    m_pScanThread = nullptr;
}

void HDRBatchWindow::scanThreadFinished()
{
    auto* scan = qobject_cast<HDRBatchScanThread*>(sender());
    if (!scan)
        return;
    scan->wait();
    if (scan != m_pScanThread) { // a cancelled listing: its result is dropped
        if (m_vecCancelledScans.removeOne(scan))
            delete scan;
        return;
    }
    m_pScanThread = nullptr;
    const BatchFiles::SScanResult result = scan->m_Result;
    delete scan;
    m_bLoading = false;
    if (!result.bCancelled)
        startListedImageLoading(result);
}

void HDRBatchWindow::startListedImageLoading(const BatchFiles::SScanResult& result)
{
    if (result.files.isEmpty()) {
        m_pStatusLabel->setText(tr("Der Quellordner enthält keine Bilddateien."));
        return;
    }
    QMutexLocker lock(&m_Mutex);
    for (const QString& path : result.files) {
        auto* thread = new HDRBatchLoadThread();
        thread->m_strFilePath = path;
        connect(thread, &QThread::finished, this, &HDRBatchWindow::loadThreadFinished, Qt::QueuedConnection);
        m_vecLoadThreads.append(thread);
    }
    m_pStatusLabel->setText(tr("Order wird nach Bildmaterial durchsucht..."));
    m_bLoading = startLoadThreads();
    if (m_bLoading) {
        m_pProgressBar->setValue(0);
        m_pProgressBar->setEnabled(true);
    }
}

bool HDRBatchWindow::startLoadThreads()
{
    QMutexLocker lock(&m_Mutex);
    const int wave = std::max(1, m_pMatchModeComboBox->currentData().toInt());
    int started = 0;
    for (HDRBatchLoadThread* thread : m_vecLoadThreads) {
        if (started >= wave)
            break;
        if (thread->isRunning() || thread->isFinished())
            continue;
        thread->start(QThread::IdlePriority);
        ++started;
    }
    m_iRunningLoadThreads += started;
    return started > 0;
}

void HDRBatchWindow::stopImageLoading()
{
    cancelScan();
    if (m_bLoading || !m_vecLoadThreads.isEmpty()) {
        QMutexLocker lock(&m_Mutex);
        for (HDRBatchLoadThread* thread : m_vecLoadThreads) {
            thread->blockSignals(true);
            thread->wait(); // a thread never started returns at once
            // A loaded image not handled yet is freed here.
            if (thread->m_pBitmap) {
                FreeImage_Unload(thread->m_pBitmap);
                thread->m_pBitmap = nullptr;
            }
            thread->blockSignals(false);
            delete thread;
        }
    }
    m_vecLoadThreads.clear();
    m_uiLoadedCount = 0;
    m_iRunningLoadThreads = 0;
    m_bLoading = false;
    m_pProgressBar->setValue(0);
    m_pProgressBar->setEnabled(false);
}

void HDRBatchWindow::loadThreadFinished()
{
    QMutexLocker lock(&m_Mutex);
    if (!m_bLoading)
        return;
    auto* thread = qobject_cast<HDRBatchLoadThread*>(sender());
    const bool known = thread && m_vecLoadThreads.contains(thread);
    if (known) {
        const int wave = std::max(1, m_pMatchModeComboBox->currentData().toInt());
        auto* exposure = new CExposureBatch();
        if (!exposure->Load(thread->m_strFilePath, thread->m_pBitmap) ||
            !exposure->Prepare(thread->m_pBitmap, thread->m_fLuminance)) {
            delete exposure;
        } else {
            const unsigned w = FreeImage_GetWidth(thread->m_pBitmap);
            const unsigned h = FreeImage_GetHeight(thread->m_pBitmap);
            bool placed = false;
            for (int i = int(m_aBatchExposures.size()) - 1; i >= 0 && !placed; --i) {
                CExposureSeries* s = m_aBatchExposures[i]->m_pExposureSeries;
                if (s && int(s->m_vExposures.size()) < wave && s->m_uiWidth == w && s->m_uiHeight == h) {
                    placed = true;
                    if (!appendToBatchExposureSeries(i, exposure))
                        delete exposure;
                }
            }
            if (!placed)
                addBatchExposureSeries(exposure);
        }
        for (int i = int(m_aBatchExposures.size()) - 1; i >= 0; --i)
            if (m_aBatchExposures[i]->m_pExposureSeries)
                m_aBatchExposures[i]->m_pExposureSeries->RemoveFullSizeBuffer();
        if (thread->m_pBitmap) {
            FreeImage_Unload(thread->m_pBitmap);
            thread->m_pBitmap = nullptr;
        }
        ++m_uiLoadedCount;
        m_pProgressBar->setValue(
            BatchFiles::LoadProgress(m_pProgressBar->maximum(), m_uiLoadedCount, unsigned(m_vecLoadThreads.size())));
        --m_iRunningLoadThreads;
        if (m_iRunningLoadThreads > 0)
            return;
    } else if (m_iRunningLoadThreads > 0) {
        return;
    }
    if (startLoadThreads())
        return;
    m_pProgressBar->setValue(int(float(m_pProgressBar->maximum()) * 0.8f));
    m_bLoading = false;
    for (HDRBatchExposureWidget* box : m_aBatchExposures)
        box->m_bLoadingFinished = true;
    startPreviewCalculation(-1, -1, true);
}

HDRBatchExposureWidget* HDRBatchWindow::addBatchExposureSeries(CExposureBatch* exposure)
{
    auto* box = new HDRBatchExposureWidget(m_iWindowMode);
    m_pSeriesLayout->addWidget(box);
    m_aBatchExposures.append(box);
    if (!appendToBatchExposureSeries(int(m_aBatchExposures.size()) - 1, exposure))
        delete exposure;
    m_pScrollContent->adjustSize();
    setImagesTitle(getNumVisibleBatchExposures() + (box->isVisibleTo(m_pScrollContent) ? 0 : 1));
    connect(box, &HDRBatchExposureWidget::openSeriesAsProject, this,
            &HDRBatchWindow::contextMenuOpenSeriesAsProject);
    connect(box, &HDRBatchExposureWidget::removeSeries, this, &HDRBatchWindow::contextMenuRemoveSeries);
    clearPreviewLabel();
    return box;
}

bool HDRBatchWindow::appendToBatchExposureSeries(int index, CExposureBatch* exposure)
{
    if (index < 0 || index >= m_aBatchExposures.size())
        return false;
    return m_aBatchExposures[index]->AddExposureBatch(exposure);
}

void HDRBatchWindow::clearBatchExposures()
{
    m_bCancelRequested = false;
    ++m_uiPreviewGeneration; // queued preview requests name old boxes
    for (int i = int(m_aBatchExposures.size()) - 1; i >= 0; --i) {
        m_pSeriesLayout->removeWidget(m_aBatchExposures[i]);
        delete m_aBatchExposures[i];
    }
    m_aBatchExposures.clear();
    m_pImagesGroupBox->setTitle(m_strImagesTitle);
    clearPreviewLabel();
}

// ---- Previews -------------------------------------------------------------------------------

void HDRBatchWindow::startPreviewCalculation(int first, int second, bool withHDR)
{
    if (m_bLoading)
        return;
    m_bPreviewWithHDR = withHDR;
    if (m_aBatchExposures.isEmpty()) {
        m_pStatusLabel->setText(tr("Der Quellordner enthält keine Bilddateien."));
        m_pProgressBar->setValue(0);
        m_bPreviewsFinished = true;
        m_pStartButton->setText(tr("Starten"));
        m_pStartButton->setEnabled(true);
        return;
    }
    stopPreviewCalculation();
    m_iPreviewFirst = first;
    m_iPreviewSecond = second;
    m_pStatusLabel->setText(tr("Previews der gefundenen Bilder werden erzeugt..."));
    m_pPreviewsThread = new HDRBatchPreviewsThread(unsigned(m_aBatchExposures.size()));
    const quint32 generation = m_uiPreviewGeneration;
    connect(m_pPreviewsThread, &HDRBatchPreviewsThread::calculatePreview, this,
            [this, generation](quint32 i) { runPreviewRequest(i, generation); }, Qt::QueuedConnection);
    connect(m_pPreviewsThread, &QThread::finished, this,
            [this, generation] {
                if (generation == m_uiPreviewGeneration)
                    previewsThreadFinished();
            },
            Qt::QueuedConnection);
    m_pPreviewsThread->start(QThread::IdlePriority);
}

void HDRBatchWindow::runPreviewRequest(quint32 index, quint32 generation)
{
    // A request of a stopped pass or an older list is dropped.
    if (generation != m_uiPreviewGeneration || !m_pPreviewsThread)
        return;
    calculatePreview(index);
}

void HDRBatchWindow::calculatePreview(quint32 index)
{
    const int n = int(m_aBatchExposures.size());
    if (int(index) >= n || n == 0)
        return;
    if ((m_iPreviewFirst == -1 && m_iPreviewSecond == -1) || int(index) == m_iPreviewFirst ||
        int(index) == m_iPreviewSecond)
        m_aBatchExposures[int(index)]->CalculatePreview(m_bPreviewWithHDR);
    m_pProgressBar->setValue(BatchFiles::PreviewProgress(m_pProgressBar->maximum(), index, unsigned(n)));
}

void HDRBatchWindow::stopPreviewCalculation()
{
    m_bPreviewsFinished = false;
    ++m_uiPreviewGeneration;
    if (m_pPreviewsThread) {
        if (m_pPreviewsThread->isRunning()) {
            m_pPreviewsThread->m_bStop = true;
            m_pPreviewsThread->wait();
        }
        delete m_pPreviewsThread;
        m_pPreviewsThread = nullptr;
    }
    m_iPreviewFirst = m_iPreviewSecond = -1;
}

void HDRBatchWindow::previewsThreadFinished()
{
    m_pProgressBar->setValue(m_pProgressBar->maximum());
    m_iPreviewFirst = m_iPreviewSecond = -1;
    m_pStatusLabel->setText(tr("Bilder anpassen oder Berechnung starten"));
    QMutexLocker lock(&m_Mutex);
    m_bPreviewsFinished = true;
    if (m_bStartRequested)
        startBatchProcess();
}

// ---- Run ------------------------------------------------------------------------------------

void HDRBatchWindow::startClicked()
{
    if (m_pProcessThread)
        return;
    if (m_pPathTimer->isActive()) // typed source text not applied yet
        pathChanged(m_pSourcePathEdit->text());
    if (m_strLoadPath.isEmpty() || getNumVisibleBatchExposures() == 0) {
        selectSource();
        if (m_strLoadPath.isEmpty())
            return;
    }
    auto targetInvalid = [this] {
        const QFileInfo info(m_pTargetPathEdit->text());
        return m_pTargetPathEdit->text().isEmpty() || !info.isAbsolute() || !info.isDir();
    };
    if (targetInvalid()) {
        selectTarget();
        if (targetInvalid())
            return;
    }
    QMutexLocker lock(&m_Mutex);
    m_bStartRequested = true;
    if (m_bLoading || !m_bPreviewsFinished) {
        m_pStartButton->setEnabled(false);
        m_pStartButton->setText(tr("starte..."));
        return;
    }
    startBatchProcess();
}

void HDRBatchWindow::startBatchProcess()
{
    if (m_pProcessThread)
        return;
    m_bStartRequested = false;
    delete m_pProgressThread;
    m_pProgressThread = new HDRProgressThread(1, 0);
    m_bCancelRequested = false;
    HDRProgressThread::OpenCategory(kBatchCategory, true);
    HDRProgressThread::AddMessage(kBatchCategory, tr("Progress Stapelverarbeitung starten"), 1);
    HDRProgressThread::SetTitle(QCoreApplication::translate("ProgressWindowTitle", "Stapelverarbeitung"));

    // The snapshot: nothing of the dialog or the docks is read on the worker.
    m_vecJobs.clear();
    for (int i = 0; i < m_aBatchExposures.size(); ++i) {
        HDRBatchExposureWidget* box = m_aBatchExposures[i];
        box->RememberFilePaths();
        box->DeleteExposureSeries();
        SBatchJob job;
        job.uiBox = quint32(i);
        job.bChecked = box->isChecked() && box->isVisibleTo(m_pScrollContent);
        job.strTitle = box->title();
        job.vecFiles = box->m_vecFilePaths;
        m_vecJobs.append(job);
    }
    m_RunSettings = SBatchRunSettings();
    m_RunSettings.strTargetFolder = m_pTargetPathEdit->text();
    m_RunSettings.strExtension = m_pFormatComboBox->currentData().toString();
    if (m_pHDROperatorDock) {
        m_RunSettings.strKernelName = m_pHDROperatorDock->GetKernelName();
        float values[10][256];
        m_pHDROperatorDock->GetParameterValues(values);
        std::memcpy(m_RunSettings.vecParameterValues.data(), values, sizeof(values));
    }
    if (m_pPresetsDockWidget) {
        if (CPostProcessing* chain = m_pPresetsDockWidget->TileChain(int(s_uiCurrentPPPresetIdx))) {
            chain->SetProcessData(); // the dock's film values, taken here on the GUI thread
            m_RunSettings.pChain = std::make_shared<CPostProcessing>(*chain);
            m_RunSettings.pChain->SetAccordingExposureSeries(nullptr);
        }
    }
    SRunSources& sources = runSources();
    const SDocumentSettings snapshot = CDocumentSettings::Snapshot();
    sources.raw = std::make_unique<CRawSnapshot>(snapshot.raw);
    sources.sigmoid = std::make_unique<CSigmoidSnapshot>(snapshot.fSigmoid);
    sources.oldRaw = CDocumentSettings::SetRawDevelopmentSource(sources.raw.get());
    sources.oldSigmoid = CDocumentSettings::SetSigmoidSource(sources.sigmoid.get());
    sources.installed = true;

    if (HDRProgressWindow* window = m_pProgressThread->GetWindow())
        if (QPushButton* stop = window->EnableCancelButton(true))
            connect(stop, &QPushButton::clicked, this, &HDRBatchWindow::progressCancelRequested);

    m_pProcessThread = new HDRBatchProcessThread(this);
    connect(m_pProcessThread, &HDRBatchProcessThread::removeBatchExposure, this, &HDRBatchWindow::removeBatchExposure,
            Qt::QueuedConnection);
    connect(m_pProcessThread, &QThread::finished, this, &HDRBatchWindow::batchProcessFinished, Qt::QueuedConnection);
    m_pProcessThread->start(QThread::InheritPriority);
}

void HDRBatchWindow::progressCancelRequested()
{
    if (!m_bCancelRequested.load())
        HDRProgressThread::AddMessage(kBatchCategory, tr("Wird abgebrochen"), 1);
    m_bCancelRequested = true;
}

void HDRBatchWindow::batchProcessFinished()
{
    if (!m_pProcessThread)
        return;
    m_pProcessThread->wait();
    delete m_pProgressThread;
    m_pProgressThread = nullptr;
    delete m_pProcessThread;
    m_pProcessThread = nullptr;
    SRunSources& sources = runSources();
    if (sources.installed) {
        CDocumentSettings::SetRawDevelopmentSource(sources.oldRaw);
        CDocumentSettings::SetSigmoidSource(sources.oldSigmoid);
        sources.raw.reset();
        sources.sigmoid.reset();
        sources.installed = false;
    }
    m_RunSettings.pChain.reset();
    if (m_pPresetsDockWidget)
        if (CPostProcessing* chain = m_pPresetsDockWidget->TileChain(int(s_uiCurrentPPPresetIdx)))
            chain->SetAccordingExposureSeries(nullptr);
    defaultClicked();
}
