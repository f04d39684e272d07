#pragma once
// HDRStatisticWindow, the modal window that shows the usage statistics: a
// read-only browser with the report, rebuilt each time it is shown, and an
// exit button. It only reads the counters.

#include "ui/toolkit/hdrdialogs.h"

class HDRStatistic;
class QPushButton;
class QTextBrowser;

class HDRStatisticWindow : public HDRInfoDialog {
    Q_OBJECT
public:
    // statistic: the counters shown; null takes the main window's.
    explicit HDRStatisticWindow(QWidget* parent, HDRStatistic* statistic = nullptr);
    ~HDRStatisticWindow() override;

    QTextBrowser* m_pTextBrowser = nullptr;
    QPushButton* m_pExitButton = nullptr;

public slots:
    void exitClicked();
    // Plain QDialog behaviour: the window has no information area.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    HDRStatistic* Statistic() const;
    HDRStatistic* m_pStatistic = nullptr;
};
