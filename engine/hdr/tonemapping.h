#pragma once
// The tone-mapping operators and their common frame.
//
// Every tone-mapping kernel compresses the tonal range of an RGB48 image with
// a local, edge-aware adaptation: for each pixel it gathers bilateral
// statistics of the luminance in a large window around it (local mean, local
// distance, local detail), compresses the light end of the pixel's own colour
// (MP_calcTMtonecompressionfromtable), applies the operator's local gain and
// finishes with the common tail (MP_calcTMdampdetdark: brightness damping,
// macro and micro detail, dark compression), then the "Maskierung" mask, the
// layer blend and the geometry mask of the driver frame.
//
// Slots of every catalogue tone-mapping operator: p[0][0] radius fraction,
// p[1][0] "Intensität", p[2][0] "Lichtkompression", p[3][0] "Makrodetail",
// p[4][0] "Mikrodetail", slot 5 the "Maskierung" spline, slot 6 the combo
// (blend mode, opacity in percent), slot 7 the geometry sets.
//
// The window reads the row half-widths lx of the block (written by the
// dispatcher for its radius); the driver fills the rows its own radius reads
// beyond the dispatcher's with half-width 1, the width of the window's last
// row.

#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"

typedef unsigned short ushort;

constexpr int MP_MAX_TM_KERNELSIZE = 500; // largest radius
constexpr float MP_TM_MAKRO_MUL = 1.3f;   // macro-detail factor
constexpr float MP_TM_MIKRO_MUL = 5.0f;   // micro-detail factor
constexpr float MP_EPSILON = 0.001f;

// The light-compression table of the most recent tone-mapping run:
// entry i = (i/65535)^e (65,536 used entries).
constexpr int MP_LITEMP_TABLE_SIZE = 65664;
extern float MP_litemp_table[MP_LITEMP_TABLE_SIZE];

// ---- The ten tone-mapping drivers (run by name through the dispatcher) --------
// Arguments as every driver's; 0, or -1 when the scratch buffer cannot be had
// (nothing written), -2 for missing buffers or block.
int MP_calcPixelTMfattal(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMmeanlog(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMmeanexp(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMsigmoid(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMmeandiff(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelTMmeanlin(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMgradlum(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMconstgradlum(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelTMlummeangrad(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelTMintense(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// Two further tone-mapping operators of the kernel library that no operation
// runs: single-threaded, without geometry masks.
int MP_calcPixelTMchiu(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTMgradpowlum(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);

// ---- The frame's pieces ----------------------------------------------------------
// Radius and loop step of a tone-mapping window from the block:
// u = (int)(500 * p[0][0] * previewscalingfactor * unit_kernel_multiplier)
// (held to 0..500), step = MP_calcLoopstep(loopstep, u) (at least 1),
// r = max(1, u - u mod step).
void MP_calcTMRadius(const MP_Params* params, int* r, int* step);

// Fills MP_litemp_table for licomp in parallel (exponent licomp*0.999 + 1 + 0.001)
// and waits.
void MP_Pre_calcPixelLItable(float licomp);

// Light compression of c (channels 0..1) for a pixel of luminance lum0, with
// the power from MP_litemp_table: v = licomp*0.99 + 0.01; pixels of luminance
// above 1 - v are mixed toward c^e by s = (lum0 - (1 - v)) / v.
MP_float3 MP_calcTMtonecompressionfromtable(MP_float3 c, float lum0, float licomp);
// The same with the power evaluated directly.
MP_float3 MP_calcTMtonecompression(MP_float3 c, float lum0, float licomp);

// The common tail: damping of the gained colour ce by its brightness (l),
// macro and micro detail (lumdet, detail, microdetail), dark compression by
// lum0. c0b is the light-compressed colour, lumkonv the luminance weights.
MP_float3 MP_calcTMdampdetdark(MP_float3 c0b, MP_float3 ce, MP_float3 lumkonv, float l, float lumdet, float detail,
                               float microdetail, float lum0);
// Its three steps alone.
MP_float3 MP_calcTMdampbrightness(MP_float3 c0, MP_float3 ce, MP_float3 lumkonv, float l);
MP_float3 MP_calcTMdetail(MP_float3 c, float lumdet, float detail, float microdetail);
MP_float3 MP_calcTMdarkcompression(MP_float3 c0, MP_float3 ce, float lum0);
