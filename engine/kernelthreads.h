#pragma once
// CKernelThreads, C_AddTask and C_WaitTasks: the band-task queue of the engine.
#include "engine/core/tasks.h"
