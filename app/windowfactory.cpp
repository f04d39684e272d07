#include "app/windowfactory.h"

#include "app/hdroptionswindow.h"
#include "app/hdrstyleselectwindow.h"
#include "ui/tools/hdrbatchwindow.h"
#include "ui/tools/hdrbenchmarkwindow.h"

IOptionsWindow* CAppWindowFactory::CreateOptionsWindow(QWidget* parent) { return new HDROptionsWindow(parent); }

IStyleColorDialog* CAppWindowFactory::CreateStyleSelectWindow(QWidget* parent)
{
    return new HDRStyleSelectWindow(parent);
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
