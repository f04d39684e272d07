#pragma once
// The progress guard and its window.
//
// Every long calculation runs on the GUI thread inside one scoped guard,
// HDRProgressThread. The guard owns a small modal window and a worker thread
// whose only task is to wait out the show delay and then have the window
// shown; a calculation that ends within the delay never shows a window.
// Progress is posted through the guard's static operations from any thread
// (the engine posts through C_AddMessage): each message names a category,
// may carry a log line with a severity and may carry the fraction of its
// category that is done. The guard keeps the best fraction per category, sums
// them into one total, forwards the message to the window through a queued
// signal and lets the posting thread process its pending events except user
// input. When an error was logged, ending the guard turns the window into an
// error report and waits until the user presses the continue button.

#include <QMetaType>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>
#include <QWidget>

#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;

typedef float f32;

// One message on its way from the guard to the window.
struct SMessage {
    quint32 uiCategory = 0; // 0 is never opened and serves for general notices
    QString strText;        // log line; empty for a progress-only message
    quint32 uiType = 0;     // 0 normal, 1 notice, 2 error
    float fProgress = -1.0f; // fraction 0..1 of the category; negative: none
};
Q_DECLARE_METATYPE(SMessage)

class HDRProgressWindow : public QWidget {
    Q_OBJECT
public:
    HDRProgressWindow();

    void SetWindowTitle(const QString& title);
    // Shows and enables the stop button (and the log when asked) in place of
    // the wait icon; the caller connects the button to its cancel handling.
    QPushButton* EnableCancelButton(bool showLog);
    // Error report: continue button, the prompt in the log, the log shown.
    void EnableContinueButton();
    void CenterToScreen();
    // A 48 x 48 label showing the named theme icon.
    QLabel* CreateLabel(const QString& iconName);

    quint32 GetMaxMessageType() const { return m_uiMaxMessageType; }
    QTextEdit* GetLog() const { return m_pLog; }
    QProgressBar* GetProgressBar() const { return m_pProgressBar; }
    QLabel* GetWaitLabel() const { return m_pWaitLabel; }
    QPushButton* GetContinueButton() const { return m_pContinueButton; }
    QPushButton* GetStopButton() const { return m_pStopButton; }

public slots:
    void receiveMessage(SMessage message, f32 total);
    void updateWindowTitle(QString suffix);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the log and lets the window grow by its height.
    void ShowLog();

    QTextEdit* m_pLog = nullptr;
    QProgressBar* m_pProgressBar = nullptr;
    QLabel* m_pWaitLabel = nullptr;
    QPushButton* m_pContinueButton = nullptr;
    QPushButton* m_pStopButton = nullptr;
    quint32 m_uiMaxMessageType = 0;
    QString m_strTitle;
};

class HDRProgressThread : public QThread {
    Q_OBJECT
public:
    struct SCategory {
        quint32 uiCategory;
        float fProgress; // best fraction posted so far
    };

    // A guard titled "Fortschritt"; categoryCount divides every category's
    // fraction, delay is the show delay in milliseconds (0: at once).
    HDRProgressThread(unsigned int categoryCount, unsigned int delay);
    HDRProgressThread(unsigned int categoryCount, const QString& title, unsigned int delay);
    ~HDRProgressThread() override;

    // All static operations act on the current guard and do nothing without one.
    static void OpenCategory(unsigned int category, bool lock);
    static void AddMessage(const SMessage& message);
    static void AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction);
    static void AddMessage(unsigned int category, const QString& text, unsigned int type);
    static void AddMessage(unsigned int category, float fraction);
    static void SetTitle(const QString& suffix);
    static void ForcedQuit();

    // Ends the worker thread; after an error waits for the continue button.
    void Quit();
    HDRProgressWindow* GetWindow() const { return m_pWindow; }

signals:
    void showWindow();
    void repaintWindow();
    void sendMessage(SMessage message, f32 total);
    void updateWindowTitle(QString suffix);

public slots:
    void continueClicked();

protected:
    void run() override;

private:
    void Init(unsigned int categoryCount, const QString& title, unsigned int delay);
    // Both need the class lock.
    SCategory* GetCategory(unsigned int category);
    void AddCategory(unsigned int category);
    // The current guard, marked as being posted to (the class lock is released
    // before the caller emits); null without a guard.
    static HDRProgressThread* AcquireCurrent();
    static void ReleasePoster(HDRProgressThread* guard);

    std::vector<SCategory> m_vCategories;
    unsigned int m_uiCategoryCount = 1;
    bool m_bLocked = false;
    QMutex m_Mutex; // guards the two flags below and the wait condition
    bool m_bQuit = false;
    bool m_bWaitForContinue = false;
    unsigned int m_uiDelay = 0;
    QWaitCondition m_WaitCondition;
    HDRProgressWindow* m_pWindow = nullptr;
    int m_iActivePosters = 0; // posters between lookup and the end of their emit

    // One class-wide lock guards the current-guard pointer, the categories,
    // the lock flag and the poster count. It is held only around the lookup
    // and the sum, never across an emit or event processing.
    static QMutex s_ClassMutex;
    static QWaitCondition s_PostersDone;
    static HDRProgressThread* s_pInstance;
};
