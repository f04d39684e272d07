#pragma once
// The program's own dialogs for the main window.

#include "ui/mainwindow/hdrmainwindow.h"

class CAppWindowFactory : public IWindowFactory {
public:
    IOptionsWindow* CreateOptionsWindow(QWidget* parent) override;
    IStyleColorDialog* CreateStyleSelectWindow(QWidget* parent) override;
    IPostProcessingDock* CreatePostProcessingDock(QWidget* parent) override;
    IHDROperatorDock* CreateHDROperatorDock(QWidget* parent) override;
    IPresetsDock* CreatePresetsDock(QWidget* parent) override;
    IRawDevelopment* CreateRawDevelopment(QWidget* parent) override;
    IResultCropWindow* CreateCropWindow(QWidget* parent) override;
    IStencilPainter* CreateStencilPainter(QWidget* parent) override;
    IGeometryPainter* CreateGeometryPainter(QWidget* parent) override;
    HDRTimelineDockWidget* CreateTimelineDock(QWidget* parent) override;
    ICompareDock* CreateCompareDock(QWidget* parent) override;
    QDialog* CreatePanoramaView(QWidget* parent) override;
    IBatchWindow* CreateBatchWindow(QWidget* parent) override;
    QDialog* CreateBenchmarkWindow(QWidget* parent) override;
    IExposureSeriesDock* CreateExposureSeriesDock(QWidget* parent) override;
    IUsageCounters* CreateStatistic(QObject* parent) override;
    IExifDock* CreateExifDock(QWidget* parent) override;
    IHistogramDock* CreateHistogramDock(QWidget* parent) override;
    IMainInfoDock* CreateInfoDock(QWidget* parent, bool start) override;
    QDialog* CreateStatisticWindow(QWidget* parent) override;
    QDialog* CreateAboutWindow(QWidget* parent) override;
};
