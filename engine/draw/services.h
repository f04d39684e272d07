#pragma once
// The curve and colour-temperature painters draw with two services of the
// engine core: the six-knot spline and the colour of a light temperature.
// They are compiled when those services are part of the build; until then
// the painters that need them are absent (and the position box's spline mode
// draws nothing).

#if __has_include("engine/core/splines.h")
#include "engine/core/splines.h"
#define MP_DRAW_HAVE_SPLINES 1
#else
#define MP_DRAW_HAVE_SPLINES 0
#endif

#if __has_include("engine/core/colortemp.h")
#include "engine/core/colortemp.h"
#define MP_DRAW_HAVE_COLORTEMP 1
#else
#define MP_DRAW_HAVE_COLORTEMP 0
#endif
