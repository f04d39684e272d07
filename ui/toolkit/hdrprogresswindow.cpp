#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/AK_Global.h"
#include "ui/toolkit/resourceinit.h"

#include "engine/MP_calc.h"
#include "ui/toolkit/modalhook.h"
#include "ui/toolkit/styleengine.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <mutex>

namespace {

QString themed(const char* sheet) { return CStyleEngine::instance().ReplaceStyleSheetCodes(QLatin1String(sheet)); }


const char* const kLogSheet =
    "QTextEdit { border: 1px solid #STYLE_BORDERCOLOR; background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
    "stop:0 #STYLE_BACKGROUND+3, stop:1 #STYLE_BACKGROUND+2) } QScrollBar:vertical { border: 1px solid "
    "#STYLE_BORDERCOLOR; background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop:0 #STYLE_BACKGROUND+3, stop:1 "
    "#STYLE_BACKGROUND+2); width: 11px; margin: 22px 0 22px 0; } QScrollBar::handle:vertical { border: 1px solid "
    "#STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS-2; background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: "
    "0, stop: 0 #STYLE_MAINCOLOR-2, stop: 0.5 #STYLE_MAINCOLOR, stop: 1 #STYLE_MAINCOLOR-1); min-height: 20px; } "
    "QScrollBar::handle:vertical:hover { border: 1px solid #STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS-2; "
    "background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, stop: 0 #STYLE_MAINCOLOR, stop: 0.5 "
    "#STYLE_MAINCOLOR+2, stop: 1 #STYLE_MAINCOLOR+1); min-height: 20px; } QScrollBar::add-line:vertical { border: "
    "1px solid #STYLE_BORDERCOLOR+1; border-radius: STYLE_BORDERRADIUS-2; background: qlineargradient(x1: 0, y1: 0, "
    "x2: 0, y2: 1, stop:0 #STYLE_BACKGROUND+6, stop:1 #STYLE_BACKGROUND+3); height: 20px; subcontrol-position: "
    "bottom; subcontrol-origin: margin; } QScrollBar::sub-line:vertical { border: 1px solid #STYLE_BORDERCOLOR+1; "
    "border-radius: STYLE_BORDERRADIUS-2; background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop:0 "
    "#STYLE_BACKGROUND+3, stop:1 #STYLE_BACKGROUND+6); height: 20px; subcontrol-position: top; subcontrol-origin: "
    "margin; } QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical { border: 1px solid "
    "#STYLE_BORDERCOLOR+1; width: 3px; height: 3px; background: white; } QScrollBar::add-page:vertical, "
    "QScrollBar::sub-page:vertical { background: none; }";

const char* const kProgressBarSheet =
    "QProgressBar { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_BACKGROUND, stop: 0.50 "
    "#STYLE_BACKGROUND+1, stop: 1.0 #STYLE_BACKGROUND); border: 1px solid #STYLE_BORDERCOLOR; border-radius: "
    "STYLE_BORDERRADIUS; color: #STYLE_PROBARTEXTCOL; font: bold 11px; text-align: center; } QProgressBar::chunk { "
    "background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_MAINCOLOR-1, stop: 0.50 "
    "#STYLE_MAINCOLOR+3, stop: 1.0 #STYLE_MAINCOLOR-2);  border-radius: STYLE_BORDERRADIUS-2; margin:  2px;  color: "
    "#STYLE_PROBARTEXTCOL; }";

const char* const kButtonSheet =
    "QPushButton { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_BACKGROUND+3, stop: "
    "1 #STYLE_BACKGROUND+2); border: 1px solid #STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS-1;  color: "
    "#STYLE_TEXTCOLOR+1; } QPushButton:disabled { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
    "stop: 0 #STYLE_BACKGROUND+4, stop: 1 #STYLE_BACKGROUND+5); border: 1px solid #STYLE_BORDERCOLOR; "
    "border-radius: STYLE_BORDERRADIUS-1;  color: #STYLE_TEXTCOLOR-4; } QPushButton:hover { background-color: "
    "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_MAINCOLOR, stop: 1 #STYLE_MAINCOLOR+1); border: 1px "
    "solid #STYLE_MAINCOLOR+3; border-radius: STYLE_BORDERRADIUS-1;  color: #STYLE_TEXTCOLOR+1; } "
    "QPushButton:hover:checked { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 "
    "#STYLE_MAINCOLOR+1, stop: 1 #STYLE_MAINCOLOR+3); border: 1px solid #STYLE_MAINCOLOR+3; border-radius: "
    "STYLE_BORDERRADIUS-1;  color: #STYLE_TEXTCOLOR+1; } QPushButton:checked { background-color: qlineargradient(x1: "
    "0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_MAINCOLOR, stop: 1 #STYLE_MAINCOLOR+1); border: 1px solid "
    "#STYLE_MAINCOLOR; border-radius: STYLE_BORDERRADIUS-1;  color: #STYLE_TEXTCOLOR+1; } QPushButton:pressed { "
    "background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #STYLE_MAINCOLOR-2, stop: 1 "
    "#STYLE_MAINCOLOR-1); border: 1px solid #STYLE_BORDERCOLOR; border-radius: STYLE_BORDERRADIUS-1;  color: "
    "#STYLE_TEXTCOLOR+1; }";

// The engine's progress entry: the engine passes an int category, the guard
// takes an unsigned one; a negative category means "no progress" and is
// dropped rather than wrapped.
void forwardEngineMessage(int category, float fraction)
{
    if (category < 0)
        return;
    HDRProgressThread::AddMessage(static_cast<unsigned int>(category), fraction);
}

} // namespace

// ---- HDRProgressWindow ------------------------------------------------------------

HDRProgressWindow::HDRProgressWindow()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint)
{
    LumivexInitResources(); // before the first theme icon is looked up
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol")));
    setWindowModality(Qt::ApplicationModal);
    m_uiMaxMessageType = 0;

    QVBoxLayout* outer = new QVBoxLayout(this);
    QHBoxLayout* logRow = new QHBoxLayout();
    logRow->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(logRow);
    outer->setContentsMargins(10, 5, 10, 5);
    m_pLog = new QTextEdit(this);
    m_pLog->setReadOnly(true);
    m_pLog->setFixedHeight(200);
    m_pLog->hide();
    m_pLog->setStyleSheet(themed(kLogSheet));
    logRow->addWidget(m_pLog);

    QHBoxLayout* barRow = new QHBoxLayout();
    barRow->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(barRow);
    outer->setContentsMargins(10, 5, 10, 5);

    m_pProgressBar = new QProgressBar(this);
    m_pProgressBar->setFixedWidth(400);
    m_pProgressBar->setTextVisible(true);
    m_pProgressBar->setRange(0, 100);
    m_pProgressBar->setValue(0);
    m_pProgressBar->setStyleSheet(themed(kProgressBarSheet));
    barRow->addWidget(m_pProgressBar);

    m_pWaitLabel = new QLabel(this);
    m_pWaitLabel->setPixmap(QIcon::fromTheme(QStringLiteral("ProgressWait")).pixmap(32, 32));
    m_pWaitLabel->setAlignment(Qt::AlignCenter);
    m_pWaitLabel->setScaledContents(false);
    m_pWaitLabel->setFixedSize(34, 34);
    barRow->addWidget(m_pWaitLabel);

    const QString buttonSheet = themed(kButtonSheet);
    m_pContinueButton = new QPushButton(QIcon::fromTheme(QStringLiteral("ProgressContinue")), QString(), this);
    m_pContinueButton->setFixedSize(34, 34);
    m_pContinueButton->setToolTip(_gui::HtmlToolTip(tr("Fortfahren")));
    m_pContinueButton->hide();
    m_pContinueButton->setStyleSheet(buttonSheet);
    barRow->addWidget(m_pContinueButton);

    m_pStopButton = new QPushButton(QIcon::fromTheme(QStringLiteral("ProgressStop")), QString(), this);
    m_pStopButton->setFixedSize(34, 34);
    m_pStopButton->setToolTip(_gui::HtmlToolTip(tr("Abbrechen")));
    m_pStopButton->setEnabled(false);
    m_pStopButton->setStyleSheet(buttonSheet);
    m_pStopButton->hide();
    barRow->addWidget(m_pStopButton);

    CenterToScreen();
    setFixedSize(size());
}

void HDRProgressWindow::SetWindowTitle(const QString& title)
{
    m_strTitle = title;
    setWindowTitle(title);
}

void HDRProgressWindow::updateWindowTitle(QString suffix) { setWindowTitle(m_strTitle + QStringLiteral(" ") + suffix); }

void HDRProgressWindow::receiveMessage(SMessage message, f32 total)
{
    if (!message.strText.isEmpty()) {
        QColor colour(128, 255, 128);
        if (message.uiType == 1)
            colour = QColor(255, 255, 128);
        else if (message.uiType == 2)
            colour = QColor(255, 128, 128);
        m_pLog->setTextColor(colour);
        m_pLog->append(message.strText);
    }
    if (total > 0.0f)
        m_pProgressBar->setValue(static_cast<int>(total * 100.0f));
    if (message.uiType > m_uiMaxMessageType)
        m_uiMaxMessageType = message.uiType;
}

void HDRProgressWindow::ShowLog()
{
    if (!m_pLog->isHidden())
        return;
    m_pLog->show();
    // The size was fixed with the log hidden: make room for it.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(size()));
}

QPushButton* HDRProgressWindow::EnableCancelButton(bool showLog)
{
    m_pWaitLabel->hide();
    m_pContinueButton->hide();
    m_pStopButton->setEnabled(true);
    m_pStopButton->show();
    if (showLog)
        ShowLog();
    CenterToScreen();
    return m_pStopButton;
}

void HDRProgressWindow::EnableContinueButton()
{
    m_pWaitLabel->hide();
    m_pContinueButton->show();
    HDRProgressThread::AddMessage(0, tr("Es ist ein Fehler aufgetreten, Protokoll oder fortfahren"), 2);
    ShowLog();
    CenterToScreen();
}

void HDRProgressWindow::CenterToScreen()
{
    adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QPoint centre((available.left() + available.right()) / 2, (available.top() + available.bottom()) / 2);
    QRect frame = frameGeometry();
    frame.moveCenter(centre);
    move(frame.topLeft());
}

QLabel* HDRProgressWindow::CreateLabel(const QString& iconName)
{
    QLabel* label = new QLabel(this);
    label->setFixedSize(48, 48);
    label->setPixmap(QIcon::fromTheme(iconName).pixmap(48, 48));
    label->setScaledContents(true);
    label->setFrameShape(QFrame::Box);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignCenter);
    label->setEnabled(false);
    return label;
}

void HDRProgressWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void HDRProgressWindow::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

// ---- HDRProgressThread ------------------------------------------------------------

QMutex HDRProgressThread::s_ClassMutex;
QWaitCondition HDRProgressThread::s_PostersDone;
HDRProgressThread* HDRProgressThread::s_pInstance = nullptr;

HDRProgressThread::HDRProgressThread(unsigned int categoryCount, unsigned int delay)
{
    Init(categoryCount, tr("Fortschritt"), delay);
}

HDRProgressThread::HDRProgressThread(unsigned int categoryCount, const QString& title, unsigned int delay)
{
    Init(categoryCount, title, delay);
}

void HDRProgressThread::Init(unsigned int categoryCount, const QString& title, unsigned int delay)
{
    static std::once_flag hookOnce;
    std::call_once(hookOnce, [] { C_SetAddMessageHook(&forwardEngineMessage); });

    {
        QMutexLocker lock(&s_ClassMutex);
        s_pInstance = this;
        m_uiCategoryCount = categoryCount;
        m_bLocked = false;
        m_vCategories.clear();
    }
    m_bQuit = false;
    m_bWaitForContinue = false;
    m_uiDelay = delay;

    m_pWindow = new HDRProgressWindow();
    m_pWindow->SetWindowTitle(title);
    m_pWindow->setStyleSheet(themed("QWidget { background-color: #STYLE_BACKGROUND; }"));

    qRegisterMetaType<SMessage>("SMessage");
    qRegisterMetaType<f32>("f32");
    connect(this, &HDRProgressThread::showWindow, m_pWindow, &QWidget::show, Qt::QueuedConnection);
    connect(this, &HDRProgressThread::repaintWindow, m_pWindow, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    connect(this, &HDRProgressThread::sendMessage, m_pWindow, &HDRProgressWindow::receiveMessage,
            Qt::QueuedConnection);
    connect(this, &HDRProgressThread::updateWindowTitle, m_pWindow, &HDRProgressWindow::updateWindowTitle,
            Qt::QueuedConnection);
    connect(m_pWindow->GetContinueButton(), &QPushButton::clicked, this, &HDRProgressThread::continueClicked,
            Qt::QueuedConnection);

    if (delay == 0) {
        emit showWindow();
        HDRProgressWindow* window = m_pWindow;
        QTimer::singleShot(500, window, [window] { window->update(); });
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    start();
}

HDRProgressThread::~HDRProgressThread()
{
    Quit();
    {
        QMutexLocker lock(&s_ClassMutex);
        s_pInstance = nullptr;
        // A poster that found this guard before it stopped being current may
        // still be emitting to it: wait until it is through.
        while (m_iActivePosters > 0)
            s_PostersDone.wait(&s_ClassMutex);
    }
    delete m_pWindow;
    m_pWindow = nullptr;
}

HDRProgressThread::SCategory* HDRProgressThread::GetCategory(unsigned int category)
{
    for (SCategory& c : m_vCategories) {
        if (c.uiCategory == category)
            return &c;
    }
    return nullptr;
}

void HDRProgressThread::AddCategory(unsigned int category)
{
    if (!GetCategory(category))
        m_vCategories.push_back({category, 0.0f});
}

HDRProgressThread* HDRProgressThread::AcquireCurrent()
{
    QMutexLocker lock(&s_ClassMutex);
    if (s_pInstance)
        ++s_pInstance->m_iActivePosters;
    return s_pInstance;
}

void HDRProgressThread::ReleasePoster(HDRProgressThread* guard)
{
    QMutexLocker lock(&s_ClassMutex);
    if (--guard->m_iActivePosters == 0)
        s_PostersDone.wakeAll();
}

void HDRProgressThread::OpenCategory(unsigned int category, bool lock)
{
    QMutexLocker locker(&s_ClassMutex);
    HDRProgressThread* guard = s_pInstance;
    if (!guard || guard->m_bLocked)
        return;
    guard->AddCategory(category);
    guard->m_bLocked = lock;
}

void HDRProgressThread::AddMessage(const SMessage& message)
{
    HDRProgressThread* guard = nullptr;
    float total = 0.0f;
    {
        QMutexLocker lock(&s_ClassMutex);
        guard = s_pInstance;
        if (!guard)
            return;
        if (SCategory* c = guard->GetCategory(message.uiCategory)) {
            // A category's fraction never decreases.
            if (message.fProgress >= 0.0f && message.fProgress >= c->fProgress)
                c->fProgress = message.fProgress;
        } else if (guard->m_bLocked) {
            return;
        }
        for (const SCategory& c : guard->m_vCategories)
            total += c.fProgress / static_cast<float>(guard->m_uiCategoryCount);
        total = MP_clamp(total, 0.0f, 1.0f);
        ++guard->m_iActivePosters;
    }
    emit guard->sendMessage(message, total);
    emit guard->repaintWindow();
    ReleasePoster(guard);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void HDRProgressThread::AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction)
{
    SMessage message;
    message.uiCategory = category;
    message.strText = text;
    message.uiType = type;
    message.fProgress = fraction;
    AddMessage(message);
}

void HDRProgressThread::AddMessage(unsigned int category, const QString& text, unsigned int type)
{
    AddMessage(category, text, type, -1.0f);
}

void HDRProgressThread::AddMessage(unsigned int category, float fraction)
{
    AddMessage(category, QString(), 0, fraction);
}

void HDRProgressThread::SetTitle(const QString& suffix)
{
    HDRProgressThread* guard = AcquireCurrent();
    if (!guard)
        return;
    emit guard->updateWindowTitle(suffix);
    emit guard->repaintWindow();
    ReleasePoster(guard);
}

void HDRProgressThread::ForcedQuit()
{
    HDRProgressThread* guard = nullptr;
    {
        QMutexLocker lock(&s_ClassMutex);
        guard = s_pInstance;
    }
    // The guards belong to the GUI thread, which is the only caller here.
    if (guard)
        guard->Quit();
}

void HDRProgressThread::Quit()
{
    bool waitForContinue = false;
    {
        QMutexLocker lock(&m_Mutex);
        m_bQuit = true;
        if (m_pWindow && m_pWindow->GetMaxMessageType() > 1)
            m_bWaitForContinue = true;
        waitForContinue = m_bWaitForContinue;
        m_WaitCondition.wakeAll();
    }
    if (waitForContinue && m_pWindow) {
        m_pWindow->EnableContinueButton();
        _gui::AnswerPrompt(m_pWindow);
        while (isRunning()) {
            {
                QMutexLocker lock(&m_Mutex);
                m_WaitCondition.wait(&m_Mutex, 50);
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }
    wait();
}

void HDRProgressThread::continueClicked()
{
    QMutexLocker lock(&m_Mutex);
    m_bWaitForContinue = false;
    m_WaitCondition.wakeAll();
}

void HDRProgressThread::run()
{
    {
        QMutexLocker lock(&m_Mutex);
        if (m_bQuit && !m_bWaitForContinue)
            return;
        m_WaitCondition.wait(&m_Mutex, m_uiDelay);
        if (m_bQuit && !m_bWaitForContinue)
            return; // ended within the delay: the window is never shown
    }
    emit showWindow();
    QMutexLocker lock(&m_Mutex);
    while (!m_bQuit)
        m_WaitCondition.wait(&m_Mutex, 250);
    while (m_bWaitForContinue)
        m_WaitCondition.wait(&m_Mutex, 250);
}
