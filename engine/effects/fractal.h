#pragma once
// "Mandelbrot": replaces the picture with a tinted rendering of the
// Mandelbrot set, mixed with the photograph by blend mode, opacity and masks.
// Writes dst directly; the reduced worker never reads src, so the engine start
// renders its picture in place.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelMandelbrot(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
