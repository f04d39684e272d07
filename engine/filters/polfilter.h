#pragma once
// "Polfilter" (MP_calcPixelPolfilter): midtone contrast, highlight tone and
// colour and a black and white point stretch behind three sliders. A
// composite: six operators run one after another on a private copy of the
// block into a temporary image (local contrast at the largest radius, soft
// contrast, light/shadow, its colouring, a lowering tone curve, the automatic
// black and white point), each with cleared masks; the temporary image is
// then blended onto the source once, with the Polfilter's own blend mode,
// opacity and masks (a plain copy without them).
//
// p[0][0] "Details" D, p[1][0] "Lichter" H, p[2][0] "Farbe" F, slot 3 combo,
// slot 4 geometry.
//
// Returns 0; -1 without the temporary image; the first negative result of an
// operator of the chain or of the geometry preparation (dst untouched); -2
// for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelPolfilter(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The chain's settings from the three sliders.
struct MP_PolfilterSettings {
    float localContrast; // "Stärke" of the local contrast: 0.75 D + 0.25
    float softContrast;  // "Stärke" of the soft contrast: 0.5 - 0.15 D
    float lights;        // "Lichter anpassen": H
    float colour;        // "Lichter färben": F
    float curve;         // tone-curve factor b = 1 - 0.4 H
};
MP_PolfilterSettings MP_polfilterSettings(float D, float H, float F);
