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
// Returns the working memory the engine keeps between operations (the scratch
// buffer, the geometry masks, the brush buffer and the pre-coding blocks) to
// the system; textures and settings stay. For a document that closes: the
// next operation allocates (and first touches) its memory again. Call it
// between engine operations, like any engine entry.
void MP_UI_ReleaseWorkingMemory();

// The texture folder given to MP_UI_Init (empty before it).
const std::string& MP_texturePath();
