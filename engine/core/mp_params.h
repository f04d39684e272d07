#pragma once
// The parameter block of one kernel run. Its layout is that of the device
// kernels' parameter record, so it is exchanged with a device back-end as is.

#include <cstdint>

constexpr int MP_MAX_PARAMETER = 10;       // parameter slots
constexpr int MP_MAX_PARAMETERSETS = 256;  // values per slot
constexpr int MP_MAX_GEOMETRYSETS = 32;    // geometry sets in a geometry slot
constexpr int MP_MAX_KERNEL_HEIGHT = 500;  // largest kernel radius in rows
constexpr int MP_KERNELSTRIPE_HEIGHT = 500; // rows per device stripe
constexpr int MP_KERNEL_WIDTH_TABLE = 2 * MP_MAX_KERNEL_HEIGHT + 1; // entries of lx

struct MP_Params {
    int loopstep;                 // calculation-quality step of window loops (1..4)
    float lumr, lumg, lumb;       // luminance weights
    float lummin, lummax;         // luminance range of the image, 0..1
    float previewscalingfactor;   // processed size / full size
    float kernel_exponent;        // superquadric kernel exponent
    float anim_count;             // animation counter
    float gpu_loopstep_mulitplier; // divisor thinning large windows on a device
    float cpu_loopstep_mulitplier; // divisor thinning large windows on the CPU
    float unit_kernel_multiplier; // factor on every kernel radius
    int panoramamode;             // 1: kernels wrap around horizontally
    int geometry_needed;          // number of active geometry sets (0: none)
    int geometry_addidx[MP_MAX_GEOMETRYSETS];
    int geometry_addam;
    int geometry_subidx[MP_MAX_GEOMETRYSETS];
    int geometry_subam;
    int width;
    int height;
    int y_offset;                 // first image row handed to the kernel
    float a[7], b[7], c[7], d[7], xp[7]; // spline coefficients of the spline slot
    float p[MP_MAX_PARAMETER][MP_MAX_PARAMETERSETS]; // operator parameters
    short lx[MP_KERNEL_WIDTH_TABLE]; // kernel row half-widths, index 500 + dy
    int depthmapwidth, depthmapheight; // reserved
    void* depthmap;                   // reserved
};

static_assert(sizeof(MP_Params) == 12736, "MP_Params must keep the device layout");
