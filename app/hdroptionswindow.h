#pragma once
// HDROptionsWindow, the modal options dialog and the program's store of user
// options: its widgets hold the current values, "options.ini" in the user
// settings folder keeps them between runs, and apply pushes them into the
// engine. Two pages, "Programm" and "Berechnung", a side information area and
// the buttons default, OK, cancel and apply.

#include "document/documentseams.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrdialogs.h"

#include <QString>

#include <array>
#include <cstdint>

class HDRSlider;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class HDROptionsWindow : public HDRInfoDialog, public IOptionsWindow, public IDisplayGammaSource {
    Q_OBJECT
public:
    static constexpr int kLuminancePictureSize = 101;

    explicit HDROptionsWindow(QWidget* parent);
    ~HDROptionsWindow() override;

    // "options.ini" in the user settings folder.
    static QString OptionsIniPath();

    // ---- IOptionsWindow ----
    QString GetPath(EPaths index) const override;
    QString GetExternal(EExternals index) const override;
    int GetExternalIndex() const override { return m_iExternalIndex; }
    bool IsGammaViewChecked() const override;
    int GetUndoMaxAmountIndex() const override;
    double GetUndoSafetyGB() const override;
    bool IsApplied() const override { return m_bApplied; }
    int Exec() override { return exec(); }
    QDialog* Dialog() override { return this; }

    // ---- IDisplayGammaSource (the document's image rendering) ----
    bool GetHDRGammaDisplay() const override { return IsGammaViewChecked(); }

    // Reloads every option from "options.ini" (Cancel runs it too).
    void FromSettings();
    // Factory defaults of the "Programm" page, the "Berechnung" page or both;
    // nothing is written or pushed.
    void defaultClickedSelective(bool programPage, bool calcPage);
    // Selects the language entry of the current COptions locale.
    void FromLocale();

    bool m_bApplied = false;
    int m_iExternalIndex = 0;

    // ---- widgets ----
    QTabWidget* m_pTabWidget = nullptr;
    QWidget* m_pProgramPage = nullptr;
    QWidget* m_pCalcPage = nullptr;

    std::array<QLabel*, 4> m_pPathLabel{};
    std::array<QLineEdit*, 4> m_pPathEdit{};
    std::array<QPushButton*, 4> m_pPathButton{};
    std::array<QCheckBox*, 4> m_pExternalCheckBox{};
    std::array<QLineEdit*, 4> m_pExternalEdit{};
    std::array<QPushButton*, 4> m_pExternalButton{};

    QGroupBox* m_pGammaGroupBox = nullptr;
    QDoubleSpinBox* m_pGammaSpinBox = nullptr;
    QCheckBox* m_pGammaViewCheckBox = nullptr;
    QComboBox* m_pLanguageComboBox = nullptr;
    QGroupBox* m_pGPUGroupBox = nullptr;
    QCheckBox* m_pOpenCLCheckBox = nullptr;
    HDRSlider* m_pCompressionSlider = nullptr;
    QGroupBox* m_pUndoGroupBox = nullptr;
    QCheckBox* m_pUndoSaveCheckBox = nullptr;
    QComboBox* m_pUndoMaxAmount = nullptr;
    QDoubleSpinBox* m_pUndoSafetySpinBox = nullptr;
    QPushButton* m_pPreview11Button = nullptr;
    QPushButton* m_pPreviewFastButton = nullptr;
    QDoubleSpinBox* m_pPreviewSizeSpinBox = nullptr;

    HDRSlider* m_pQualitySlider = nullptr;
    HDRSlider* m_pSuperquadricSlider = nullptr;
    QLabel* m_pQualityLabel = nullptr;
    std::array<QPushButton*, 4> m_pSampleRateButton{}; // "niedrig", "normal", "hoch", "ultra"
    QComboBox* m_pLuminancePresetsComboBox = nullptr;
    HDRSlider* m_pLuminanceRSlider = nullptr;
    HDRSlider* m_pLuminanceGSlider = nullptr;
    HDRSlider* m_pLuminanceBSlider = nullptr;
    QLabel* m_pLuminanceColorLabel = nullptr;
    QLabel* m_pArrowLabel = nullptr;
    QLabel* m_pLuminanceGrayLabel = nullptr;

    QPushButton* m_pDefaultButton = nullptr;
    QPushButton* m_pConfirmButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QPushButton* m_pApplyButton = nullptr;

public slots:
    void selectPathClicked();
    void selectExternalCheckboxClicked();
    void selectExternalClicked();
    void defaultClicked();
    void confirmClicked();
    void cancelClicked();
    // Writes "options.ini" and pushes the options into the engine. A failed
    // write is reported and leaves the old file.
    void applyClicked();
    void CompressionLevelChanged();
    void UndoSaveChanged();
    void previewSizeClicked();
    void sampleRateClicked();
    void qualityChanged();
    void luminancePresetSelected();
    void luminanceSliderUpdated();
    void luminanceUpdated();
    void tabChanged(int index);
    void anythingChanged();
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A row of a leading label or box, a 400-pixel entry and a "..." button,
    // 10 px apart; entry changes mark the dialog changed.
    QHBoxLayout* entryRow(QWidget* lead, QLineEdit** edit, QPushButton** button, const QString& editTip,
                          const QString& buttonTip);
    QWidget* BuildProgramPage();
    QWidget* BuildCalcPage();
    void CheckExternalBox(int index);
    void SetPreviewMode(int mode);
    static float SampleRate(int button);
    void ShowPicture(QLabel* label, uint32_t* argb, int width, int height);
    void ShowInfoText(const QString& html);

    uint32_t* m_pColorCircleBuffer = nullptr;
    double m_dCapacity = -1.0; // gigabytes of the user settings folder's volume, -1 unknown
    QString m_strSavedInfoText; // the information dock's text while the dialog is open
    QString m_strPageText;      // the information text of the shown page
};
