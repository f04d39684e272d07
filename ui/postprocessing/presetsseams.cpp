#include "ui/postprocessing/presetsseams.h"

namespace {
IPresetsHost* s_pHost = nullptr;
}

namespace PresetsSeams {

void SetHost(IPresetsHost* host) { s_pHost = host; }

IPresetsHost* Host() { return s_pHost; }

CExposureSeries* Series() { return s_pHost ? s_pHost->Series() : nullptr; }

void CountUsage(const char* key)
{
    if (s_pHost)
        s_pHost->HandleValue(QLatin1String(key), 1);
}

} // namespace PresetsSeams
