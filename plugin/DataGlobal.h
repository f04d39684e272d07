#pragma once
// Lumiplug's shared declarations: its error codes, its globals record kept by
// the host between calls, and its text and character constants.

#include "plugin/host/PIExport.h"

class IConvertBuffer;

// The plug-in's result codes; only eErrParamMissed is ever thrown (by value).
enum EError : int16 {
    eErrNone = noErr,
    eErrWrite = writErr,
    eErrOpen = openErr,
    eErrParam = paramErr,
    eErrMemFull = memFullErr,
    eErrUserCanceled = userCanceledErr,
    eErrParamMissed = errAEParamMissed,
    eErrBadMode = exportBadMode,
    eErrStartFailed = errPlugInHostInsufficient
};

// The plug-in's working state, kept in a handle in the host's data slot.
struct SGlobals {
    int16* result;           // the host's result word of the current call
    ExportRecord* record;    // the host's record of the current call
    int32 fileDescriptor;    // hand-off file, -1 while none is open
    IConvertBuffer* buffer;  // current conversion buffer, owned; null while none exists
    char path[256];          // hand-off path, NUL-terminated
};

constexpr const char* pcEXPORT_SUB_FOLDER = "HDRVorlixImport";
constexpr const char* pcEXPORT_EXTENSION_PPM = "ppm";
constexpr const char* pcEXPORT_EXTENSION_PFM = "pfm";
constexpr const char* pcLEGAL_CHARS = "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ0123456789+-()_";
constexpr const char* pcFAMILY_SUB_FOLDER = "Vorlix Series";
constexpr const char* pcFAMILY_INI = "Lumivex Pro.ini";
constexpr const char* pcFAMILY_INI_PATH_KEY = "Path";
constexpr const char* pcEXECUTABLE_NAME = "lumivex";
constexpr const char cPATH_SEPARATOR = '/';
constexpr const char cPOINT = '.';
constexpr const char cTRAILING_ZERO = '\0';

// Longest hand-off path (the globals keep it with its NUL in 256 characters).
constexpr unsigned kMaxPathLength = 255;

// Resources of the plug-in.
constexpr int16 kAboutStringId = 16000;
constexpr int16 kAboutDialogId = 16000;
constexpr int16 kVersionAlertId = 16990;
constexpr int16 kVersionStringId = 16992;
