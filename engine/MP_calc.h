#pragma once
// The engine's interface: entry points, the parameter store, MP_Params, the
// task framework and result codes. Include this (or the family header you
// need) from application code.

#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/progress.h"
#include "engine/core/results.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/core/tasks.h"
#include "engine/MP_calccl.h"
