#include "plugin/PIUSuites.h"

SPBasicSuite* sSPBasic = nullptr;

AutoSuite<PSUIHooksSuite1> sPSUIHooks(kPSUIHooksSuite, kPSUIHooksSuiteVersion1);
