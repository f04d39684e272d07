#pragma once
// The engine's interface: entry points, the parameter store, MP_Params, the
// task framework and result codes. Include this (or the family header you
// need) from application code.

#include "engine/core/blend.h"
#include "engine/core/boxblur.h"
#include "engine/core/colortemp.h"
#include "engine/core/conversions.h"
#include "engine/core/driverframe.h"
#include "engine/core/geometry.h"
#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/precoding.h"
#include "engine/core/progress.h"
#include "engine/core/random.h"
#include "engine/core/results.h"
#include "engine/core/settings.h"
#include "engine/core/statistics.h"
#include "engine/core/tables.h"
#include "engine/core/tasks.h"
#include "engine/core/textures.h"
#include "engine/core/windowweights.h"
#include "engine/views/histogramimage.h"
