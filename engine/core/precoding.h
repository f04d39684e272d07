#pragma once
// Pre-coding of stored RGB48 buffers. Before a working buffer is compressed
// into a project's data file it is rewritten in place so that the compressor
// finds more redundancy; after reading, the pre-coding is undone in place.
// The pre-coded buffer has the size of the original (width x height x 6 bytes,
// little-endian values) in every mode.
//
// Both directions run on the caller's thread, queue no band tasks and share no
// mutable state, so several worker jobs may pre-code their own buffers at once.

#include <cstddef>
#include <cstdint>

// Flag bits, applied in the order 2, 1, 4, 8 when encoding and undone in the
// order 8, 4, 1, 2 when decoding.
constexpr int MP_PRECODE_BYTEPLANES = 1; // six byte planes (lossless)
constexpr int MP_PRECODE_ROWDELTA = 2;   // row deltas of the halved values (drops the lowest bit)
constexpr int MP_PRECODE_DCT = 4;        // planar 8x8 DCT (quantised)
constexpr int MP_PRECODE_DCTZIGZAG = 8;  // planar 8x8 DCT, coefficients regrouped by frequency

// Pre-codes the buffer in place. The scratch block the byte-plane and DCT steps
// need (width x height x 6 bytes) is obtained once before any step: the result
// is 0 on success, -1 when the scratch block cannot be had and -2 for a null
// buffer or a size below 1; on -1 and -2 the buffer is untouched. A caller that
// stores the data must treat a non-zero result as a failed write.
int MP_UI_ConvertToCompress(uint16_t* rgb48, int width, int height, int flags);
// Undoes the pre-coding of the given flags in place; results as above.
int MP_UI_ConvertFromCompress(uint16_t* rgb48, int width, int height, int flags);

// Forward transform of every full 8x8 block of one plane of 16-bit samples
// (rows of width values): each block's coefficient codes go to the same
// positions of dst; every other element of dst is left as it is. src may
// equal dst.
void Dct(const uint16_t* src, uint16_t* dst, int width, int height);
// Inverse transform of every full 8x8 block of one plane of coefficient codes
// into samples of dst; every other element of dst is left as it is. src may
// equal dst.
void IDct(const uint16_t* src, uint16_t* dst, int width, int height);

// The scratch blocks are kept for the next call (several jobs at once each
// get their own; a block only grows). MP_ReleasePrecodingScratch frees the
// blocks no job is using.
void MP_ReleasePrecodingScratch();

// The allocation of the scratch block, replaceable so that tests can make it
// fail. Its block is released with std::free after each call (not kept); nullptr
// restores the kept blocks;
// returns the previous allocator (nullptr for the default).
using MP_PrecodingAllocFn = void* (*)(size_t bytes);
MP_PrecodingAllocFn MP_SetPrecodingScratchAllocator(MP_PrecodingAllocFn fn);
