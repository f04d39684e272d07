#pragma once
// Non-local means: every pixel becomes the mean of the pixels of a diamond
// search window around it, each weighted by how closely the diamond patch
// around it matches the patch around the pixel.
//   "Entrauschen Luminance (HD)"  MP_calcPixelDeNoiseLumHD  (match on luminance)
//   "Entrauschen Chrominance (HD)" MP_calcPixelDeNoiseHD    (per channel)
//   "Schärfen Luminance (HD)"     MP_calcPixelHDLumSharpen  (pushes away from the mean)
//   "Schärfen Chrominance (HD)"   MP_calcPixelHDSharpen
// Slots: p[0][0] strength, p[1][0] "Qualität" (patch and search radius),
// slot 2 "Maskierung", slot 3 blend, slot 4 geometry.
//
// The workers read a float copy of the source only, so a run in place is
// safe; they write the destination directly. Image edges are hard: patches
// and search windows are clipped, nothing wraps.
//
// Returns 0; -1 without the float copy (scratch) or geometry masks (nothing
// written); -2 for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelDeNoiseLumHD(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelDeNoiseHD(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelHDLumSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelHDSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// What the quality slider gives: index q (0..9, NaN and values outside 0..1
// held to the ends), patch radius K and search radius L.
struct MP_NLWindow {
    int q, K, L;
};
MP_NLWindow MP_nlWindow(float quality);

// The filter width h of strength p0 with factor F (0.09 luminance, 0.27
// chrominance) at the preview factor.
float MP_nlFilterWidth(float strength, float factor, float previewScale);

// Tests: true makes every pixel take the clipped (general) path, false (the
// default) lets interior pixels take the path with pre-normalised weights.
extern bool g_nlGeneralPathOnly;

// Tests and benchmarks: true (the default) lets whole groups of interior
// pixels share each candidate's squared differences; false takes the
// per-pixel interior path. Both give the same bits.
extern bool g_nlSharedDifferences;
