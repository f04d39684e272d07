#pragma once
// HDRPostProcessingDockWidget: the dock in which the photographer builds and
// tunes the current post-processing chain. It reads the operator catalogue,
// builds one parameter page per operator, edits the chain (add, copy,
// reorder, enable, reset, remove), offers the film types and the 360-degree
// panorama switch, holds the dock-wide settings every chain reads and saves
// them into project files.
//
// The dock reaches the main window through IPostProcessingDockHost and the
// presets dock through IPostProcessingPresets; both are optional.

#include "document/postprocessing.h"
#include "document/project.h"
#include "ui/toolkit/hdrdockwidget.h"

#include <QListWidget>
#include <QVarLengthArray>

#include <functional>
#include <QVector>

class HDRCollapsible;
class HDRPositionPicker;
class HDRSlider;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QWidget;

// What the dock asks of the main window (and, through it, of the preview,
// the statistics and the editors). Every operation has a neutral default.
class IPostProcessingDockHost {
public:
    virtual ~IPostProcessingDockHost() = default;
    // Show and raise the dock, mark its title, show its information text.
    virtual void HighlightPostProcessingDock() {}
    // The panorama switch changed: when a document exists, have it recompute
    // its HDR result without forcing.
    virtual void RecomputeHDR() {}
    // The realtime preview: the preview mode and its button, the usage
    // counter "m_iAnimModeUsed", the change counter and the overlay text.
    virtual bool PreviewMode() const { return true; }
    virtual void TogglePreviewMode() {}
    virtual void CountAnimModeUsed() {}
    virtual void CountChange() {}
    virtual void SetOverlayText(const QString&) {}
    // The texture chooser on a slider: the chosen index, or the slider's own
    // value when nothing was chosen; below 0 for no chooser.
    virtual int ChooseTexture(HDRSlider*) { return -1; }
    // The geometry mask editor on a picker, modal.
    virtual void EditGeometry(HDRPositionPicker*, const QString&) {}
    // The web animation export (HDRMainWindow::CalcWebAnim).
    virtual void CalcWebAnim(bool, int, int, int, int, int, int, int, const QString&, const QString&) {}
};

// What the dock asks of the presets dock (every preset tile's chain).
class IPostProcessingPresets {
public:
    virtual ~IPostProcessingPresets() = default;
    virtual void SetAllGreyScale(float colour, float saturation) = 0;
    virtual void SetAllFilmTypes(int index) = 0;
    virtual void StopAllPreviews() = 0;
    virtual void CreateAllPreviews(bool oneByOne) = 0;
};

// The chain list: one row per chain operator, with a context menu of twelve
// actions and reordering by drag and drop or by menu.
class _QListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit _QListWidget(QWidget* parent = nullptr);

    // Builds the context menu for `row` (null: below the last row) into menu.
    void FillContextMenu(QMenu* menu, QListWidgetItem* row);
    void SetContextRow(QListWidgetItem* row) { m_pContextRow = row; }

    QAction* m_pActivateAct;
    QAction* m_pDeactivateAct;
    QAction* m_pFilterAllActivateAct;
    QAction* m_pFilterAllToggleAct;
    QAction* m_pFilterAllSingleAct;
    QAction* m_pFilterAllDeactivateAct;
    QAction* m_pCopyAct;
    QAction* m_pResetAct;
    QAction* m_pTopAct;
    QAction* m_pBottomAct;
    QAction* m_pRemoveAct;
    QAction* m_pRemoveAllAct;

    // For every row of the new order, the row its item held before the last reorder.
    static QVarLengthArray<unsigned int, 256> OldIndexList;

signals:
    void orderChanged();
    void contextFilterAllActivate();
    void contextFilterAllToggle();
    void contextFilterAllSingle();
    void contextFilterAllDeactivate();
    void itemContextCopyClicked(QListWidgetItem* item);
    void itemContextResetClicked(QListWidgetItem* item);
    void itemContextRemoveClicked(QListWidgetItem* item);
    void itemContextRemoveAllClicked();

private slots:
    void contextClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void RebuildOldIndexList(const QVector<QListWidgetItem*>& before);
    QListWidgetItem* m_pContextRow = nullptr;
};

class HDRTonemappingListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit HDRTonemappingListWidget(QWidget* parent = nullptr);
    void SetContextItem(QListWidgetItem* item) { m_pContextItem = item; }
    QAction* m_pAddAct;

signals:
    void contextItemAdd(QListWidgetItem* item);

protected slots:
    virtual void contextClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    QListWidgetItem* m_pContextItem = nullptr;
};

class HDRPostProcessingDockWidget;

class HDRPostProcessListWidget : public HDRTonemappingListWidget {
    Q_OBJECT
public:
    explicit HDRPostProcessListWidget(HDRPostProcessingDockWidget* dock);
    void FillContextMenu(QMenu* menu, QListWidgetItem* item);

    QAction* m_pFilterAllAct;
    QAction* m_pFilterEnhanceAct;
    QAction* m_pFilterGeometryAct;
    QAction* m_pFilterExposureAct;
    QAction* m_pFilterColorizeAct;
    QAction* m_pFilterSmoothAct;
    QAction* m_pFilterArtisticAct;
    QAction* m_pFilterPanoramaAct;
    QAction* m_pFilterNoneAct;

signals:
    void contextFilterAll();
    void contextFilterEnhance();
    void contextFilterGeometry();
    void contextFilterExposure();
    void contextFilterColorize();
    void contextFilterSmooth();
    void contextFilterArtistic();
    void contextFilterPanorama();
    void contextFilterNone();

protected slots:
    void contextClick() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    HDRPostProcessingDockWidget* m_pDock;
};

class HDRPostProcessingDockWidget : public HDRDockWidget, public IProject, public IFilmSettings {
    Q_OBJECT
public:
    struct SParameterSet {
        QVarLengthArray<QComboBox*, 256> pComboBoxes;
        QVarLengthArray<QDoubleSpinBox*, 256> pSpinBoxes;
        QVarLengthArray<HDRSlider*, 256> pSliders;
        QVarLengthArray<QPushButton*, 256> pSliderButtons;
        QVarLengthArray<HDRPositionPicker*, 256> pPositionPickers;
        QVarLengthArray<HDRPositionPicker*, 256> pLinePickers;
        QVarLengthArray<HDRPositionPicker*, 256> pColorPickers;
        QVarLengthArray<HDRPositionPicker*, 256> pSplinePickers;
        QVarLengthArray<HDRPositionPicker*, 256> pGeometryPickers;
        QVarLengthArray<QPushButton*, 256> pGeometryEditButtons;
        QVarLengthArray<QPushButton*, 256> pGeometryCopyButtons;
        QVarLengthArray<QPushButton*, 256> pGeometryPasteButtons;
        QVarLengthArray<QPushButton*, 256> pGeometryDeleteButtons;
    };

    HDRPostProcessingDockWidget(const QString& title, QWidget* parent = nullptr,
                                Qt::WindowFlags flags = Qt::WindowFlags(),
                                const QString& catalogue = CPPOperatorCatalogue::ResourcePath(),
                                const QString& filmTypes = CFilmTypeTable::DefaultPath());
    ~HDRPostProcessingDockWidget() override;

    static QColor s_PPOperatorColors[8];

    void SetHost(IPostProcessingDockHost* host) { m_pHost = host; }
    // The sweep's event processing and clock (milliseconds); tests replace them.
    std::function<void()> m_fnProcessEvents;
    std::function<double()> m_fnClockMs;
    void SetPresets(IPostProcessingPresets* presets) { m_pPresets = presets; }

    // ---- frame ----
    void SetInitialUserPath(const QString& path) { m_strInitialUserPath = path; }
    void CollapsiblesFromSettings();
    void CollapsiblesToSettings();
    void SetDynamicStyleSheets();
    void GetInfoText(QString& text) override;
    void Resize();

    // ---- project ----
    bool SaveProject(QSettings& settings, const QString& dataFolder) const override;
    bool LoadProject(QSettings& settings, const QString& dataFolder) override;

    // ---- film settings (read by every chain run) ----
    int FilmTypeIndex() const override;
    float FilmTypeIntensity() const override;
    float FilmTypeGraining() const override;
    bool FilmTypeRow(int row, float values[PP_FILMTYPE_VALUES]) const override;

    // ---- chain editor ----
    void SetCurrentPostProcessing(CPostProcessing* chain);
    CPostProcessing* CurrentPostProcessing() const { return m_pPostProcessing; }
    void clearOperatorList();
    void setOperatorLayerIcon(QListWidgetItem* row, int layerIndex);
    void updateAllLayerIcons();
    void updateListHeader();
    int FindOperatorListItemIdx(unsigned int id) const;
    QListWidgetItem* FindOperatorListItem(unsigned int id) const;
    int FindOperatorListItemIdxByRow(unsigned int row) const;

    // ---- catalogue list ----
    void ResetAllFilterButtons();

    // ---- hidden panels ----
    int getStructureType() const;
    void setStructureType(int type);
    void setStructureSliderValues(float smooth, float value1, float value2, float value3, float value4);
    // The optimizer panel's operations for the batch window (shown, closed,
    // its optimizer switch on or off) and the result save. The panel is never
    // shown and nothing reads it, so they have nothing to do.
    void RememberOptimizerForBatchProcessing() {}
    void RecoverOptimizerForBatchProcessing() {}
    void SetAllOptimizerButtonsActive() {}
    void SetAllOptimizerButtonsInActive() {}
    void OptimizerDataToSettings() {}
    void SetRadarPosition(float, float) {}
    void ClearRadarLabel() {}
    void UpdateRadarLabel(float, float) {}

    // ---- members the other parts of the program and the tests reach ----
    CPPOperatorCatalogue m_Catalogue;
    QVector<SOperator> m_vecCatalogue;
    QVector<QListWidgetItem*> m_pOperatorItems;
    QVector<SParameterSet> m_ParameterSets;
    QStackedWidget* m_pParameterStack = nullptr;
    QVarLengthArray<bool, 256> m_CheckStates;

    HDRCollapsible* m_pTonemappingCollapsible = nullptr;
    HDRTonemappingListWidget* m_pTonemappingList = nullptr;
    HDRCollapsible* m_pPostProcessCollapsible = nullptr;
    HDRPostProcessListWidget* m_pOperatorList = nullptr;
    QPushButton* m_pFilterAllButton = nullptr;
    QPushButton* m_pFilterEnhanceButton = nullptr;
    QPushButton* m_pFilterGeometryButton = nullptr;
    QPushButton* m_pFilterExposureButton = nullptr;
    QPushButton* m_pFilterColorizeButton = nullptr;
    QPushButton* m_pFilterSmoothButton = nullptr;
    QPushButton* m_pFilterArtisticButton = nullptr;
    QPushButton* m_pFilterPanoramaButton = nullptr;
    QPushButton* m_pFilterNoneButton = nullptr;

    QGroupBox* m_pChainGroupBox = nullptr;
    _QListWidget* m_pChainList = nullptr;
    QPushButton* m_pFilterAllActivateButton = nullptr;
    QPushButton* m_pFilterAllToggleButton = nullptr;
    QPushButton* m_pFilterAllSingleButton = nullptr;
    QPushButton* m_pFilterAllDeactivateButton = nullptr;
    QCheckBox* m_pPanoramaCheckBox = nullptr;
    QPushButton* m_pRadiusDisplayButton = nullptr;

    QGroupBox* m_pFilmTypGroupBox = nullptr;
    QComboBox* m_pFilmTypComboBox = nullptr;
    QPushButton* m_pFilmTypPreButton = nullptr;
    QPushButton* m_pFilmTypPostButton = nullptr;
    HDRSlider* m_pFilmTypIntensitySlider = nullptr;
    HDRSlider* m_pFilmTypGrainingSlider = nullptr;
    float m_pfFilmTypes[PP_MAX_FILMTYPES][PP_FILMTYPE_VALUES] = {};

    QGroupBox* m_pGreyScaleGroupBox = nullptr;
    HDRSlider* m_pGreyScaleColorSlider = nullptr;
    HDRSlider* m_pGreyScaleSaturationSlider = nullptr;
    QGroupBox* m_pLightEffectGroupBox = nullptr;
    QPushButton* m_pTonemappingMultipleButtons[3] = {};
    QGroupBox* m_pStructureGroupBox = nullptr;
    QPushButton* m_pStructureTypeButtons[11] = {};
    HDRSlider* m_pStructureValueSliders[4] = {};
    HDRSlider* m_pStructureSmoothSlider = nullptr;
    QWidget* m_pStructureLines[2] = {};
    float m_pfStructureRecoverValues[11][4] = {};
    QGroupBox* m_pMoodGroupBox = nullptr;
    QGroupBox* m_pOptimizerGroupBox = nullptr;
    bool m_pbOptimizerChecked[5] = {};
    float m_pfOptimizerTrends[5] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    QGroupBox* m_pCorrectionGroupBox = nullptr;
    QGroupBox* m_pWebAnimGroupBox = nullptr;
    QLineEdit* m_pWebAnimTitleEdit = nullptr;
    QLineEdit* m_pWebAnimAuthorEdit = nullptr;
    HDRSlider* m_pWebAnimQualitySlider = nullptr;
    QPushButton* m_pWebAnimSaveButton = nullptr;

    // the geometry clipboard: 32 records of 8 floats
    float m_pfGeometryClipboard[256] = {};
    bool m_bGeometryClipboardFilled = false;

    QString m_strInitialUserPath;
    QString m_strInfoText;

signals:
    void updateCurrentPostProcessing();

public slots:
    // parameter pages
    void selectOperator(int row);
    void parameterValueChanged();
    void resetOperator(QListWidgetItem* item);
    // chain editor
    QListWidgetItem* addOperator(QListWidgetItem* item, bool select = true);
    QListWidgetItem* addNewOperator(QListWidgetItem* catalogueItem);
    QListWidgetItem* copyOperator(QListWidgetItem* row);
    void removeOperator(QListWidgetItem* row);
    void removeAllOperators();
    void operatorItemChanged(QListWidgetItem* row);
    void operatorOrderChanged();
    void choosenFilterButtonClicked();
    // catalogue list
    void updateFilterList();
    void filterButtonClicked();
    void removeFilterButtonMargins();
    void listItemEntered(QListWidgetItem* item);
    // slider tools and geometry buttons
    void sliderButtonPressed();
    void textureButtonPressed();
    void geometryButtonPressed();
    // film types
    void filmTypIndexChanged();
    void filmTypPreButtonClicked();
    void filmTypPostButtonClicked();
    void SetFilmTypPrePost();
    void filmTypIntensitySliderChanged();
    void filmTypGrainingSliderChanged();
    // light effect
    void setTonemappingMultipleModeByButtonState();
    void setTonemappingMultipleButtonStateByMode();
    // panorama
    void panoramaModeClicked();
    // web animation (its group is never shown)
    void webAnimSaveButtonClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Highlight();
    // A question box with "Ja" and "Nein" (the default); true for "Ja".
    bool AskYesNo(const QString& title, const QString& text);
    void BuildTonemappingPanel();
    void BuildPostProcessPanel();
    void BuildGreyScaleGroup();
    void BuildFilmTypGroup(const QString& filmTypes);
    void BuildLightEffectGroup();
    void BuildStructureGroup();
    void BuildHiddenGroups();
    void BuildChainGroup();
    void BuildCatalogue(const QString& catalogue);
    void BuildPage(const SCatalogueEntry& entry);
    void PlaceCatalogueItems();
    void MarkChainChanged(bool byAssistant);
    void FilmSettingChanged();
    void SetGrainingCentreFromRow(int row);
    bool CurrentRowChecked() const;
    SOperator NewOperatorFromCatalogue(int index) const;
    // The page and chain operator of the chain row showing `sender`; false when
    // none (no chain, no row, unknown operator).
    bool FindSenderPage(QObject* sender, int* page, int* row) const;

    IPostProcessingDockHost* m_pHost = nullptr;
    QHBoxLayout* m_pFilterButtonRow = nullptr;
    bool m_bSweeping = false;
    IPostProcessingPresets* m_pPresets = nullptr;
    CPostProcessing* m_pPostProcessing = nullptr;
    int m_iFilmTypCount = 0;
};

extern HDRPostProcessingDockWidget* g_pHDRPostProcessingDockWidget;
