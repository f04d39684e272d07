#pragma once
// The glow operators: "Weicher Kontrast" (MP_calcPixelSoftContrast) overlays a
// blurred luminance, "Intensives Leuchten" (MP_calcPixelSoftRGBContrast) each
// channel with its own blurred copy, and "Neon Leuchten"
// (MP_calcPixelNeonLight) adds a blurred glow of a colour where the picture
// has that hue. Each builds a signed 16-bit plane, blurs it with the engine's
// box blur (wrapping around in panorama mode) and combines it with the picture
// in a last per-pixel pass.
//
// SoftContrast: p[0][0] "Glättung", p[1][0] "Stärke" (0.5 neutral), slot 2
// "Maskierung", slot 3 combo, slot 4 geometry. SoftRGBContrast: p[0][0]
// "Glättung", p[1][0] "Leuchten", slots 2..4 as SoftContrast. Both read and
// write dst only (src is not read): they transform dst in place.
// NeonLight: p[0][0] "Stärke", p[1][0] "Weichheit", p[2][0] "Abdunkeln",
// colour slot 3 "Farbton" (entries 2..4), slot 4 combo, slot 5 geometry;
// reads src, writes dst.
//
// Drivers: 0; -1 when the plane or the blur's working memory cannot be had or
// the geometry masks fail (dst untouched); -2 for missing buffers or block, or
// bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelSoftContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelSoftRGBContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
int MP_calcPixelNeonLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);

// NeonLight's glow value of a pixel (0..32767, before the blur) for the
// "Farbton" components hue (raw, not normalised).
int MP_neonGlowValue(float hr, float hg, float hb, const ushort* px);

// The plane blur of these drivers and the grain: total radius R and passes
// on a zeroed block, wrapping around in panorama mode. Returns the blur's
// result (0, -1).
int MP_blurGlowPlane(int width, int height, short* plane, float radius, int passes);
