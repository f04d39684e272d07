#include "ui/toolkit/resourceinit.h"

#include <QtGlobal>

#include <mutex>

#ifdef LUMIVEX_HAVE_RESOURCES
static void initLumivexResources() { Q_INIT_RESOURCE(lumivex_resources); }
#endif

void LumivexInitResources()
{
#ifdef LUMIVEX_HAVE_RESOURCES
    static std::once_flag once;
    std::call_once(once, initLumivexResources);
#endif
}
