#pragma once
// Lights and shadows: per-pixel operators that treat the light and the dark
// parts of an image, or its centre and its borders, differently.
//
// MP_calcPixelLightShadow and MP_calcPixelColorLightShadow are also run
// directly by composite operators on a block of their own:
//   LightShadow reads p[0][0] .. p[3][0] (light ceiling, shadow floor, light
//   and shadow curve), the combo slot 4 (p[4][0] blend mode, p[4][1] opacity
//   in percent), the geometry slot 5 (all zero: no mask) and lumr/lumg/lumb;
//   ColorLightShadow reads p[0][0], p[1][0], the combo slot 2, the geometry
//   slot 3 and the luminance weights.
// Nothing else of the block is read, and nothing is written into it except
// the normalisation of the geometry slot. Source and destination may be the
// same buffer. All four return 0 (-2 for a missing buffer or block, -1 when the
// geometry buffers cannot be had).

#include "engine/core/mp_params.h"

typedef unsigned short ushort;

// "Licht/Schatten anpassen"
int MP_calcPixelLightShadow(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
// "Licht/Schatten färben"
int MP_calcPixelColorLightShadow(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
// "Zentrum belichten"
int MP_calcPixelCenterLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
// "Vignettierung"
int MP_calcPixelVignette(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
