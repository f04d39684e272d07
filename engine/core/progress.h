#pragma once
// Progress reporting of the engine. The engine reports through C_AddMessage
// only, between chunks of band tasks and never inside a task. The user
// interface registers the one hook that forwards the messages to its progress
// guard; with no hook registered a message goes nowhere.

using MP_ProgressHook = void (*)(int category, float fraction);

void C_AddMessage(int category, float fraction);
// Installs the hook (nullptr removes it); returns the previous one.
MP_ProgressHook C_SetAddMessageHook(MP_ProgressHook hook);

// Progress settings of the running kernel: category (negative: post nothing),
// and the range of the overall progress it covers. MP_UI_executeKernel sets
// them for each run.
extern int _category;
extern float _progressstart;
extern float _progressdelta;

// Posts end / h of the running kernel's range when _category is not negative.
void MP_postKernelProgress(int end, int h);
