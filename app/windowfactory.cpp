#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"

IOptionsWindow* CAppWindowFactory::CreateOptionsWindow(QWidget* parent) { return new HDROptionsWindow(parent); }

IStyleColorDialog* CAppWindowFactory::CreateStyleSelectWindow(QWidget* parent)
{
    return new HDRStyleSelectWindow(parent);
}
