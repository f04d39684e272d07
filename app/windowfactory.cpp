#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "ui/editors/hdrcropwindow.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/editors/HDRStencilPainter.h"
#include "ui/mainwindow/postprocessingdockadapter.h"
#include "ui/views/hdrtimelinedockwidget.h"

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

IResultCropWindow* CAppWindowFactory::CreateCropWindow(QWidget* parent) { return new CCropWindow(parent); }
IStencilPainter* CAppWindowFactory::CreateStencilPainter(QWidget* parent) { return new CStencilPainter(parent); }

IGeometryPainter* CAppWindowFactory::CreateGeometryPainter(QWidget* parent) { return new CGeometryPainter(parent); }

HDRTimelineDockWidget* CAppWindowFactory::CreateTimelineDock(QWidget* parent)
{
    return new HDRTimelineDockWidget(HDRMainWindow::tr("Timeline Window"), parent, Qt::WindowFlags());
}
