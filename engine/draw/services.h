#pragma once
// The curve and colour-temperature painters draw with two services of the
// engine core: the six-knot spline and the colour of a light temperature.
// The build defines MP_DRAW_HAVE_SPLINES / MP_DRAW_HAVE_COLORTEMP when those
// services are part of the engine (engine/CMakeLists.txt); until then the
// painters that need them are absent and the position box's spline mode
// draws nothing.

#ifndef MP_DRAW_HAVE_SPLINES
#define MP_DRAW_HAVE_SPLINES 0
#endif
#ifndef MP_DRAW_HAVE_COLORTEMP
#define MP_DRAW_HAVE_COLORTEMP 0
#endif

#if MP_DRAW_HAVE_SPLINES
#include "engine/core/splines.h"
#endif
#if MP_DRAW_HAVE_COLORTEMP
#include "engine/core/colortemp.h"
#endif
