#pragma once
// The plug-in's entry point and the handlers of its selectors.

#include "plugin/DataGlobal.h"
#include "plugin/host/CarbonShim.h"

extern "C" {
// The exported entry point: the selector widened as a signed 16-bit value,
// the record (an AboutRecord for the about selector, else an ExportRecord),
// the host-kept data slot and the result word.
__attribute__((visibility("default"))) void PluginMain(int16 selector, void* record, intptr_t* data, int16* result);
}

void MainProc(int16 selector, void* record, intptr_t* data, int16* result);
int16 Allocate(SGlobals** globals, ExportRecord* record, intptr_t* data, int16* result);
bool CheckStore(SGlobals* globals, int16 code);
void DispatchExportPrepare(SGlobals* globals);
void DispatchExportStart(SGlobals* globals);
void DispatchExportContinue(SGlobals* globals);
void DispatchExportFinish(SGlobals* globals);
int16 SetExportFinished(SGlobals* globals);
int16 CheckEnvironment(const ExportRecord* record);
int16 CheckMode(const ExportRecord* record);
int16 ShowAboutDlg(AboutRecord* about);
void MoveableModalAboutDlg(DialogRef dialog, ProcessEventProc eventProc, DialogItemIndex* item);

// The code a caught exception other than the plug-in's own reports.
constexpr int16 kErrUnexpectedException = eErrParamMissed;
