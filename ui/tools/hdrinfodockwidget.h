#pragma once
// HDRInfoDockWidget, the dock that shows HTML help text. The main window keeps
// two: the information dock (g_pInfoDockWidget, the toolkit's IInfoDock),
// which shows the help of the highlighted dock and of open tool dialogs, and
// the start page. A tool dialog copies the current text into m_strSavedText
// when it opens and hands it back to UpdateText when it closes.

#include "ui/toolkit/hdrdockwidget.h"
#include "ui/toolkit/toolkitseams.h"
#include "ui/tools/tooldockseams.h"

#include <QString>

class QTextBrowser;

class HDRInfoDockWidget : public HDRDockWidget, public IMainInfoDock {
    Q_OBJECT
public:
    HDRInfoDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~HDRInfoDockWidget() override;

    // The HTML shown; also kept in m_strText.
    void UpdateText(const QString& html) override;
    // On: the size rules of a show apply at once; off: every size limit lifted.
    void EnableFixedSize(bool on) override;
    void SetIsTitleScreen(bool on) override { m_bIsTitleScreen = on; }
    bool IsTitleScreen() const { return m_bIsTitleScreen; }
    // Makes this dock g_pInfoDockWidget and the toolkit's information dock
    // (the main window does so for its information dock, not the start page).
    void RegisterAsInfoDock();
    QDockWidget* Dock() override { return this; }

    QSize sizeHint() const override { return QSize(1, 1); }
    void GetInfoText(QString&) override {}

    // ---- IInfoDock ----
    QString InfoHtml() const override { return m_strText; }
    QString StoredText() const override { return m_strText; }
    void SetInfoDockVisible(bool visible) override { setVisible(visible); }

    QTextBrowser* m_pBrowser = nullptr;
    QString m_strText;
    // Public: a tool dialog keeps the dock's text here while it shows its own.
    QString m_strSavedText;

signals:
    void closeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplySizeRules();

    bool m_bFixedSize = false;
    bool m_bIsTitleScreen = false;
};

// The information dock; null while none exists (the start page never is it).
extern HDRInfoDockWidget* g_pInfoDockWidget;
