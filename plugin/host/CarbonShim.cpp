// Stand-in Carbon services: see CarbonShim.h.

#include "plugin/host/CarbonShim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

namespace carbonshim {
// The plug-in's compiled-in resources (CarbonResources.cpp).
std::map<std::pair<ResType, ResID>, std::vector<unsigned char>> CompiledResources();
} // namespace carbonshim

namespace {

struct Block {
    Ptr master = nullptr;
    Size size = 0;
    bool locked = false;
    bool purgeable = false;
    bool resource = false;
};


} // namespace

struct OpaqueWindowPtr {
    Rect bounds{};
    SRefCon refCon = 0;
};

struct OpaqueDialogPtr {
    OpaqueWindowPtr window;
    ResID id = 0;
    DialogItemIndex defaultItem = 0;
    DialogItemIndex cancelItem = 0;
};

struct OpaqueGrafPtr {
    int id = 0;
};

struct OpaqueRgnHandle {
    Rect bounds{};
};

namespace {

struct ShimState {
    std::vector<carbonshim::Call> calls;
    std::map<Handle, std::unique_ptr<Block>> handles;
    std::map<std::pair<ResType, ResID>, std::vector<unsigned char>> resources;
    std::map<std::pair<ResType, ResID>, Handle> loaded;
    GDevice device{{0, 0, 768, 1024}};
    GDevice* devicePtr = &device;
    OpaqueRgnHandle grayRegion{};
    std::vector<EventRecord> modalEvents;
    std::vector<std::unique_ptr<OpaqueDialogPtr>> dialogs;
    OpaqueGrafPtr screenPort{0};
    GrafPtr currentPort = nullptr;
    std::string paramText[4];
    Rect lastDialogBounds{};
    bool newHandleFails = false;
    ShimStartRecorder startRecorder = nullptr;

    ShimState() { reset(); }
    ~ShimState()
    {
        for (auto& entry : handles)
            std::free(entry.second->master);
    }

    void reset()
    {
        calls.clear();
        for (auto& entry : handles)
            std::free(entry.second->master);
        handles.clear();
        loaded.clear();
        resources = carbonshim::CompiledResources();
        device.gdRect = Rect{0, 0, 768, 1024};
        modalEvents.assign(1, EventRecord{nullEvent, 0, 0, {0, 0}, 0});
        dialogs.clear();
        currentPort = &screenPort;
        for (auto& text : paramText)
            text.clear();
        lastDialogBounds = Rect{};
        newHandleFails = false;
        startRecorder = nullptr;
    }
};

ShimState& state()
{
    static ShimState s;
    return s;
}

void record(const char* name, std::string text = std::string(), std::vector<long> values = {})
{
    state().calls.push_back(carbonshim::Call{name, std::move(text), std::move(values)});
}

std::string fromPascal(ConstStr255Param p)
{
    if (p == nullptr)
        return std::string();
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

Block* findBlock(Handle h)
{
    auto it = state().handles.find(h);
    return it == state().handles.end() ? nullptr : it->second.get();
}

Handle allocate(Size size, bool resource)
{
    if (size < 0)
        return nullptr;
    auto block = std::make_unique<Block>();
    block->master = static_cast<Ptr>(std::calloc(static_cast<size_t>(size) + 1, 1));
    if (block->master == nullptr)
        return nullptr;
    block->size = size;
    block->resource = resource;
    Handle h = &block->master;
    state().handles.emplace(h, std::move(block));
    return h;
}

void release(Handle h)
{
    auto& loaded = state().loaded;
    for (auto l = loaded.begin(); l != loaded.end(); ++l) {
        if (l->second == h) {
            loaded.erase(l);
            break;
        }
    }
    auto it = state().handles.find(h);
    if (it == state().handles.end())
        return;
    std::free(it->second->master);
    state().handles.erase(it);
}

OpaqueDialogPtr* findDialog(DialogRef dialog)
{
    for (auto& d : state().dialogs)
        if (d.get() == dialog)
            return d.get();
    return nullptr;
}

// A loaded resource is answered again until it is released.
Handle loadResource(ResType type, ResID id)
{
    auto cached = state().loaded.find({type, id});
    if (cached != state().loaded.end())
        return cached->second;
    auto it = state().resources.find({type, id});
    if (it == state().resources.end())
        return nullptr;
    Handle h = allocate(static_cast<Size>(it->second.size()), true);
    if (h == nullptr)
        return nullptr;
    if (!it->second.empty())
        std::memcpy(*h, it->second.data(), it->second.size());
    state().loaded[{type, id}] = h;
    return h;
}

} // namespace

extern "C" {

Handle NewHandle(Size byteCount)
{
    record("NewHandle", std::string(), {static_cast<long>(byteCount)});
    if (state().newHandleFails)
        return nullptr;
    return allocate(byteCount, false);
}

void DisposeHandle(Handle h)
{
    record("DisposeHandle", findBlock(h) ? std::string() : std::string("unknown handle"));
    release(h);
}

Size GetHandleSize(Handle h)
{
    Block* b = findBlock(h);
    return b ? b->size : 0;
}

void HLock(Handle h)
{
    record("HLock");
    if (Block* b = findBlock(h))
        b->locked = true;
}

void HUnlock(Handle h)
{
    record("HUnlock");
    if (Block* b = findBlock(h))
        b->locked = false;
}

void HNoPurge(Handle h)
{
    record("HNoPurge");
    if (Block* b = findBlock(h))
        b->purgeable = false;
}

void HPurge(Handle h)
{
    record("HPurge");
    if (Block* b = findBlock(h))
        b->purgeable = true;
}

Handle GetResource(ResType type, ResID id)
{
    record("GetResource", std::string(), {static_cast<long>(type), id});
    return loadResource(type, id);
}

StringHandle GetString(ResID id)
{
    record("GetString", std::string(), {id});
    return reinterpret_cast<StringHandle>(loadResource(kResTypeSTR, id));
}

void ReleaseResource(Handle resource)
{
    record("ReleaseResource");
    Block* b = findBlock(resource);
    if (b != nullptr && b->resource)
        release(resource);
}

void NumToString(long number, Str255 text)
{
    if (text == nullptr)
        return;
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%ld", number);
    const int length = std::clamp(n, 0, 255);
    text[0] = static_cast<unsigned char>(length);
    std::memcpy(text + 1, buffer, static_cast<size_t>(length));
}

GDHandle GetMainDevice(void)
{
    record("GetMainDevice");
    return &state().devicePtr;
}

void OffsetRect(Rect* r, int16 dh, int16 dv)
{
    if (r == nullptr)
        return;
    r->left = static_cast<int16>(r->left + dh);
    r->right = static_cast<int16>(r->right + dh);
    r->top = static_cast<int16>(r->top + dv);
    r->bottom = static_cast<int16>(r->bottom + dv);
}

void InsetRect(Rect* r, int16 dh, int16 dv)
{
    if (r == nullptr)
        return;
    r->left = static_cast<int16>(r->left + dh);
    r->right = static_cast<int16>(r->right - dh);
    r->top = static_cast<int16>(r->top + dv);
    r->bottom = static_cast<int16>(r->bottom - dv);
}

RgnHandle GetGrayRgn(void)
{
    state().grayRegion.bounds = state().device.gdRect;
    return &state().grayRegion;
}

Rect* GetRegionBounds(RgnHandle region, Rect* bounds)
{
    if (region == nullptr || bounds == nullptr)
        return bounds;
    *bounds = region->bounds;
    return bounds;
}

WindowPartCode FindWindow(Point where, WindowRef* window)
{
    if (window != nullptr)
        *window = nullptr;
    // The title bar is the 20 pixels above a window's content.
    for (auto it = state().dialogs.rbegin(); it != state().dialogs.rend(); ++it) {
        const Rect& b = (*it)->window.bounds;
        if (where.h >= b.left && where.h < b.right) {
            if (where.v >= b.top - 20 && where.v < b.top) {
                if (window != nullptr)
                    *window = &(*it)->window;
                return inDrag;
            }
            if (where.v >= b.top && where.v < b.bottom) {
                if (window != nullptr)
                    *window = &(*it)->window;
                return inContent;
            }
        }
    }
    return inDesk;
}

void DragWindow(WindowRef window, Point start, const Rect* bounds)
{
    std::vector<long> values{start.v, start.h};
    if (bounds != nullptr)
        values.insert(values.end(), {bounds->top, bounds->left, bounds->bottom, bounds->right});
    record("DragWindow", std::string(), std::move(values));
}

SRefCon GetWRefCon(WindowRef window)
{
    return window != nullptr ? window->refCon : 0;
}

void SetWRefCon(WindowRef window, SRefCon value)
{
    if (window != nullptr)
        window->refCon = value;
}

void GetPort(GrafPtr* port)
{
    if (port != nullptr)
        *port = state().currentPort;
}

void SetPort(GrafPtr port)
{
    state().currentPort = port;
}

void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3)
{
    ShimState& s = state();
    s.paramText[0] = fromPascal(p0);
    s.paramText[1] = fromPascal(p1);
    s.paramText[2] = fromPascal(p2);
    s.paramText[3] = fromPascal(p3);
    record("ParamText", s.paramText[0]);
}

DialogItemIndex CautionAlert(ResID alertId, ModalFilterUPP filter)
{
    const bool present = state().resources.count({kResTypeALRT, alertId}) != 0;
    record("CautionAlert", state().paramText[0], {alertId});
    return present ? 1 : -1;
}

DialogRef GetNewDialog(ResID id, void* storage, WindowRef behind)
{
    record("GetNewDialog", std::string(), {id});
    const bool wasLoaded = state().loaded.count({kResTypeDLOG, id}) != 0;
    Handle templ = loadResource(kResTypeDLOG, id);
    if (templ == nullptr)
        return nullptr;
    auto dialog = std::make_unique<OpaqueDialogPtr>();
    dialog->id = id;
    if (GetHandleSize(templ) >= static_cast<Size>(sizeof(Rect)))
        std::memcpy(&dialog->window.bounds, *templ, sizeof(Rect));
    if (!wasLoaded)
        release(templ);
    state().lastDialogBounds = dialog->window.bounds;
    DialogRef ref = dialog.get();
    state().dialogs.push_back(std::move(dialog));
    return ref;
}

void DisposeDialog(DialogRef dialog)
{
    record("DisposeDialog");
    auto& dialogs = state().dialogs;
    dialogs.erase(std::remove_if(dialogs.begin(), dialogs.end(),
                                 [dialog](const std::unique_ptr<OpaqueDialogPtr>& d) { return d.get() == dialog; }),
                  dialogs.end());
}

OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item)
{
    record("SetDialogDefaultItem", std::string(), {item});
    OpaqueDialogPtr* d = findDialog(dialog);
    if (d == nullptr)
        return paramErr;
    d->defaultItem = item;
    return noErr;
}

OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item)
{
    record("SetDialogCancelItem", std::string(), {item});
    OpaqueDialogPtr* d = findDialog(dialog);
    if (d == nullptr)
        return paramErr;
    d->cancelItem = item;
    return noErr;
}

WindowRef GetDialogWindow(DialogRef dialog)
{
    OpaqueDialogPtr* d = findDialog(dialog);
    return d != nullptr ? &d->window : nullptr;
}

void SetPortDialogPort(DialogRef dialog)
{
    static OpaqueGrafPtr dialogPort{1};
    state().currentPort = &dialogPort;
}

void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit)
{
    record("ModalDialog", std::string(), {filter != nullptr ? 1L : 0L});
    DialogRef front = state().dialogs.empty() ? nullptr : state().dialogs.back().get();
    DialogItemIndex item = 0;
    const std::vector<EventRecord> events = state().modalEvents;
    for (EventRecord event : events) {
        if (filter != nullptr && front != nullptr && filter(front, &event, &item)) {
            if (itemHit != nullptr)
                *itemHit = item;
            return;
        }
    }
    // The user presses the dialog's button.
    if (itemHit != nullptr)
        *itemHit = 1;
}

Boolean StdFilterProc(DialogRef dialog, EventRecord* event, DialogItemIndex* itemHit)
{
    const bool dialogPort = state().currentPort != &state().screenPort;
    record("StdFilterProc", std::string(), {event != nullptr ? static_cast<long>(event->what) : -1L,
                                             dialogPort ? 1L : 0L});
    return false;
}

void ShimSetStartRecorder(ShimStartRecorder recorder)
{
    state().startRecorder = recorder;
}

ShimStartRecorder ShimGetStartRecorder(void)
{
    return state().startRecorder;
}

} // extern "C"

namespace carbonshim {

void Reset()
{
    state().reset();
}

const std::vector<Call>& Calls()
{
    return state().calls;
}

size_t Count(const std::string& name)
{
    const auto& calls = state().calls;
    return static_cast<size_t>(
        std::count_if(calls.begin(), calls.end(), [&name](const Call& c) { return c.name == name; }));
}

std::vector<Call> CallsNamed(const std::string& name)
{
    std::vector<Call> result;
    for (const Call& c : state().calls)
        if (c.name == name)
            result.push_back(c);
    return result;
}

void SetMainDeviceRect(const Rect& r)
{
    state().device.gdRect = r;
}

void SetResource(ResType type, ResID id, const void* bytes, size_t length)
{
    const auto* p = static_cast<const unsigned char*>(bytes);
    state().resources[{type, id}] = std::vector<unsigned char>(p, p + length);
}

void RemoveResource(ResType type, ResID id)
{
    state().resources.erase({type, id});
}

std::vector<unsigned char> PascalBytes(const std::string& text)
{
    const size_t length = std::min<size_t>(text.size(), 255);
    std::vector<unsigned char> bytes(length + 1);
    bytes[0] = static_cast<unsigned char>(length);
    std::memcpy(bytes.data() + 1, text.data(), length);
    return bytes;
}

void SetModalEvents(const std::vector<EventRecord>& events)
{
    state().modalEvents = events;
}

void SetNewHandleFails(bool fails)
{
    state().newHandleFails = fails;
}

size_t LiveHandles()
{
    return state().handles.size();
}

Rect LastDialogBounds()
{
    return state().lastDialogBounds;
}

} // namespace carbonshim
