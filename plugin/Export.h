#pragma once
// The export steps: the image mode decision, the read-out loop that streams
// the host's image into the hand-off file, and the hand-off file itself.

#include "plugin/ConvertBuffer.h"
#include "plugin/DataGlobal.h"

#include <string>

namespace _exp {

// One data request: a one-row rectangle and the planes asked for.
struct SExportRegion {
    VRect rect{0, 0, 0, 0};
    int16 loPlane = 0;
    int16 hiPlane = 0;
    // Pixels of one row of the rectangle (0 for an empty or reversed one).
    unsigned GetNumPixel() const;
};

bool IsRGBMode(const ExportRecord* record);
bool IsGrayMode(const ExportRecord* record);
// 0 unsupported; 1..3 RGB 8/16/32-bit; 4..6 grey 8/16/32-bit.
unsigned GetInputMode(const ExportRecord* record);
// 0 none, 1 8-bit, 2 16-bit, 3 32-bit.
unsigned GetInputDepth(const ExportRecord* record);
// 0 none, 1 PPM, 2 PFM.
unsigned GetExportMode(const ExportRecord* record);
EInputFormat GetInputFormat(const ExportRecord* record);

// A new conversion buffer for the record's input depth; null for input
// depth 0 or when memory runs out. The caller owns it.
IConvertBuffer* CreateBuffer(const ExportRecord* record);
void DestroyBuffer(IConvertBuffer*& buffer);

int16 FetchData(SGlobals* globals, const SExportRegion* region, void** data, unsigned* size);
int16 ConvertData(SGlobals* globals, void** data, unsigned* size, unsigned count);
int16 CheckAbort(const ExportRecord* record);
// Header and pixels into the open hand-off file.
int16 ExportImage(SGlobals* globals);

// The hand-off folder (made private and, with clean, emptied of files).
bool GetExportFolder(std::string& folder, bool clean);
// The cleaned document name with the export mode's ending.
bool GetExportFilename(const ExportRecord* record, std::string& name);
// Shortens the base of name so that folder + "/" + name stays within 255
// characters, keeping the ending; false when the folder leaves no room.
bool FitExportFilename(const std::string& folder, std::string& name);

int16 OpenExportFile(SGlobals* globals);
int16 CloseExportFile(SGlobals* globals);
int16 WriteToExportFile(const SGlobals* globals, const void* data, unsigned length);

int16 WriteImageHeader(const SGlobals* globals);
int16 WritePPMHeader(const SGlobals* globals);
int16 WritePFMHeader(const SGlobals* globals);
int16 WriteHeaderLine(const SGlobals* globals, const char* text);
int16 WriteHeaderLine(const SGlobals* globals, const char* format, long value);
int16 WriteHeaderLine(const SGlobals* globals, const char* format, const char* value);

} // namespace _exp

// Prepares the folder, builds the name and stores the full path in the globals.
int16 SetExportFile(SGlobals* globals);
