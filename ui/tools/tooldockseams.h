#pragma once
// The interfaces through which the main window reaches the information docks
// of ui/tools/ (IMainInfoDock, IExifDock, IHistogramDock) live with the main
// window's other seams.

#include "ui/mainwindow/mainwindowseams.h"
