#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "ui/editors/hdrcropwindow.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/editors/HDRStencilPainter.h"
#include "ui/views/hdrtimelinedockwidget.h"
#include "ui/tools/hdrbatchwindow.h"
#include "ui/tools/hdrbenchmarkwindow.h"

IOptionsWindow* CAppWindowFactory::CreateOptionsWindow(QWidget* parent) { return new HDROptionsWindow(parent); }

IStyleColorDialog* CAppWindowFactory::CreateStyleSelectWindow(QWidget* parent)
{
    return new HDRStyleSelectWindow(parent);
}

IResultCropWindow* CAppWindowFactory::CreateCropWindow(QWidget* parent) { return new CCropWindow(parent); }
IStencilPainter* CAppWindowFactory::CreateStencilPainter(QWidget* parent) { return new CStencilPainter(parent); }

IGeometryPainter* CAppWindowFactory::CreateGeometryPainter(QWidget* parent) { return new CGeometryPainter(parent); }

HDRTimelineDockWidget* CAppWindowFactory::CreateTimelineDock(QWidget* parent)
{
    return new HDRTimelineDockWidget(HDRMainWindow::tr("Timeline Window"), parent, Qt::WindowFlags());
}

IBatchWindow* CAppWindowFactory::CreateBatchWindow(QWidget* parent, IBatchOperatorSource* operators,
                                                   IBatchPresetSource* presets)
{
    return new HDRBatchWindow(parent, operators, presets);
}

IBenchmarkWindow* CAppWindowFactory::CreateBenchmarkWindow(QWidget* parent)
{
    auto* window = new HDRBenchmarkWindow(parent);
    window->setObjectName(QStringLiteral("benchmark_window"));
    return window;
}
