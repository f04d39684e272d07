#include "enginefixture.h"

#include <climits>
#include <cstring>

namespace {

class Textures : public EngineTest {};
class ScratchBuffer : public EngineTest {};

void expectEmpty(int slot)
{
    EXPECT_EQ(MP_UI_GetTexturePointer(slot), nullptr) << slot;
    EXPECT_EQ(MP_UI_GetTextureSizeX(slot), -1) << slot;
    EXPECT_EQ(MP_UI_GetTextureSizeY(slot), -1) << slot;
}

TEST_F(Textures, SlotsOutsideTheStore)
{
    for (int slot : {-1, 512, 600, INT_MIN}) {
        MP_UI_SetTextureNeeded(slot, 1);
        MP_UI_AllocTextureData(slot, 4, 4, 6, 0);
        expectEmpty(slot);
        EXPECT_EQ(MP_UI_GetTextureNeeded(slot), 0) << slot;
        EXPECT_EQ(MP_UI_GetTextureTyp(slot), -1) << slot;
    }
    EXPECT_EQ(MP_UI_GetTextureMemory(), 0.0);
    for (int slot = 0; slot < MP_TEXTURE_SLOTS; ++slot)
        ASSERT_EQ(MP_UI_GetTextureNeeded(slot), 0) << slot;
}

TEST_F(Textures, AllocateReplaceAndFree)
{
    MP_UI_InitTexturesData();
    expectEmpty(5);
    MP_UI_SetTextureNeeded(5, 1);
    MP_UI_AllocTextureData(5, 512, 512, 6, 0);
    ASSERT_NE(MP_UI_GetTexturePointer(5), nullptr);
    std::memset(MP_UI_GetTexturePointer(5), 0x5A, size_t(512) * 512 * 6);
    MP_UI_AllocTextureData(5, 512, 512, 6, 0);
    ASSERT_NE(MP_UI_GetTexturePointer(5), nullptr);
    EXPECT_EQ(MP_UI_GetTextureSizeX(5), 512);
    EXPECT_EQ(MP_UI_GetTextureSizeY(5), 512);
    EXPECT_EQ(MP_UI_GetTextureTyp(5), 0);
    EXPECT_EQ(MP_UI_GetTextureMemory(), 1572864.0);

    // Counted with 6 bytes per pixel whatever the slot was allocated with.
    MP_UI_AllocTextureData(511, 10, 3, 2, 7);
    EXPECT_EQ(MP_UI_GetTextureMemory(), 1572864.0 + 180.0);

    MP_UI_FreeTexturesData();
    expectEmpty(5);
    expectEmpty(511);
    EXPECT_EQ(MP_UI_GetTextureNeeded(5), 1);
    EXPECT_EQ(MP_UI_GetTextureTyp(511), 7);
    EXPECT_EQ(MP_UI_GetTextureMemory(), 0.0);
    MP_UI_FreeTexturesData(); // nothing left to free
}

TEST_F(Textures, RefusedSizesLeaveTheSlotEmpty)
{
    struct Case {
        int w, h, bpp;
    };
    const Case cases[] = {
        {0, 16, 6}, {16, 0, 6}, {16, 16, 0}, {-1, 16, 6}, {16, -16, 6}, {16, 16, -6},
        {INT_MAX, INT_MAX, INT_MAX}, // the byte count overflows 64 bits
        {INT_MIN, INT_MIN, 6},
    };
    for (const Case& c : cases) {
        MP_UI_AllocTextureData(2, 8, 8, 6, 3);
        ASSERT_NE(MP_UI_GetTexturePointer(2), nullptr);
        // The old block goes first, so a loader that copies its own size finds
        // no memory rather than a block of another size.
        MP_UI_AllocTextureData(2, c.w, c.h, c.bpp, 0);
        expectEmpty(2);
        EXPECT_EQ(MP_UI_GetTextureTyp(2), -1) << c.w << " " << c.h << " " << c.bpp;
        EXPECT_EQ(MP_UI_GetTextureMemory(), 0.0);
    }
}

TEST_F(ScratchBuffer, GrowsOnly)
{
    void* a = MP_UpdateBuffer(100);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(MP_buffer_size, 100u);
    EXPECT_EQ(MP_UpdateBuffer(50), a);
    EXPECT_EQ(MP_buffer_size, 100u);
    EXPECT_EQ(MP_UpdateBuffer(100), a);
    void* b = MP_UpdateBuffer(200);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(MP_buffer, b);
    EXPECT_EQ(MP_buffer_size, 200u);
    std::memset(b, 1, 200);

    MP_ClearBuffer();
    EXPECT_EQ(MP_buffer, nullptr);
    EXPECT_EQ(MP_buffer_size, 0u);
    EXPECT_EQ(MP_UpdateBuffer(0), nullptr);
    EXPECT_EQ(MP_buffer_size, 0u);
}

TEST_F(ScratchBuffer, FailedAllocationStaysFailedUntilCleared)
{
    const size_t n = size_t(1) << 62; // more than any address space
    ASSERT_NE(MP_UpdateBuffer(64), nullptr);
    EXPECT_EQ(MP_UpdateBuffer(n), nullptr);
    EXPECT_EQ(MP_buffer_size, n);
    EXPECT_EQ(MP_UpdateBuffer(n / 2), nullptr);
    EXPECT_EQ(MP_UpdateBuffer(64), nullptr);
    MP_ClearBuffer();
    EXPECT_NE(MP_UpdateBuffer(64), nullptr);
}

} // namespace
