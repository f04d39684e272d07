#pragma once
// HDRExposureDockWidget, the dock of the HDR stage: one panel
// (HDRExposureGroupBox) with the document's exposure (picture, weight map,
// active state, global HDR weight, exposure value). Every user change goes to
// the parent's slots of the same names as a signal carrying the exposure.
// The dock also keeps the index of the HDR weight preset (hidden from the
// user), saved in projects under "ExposureDock/Preset".

#include "document/project.h"
#include "ui/mainwindow/mainwindowseams.h"
#include "ui/toolkit/hdrdockwidget.h"

#include <QGroupBox>

class CExposure;
class CExposureSeries;
class HDRExposureLabel;
class HDRSlider;
class QComboBox;
class QLabel;
class QPushButton;

class HDRExposureGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit HDRExposureGroupBox(QWidget* parent);

    // Shows the exposure (null: none, the panel hides); with refreshOnly
    // only the two pictures are rendered again.
    void SetExposure(CExposure* exposure, bool refreshOnly);
    void SetLabelHighlights(bool picture, bool weightmap);
    CExposure* Exposure() const { return m_pExposure; }

    CExposure* m_pExposure = nullptr;
    QLabel* m_pMasterLabel = nullptr;
    QPushButton* m_pDeleteButton = nullptr;
    HDRExposureLabel* m_pPictureLabel = nullptr;
    HDRExposureLabel* m_pWeightmapLabel = nullptr;
    HDRSlider* m_pGlobalWeightSlider = nullptr;
    HDRSlider* m_pExposureValueSlider = nullptr;
    QWidget* m_pSpacer = nullptr;

signals:
    void activateExposure(CExposure* exposure, bool active);
    void deleteExposure(CExposure* exposure);
    void displayExposureColour(CExposure* exposure);
    void displayExposureWeightmap(CExposure* exposure);
    void globalWeightChanged(CExposure* exposure, float weight);
    void synExposureValueChanged(CExposure* exposure, float value);

public slots:
    void activateClicked(bool on);
    void deleteClicked();
    void labelClicked();
    void sliderWeightValueChanged();
    void sliderSynExposureValueChanged();

private:
    void RenderPictures();
};

class HDRExposureDockWidget : public HDRDockWidget, public IProject, public IExposureSeriesDock {
    Q_OBJECT
public:
    HDRExposureDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    // ---- IExposureSeriesDock ----
    QDockWidget* Dock() override { return this; }
    void UpdateDisplay(CExposureSeries* series, bool refreshOnly) override;
    void resetLabelHighlights() override;
    void ScrollToCenter() override;

    void ClearAllSelectedStates(CExposureSeries*) {}
    void ClearAllWeightColors() {}
    int PresetIndex() const;

    void GetInfoText(QString& text) override;
    bool SaveProject(QSettings& settings, const QString& dataFolder) const override;
    bool LoadProject(QSettings& settings, const QString& dataFolder) override;

    HDRExposureGroupBox* m_pExposureGroupBox = nullptr;
    int m_iShownExposures = 0;
    QComboBox* m_pWeightPresetCombo = nullptr;

public slots:
    // Sets the preset with the combo's signals blocked (no weights are recomputed).
    void ResetPresetToIndex(int index) override;
};
