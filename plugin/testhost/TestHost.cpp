#include "plugin/testhost/TestHost.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace lumiplug_host {

namespace {

Host* g_pHost = nullptr;

Boolean CB_Abort() { return g_pHost ? g_pHost->OnAbort() : false; }
void CB_Progress(int32 done, int32 total)
{
    if (g_pHost)
        g_pHost->OnProgress(done, total);
}
int16 CB_AdvanceState() { return g_pHost ? g_pHost->OnAdvanceState() : static_cast<int16>(paramErr); }
Handle CB_NewHandle(int32 size) { return g_pHost ? g_pHost->OnNewHandle(size) : nullptr; }
void CB_DisposeHandle(Handle h)
{
    if (g_pHost)
        g_pHost->OnDisposeHandle(h);
}
int32 CB_GetHandleSize(Handle h) { return g_pHost ? g_pHost->OnGetHandleSize(h) : 0; }
OSErr CB_SetHandleSize(Handle, int32) { return paramErr; }
Ptr CB_LockHandle(Handle h, Boolean) { return g_pHost ? g_pHost->OnLockHandle(h) : nullptr; }
void CB_UnlockHandle(Handle h)
{
    if (g_pHost)
        g_pHost->OnUnlockHandle(h);
}
void CB_RecoverSpace(int32) {}
SPErr CB_AcquireSuite(const char* name, int32 version, const void** suite)
{
    return g_pHost ? g_pHost->OnAcquireSuite(name, version, suite) : -1;
}
SPErr CB_ReleaseSuite(const char* name, int32 version)
{
    return g_pHost ? g_pHost->OnReleaseSuite(name, version) : -1;
}
void CB_ProcessEvent(void* event)
{
    if (g_pHost)
        g_pHost->OnEvent(event);
}
int CB_Start(const char* const* argv) { return g_pHost ? g_pHost->OnStart(argv) : -1; }

// The host's answer for a suite it does not have ('S!Fd').
constexpr SPErr kSuiteNotFound = 0x53214664;

} // namespace

std::string DefaultModulePath()
{
    const char* overridePath = std::getenv("LUMIPLUG_MODULE");
    if (overridePath != nullptr && overridePath[0] != '\0')
        return overridePath;
    return LUMIPLUG_MODULE_PATH;
}

uint8_t Sample8(int32 x, int32 y, int plane)
{
    return static_cast<uint8_t>((x * 7 + y * 13 + plane * 61) & 0xFF);
}

uint16_t Sample16(int32 x, int32 y, int plane)
{
    // Runs over 0..32768 (both ends) and a few values beyond the host's range.
    // In 64 bits: x * 977 leaves int for widths above two million.
    const int64_t sum = int64_t{x} * 977 + int64_t{y} * 3301 + int64_t{plane} * 10007;
    const int64_t v = (sum % 32800 + 32800) % 32800;
    return static_cast<uint16_t>(v);
}

float Sample32(int32 x, int32 y, int plane)
{
    return static_cast<float>(x) * 0.25f - static_cast<float>(y) * 0.125f + static_cast<float>(plane) * 0.5f;
}

Host* Host::Current()
{
    return g_pHost;
}

Host::Host(const std::string& modulePath)
{
    g_pHost = this;
    m_basicSuite.AcquireSuite = CB_AcquireSuite;
    m_basicSuite.ReleaseSuite = CB_ReleaseSuite;
    m_uiHooks.processEvent = CB_ProcessEvent;
    ShimSetStartRecorder(CB_Start);
    m_pModule = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_pModule == nullptr) {
        const char* error = dlerror();
        m_sLoadError = error ? error : "dlopen failed";
        return;
    }
    m_pEntry = reinterpret_cast<PluginMainProc>(dlsym(m_pModule, "PluginMain"));
    if (m_pEntry == nullptr) {
        m_sLoadError = "no PluginMain";
        dlclose(m_pModule);
        m_pModule = nullptr;
    }
    PrepareRecord();
}

Host::~Host()
{
    Unload();
    for (auto& entry : m_handles) {
        std::free(entry.second->master);
        delete entry.second;
    }
    ShimSetStartRecorder(nullptr);
    if (g_pHost == this)
        g_pHost = nullptr;
}

void Host::Unload()
{
    if (m_pModule != nullptr) {
        dlclose(m_pModule);
        m_pModule = nullptr;
        m_pEntry = nullptr;
    }
}

void Host::PrepareRecord()
{
    std::memset(&m_handleProcs, 0, sizeof m_handleProcs);
    m_handleProcs.handleProcsVersion = handleConfig.version;
    m_handleProcs.numHandleProcs = handleConfig.count;
    m_handleProcs.newProc = CB_NewHandle;
    m_handleProcs.disposeProc = CB_DisposeHandle;
    m_handleProcs.getSizeProc = CB_GetHandleSize;
    m_handleProcs.setSizeProc = handleConfig.setSize ? CB_SetHandleSize : nullptr;
    m_handleProcs.lockProc = handleConfig.lock ? CB_LockHandle : nullptr;
    m_handleProcs.unlockProc = handleConfig.unlock ? CB_UnlockHandle : nullptr;
    m_handleProcs.recoverSpaceProc = CB_RecoverSpace;
    m_handleProcs.disposeRegularHandleProc = CB_DisposeHandle;

    std::memset(&record, 0, sizeof record);
    record.abortProc = offerAbortProc ? CB_Abort : nullptr;
    record.progressProc = offerProgressProc ? CB_Progress : nullptr;
    record.maxData = maxData;
    record.imageMode = image.mode;
    record.depth = image.depth;
    record.planes = image.planes;
    const size_t length = image.document.size() < 255 ? image.document.size() : 255;
    record.filename[0] = static_cast<unsigned char>(length);
    std::memcpy(record.filename + 1, image.document.data(), length);
    record.handleProcs = handleConfig.offered ? &m_handleProcs : nullptr;
    record.advanceState = offerAdvanceState ? CB_AdvanceState : nullptr;
    record.sSPBasic = offerBasicSuite ? &m_basicSuite : nullptr;
    record.HostSupports32BitCoordinates = hostSupports32BitCoordinates;
    record.imageSize32.v = image.height;
    record.imageSize32.h = image.width;

    std::memset(&aboutRecord, 0, sizeof aboutRecord);
    aboutRecord.sSPBasic = offerBasicSuite ? &m_basicSuite : nullptr;

    requests.clear();
    progress.clear();
    abortChecks = 0;
    starts.clear();
}

int16 Host::CallWithRecord(int16 selector, void* rec, intptr_t* data, int16* result)
{
    if (m_pEntry == nullptr)
        return paramErr;
    ShimSetStartRecorder(recordStarts ? CB_Start : nullptr);
    m_pEntry(selector, rec, data, result);
    return result != nullptr ? *result : static_cast<int16>(noErr);
}

int16 Host::Call(int16 selector)
{
    int16 result = 0x7FFF;  // the plug-in must overwrite it
    void* rec = selector == exportSelectorAbout ? static_cast<void*>(&aboutRecord) : static_cast<void*>(&record);
    return CallWithRecord(selector, rec, &dataSlot, &result);
}

int16 Host::About()
{
    return Call(exportSelectorAbout);
}

Host::ExportResult Host::Export()
{
    ExportResult r;
    r.prepare = Call(exportSelectorPrepare);
    if (r.prepare != noErr)
        return r;
    r.start = Call(exportSelectorStart);
    r.finish = Call(exportSelectorFinish);
    return r;
}

const SGlobals* Host::Globals() const
{
    if (dataSlot == 0)
        return nullptr;
    Handle h = reinterpret_cast<Handle>(dataSlot);
    return reinterpret_cast<const SGlobals*>(*h);
}

Boolean Host::OnAbort()
{
    const bool abort = abortChecks == abortAtCheck;
    ++abortChecks;
    return abort;
}

void Host::OnProgress(int32 done, int32 total)
{
    progress.emplace_back(done, total);
    if (static_cast<int>(progress.size()) - 1 == throwAtProgress)
        throw std::runtime_error("host failure inside a callback");
}

int16 Host::OnAdvanceState()
{
    const int index = static_cast<int>(requests.size());
    const VRect r = record.theRect32;
    requests.push_back(Request{r, record.loPlane, record.hiPlane});
    record.data = nullptr;
    record.rowBytes = 0;
    if (index == failAtChunk)
        return failCode;
    // A real host refuses what lies outside its image.
    if (r.top < 0 || r.left < 0 || r.bottom > image.height || r.right > image.width || r.top >= r.bottom ||
        r.left >= r.right || record.loPlane < 0 || record.hiPlane >= image.planes || record.loPlane > record.hiPlane)
        return paramErr;
    const int planes = record.hiPlane - record.loPlane + 1;
    const size_t sampleBytes = image.depth == 8 ? 1 : (image.depth == 16 ? 2 : 4);
    const size_t rowBytes = static_cast<size_t>(r.right - r.left) * static_cast<size_t>(planes) * sampleBytes;
    const size_t rows = static_cast<size_t>(r.bottom - r.top);
    m_chunk.assign(rowBytes * rows, 0);
    unsigned char* out = m_chunk.data();
    for (int32 y = r.top; y < r.bottom; ++y) {
        for (int32 x = r.left; x < r.right; ++x) {
            for (int p = record.loPlane; p <= record.hiPlane; ++p) {
                if (image.depth == 8) {
                    *out = sample ? static_cast<uint8_t>(sample(x, y, p)) : Sample8(x, y, p);
                } else if (image.depth == 16) {
                    const uint16_t v = sample ? static_cast<uint16_t>(sample(x, y, p)) : Sample16(x, y, p);
                    std::memcpy(out, &v, sizeof v);
                } else {
                    const float v = sample ? static_cast<float>(sample(x, y, p)) : Sample32(x, y, p);
                    std::memcpy(out, &v, sizeof v);
                }
                out += sampleBytes;
            }
        }
    }
    record.data = m_chunk.data();
    record.rowBytes = static_cast<int32>(rowBytes) - rowBytesShortBy;
    return noErr;
}

Handle Host::OnNewHandle(int32 size)
{
    ++handleStats.news;
    if (handleConfig.newFails || size < 0)
        return nullptr;
    Block* block = new Block{static_cast<Ptr>(std::calloc(static_cast<size_t>(size) + 1, 1)), size};
    Handle h = &block->master;
    m_handles[h] = block;
    ++handleStats.live;
    return h;
}

void Host::OnDisposeHandle(Handle h)
{
    ++handleStats.disposes;
    auto it = m_handles.find(h);
    if (it == m_handles.end())
        return;
    std::free(it->second->master);
    delete it->second;
    m_handles.erase(it);
    --handleStats.live;
}

Ptr Host::OnLockHandle(Handle h)
{
    ++handleStats.locks;
    if (handleConfig.lockFails || m_handles.count(h) == 0)
        return nullptr;
    return *h;
}

void Host::OnUnlockHandle(Handle h)
{
    ++handleStats.unlocks;
}

int32 Host::OnGetHandleSize(Handle h)
{
    auto it = m_handles.find(h);
    return it == m_handles.end() ? 0 : it->second->size;
}

SPErr Host::OnAcquireSuite(const char* name, int32 version, const void** suite)
{
    ++acquires;
    if (suite == nullptr)
        return kSuiteNotFound;
    *suite = nullptr;
    if (!offerUIHooks || name == nullptr || std::strcmp(name, kPSUIHooksSuite) != 0 ||
        version != kPSUIHooksSuiteVersion1)
        return kSuiteNotFound;
    *suite = &m_uiHooks;
    return 0;
}

SPErr Host::OnReleaseSuite(const char* name, int32 version)
{
    ++releases;
    return 0;
}

void Host::OnEvent(void* event)
{
    const auto* e = static_cast<const EventRecord*>(event);
    hostEvents.push_back(e != nullptr ? e->what : -1);
}

int Host::OnStart(const char* const* argv)
{
    std::vector<std::string> args;
    for (const char* const* a = argv; a != nullptr && *a != nullptr; ++a)
        args.emplace_back(*a);
    starts.push_back(args);
    if (onStart)
        onStart(args);
    return startAnswer;
}

} // namespace lumiplug_host
