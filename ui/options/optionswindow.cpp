#include "ui/options/optionswindow.h"

IOptionsWindow* g_pOptionsWindow = nullptr;
