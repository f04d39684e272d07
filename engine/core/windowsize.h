#pragma once
// The size of a window operator: its radius R, its loop step and the scale of
// its spatial weights, and the row half-widths `lx` its window reads.
//
// Size rule, for a size factor K (500 for most window operators):
//   r0 = (int)(K * p[0][0] * previewscalingfactor * unit_kernel_multiplier)
//        (single precision in this order, truncated; NaN gives 0, held to
//        0..500 so that the window stays inside `localexp` and `lx`);
//   step = MP_calcLoopstep(loopstep, r0), at least 1 (a block with loopstep 0
//        would never advance), or 1 for operators without a loop step;
//   r = r0 - r0 mod step (rounded down to the step), R = max(1, r).
// Weight scale: 65535 / (R * 2R) for Gaussian weights (32767.5 at R = 1),
// 1 / (R * R) for flat (box) weights.

#include "engine/core/mp_params.h"

constexpr int MP_MAX_WINDOW_RADIUS = 500;

struct MP_WindowSize {
    int R = 1;             // radius, 1..500
    int step = 1;          // loop step of rows and columns, at least 1
    float scale = 32767.5f; // spatial weight scale for MP_runWindowWeightsPass
};

enum class MP_WindowStep { Loopstep, One };
enum class MP_WindowWeights { Gaussian, Box };

MP_WindowSize MP_calcWindowSize(const MP_Params* params, float K, MP_WindowStep stepRule = MP_WindowStep::Loopstep,
                                MP_WindowWeights weights = MP_WindowWeights::Gaussian);

// The spatial weight scale of a window of radius R (R < 1 counts as 1).
float MP_windowWeightScale(int R, MP_WindowWeights weights);

// The radius the dispatcher wrote `lx` for when it ran `kernel` with this
// block: max(1, (int)(kernel size * unit_kernel_multiplier)).
int MP_dispatcherRadius(const char* kernel, const MP_Params* params);

// Makes every row -r..r of lx one this run wrote. The dispatcher writes the
// rows of its own radius, which can fall one short of the driver's (it
// truncates the kernel size before applying the calculation quality, the
// driver after it); the rows beyond it lie outside its window shape and get
// the half-width of its last row, 1. A dispatcher radius above 500 leaves lx
// unwritten; then every row gets 1. Rows the dispatcher wrote are kept.
void MP_completeRowWidths(const char* kernel, MP_Params* params, int r);

// Rewrites lx with the superquadric half-widths of the driver's own radius r
// (the kernel exponent of the block) when the dispatcher's rows do not serve
// it: the dispatcher's radius is smaller than r or above 500, or, with
// `sameRadius` (a window meant to have exactly the dispatcher's shape), differs
// from r. Otherwise lx is left as the dispatcher wrote it.
void MP_fillWindowRows(const char* kernel, MP_Params* params, int r, bool sameRadius);
