#pragma once
// The host editor's interface for export modules, as far as Lumiplug and the
// test host use it: basic types, error codes, selectors, image modes, the
// export and about records, the handle procedures, the basic suite and the UI
// hooks suite. The layout is this project's own; the host and the plug-in
// agree on it by sharing this header.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int16_t int16;
typedef int32_t int32;
typedef uint16_t uint16;
typedef uint32_t uint32;
typedef unsigned char Boolean;
typedef char* Ptr;
typedef char** Handle;
typedef unsigned char Str255[256];     // length byte, up to 255 characters
typedef const unsigned char* ConstStr255Param;
typedef int16 OSErr;
typedef int32 SPErr;

// Result codes the plug-in reports (16-bit, 0 = success).
enum {
    noErr = 0,
    writErr = -20,                      // short or failed write
    openErr = -23,                      // file does not open
    paramErr = -50,                     // parameter error
    memFullErr = -108,                  // out of memory
    userCanceledErr = -128,             // the user cancelled
    errAEParamMissed = -1715,           // a required pointer or argument is missing
    exportBadMode = -30201,             // mode, depth or plane count not supported
    errPlugInHostInsufficient = -30901  // the main program could not be started
};

// Selectors of the export module entry point.
enum {
    exportSelectorAbout = 0,
    exportSelectorStart = 1,
    exportSelectorContinue = 2,
    exportSelectorFinish = 3,
    exportSelectorPrepare = 4
};

// Image modes of the host.
enum {
    plugInModeBitmap = 0,
    plugInModeGrayScale = 1,
    plugInModeIndexedColor = 2,
    plugInModeRGBColor = 3,
    plugInModeCMYKColor = 4,
    plugInModeHSLColor = 5,
    plugInModeHSBColor = 6,
    plugInModeMultichannel = 7,
    plugInModeDuotone = 8,
    plugInModeLabColor = 9,
    plugInModeGray16 = 10,
    plugInModeRGB48 = 11,
    plugInModeLab48 = 12,
    plugInModeCMYK64 = 13,
    plugInModeDeepMultichannel = 14,
    plugInModeDuotone16 = 15,
    plugInModeRGB96 = 16,
    plugInModeGray32 = 17
};

typedef struct VRect {
    int32 top;
    int32 left;
    int32 bottom;
    int32 right;
} VRect;

typedef struct VPoint {
    int32 v;
    int32 h;
} VPoint;

typedef Boolean (*TestAbortProc)(void);
typedef void (*ProgressProc)(int32 done, int32 total);
typedef int16 (*AdvanceStateProc)(void);

typedef Handle (*NewPIHandleProc)(int32 size);
typedef void (*DisposePIHandleProc)(Handle h);
typedef int32 (*GetPIHandleSizeProc)(Handle h);
typedef OSErr (*SetPIHandleSizeProc)(Handle h, int32 newSize);
typedef Ptr (*LockPIHandleProc)(Handle h, Boolean moveHigh);
typedef void (*UnlockPIHandleProc)(Handle h);
typedef void (*RecoverSpacePIHandleProc)(int32 size);
typedef void (*DisposeRegularPIHandleProc)(Handle h);

#pragma pack(push, 2)
// The host's handle procedures. numHandleProcs counts the procedure pointers
// that follow and that the host filled in.
typedef struct HandleProcs {
    int16 handleProcsVersion;
    uint16 numHandleProcs;
    NewPIHandleProc newProc;
    DisposePIHandleProc disposeProc;
    GetPIHandleSizeProc getSizeProc;
    SetPIHandleSizeProc setSizeProc;
    LockPIHandleProc lockProc;
    UnlockPIHandleProc unlockProc;
    RecoverSpacePIHandleProc recoverSpaceProc;
    DisposeRegularPIHandleProc disposeRegularHandleProc;
} HandleProcs;
#pragma pack(pop)

enum { kCurrentHandleProcsVersion = 1, kCurrentHandleProcsCount = 8 };

// The host's basic suite: the first procedure acquires a suite by name and
// version (storing its procedure table through the last argument), the second
// releases it.
typedef SPErr (*SPAcquireSuiteProc)(const char* name, int32 version, const void** suite);
typedef SPErr (*SPReleaseSuiteProc)(const char* name, int32 version);

typedef struct SPBasicSuite {
    SPAcquireSuiteProc AcquireSuite;
    SPReleaseSuiteProc ReleaseSuite;
} SPBasicSuite;

// The host's UI hooks suite, version 1. Only its first procedure, the host's
// event processing, is used.
#define kPSUIHooksSuite "Photoshop UIHooks Suite for Plug-ins"
#define kPSUIHooksSuiteVersion1 1

typedef void (*ProcessEventProc)(void* event);

typedef struct PSUIHooksSuite1 {
    ProcessEventProc processEvent;
} PSUIHooksSuite1;

typedef struct AboutRecord {
    void* platformData;
    SPBasicSuite* sSPBasic;
} AboutRecord;

typedef struct ExportRecord {
    TestAbortProc abortProc;
    ProgressProc progressProc;
    int32 maxData;
    int16 imageMode;
    int16 depth;
    int16 planes;
    int16 loPlane;
    int16 hiPlane;
    void* data;
    int32 rowBytes;
    Str255 filename;
    HandleProcs* handleProcs;
    AdvanceStateProc advanceState;
    SPBasicSuite* sSPBasic;
    int32 HostSupports32BitCoordinates;
    int32 PluginUsing32BitCoordinates;
    VPoint imageSize32;
    VRect theRect32;
} ExportRecord;

// The entry point every export module exports.
typedef void (*PluginMainProc)(int16 selector, void* record, intptr_t* data, int16* result);

#ifdef __cplusplus
}
#endif
