#pragma once
// HDRPresetsDockWidget, the preset library of the post-processing stage: one
// tile (HDRPresetGroupBox) per factory and user preset, the category filter,
// the thumbnails computed in the background of the event loop, copying,
// deleting, importing, exporting and combining presets, and the dock's part
// of a project file.

#include "document/project.h"
#include "ui/mainwindow/mainwindowseams.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/toolkit/hdrdockwidget.h"

#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QVarLengthArray>
#include <QVector>

#include <functional>

class CPostProcessing;
class QGridLayout;
class QScrollArea;

// A category filter button.
class _QPushButton : public QPushButton {
    Q_OBJECT
public:
    _QPushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}
    QString m_strCategory;
    QString m_strText;
};

class HDRPresetsDockWidget : public HDRDockWidget,
                             public IProject,
                             public IPresetsDock,
                             public IPostProcessingPresets {
    Q_OBJECT
public:
    HDRPresetsDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~HDRPresetsDockWidget() override;

    // Ends the program when no factory preset is installed (tests replace it).
    static std::function<void(int)> s_fnExit;
    // The file dialogs of import and export (tests replace them).
    std::function<QString(const QString& caption, const QString& path)> m_fnGetSaveFileName;
    std::function<QStringList(const QString& caption, const QString& folder)> m_fnGetOpenFileNames;

    // ---- library ----
    HDRPresetGroupBox* CreateHDRPresetGroupBox(const QString& path);
    HDRPresetGroupBox* GetPresetGroupBox(unsigned int index) const { return m_PresetGroupBoxes.value(int(index)); }
    HDRPresetGroupBox* GetSelectedPresetGroupBox() override;
    // The last selected tile in list order, null when none is.
    HDRPresetGroupBox* LastSelectedPresetGroupBox() const;
    void SelectFirstVisiblePreset();
    void ScrollToActivePreset();
    void ScrollToStart();
    void ScrollToEnd();
    void ResetAllPresets();
    void GetInfoText(QString& text) override;
    // After a style change: the style-token sheets of the dock and its tiles again.
    void RefreshStyle();

    // ---- thumbnails ----
    void CreateAllPreviews(bool reapply) override;
    void StopAllPreviews() override;
    void ClearAllPreviews();
    void SetAllFilmTypes(int filmType) override;
    void SetAllGreyScale(float hue, float saturation) override;
    void SetAllStructureData(int type, float smoothing, float value1, float value2, float value3, float value4,
                             bool showDetection, int colour1, int colour2, int colour3, int colour4);

    // ---- filter and layout ----
    void EnableFilterButtons();
    void ReLayout();
    void UpdateAllMoveButtons();
    // The category key of the first checked button from index 1 on; empty
    // when only "Alle" is checked.
    QString CheckedCategory() const;

    // ---- import ----
    int CheckSettingsImportable(const QString& path) const;

    // ---- project ----
    bool SaveProject(QSettings& settings, const QString& dataFolder) const override;
    bool LoadProject(QSettings& settings, const QString& dataFolder) override;

    // ---- IPresetsDock ----
    QDockWidget* Dock() override { return this; }
    void StopPreviewTimer() override { m_PreviewTimer.stop(); }
    void StartPreviewTimer(int milliseconds) override { m_PreviewTimer.start(milliseconds); }

    QWidget* m_pTitleWidget = nullptr;
    QVarLengthArray<_QPushButton*, 256> m_FilterButtons;
    QPushButton* m_pCombineButton = nullptr;
    QPushButton* m_pImportButton = nullptr;
    QPushButton* m_pExportButton = nullptr;
    QScrollArea* m_pScrollArea = nullptr; // the tile area (the base's own scroll area is GetScrollArea())
    QGridLayout* m_pGridLayout = nullptr;
    QVector<HDRPresetGroupBox*> m_PresetGroupBoxes;
    int m_iRestoreScrollVer = -1;
    int m_iRestoreScrollHor = -1;
    bool m_bSelectOnFilter = true;
    QTimer m_PreviewTimer;
    int m_iPreviewBusy = 0;
    // A pass asked for while a tick computes; it starts when the tick ends.
    bool m_bPassPending = false;

signals:
    void updatePostProcessing(CPostProcessing* chain, HDRPresetGroupBox* tile);
    void updatePostProcessing(CPostProcessing* chain, HDRPresetGroupBox* tile, bool thumbnail);
    void combineClicked();

public slots:
    void labelClicked(HDRPresetGroupBox* tile);
    void copyPresetClicked(HDRPresetGroupBox* tile, QString name);
    void deletePresetClicked(HDRPresetGroupBox* tile);
    void movePresetUpClicked(HDRPresetGroupBox* tile);
    void movePresetDownClicked(HDRPresetGroupBox* tile);
    QString createNewPresetFilePath();
    // Adds the tile of a freshly written user preset and chooses it.
    HDRPresetGroupBox* createNewPresetFromFilePath(QString path);
    void combineButtonClicked();
    void resetLabelHighlights() override;
    void resetCalculatedStates() override;
    void filterButtonClicked();
    void importButtonClicked();
    void exportButtonClicked();

private slots:
    void createOnePreview();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    _QPushButton* CreateCategoryButton(QWidget* parent, const QString& text, const QString& key);
    void CreateTitleWidget();
    void MovePreset(HDRPresetGroupBox* tile, int direction);
    // The filter run; sender: the pressed button, null for none.
    void FilterTiles(QObject* sender);
    QString DialogFolder() const;
};

// The dock; null before its construction.
extern HDRPresetsDockWidget* g_pHDRPresetsDockWidget;
