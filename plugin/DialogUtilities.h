#pragma once
// Dialog helpers of the host interface glue: the version alert, centring a
// window template on the main screen and modal filter procedures.

#include "plugin/host/CarbonShim.h"

extern "C" {

// Shows the caution alert alertId with the message of string stringId, its
// markers ^1 and ^2 replaced by version1 and version2. Answers the item hit,
// 0 when no alert was shown.
int16 ShowVersionAlert(DialogRef dialog, int16 alertId, int16 stringId, const unsigned char* version1,
                       const unsigned char* version2);

// Centres the rectangle at the start of a dialog or alert template
// horizontally on the main screen, a third of the way down below the menu bar.
void CenterDialog(Handle templ);

// Centres r (in place) on a screen of the given bounds.
void CenterRectOnScreen(Rect* r, const Rect* screen);

ModalFilterUPP NewModalFilterUPP(ModalFilterProcPtr proc);
void DisposeModalFilterUPP(ModalFilterUPP proc);

} // extern "C"
