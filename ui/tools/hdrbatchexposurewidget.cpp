#include "ui/tools/hdrbatchexposurewidget.h"

#include "document/documentseams.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/styleengine.h"
#include "ui/tools/batchjob.h"
#include "ui/tools/batchseams.h"
#include "ui/tools/hdrbatchwindow.h"

#include <QAction>
#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QPainter>

#include <cstring>

IBatchOperatorSource* HDRBatchExposureWidget::s_pOperatorSource = nullptr;
IBatchPresetSource* HDRBatchExposureWidget::s_pPresetSource = nullptr;
std::function<QAction*(QMenu&, const QPoint&)> HDRBatchExposureWidget::s_MenuExec;

namespace {

QString styled(const QString& sheet) { return CStyleEngine::instance().ReplaceStyleSheetCodes(sheet); }

const char* const kResultSheet =
    "QLabel { border: 1px solid #STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS; background: "
    "#STYLE_BACKGROUND; } QLabel:hover { border-color: #STYLE_MAINCOLOR+1; background: #STYLE_MAINCOLOR-2; }";
const char* const kThumbnailSheet =
    "QLabel { border: 1px solid #STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS; background: rgb(%1, %2, "
    "%3); } QLabel:hover { border-color: #STYLE_MAINCOLOR+1;  background: #STYLE_MAINCOLOR-2; } QLabel:disabled { "
    "border-color: #STYLE_BORDERCOLOR+3; }";

// An empty slot keeps its place but shows no frame of the program's sheet.
const char* const kEmptySlotSheet = "QLabel { border: none; background: transparent; }";

} // namespace

// ---- _HDRExposureLabel ---------------------------------------------------------------

QRect _HDRExposureLabel::PictureRect(const QSize& label, const QSize& picture)
{
    const QSize fitted = picture.scaled(QSize(label.width() - 2, label.height() - 2), Qt::KeepAspectRatio);
    return QRect((label.width() - fitted.width()) / 2, (label.height() - fitted.height()) / 2, fitted.width(),
                 fitted.height());
}

void _HDRExposureLabel::paintEvent(QPaintEvent*)
{
    const QPixmap picture = pixmap();
    if (picture.isNull())
        return;
    const QRect r = PictureRect(size(), picture.size());
    if (r.isEmpty())
        return;
    QPainter painter(this);
    painter.drawPixmap(r.topLeft(), picture.scaled(r.size(), Qt::KeepAspectRatio, Qt::FastTransformation));
}

// ---- HDRBatchExposureWidget -------------------------------------------------------------

HDRBatchExposureWidget::HDRBatchExposureWidget(int windowMode) : QGroupBox(nullptr), m_iWindowMode(windowMode)
{
    setCheckable(m_iWindowMode == 0);
    setChecked(true);
    setToolTip(_gui::HtmlToolTip(m_iWindowMode == 0 ? tr("gefundene Belichtungsreihe lumivex")
                                                    : tr("gefundene Belichtungsreihe lumivex Browser")));

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 2, 4, 4);
    auto* column = new QVBoxLayout();
    column->setSpacing(0);
    outer->addLayout(column);
    auto* row = new QHBoxLayout();
    row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->setSpacing(-2);
    column->addLayout(row);

    for (int i = 0; i < kThumbnailSlots; ++i) {
        auto* label = new _HDRExposureLabel(this);
        label->setScaledContents(true);
        label->setFixedSize(44, 34);
        label->setLineWidth(0);
        label->setStyleSheet(QLatin1String(kEmptySlotSheet));
        label->m_bCheckable = false;
        connect(label, &HDRExposureLabel::entered, this, &HDRBatchExposureWidget::labelEntered);
        connect(label, &HDRExposureLabel::left, this, &HDRBatchExposureWidget::labelLeft);
        row->addWidget(label);
        m_aExposureLabels.append(label);
    }
    row->addSpacing(81);
    m_pResultLabel = new _HDRExposureLabel(this);
    m_pResultLabel->setScaledContents(true);
    m_pResultLabel->setFixedSize(84, 68);
    m_pResultLabel->setStyleSheet(styled(QLatin1String(kResultSheet)));
    m_pResultLabel->m_bCheckable = false;
    connect(m_pResultLabel, &HDRExposureLabel::entered, this, &HDRBatchExposureWidget::labelEntered);
    connect(m_pResultLabel, &HDRExposureLabel::left, this, &HDRBatchExposureWidget::labelLeft);
    row->addWidget(m_pResultLabel);

    m_pOpenAction = new QAction(QIcon::fromTheme(QStringLiteral("BatchSeriesLoad")), tr("Als Projekt öffnen"), this);
    m_pDeactivateAction =
        new QAction(QIcon::fromTheme(QStringLiteral("BatchSeriesDeactivate")), tr("Bild deaktivieren"), this);
    m_pRemoveAction = new QAction(QIcon::fromTheme(QStringLiteral("BatchSeriesDelete")), tr("Bild entfernen"), this);
    for (QAction* a : {m_pOpenAction, m_pDeactivateAction, m_pRemoveAction})
        connect(a, &QAction::triggered, this, &HDRBatchExposureWidget::contextMenuClicked);

    // The box's own series: not the document's, no project slot.
    m_pExposureSeries = new CExposureSeries(false);
}

HDRBatchExposureWidget::~HDRBatchExposureWidget()
{
    if (HDRBatchWindow::s_pCurrentExposureLabel && FindExposureLabel(HDRBatchWindow::s_pCurrentExposureLabel))
        HDRBatchWindow::s_pCurrentExposureLabel = nullptr;
    DeleteExposureSeries();
}

bool HDRBatchExposureWidget::AddExposureBatch(CExposureBatch* exposure)
{
    if (!m_pExposureSeries || !exposure)
        return false;
    const int before = int(m_pExposureSeries->m_vExposures.size());
    if (!m_pExposureSeries->AddExposure(exposure) || int(m_pExposureSeries->m_vExposures.size()) <= before)
        return false;
    RefreshExposureSeries(false);
    return true;
}

void HDRBatchExposureWidget::RefreshExposureSeries(bool)
{
    for (int i = 0; i < 3; ++i) {
        m_aExposureLabels[i]->setStyleSheet(QLatin1String(kEmptySlotSheet));
        m_aExposureLabels[i]->clear();
        m_aExposureLabels[i]->setLineWidth(0);
        m_aExposureLabels[i]->setVisible(i < 2);
    }
    if (!m_pExposureSeries)
        return;
    const int n = std::min(int(m_pExposureSeries->m_vExposures.size()), kThumbnailSlots);
    for (int i = 0; i < n; ++i) {
        CExposure* e = m_pExposureSeries->m_vExposures[i];
        _HDRExposureLabel* label = m_aExposureLabels[i];
        label->setPixmap(e->CreatePixmap(int(e->m_uiPreviewWidth), int(e->m_uiPreviewHeight)));
        label->setStyleSheet(styled(QString::fromLatin1(kThumbnailSheet).arg(46).arg(46).arg(46)));
        label->setLineWidth(2);
        label->show();
    }
    if (n == 0)
        return;
    CalculateHDR();
    const bool preview = CDocumentSettings::PreviewMode();
    if (preview ? m_pExposureSeries->m_pusPreviewBuffer : m_pExposureSeries->m_pusBuffer) {
        const QPixmap picture = m_pExposureSeries->CreatePixmap(int(m_pExposureSeries->m_uiPreviewWidth),
                                                                int(m_pExposureSeries->m_uiPreviewHeight));
        if (!picture.isNull())
            m_pResultLabel->setPixmap(picture);
    }
    GenerateFileName();
}

void HDRBatchExposureWidget::GenerateFileName()
{
    if (!m_pExposureSeries || m_pExposureSeries->m_vExposures.isEmpty())
        return;
    const QString name = QFileInfo(m_pExposureSeries->m_vExposures.first()->m_strFilePath).fileName();
    setTitle(BatchFiles::TitleFromFileName(name));
}

void HDRBatchExposureWidget::CalculateHDR()
{
    if (!m_pExposureSeries)
        return;
    if (s_pOperatorSource) {
        m_pExposureSeries->m_strKernelName = s_pOperatorSource->GetKernelName();
        s_pOperatorSource->GetParameterValues(m_pExposureSeries->m_pfParameterValues);
    }
    m_pExposureSeries->HDR(false, true);
}

bool HDRBatchExposureWidget::CalculatePP()
{
    if (!m_pExposureSeries || !s_pPresetSource)
        return false;
    CPostProcessing* chain = s_pPresetSource->TileChain(int(HDRBatchWindow::s_uiCurrentPPPresetIdx));
    if (!chain)
        return false;
    const bool preview = CDocumentSettings::PreviewMode();
    const unsigned w = preview ? m_pExposureSeries->m_uiPreviewWidth : m_pExposureSeries->m_uiWidth;
    const unsigned h = preview ? m_pExposureSeries->m_uiPreviewHeight : m_pExposureSeries->m_uiHeight;
    unsigned short* source = preview ? m_pExposureSeries->m_pusPreviewBuffer : m_pExposureSeries->m_pusBuffer;
    const QSize size{int(w), int(h)};
    chain->SetAccordingExposureSeries(m_pExposureSeries);
    if (!CPostProcessing::InitBuffer(source, size, size, preview))
        return false;
    return chain->Process(w, h, preview) == 0;
}

void HDRBatchExposureWidget::CalculatePreview(bool withHDR)
{
    if (!m_pExposureSeries || m_pExposureSeries->m_vExposures.isEmpty() || !isVisible())
        return;
    if (withHDR)
        CalculateHDR();
    if (!CalculatePP())
        return;
    const QPixmap picture = CPostProcessing::CreatePixmap(false, CDocumentSettings::PreviewMode());
    if (!picture.isNull())
        m_pResultLabel->setPixmap(picture);
}

float HDRBatchExposureWidget::CalculateMatch(CExposureBatch* exposure)
{
    return m_pExposureSeries ? m_pExposureSeries->CalcCongruence(exposure) : 0.0f;
}

void HDRBatchExposureWidget::RememberFilePaths()
{
    m_vecFilePaths.clear();
    if (!m_pExposureSeries)
        return;
    for (CExposure* e : m_pExposureSeries->m_vExposures) {
        SExposure record;
        record.m_strFilePath = e->m_strFilePath;
        m_vecFilePaths.append(record);
    }
}

void HDRBatchExposureWidget::DeleteExposureSeries()
{
    if (!m_pExposureSeries)
        return;
    // A chain that still names this series forgets it.
    if (s_pPresetSource) {
        for (int i = 0, n = s_pPresetSource->TileCount(); i < n; ++i)
            if (CPostProcessing* chain = s_pPresetSource->TileChain(i))
                if (chain->m_pAccordingExposureSeries == m_pExposureSeries)
                    chain->SetAccordingExposureSeries(nullptr);
    }
    delete m_pExposureSeries;
    m_pExposureSeries = nullptr;
}

HDRExposureLabel* HDRBatchExposureWidget::FindExposureLabel(HDRExposureLabel* label) const
{
    if (!label)
        return nullptr;
    if (label == m_pResultLabel)
        return label;
    const int n = m_pExposureSeries ? std::min(int(m_pExposureSeries->m_vExposures.size()), kThumbnailSlots) : 0;
    for (int i = 0; i < n; ++i)
        if (m_aExposureLabels[i] == label)
            return label;
    return nullptr;
}

QList<QAction*> HDRBatchExposureWidget::ContextMenuActions() const
{
    QList<QAction*> list;
    if (m_bLoadingFinished) {
        list << m_pOpenAction << nullptr;
        if (m_iWindowMode == 0)
            list << m_pDeactivateAction << m_pRemoveAction;
    } else if (m_iWindowMode == 0) {
        list << m_pDeactivateAction;
    }
    return list;
}

void HDRBatchExposureWidget::contextMenuEvent(QContextMenuEvent* event)
{
    HDRBatchWindow::s_pCurrentExposureLabel = nullptr;
    HDRBatchWindow::s_bContextMenuOpen = true;
    setChecked(true);
    QMenu menu(this);
    for (QAction* a : ContextMenuActions()) {
        if (a)
            menu.addAction(a);
        else
            menu.addSeparator();
    }
    if (!menu.isEmpty()) {
        if (s_MenuExec)
            s_MenuExec(menu, event->globalPos());
        else
            menu.exec(event->globalPos());
    }
    HDRBatchWindow::s_bContextMenuOpen = false;
    QGroupBox::contextMenuEvent(event);
}

void HDRBatchExposureWidget::contextMenuClicked()
{
    QObject* from = sender();
    if (from == m_pOpenAction)
        emit openSeriesAsProject();
    else if (from == m_pDeactivateAction)
        setChecked(false);
    else if (from == m_pRemoveAction)
        emit removeSeries();
}

void HDRBatchExposureWidget::labelEntered()
{
    if (!m_bLoadingFinished || HDRBatchWindow::s_bContextMenuOpen)
        return;
    HDRExposureLabel* label = FindExposureLabel(qobject_cast<HDRExposureLabel*>(sender()));
    if (!label || label == HDRBatchWindow::s_pCurrentExposureLabel)
        return;
    const QPixmap picture = label->pixmap();
    if (picture.isNull() || !HDRBatchWindow::s_pPreviewLabel)
        return;
    HDRBatchWindow::s_pPreviewLabel->setPixmap(picture);
    HDRBatchWindow::s_pPreviewLabel->setFixedSize(picture.size());
    HDRBatchWindow::s_pCurrentExposureLabel = label;
}

void HDRBatchExposureWidget::labelLeft()
{
    if (!m_bLoadingFinished || HDRBatchWindow::s_bContextMenuOpen)
        return;
    HDRExposureLabel* label = FindExposureLabel(qobject_cast<HDRExposureLabel*>(sender()));
    if (!label || label != HDRBatchWindow::s_pCurrentExposureLabel)
        return;
    if (HDRBatchWindow::s_pPreviewLabel) {
        HDRBatchWindow::s_pPreviewLabel->clear();
        HDRBatchWindow::s_pPreviewLabel->setFixedSize(1, 1);
    }
    HDRBatchWindow::s_pCurrentExposureLabel = nullptr;
}
