#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
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

HDRTimelineDockWidget* CAppWindowFactory::CreateTimelineDock(QWidget* parent)
{
    return new HDRTimelineDockWidget(HDRMainWindow::tr("Timeline Window"), parent, Qt::WindowFlags());
}
