#pragma once
// The curve and colour-temperature painters draw with two services of the
// engine core: the six-knot spline and the colour of a light temperature.

#include "engine/core/colortemp.h"
#include "engine/core/splines.h"
