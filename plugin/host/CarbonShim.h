#pragma once
// A small stand-in for the Carbon services that Lumiplug uses on the desktop it
// was made for: Memory Manager handles, the plug-in's resources (a compiled-in
// table), NumToString, the Dialog Manager's parameter texts, alerts and modal
// dialogs, the window calls of a movable modal dialog, and the main screen's
// rectangle. Nothing here blocks: an alert answers its first item at once and
// a modal dialog delivers its scripted events to the filter and then answers
// item 1. Every call is recorded so that a test host can see what the plug-in
// did. The library is shared by the plug-in and its host, as the system's
// services would be.

#include "plugin/host/PIExport.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32 Size;
typedef uint32 ResType;
typedef int16 ResID;
typedef int16 DialogItemIndex;
typedef int16 WindowPartCode;
typedef intptr_t SRefCon;
typedef unsigned char* StringPtr;
typedef unsigned char** StringHandle;

typedef struct Rect {
    int16 top;
    int16 left;
    int16 bottom;
    int16 right;
} Rect;

typedef struct Point {
    int16 v;
    int16 h;
} Point;

enum { nullEvent = 0, mouseDown = 1, mouseUp = 2, keyDown = 3, updateEvt = 6, activateEvt = 8 };
enum { inDesk = 0, inContent = 3, inDrag = 4 };

typedef struct EventRecord {
    uint16 what;
    intptr_t message;
    uint32 when;
    Point where;
    uint16 modifiers;
} EventRecord;

typedef struct OpaqueWindowPtr* WindowRef;
typedef struct OpaqueDialogPtr* DialogRef;
typedef struct OpaqueGrafPtr* GrafPtr;
typedef struct OpaqueRgnHandle* RgnHandle;

typedef struct GDevice {
    Rect gdRect;
} GDevice;
typedef GDevice** GDHandle;

typedef Boolean (*ModalFilterProcPtr)(DialogRef dialog, EventRecord* event, DialogItemIndex* itemHit);
typedef ModalFilterProcPtr ModalFilterUPP;

// Resource types of the plug-in's resource file.
#define kResTypeALRT ((ResType)0x414C5254) /* 'ALRT' */
#define kResTypeDLOG ((ResType)0x444C4F47) /* 'DLOG' */
#define kResTypeSTR ((ResType)0x53545220)  /* 'STR ' */

// Memory Manager.
Handle NewHandle(Size byteCount);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
void HLock(Handle h);
void HUnlock(Handle h);
void HNoPurge(Handle h);
void HPurge(Handle h);

// Resource Manager: GetResource and GetString load a copy from the table and
// answer the same handle until ReleaseResource frees it.
Handle GetResource(ResType type, ResID id);
StringHandle GetString(ResID id);
void ReleaseResource(Handle resource);

// Text utilities.
void NumToString(long number, Str255 text);

// QuickDraw and the window calls of a movable modal dialog.
GDHandle GetMainDevice(void);
void OffsetRect(Rect* r, int16 dh, int16 dv);
void InsetRect(Rect* r, int16 dh, int16 dv);
RgnHandle GetGrayRgn(void);
Rect* GetRegionBounds(RgnHandle region, Rect* bounds);
WindowPartCode FindWindow(Point where, WindowRef* window);
void DragWindow(WindowRef window, Point start, const Rect* bounds);
SRefCon GetWRefCon(WindowRef window);
void SetWRefCon(WindowRef window, SRefCon value);
void GetPort(GrafPtr* port);
void SetPort(GrafPtr port);

// Dialog Manager.
void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3);
DialogItemIndex CautionAlert(ResID alertId, ModalFilterUPP filter);
DialogRef GetNewDialog(ResID id, void* storage, WindowRef behind);
void DisposeDialog(DialogRef dialog);
OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item);
OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item);
WindowRef GetDialogWindow(DialogRef dialog);
void SetPortDialogPort(DialogRef dialog);
void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit);
Boolean StdFilterProc(DialogRef dialog, EventRecord* event, DialogItemIndex* itemHit);

// Window placed in front of all others.
#define kWindowInFront ((WindowRef)(intptr_t)-1)

// Process start stand-in: a host that records starts instead of running
// programs installs a recorder; the plug-in hands it the argument vector it
// would execute (NULL-terminated) and takes its answer (0 = started).
typedef int (*ShimStartRecorder)(const char* const* argv);
void ShimSetStartRecorder(ShimStartRecorder recorder);
ShimStartRecorder ShimGetStartRecorder(void);

#ifdef __cplusplus
}

#include <string>
#include <vector>

// Controls and records for the host that plays the desktop.
namespace carbonshim {

struct Call {
    std::string name;         // the service, such as "CautionAlert"
    std::string text;         // text argument or the message shown
    std::vector<long> values; // numeric arguments
};

// Forgets every record, restores the compiled-in resources, the 1024 x 768
// main screen, one null event per modal dialog step and a working NewHandle.
void Reset();
const std::vector<Call>& Calls();
size_t Count(const std::string& name);
std::vector<Call> CallsNamed(const std::string& name);

void SetMainDeviceRect(const Rect& r);
// Replaces or adds a resource (bytes copied), or removes one.
void SetResource(ResType type, ResID id, const void* bytes, size_t length);
void RemoveResource(ResType type, ResID id);
// Builds the bytes of a string resource from text.
std::vector<unsigned char> PascalBytes(const std::string& text);
// Events delivered to the filter at each ModalDialog call.
void SetModalEvents(const std::vector<EventRecord>& events);
// Makes NewHandle answer NULL.
void SetNewHandleFails(bool fails);
// Handles of the Memory Manager still allocated, resources included.
size_t LiveHandles();
// Rectangle of the last dialog created by GetNewDialog.
Rect LastDialogBounds();

} // namespace carbonshim
#endif
