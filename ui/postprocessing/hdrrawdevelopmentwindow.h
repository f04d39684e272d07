#pragma once
// HDRRAWDevelopmentWindow, the dialog of the load-time settings: scaling,
// colour space, white balance, noise reduction, exposure optimisation,
// alignment, de-ghosting and image type. Its widgets are the settings store:
// the loaders read them (through the document's RAW snapshot) when a
// photograph is loaded. Only "Farbraum" and "Weißabgleich" are shown; the
// other groups are built hidden and keep their defaults.

#include "document/documentseams.h"
#include "ui/mainwindow/mainwindowseams.h"
#include "ui/toolkit/hdrdialogs.h"

#include <QLabel>
#include <QSpinBox>

class HDRSlider;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

typedef float f32;

// The colour-temperature strip: a press or a drag reports the temperature
// under the pointer (1000 K at the left edge, 16500 K at the right).
class HDRWhiteBalanceLabel : public QLabel {
    Q_OBJECT
public:
    explicit HDRWhiteBalanceLabel(QWidget* parent) : QLabel(parent) {}
signals:
    void valueSelected(f32 kelvin);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The Kelvin spin box; reports when it takes the keyboard focus.
class HDRWhiteBalanceSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit HDRWhiteBalanceSpinBox(QWidget* parent) : QSpinBox(parent) {}
signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

class HDRRAWDevelopmentWindow : public HDRInfoDialog, public IRawDevelopment, public IRawDevelopmentSource {
    Q_OBJECT
public:
    explicit HDRRAWDevelopmentWindow(QWidget* parent);
    ~HDRRAWDevelopmentWindow() override;

    int GetAlignQualityByCheckdState() const;
    int GetDenoiseQualityByCheckdState() const;
    int getImageTypeIndex() const override;
    void rememberGroupboxStates() override;
    void disableAllGroupboxStates() override;
    void recoverGroupboxStates() override;
    void updateWhiteBalanceColorLabel(float kelvin);
    static QListWidgetItem* createListWidgetItem(const QString& text, int kelvin);
    void ShowAgainFromSettings();
    void ShowAgainToSettings();
    void ShowAgainResetToSettings();
    static QString ShowAgainPath();

    // ---- IRawDevelopment ----
    bool IsShowAgainChecked() const override;
    int Exec() override { return exec(); }
    int ExtraProgressCategories() const override;

    // ---- IRawDevelopmentSource ----
    SRawDevelopmentSettings GetRawDevelopmentSettings() const override;

    QGroupBox* m_pScaleGroupBox = nullptr;
    QDoubleSpinBox* m_pScaleSpinBox = nullptr;
    QComboBox* m_pScaleMethodComboBox = nullptr;
    QGroupBox* m_pColorSpaceGroupBox = nullptr;
    QComboBox* m_pColorSpaceComboBox = nullptr;
    QGroupBox* m_pWhiteBalanceGroupBox = nullptr;
    QListWidget* m_pWhiteBalanceListWidget = nullptr;
    HDRWhiteBalanceSpinBox* m_pWhiteBalanceSpinBox = nullptr;
    HDRWhiteBalanceLabel* m_pWhiteBalanceColorLabel = nullptr;
    float m_fWhiteBalanceKelvin = -1.0f;
    QGroupBox* m_pDenoiseGroupBox = nullptr;
    QPushButton* m_pDenoiseQualityNormalButton = nullptr;
    QPushButton* m_pDenoiseQualityHighButton = nullptr;
    QPushButton* m_pDenoiseQualityUltraButton = nullptr;
    HDRSlider* m_pDenoiseSharpnessSlider = nullptr;
    QCheckBox* m_pDenoiseDarkImagesCheckBox = nullptr;
    QCheckBox* m_pHotPixelCheckBox = nullptr;
    QGroupBox* m_pOptimizeGroupBox = nullptr;
    QCheckBox* m_pOptimizeExposureCheckBox = nullptr;
    QCheckBox* m_pOptimizeDarkColorsCheckBox = nullptr;
    QGroupBox* m_pAlignGroupBox = nullptr;
    QPushButton* m_pAlignQualityFastButton = nullptr;
    QPushButton* m_pAlignQualityNormalButton = nullptr;
    QPushButton* m_pAlignQualityHighButton = nullptr;
    QPushButton* m_pAlignQualityUltraButton = nullptr;
    QCheckBox* m_pAlignShiftCheckBox = nullptr;
    QCheckBox* m_pAlignRotationCheckBox = nullptr;
    QCheckBox* m_pAlignZoomCheckBox = nullptr;
    QCheckBox* m_pAlignMotionCheckBox = nullptr;
    QCheckBox* m_pAlignMicroDetailsCheckBox = nullptr;
    HDRSlider* m_pAlignAccuracySlider = nullptr;
    HDRSlider* m_pAlignSearchRadiusSlider = nullptr;
    QCheckBox* m_pGeneticAlgorithmCheckBox = nullptr;
    QCheckBox* m_pAutoCropCheckBox = nullptr;
    QComboBox* m_pInterpolationComboBox = nullptr;
    QGroupBox* m_pDeGhostGroupBox = nullptr;
    QCheckBox* m_pLocalMTBCheckBox = nullptr;
    HDRSlider* m_pDeGhostStrengthSlider = nullptr;
    QCheckBox* m_pPanoramaCheckBox = nullptr;
    QGroupBox* m_pImageTypeGroupBox = nullptr;
    QPushButton* m_pImageTypeButtons[9] = {};
    QCheckBox* m_pShowAgainCheckBox = nullptr;
    bool m_bSavedColorSpaceState = false;
    bool m_bSavedWhiteBalanceState = false;
    bool m_bSavedDenoiseState = false;
    bool m_bSavedOptimizeState = false;
    bool m_bSavedAlignState = false;
    bool m_bSavedDeGhostState = false;
    QLabel* m_pWhiteBalanceMinLabel = nullptr;
    QLabel* m_pColorTemperatureLabel = nullptr;
    QLabel* m_pWhiteBalanceMaxLabel = nullptr;
    QPushButton* m_pDefaultButton = nullptr;
    QPushButton* m_pConfirmButton = nullptr;

signals:
    void closed();

public slots:
    void imageTypeClicked();
    void denoiseQualityClicked();
    void alignQualityClicked();
    void alignmentAlgorithmSelected();
    void defaultClicked();
    void showAgainClicked();
    void confirmClicked();
    void whiteBalanceSelected(int row);
    void whiteBalanceSelected(f32 kelvin);
    void whiteBalanceSpinboxUpdated();
    void whiteBalanceSpinboxChanged();
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* Group(const QString& text, bool checkable);
    QString m_strSavedInfoText;
};

// The window; null before its construction.
extern HDRRAWDevelopmentWindow* g_pRAWDevelopment;
