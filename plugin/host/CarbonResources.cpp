// The resources of Lumiplug's resource file: the about text and dialog, and the
// alert with its message that warns about a host too old for the plug-in.

#include "plugin/host/CarbonShim.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace carbonshim {

namespace {

// The first field of every window template is its rectangle.
struct DialogTemplate {
    Rect boundsRect;
    int16 procID;
    Boolean visible;
    Boolean filler1;
    Boolean goAwayFlag;
    Boolean filler2;
    int32 refCon;
    int16 itemsID;
};

struct AlertTemplate {
    Rect boundsRect;
    int16 itemsID;
    uint16 stages;
};

template <typename T>
std::vector<unsigned char> bytesOf(const T& value)
{
    std::vector<unsigned char> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

} // namespace

std::map<std::pair<ResType, ResID>, std::vector<unsigned char>> CompiledResources()
{
    std::map<std::pair<ResType, ResID>, std::vector<unsigned char>> table;
    table[{kResTypeSTR, 16000}] =
        PascalBytes("Lumiplug 1.14\rExportiert das aktuelle Bild nach Lumivex Pro.");
    table[{kResTypeDLOG, 16000}] = bytesOf(DialogTemplate{{0, 0, 160, 360}, 5, 1, 0, 0, 0, 0, 16000});
    table[{kResTypeALRT, 16990}] = bytesOf(AlertTemplate{{0, 0, 120, 400}, 16990, 0x5555});
    table[{kResTypeSTR, 16992}] =
        PascalBytes("Dieses Plug-in ben\xC3\xB6tigt die Export-Schnittstelle des Hosts in Version ^1 oder neuer.");
    return table;
}

} // namespace carbonshim
