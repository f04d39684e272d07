#pragma once
// Engine-owned heap memory that outlives one operation: the texture store
// (512 numbered slots of pictures that effect kernels blend into images) and
// the grow-only scratch buffer that operators borrow for intermediate data.
// No locks: textures change on the main thread only, and the scratch buffer
// serves one engine operation at a time.

#include <cstddef>
#include <cstdint>

constexpr int MP_TEXTURE_SLOTS = 512;

extern uint16_t* MP_texturePointer[MP_TEXTURE_SLOTS]; // null when empty
extern int MP_textureNeeded[MP_TEXTURE_SLOTS];
extern int MP_textureSizeX[MP_TEXTURE_SLOTS]; // -1 when empty
extern int MP_textureSizeY[MP_TEXTURE_SLOTS]; // -1 when empty
extern int MP_textureTyp[MP_TEXTURE_SLOTS];

// Empties every slot's pointer, needed flag and sizes without freeing (engine
// start); type codes stay.
void MP_UI_InitTexturesData();
// Slots outside 0..511 are ignored by the setters and answered with 0, null
// or -1 by the getters.
void MP_UI_SetTextureNeeded(int slot, int needed);
int MP_UI_GetTextureNeeded(int slot);
// Frees what the slot held (sizes and type become -1), then allocates
// width * height * bytesPerPixel bytes (not cleared) and records width, height
// and type. A side or bytes per pixel <= 0, a size that overflows or a failed
// allocation leaves the slot empty.
void MP_UI_AllocTextureData(int slot, int width, int height, int bytesPerPixel, int type);
uint16_t* MP_UI_GetTexturePointer(int slot);
int MP_UI_GetTextureSizeX(int slot);
int MP_UI_GetTextureSizeY(int slot);
int MP_UI_GetTextureTyp(int slot);
// Bytes held by the loaded slots, counted as width * height * 6 each.
double MP_UI_GetTextureMemory();
// Frees every slot's pixels and sets its sizes to -1; needed flags and type
// codes stay (engine release).
void MP_UI_FreeTexturesData();

// The scratch buffer and the size last asked for (which the block is assumed
// to have, also after a failed allocation).
extern void* MP_buffer;
extern uint64_t MP_buffer_size;
// The scratch buffer, at least bytes large, or null. It only grows: a larger
// request replaces the block (contents not kept), a smaller one returns it
// unchanged. After a failed allocation every request up to that size gives
// null until MP_ClearBuffer.
void* MP_UpdateBuffer(size_t bytes);
// Frees the scratch buffer; its size becomes 0.
void MP_ClearBuffer();

// Frees every texture and the scratch buffer and puts the store back to its
// state at program start (needed flags 0, type codes 0).
void MP_ResetTexturesAndBuffer();
