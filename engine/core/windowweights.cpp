#include "engine/core/windowweights.h"

float localexp[MP_LOCALEXP_SIZE];
