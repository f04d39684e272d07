#pragma once
// HDROperatorDockWidget, the dock of the HDR stage: the HDR preset combo (the
// one visible control), and, hidden, the operator list read from the HDR
// operator catalogue ":/operators/HDROperators.xml" with one page of
// parameter sliders per operator, the smoothing choice, the fusion's sigmoid
// compression with its automatic buttons and dynamic-range text, and the
// depth-map controls. The main window copies GetKernelName() and
// GetParameterValues() into the document whenever the dock reports a change.

#include "document/documentseams.h"
#include "document/project.h"
#include "ui/mainwindow/mainwindowseams.h"
#include "ui/toolkit/hdrdockwidget.h"

#include <QListWidget>
#include <QString>

#include <functional>

class HDRSlider;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

// The operator list: a context menu with one action that resets the operator
// under the pointer.
class _QListWidgetWithContextMenu : public QListWidget {
    Q_OBJECT
public:
    explicit _QListWidgetWithContextMenu(QWidget* parent) : QListWidget(parent) {}

    QAction* m_pResetAction = nullptr;
    QListWidgetItem* m_pContextItem = nullptr;
    // Runs the menu; tests replace it (true: the reset action was chosen).
    std::function<bool(QMenu*, const QPoint&)> m_fnExecMenu;

signals:
    void itemContextResetClicked(QListWidgetItem* item);

private slots:
    void contextClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// The HDR preset table: operator row (-1 none) and the values of slots 0..4.
constexpr int HDR_PRESET_ROWS = 65;
extern const float HDRpresets[HDR_PRESET_ROWS][6];
// The combo text (translation key) of table row 1..64; null for row 0.
extern const char* const HDRpresetTexts[HDR_PRESET_ROWS];

constexpr int HDR_OPERATOR_SLOTS = 10;
constexpr int HDR_PARAMETER_VALUES = 256;

class HDROperatorDockWidget : public HDRDockWidget,
                              public IProject,
                              public IHDROperatorDock,
                              public ISigmoidSource {
    Q_OBJECT
public:
    // catalogue: the catalogue resource (tests give another file).
    HDROperatorDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags(),
                          const QString& catalogue = QStringLiteral(":/operators/HDROperators.xml"));
    ~HDROperatorDockWidget() override;

    // ---- IHDROperatorDock ----
    QDockWidget* Dock() override { return this; }
    QString GetKernelName() const override;
    void GetParameterValues(float values[10][256]) const override;
    void GetParameterValues(float* values) const;
    void UpdateHDRContrastLabel() override;

    // ---- ISigmoidSource ----
    float GetSigmoidValue() const override;

    void ResetPreset();
    void ResetValues(unsigned int row);
    void ResetAllValues();
    bool IsChangedToPreset() const;
    void updateSmoothingComboBox();
    void UpdateHDRSigmoidLabel();
    void optimizeSigmoidByValue(float exponent);
    void SetDepthmapGroupboxVisible(bool) {}

    void GetInfoText(QString& text) override;
    bool SaveProject(QSettings& settings, const QString& dataFolder) const override;
    bool LoadProject(QSettings& settings, const QString& dataFolder) override;

    QGroupBox* m_pPresetGroupBox = nullptr;
    QComboBox* m_pPresetComboBox = nullptr;
    _QListWidgetWithContextMenu* m_pOperatorList = nullptr;
    QGroupBox* m_pSmoothingGroupBox = nullptr;
    QComboBox* m_pSmoothingComboBox = nullptr;
    QGroupBox* m_pParameterGroupBox = nullptr;
    HDRSlider*** m_pppParameterSliders = nullptr;
    QGroupBox* m_pSigmoidGroupBox = nullptr;
    HDRSlider* m_pSigmoidSlider = nullptr;
    QLabel* m_pSigmoidCurveLabel = nullptr;
    QPushButton* m_pSigmoidHighButton = nullptr;
    QPushButton* m_pSigmoidOptimalButton = nullptr;
    QPushButton* m_pSigmoidCompressedButton = nullptr;
    QLabel* m_pDynamicRangeLabel = nullptr;
    QGroupBox* m_pDepthmapGroupBox = nullptr;
    HDRSlider* m_pDepthmapSmoothSlider = nullptr;
    QPushButton* m_pDepthmapInvertButton = nullptr;
    QPushButton* m_pDepthmapSaveButton = nullptr;
    unsigned int m_uiOperatorCount = 0;
    QStackedWidget* m_pParameterStack = nullptr;

signals:
    void operatorUpdated();
    void operatorUpdatedForced();

public slots:
    void comboBoxIndexChanged(int index);

private slots:
    void operatorSelected(int row);
    void parameterSliderValueChanged();
    void itemDoubleClicked(QListWidgetItem* item);
    void smoothingSelected(int index);
    void sigmoidSliderValueChanged();
    void sigmoidDarkButtonClicked();
    void sigmoidOptimalButtonClicked();
    void sigmoidBrightButtonClicked();
    void depthmapSmoothSliderValueChanged();
    void depthmapInvertButtonClicked();
    void depthmapSaveButtonClicked();
    void listItemEntered(QListWidgetItem* item);

private:
    // The table row of the current combo entry (0 with none).
    int CurrentPresetRow() const;
    // The slider of a slot of an operator row, null when there is none.
    HDRSlider* Slider(int row, int slot) const;
    // The shared steps of a manual change.
    void ManualChange(bool rowChanged);
};

// The dock; null before its construction.
extern HDROperatorDockWidget* g_pHDROperatorDockWidget;
