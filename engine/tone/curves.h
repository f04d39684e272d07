#pragma once
// Tone curves: brightness, contrast and gamma ("Helligkeit Kontrast Gamma"),
// the gradation curve ("Gradationskurve") and histogram equalisation
// ("Histogramm Abgleich").
//
// Direct callers of MP_calcPixelGradationLagrange (the chain after a tone
// mapping, the polarising filter, histogram equalisation) fill the six knots
// of slot 0 (x, y pairs in p[0][0..11]), the combo slot 1 (p[1][0] blend mode,
// p[1][1] opacity in percent), the geometry slot 2 (all zero: no mask) and
// lumr/lumg/lumb. It returns 0, or -1 when its gain table cannot be had
// (nothing written).
//
// MP_calcPixelHistogramEqualize writes the knots it derives into slot 0 of the
// block it is given (the "Stärke" value there is lost) and runs
// MP_calcPixelGradationLagrange on that block; it returns what that run
// returns (-1 when no working memory).
//
// Source and destination may be the same buffer.

#include "engine/core/mp_params.h"

typedef unsigned short ushort;

// "Helligkeit Kontrast Gamma"
int MP_calcPixelBasicTools(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
// "Gradationskurve"
int MP_calcPixelGradationLagrange(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params);
// "Histogramm Abgleich"
int MP_calcPixelHistogramEqualize(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params);

// Tests: false walks the reduced "Gradationskurve" worker pixel by pixel,
// the reference its runs of a row must equal (true by default).
extern bool g_gradationRunWalk;
