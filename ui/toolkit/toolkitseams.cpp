#include "ui/toolkit/toolkitseams.h"

namespace {
IToolkitMainWindow* s_pMainWindow = nullptr;
IInfoDock* s_pInfoDock = nullptr;
} // namespace

void ToolkitSeams::SetMainWindow(IToolkitMainWindow* window) { s_pMainWindow = window; }
IToolkitMainWindow* ToolkitSeams::MainWindow() { return s_pMainWindow; }
void ToolkitSeams::SetInfoDock(IInfoDock* dock) { s_pInfoDock = dock; }
IInfoDock* ToolkitSeams::InfoDock() { return s_pInfoDock; }
