#pragma once
// The save flow's memory of the last result format ("lastsaveformat.ini" in
// the user settings folder, key "lastSavedFormat") and the dialog filters it
// presets.
//
// Index  filter                              tail
//   0    "TIF 8-Bit (*.tif)"                 ".tif"
//   1    "Jpeg 8-Bit (*.jpg)"                ".jpg"
//   2    "TIFF 16-Bit (*.tiff)"              ".tiff"
//   3    "Radiance RGBE (*.hdr)"             ".hdr"
//   4    "Open EXR (*.exr)"                  ".exr"
//   5    "TIFF 32-Bit (*.tif32 *.tif)"       ".tif32"
//   6    "Portable Floatmap 32-Bit (*.pfm)"  ".pfm"
//   7    "PNG 16-Bit (*.png)"                ".png"
//   8    "Jpeg 16-Bit (*.jp2)"               ".jp2"

#include <QString>

namespace ResultSaveFormat {

// The index of a path's tail (case-sensitive), -1 when none matches.
int IndexForPath(const QString& path);
// The preset filter text of an index; empty outside 0..8.
QString FilterForIndex(int index);
// The suffix (without the dot) a dialog adds for a filter: the first
// pattern's; empty for a text without one.
QString SuffixForFilter(const QString& filter);

// "lastsaveformat.ini" in the user settings folder.
QString IniPath();
// The stored index: 1 without the file, 0 when the key is missing.
int ReadLastSavedFormat(const QString& iniPath = IniPath());
// Stores the index of path's tail; a tail without an index leaves the key.
void StoreLastSavedFormat(const QString& path, const QString& iniPath = IniPath());

} // namespace ResultSaveFormat
