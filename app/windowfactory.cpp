#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "platform/userpaths.h"
#include "ui/tools/hdraboutwindow.h"
#include "ui/tools/hdrexifdockwidget.h"
#include "ui/tools/hdrexposuredockwidget.h"
#include "ui/tools/hdrhistogramdockwidget.h"
#include "ui/tools/hdrinfodockwidget.h"
#include "ui/tools/hdrstatistic.h"
#include "ui/tools/hdrstatisticwindow.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/postprocessing/presetshost.h"
#include "ui/postprocessing/hdroperatordockwidget.h"
#include "ui/postprocessing/hdrpresetcombinewindow.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"
#include "ui/postprocessing/hdrrawdevelopmentwindow.h"
#include "ui/postprocessing/textureselector.h"
#include "ui/editors/hdrcropwindow.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/editors/HDRStencilPainter.h"
#include "ui/mainwindow/postprocessingdockadapter.h"
#include "ui/views/HDRCompareDockWidget.h"
#include "ui/views/hdrpanoramaview.h"
#include "ui/views/hdrtimelinedockwidget.h"
#include "ui/tools/batchdocksources.h"
#include "ui/tools/hdrbatchwindow.h"
#include "ui/tools/hdrbenchmarkwindow.h"

#include <QCoreApplication>

IOptionsWindow* CAppWindowFactory::CreateOptionsWindow(QWidget* parent) { return new HDROptionsWindow(parent); }

IStyleColorDialog* CAppWindowFactory::CreateStyleSelectWindow(QWidget* parent)
{
    return new HDRStyleSelectWindow(parent);
}

IPostProcessingDock* CAppWindowFactory::CreatePostProcessingDock(QWidget* parent)
{
    auto* window = qobject_cast<HDRMainWindow*>(parent);
    return window ? CPostProcessingDockAdapter::Create(window) : nullptr;
}

IHDROperatorDock* CAppWindowFactory::CreateHDROperatorDock(QWidget* parent)
{
    CMainWindowPresetsHost::Install(qobject_cast<HDRMainWindow*>(parent));
    auto* dock = new HDROperatorDockWidget(QCoreApplication::translate("HDRMainWindow", "HDR-Operator"), parent);
    // The main window's initial reset (its interface to the dock has no reset
    // yet): the default state, row "Entropie" with its preset, no signal.
    const bool blocked = dock->blockSignals(true);
    dock->ResetAllValues();
    dock->blockSignals(blocked);
    return dock;
}

IPresetsDock* CAppWindowFactory::CreatePresetsDock(QWidget* parent)
{
    auto* window = qobject_cast<HDRMainWindow*>(parent);
    CMainWindowPresetsHost::Install(window);
    auto* dock = new HDRPresetsDockWidget(QCoreApplication::translate("HDRMainWindow", "Presets"), parent);
    if (window) {
        // The main window's chain slots take the tile through its interface.
        QObject::connect(dock, qOverload<CPostProcessing*, HDRPresetGroupBox*>(&HDRPresetsDockWidget::updatePostProcessing),
                         window, [window](CPostProcessing* chain, HDRPresetGroupBox* tile) {
                             window->updatePostProcessing(chain, tile);
                         });
        QObject::connect(dock,
                         qOverload<CPostProcessing*, HDRPresetGroupBox*, bool>(&HDRPresetsDockWidget::updatePostProcessing),
                         window, [window](CPostProcessing* chain, HDRPresetGroupBox* tile, bool thumbnail) {
                             window->updatePostProcessing(chain, tile, thumbnail);
                         });
        auto* combiner = new HDRPresetCombineWindow(window, dock);
        combiner->setObjectName(QStringLiteral("preset_combine_window"));
        QObject::connect(dock, &HDRPresetsDockWidget::combineClicked, combiner, [combiner] {
            HDRPresetTimerStopHelper stop;
            combiner->exec();
        });
        // The texture chooser of the post-processing dock's texture sliders.
        auto* textures = new CTextureSelector(window);
        textures->setObjectName(QStringLiteral("texture_selector_window"));
    }
    return dock;
}

IRawDevelopment* CAppWindowFactory::CreateRawDevelopment(QWidget* parent)
{
    CMainWindowPresetsHost::Install(qobject_cast<HDRMainWindow*>(parent));
    return new HDRRAWDevelopmentWindow(parent);
}

IResultCropWindow* CAppWindowFactory::CreateCropWindow(QWidget* parent) { return new CCropWindow(parent); }
IStencilPainter* CAppWindowFactory::CreateStencilPainter(QWidget* parent) { return new CStencilPainter(parent); }

IGeometryPainter* CAppWindowFactory::CreateGeometryPainter(QWidget* parent) { return new CGeometryPainter(parent); }

HDRTimelineDockWidget* CAppWindowFactory::CreateTimelineDock(QWidget* parent)
{
    return new HDRTimelineDockWidget(HDRMainWindow::tr("Timeline Window"), parent, Qt::WindowFlags());
}

namespace {

// The compare dock behind the main window's ICompareDock; it lives as long as
// the dock (a child object of it).
class CCompareDockAdapter : public QObject, public ICompareDock {
public:
    explicit CCompareDockAdapter(CCompareDockWidget* dock) : QObject(dock), m_pDock(dock) {}
    QDockWidget* Dock() override { return m_pDock; }
    void SetDefaultSizing(bool adjust) override { m_pDock->SetDefaultSizing(adjust); }
    void Reset() override { m_pDock->Reset(); }
    bool Refresh() override { return m_pDock->Refresh(); }

private:
    CCompareDockWidget* m_pDock;
};

} // namespace

ICompareDock* CAppWindowFactory::CreateCompareDock(QWidget* parent)
{
    auto* dock = new CCompareDockWidget(HDRMainWindow::tr("Compare Window"), parent);
    return new CCompareDockAdapter(dock);
}

QDialog* CAppWindowFactory::CreatePanoramaView(QWidget* parent) { return new HDRPanoramaView(parent); }

IBatchWindow* CAppWindowFactory::CreateBatchWindow(QWidget* parent)
{
    // The main window's HDR operator and presets docks, found when used.
    static CBatchOperatorDockSource operators(nullptr);
    static CBatchPresetsDockSource presets(nullptr);
    return new HDRBatchWindow(parent, &operators, &presets);
}

QDialog* CAppWindowFactory::CreateBenchmarkWindow(QWidget* parent) { return new HDRBenchmarkWindow(parent); }
IExposureSeriesDock* CAppWindowFactory::CreateExposureSeriesDock(QWidget* parent)
{
    return new HDRExposureDockWidget(QCoreApplication::translate("HDRMainWindow", "Belichtungsreihe"), parent);
}

IUsageCounters* CAppWindowFactory::CreateStatistic(QObject* parent)
{
    return HDRStatistic::CreateOwned(parent, lumivex::platform::userSettingsFolder());
}

IExifDock* CAppWindowFactory::CreateExifDock(QWidget* parent)
{
    return new HDRExifDockwidget(QCoreApplication::translate("HDRMainWindow", "Exif-Informationen"), parent);
}

IHistogramDock* CAppWindowFactory::CreateHistogramDock(QWidget* parent)
{
    return new HDRHistogramDockWidget(QCoreApplication::translate("HDRMainWindow", "HDR-Histogramm"), parent);
}

IMainInfoDock* CAppWindowFactory::CreateInfoDock(QWidget* parent, bool start)
{
    if (start)
        return new HDRInfoDockWidget(QString(), parent); // the main window marks it and sets its title bar
    auto* dock = new HDRInfoDockWidget(QCoreApplication::translate("HDRMainWindow", "Informationen"), parent);
    dock->RegisterAsInfoDock();
    return dock;
}

QDialog* CAppWindowFactory::CreateStatisticWindow(QWidget* parent) { return new HDRStatisticWindow(parent); }

QDialog* CAppWindowFactory::CreateAboutWindow(QWidget* parent) { return new HDRAboutWindow(parent); }
