#pragma once
// Start-up and release of the engine.
//
// MP_UI_Init is the engine's first call in a process: it gives the settings
// their start values, builds the lookup tables and renders the two pictures
// of the position picker. MP_UI_Release is its last call and frees the heap
// blocks the engine holds; it resets no setting.

#include <string>

// texturePath: the program's texture folder (null counts as empty), kept
// whole. threadCount: the number of row bands of multi-threaded operations
// (below 1 counts as 1).
void MP_UI_Init(const char* texturePath, int threadCount);
void MP_UI_Release();

// The texture folder given to MP_UI_Init (empty before it).
const std::string& MP_texturePath();
