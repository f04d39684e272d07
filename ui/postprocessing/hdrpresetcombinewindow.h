#pragma once
// HDRPresetCombineWindow, the modal dialog that joins two presets of the
// library, A and B, into a new user preset whose chain holds A's operators
// followed by B's, with previews of A, B and the result.

#include "ui/toolkit/hdrdialogs.h"

#include <QString>

class HDRPresetGroupBox;
class HDRPresetsDockWidget;
class QComboBox;
class QTabWidget;

class HDRPresetCombineWindow : public HDRInfoDialog {
    Q_OBJECT
public:
    HDRPresetCombineWindow(QWidget* parent, HDRPresetsDockWidget* dock);

    static QString TempPathA();
    static QString TempPathB();

    HDRPresetsDockWidget* m_pPresetsDock = nullptr;
    QPushButton* m_pConfirmButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QTabWidget* m_pTabWidget = nullptr;
    QComboBox* m_pComboA = nullptr;
    QComboBox* m_pComboB = nullptr;
    HDRPresetGroupBox* m_pGroupBoxA = nullptr;
    HDRPresetGroupBox* m_pGroupBoxB = nullptr;
    HDRPresetGroupBox* m_pGroupBoxResult = nullptr;
    QString m_strResultPath;
    bool m_bConfirmed = false;

public slots:
    void confirmClicked();
    void cancelClicked();
    void tabChanged(int index);
    void presetSelected(int unused = 0);

protected slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_strSavedInfoText;
};
