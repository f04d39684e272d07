#pragma once
// Detail alignment of one exposure to the master by a mesh warp: up to
// 101 x 101 nodes, each moved to where a diamond-sampled patch of the master's
// bitmap matches the exposure's bitmap best, optionally smoothed, and the
// exposure resampled piecewise affinely (two triangles per cell).
// Work area, result codes, before and after as for the global builders
// (engine/series/alignglobal.h): 0 applied, -1 no reference or memory, -2 no
// image, -3 flat, -4 already congruent, -5 no usable improvement.

#include <cstdint>

// strength 0..1 sets the patch radius K = 10..64; rangePercent the search
// limit in percent of the mean side (+ 4 px); quality the share of patch
// samples a match needs (0.8..0.9999999); cellSize the mesh spacing in pixels
// (<= 0: the finest mesh). interpolation 0 nearest (14-bit fixed point),
// above 0 the zoom-table sampler.
int MP_UI_buildAlignmentDetail(void* work, const uint16_t* source, uint16_t* image, int w, int h, int interpolation,
                               float strength, float rangePercent, float quality, int cellSize, float* before,
                               float* after, const uint8_t* reference);
// The same with strength 0, range 0, quality 0.9 and cell size 10.
int MP_UI_buildAlignmentMicroDetail(void* work, const uint16_t* source, uint16_t* image, int w, int h,
                                    int interpolation, float* before, float* after, const uint8_t* reference);

// Helpers of the detail alignment, public for their callers' tests.
// Nodes per axis for the image and cell size: trunc(sqrt(w h / cell^2 + 1))
// held to 2..101 (101 for a cell size <= 0).
int MP_alignDetailNodeCount(int w, int h, int cellSize);
// Patch radius K for a strength (0..64) and the number of diamond samples of a patch.
int MP_alignDetailPatchRadius(float strength);
int MP_alignDetailSampleCount(int K);
