#include "engine/core/textures.h"

#include <cstdlib>

uint16_t* MP_texturePointer[MP_TEXTURE_SLOTS];
int MP_textureNeeded[MP_TEXTURE_SLOTS];
int MP_textureSizeX[MP_TEXTURE_SLOTS];
int MP_textureSizeY[MP_TEXTURE_SLOTS];
int MP_textureTyp[MP_TEXTURE_SLOTS];

void* MP_buffer = nullptr;
uint64_t MP_buffer_size = 0;

namespace {

// Slot numbers are tested as unsigned values: negative ones are outside too.
bool validSlot(int slot) { return static_cast<unsigned>(slot) < static_cast<unsigned>(MP_TEXTURE_SLOTS); }

// width * height * bytesPerPixel in size_t; false for a non-positive factor or
// an overflowing product.
bool textureBytes(int width, int height, int bytesPerPixel, size_t* bytes)
{
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0)
        return false;
    size_t n = 0;
    if (__builtin_mul_overflow(static_cast<size_t>(width), static_cast<size_t>(height), &n))
        return false;
    if (__builtin_mul_overflow(n, static_cast<size_t>(bytesPerPixel), &n))
        return false;
    *bytes = n;
    return true;
}

void emptySlot(int slot)
{
    MP_texturePointer[slot] = nullptr;
    MP_textureSizeX[slot] = -1;
    MP_textureSizeY[slot] = -1;
}

} // namespace

void MP_UI_InitTexturesData()
{
    for (int i = 0; i < MP_TEXTURE_SLOTS; ++i) {
        emptySlot(i);
        MP_textureNeeded[i] = 0;
    }
}

void MP_UI_SetTextureNeeded(int slot, int needed)
{
    if (validSlot(slot))
        MP_textureNeeded[slot] = needed;
}

int MP_UI_GetTextureNeeded(int slot) { return validSlot(slot) ? MP_textureNeeded[slot] : 0; }

void MP_UI_AllocTextureData(int slot, int width, int height, int bytesPerPixel, int type)
{
    if (!validSlot(slot))
        return;
    if (MP_texturePointer[slot]) {
        std::free(MP_texturePointer[slot]);
        emptySlot(slot);
        MP_textureTyp[slot] = -1;
    }
    // A refused size leaves the slot empty, as a failed allocation does: the
    // loader copies its pixels only into a slot that has memory.
    size_t bytes = 0;
    if (!textureBytes(width, height, bytesPerPixel, &bytes))
        return;
    auto* p = static_cast<uint16_t*>(std::malloc(bytes));
    if (!p)
        return;
    MP_texturePointer[slot] = p;
    MP_textureSizeX[slot] = width;
    MP_textureSizeY[slot] = height;
    MP_textureTyp[slot] = type;
}

uint16_t* MP_UI_GetTexturePointer(int slot) { return validSlot(slot) ? MP_texturePointer[slot] : nullptr; }

int MP_UI_GetTextureSizeX(int slot) { return validSlot(slot) && MP_texturePointer[slot] ? MP_textureSizeX[slot] : -1; }

int MP_UI_GetTextureSizeY(int slot) { return validSlot(slot) && MP_texturePointer[slot] ? MP_textureSizeY[slot] : -1; }

int MP_UI_GetTextureTyp(int slot) { return validSlot(slot) ? MP_textureTyp[slot] : -1; }

double MP_UI_GetTextureMemory()
{
    double total = 0.0;
    for (int i = 0; i < MP_TEXTURE_SLOTS; ++i) {
        if (!MP_texturePointer[i])
            continue;
        const size_t pixels = static_cast<size_t>(MP_textureSizeX[i]) * static_cast<size_t>(MP_textureSizeY[i]);
        total += static_cast<double>(pixels) * 6.0;
    }
    return total;
}

void MP_UI_FreeTexturesData()
{
    for (int i = 0; i < MP_TEXTURE_SLOTS; ++i) {
        std::free(MP_texturePointer[i]);
        emptySlot(i);
    }
}

void* MP_UpdateBuffer(size_t bytes)
{
    if (MP_buffer_size < bytes) {
        std::free(MP_buffer);
        MP_buffer = std::malloc(bytes);
        MP_buffer_size = bytes;
    }
    return MP_buffer;
}

void MP_ClearBuffer()
{
    std::free(MP_buffer);
    MP_buffer = nullptr;
    MP_buffer_size = 0;
}

void MP_ResetTexturesAndBuffer()
{
    MP_UI_FreeTexturesData();
    for (int i = 0; i < MP_TEXTURE_SLOTS; ++i) {
        MP_textureNeeded[i] = 0;
        MP_textureTyp[i] = 0;
    }
    MP_ClearBuffer();
}
