#pragma once
// A host editor in miniature that loads Lumiplug with dlopen and drives it:
// it synthesises an image of any supported mode, depth, plane count and size,
// serves the plug-in's data requests chunk by chunk, records progress, aborts,
// handle-procedure and suite use and the start of Lumivex, and can inject an
// abort or a failure at a chosen chunk. One host exists at a time.

#include "plugin/DataGlobal.h"
#include "plugin/host/CarbonShim.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lumiplug_host {

// The plug-in module that the build made.
std::string DefaultModulePath();

struct ImageSetup {
    int16 mode = plugInModeRGBColor;
    int16 depth = 8;
    int16 planes = 3;
    int32 width = 4;
    int32 height = 3;
    std::string document = "Test Image.psd";
};

// The synthesised image, plane p of pixel (x, y) as the host stores it:
// 8-bit values, 16-bit values in the host's range 0..32768 (both ends occur),
// and floats that include negative values and values above 1.
uint8_t Sample8(int32 x, int32 y, int plane);
uint16_t Sample16(int32 x, int32 y, int plane);
float Sample32(int32 x, int32 y, int plane);

struct Request {
    VRect rect;
    int16 loPlane;
    int16 hiPlane;
};

struct HandleProcsConfig {
    bool offered = true;   // false: the record carries no handle procedures
    int16 version = 1;
    uint16 count = 8;
    bool setSize = true;   // false: the set-size procedure is missing
    bool lock = true;      // false: the lock procedure is missing
    bool unlock = true;    // false: the unlock procedure is missing
    bool newFails = false; // the new-handle procedure answers NULL
    bool lockFails = false;// the lock procedure answers NULL
};

struct HandleStats {
    int news = 0;
    int locks = 0;
    int unlocks = 0;
    int disposes = 0;
    int live = 0;
};

class Host {
public:
    explicit Host(const std::string& modulePath = DefaultModulePath());
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    bool Loaded() const { return m_pModule != nullptr; }
    const std::string& LoadError() const { return m_sLoadError; }
    // Unloads the module (dlclose) while the host's suites are still valid.
    void Unload();

    // What the host offers and how it misbehaves; set before PrepareRecord.
    ImageSetup image;
    HandleProcsConfig handleConfig;
    bool offerAdvanceState = true;
    bool offerAbortProc = true;
    bool offerProgressProc = true;
    bool offerBasicSuite = true;
    bool offerUIHooks = true;
    int32 maxData = 1000000;
    int32 hostSupports32BitCoordinates = 1;
    int abortAtCheck = -1;  // abortProc answers true at this call (0-based)
    int failAtChunk = -1;   // advanceState answers failCode at this request (0-based)
    int16 failCode = -1;
    int32 rowBytesShortBy = 0;
    int throwAtProgress = -1;  // progressProc throws at this call (0-based)
    bool recordStarts = true;  // false: the plug-in really starts the program
    int startAnswer = 0;       // what the recorder answers
    // Called by the recorder with the argument vector, before it answers.
    std::function<void(const std::vector<std::string>&)> onStart;
    // Replaces the synthesised samples (converted to the image's depth).
    std::function<double(int32 x, int32 y, int plane)> sample;

    // Builds the export record from the settings above and resets the records.
    void PrepareRecord();
    // One call of the entry point with the current record (or the about record).
    int16 Call(int16 selector);
    int16 CallWithRecord(int16 selector, void* record, intptr_t* data, int16* result);
    int16 About();
    struct ExportResult {
        int16 prepare = 0;
        int16 start = 0;
        int16 finish = 0;
    };
    // prepare, start and finish, as the host drives an export; start only
    // when prepare succeeded.
    ExportResult Export();

    ExportRecord record{};
    AboutRecord aboutRecord{};
    intptr_t dataSlot = 0;
    // The plug-in's globals in the handle of the data slot (host memory).
    const SGlobals* Globals() const;

    // Records.
    std::vector<Request> requests;
    std::vector<std::pair<int32, int32>> progress;
    int abortChecks = 0;
    HandleStats handleStats;
    int acquires = 0;
    int releases = 0;
    std::vector<int> hostEvents;  // event kinds passed to the host's event procedure
    std::vector<std::vector<std::string>> starts;

    // Internal: the callbacks reach the host through this.
    static Host* Current();
    Boolean OnAbort();
    void OnProgress(int32 done, int32 total);
    int16 OnAdvanceState();
    Handle OnNewHandle(int32 size);
    void OnDisposeHandle(Handle h);
    Ptr OnLockHandle(Handle h);
    void OnUnlockHandle(Handle h);
    int32 OnGetHandleSize(Handle h);
    SPErr OnAcquireSuite(const char* name, int32 version, const void** suite);
    SPErr OnReleaseSuite(const char* name, int32 version);
    void OnEvent(void* event);
    int OnStart(const char* const* argv);

private:
    void* m_pModule = nullptr;
    PluginMainProc m_pEntry = nullptr;
    std::string m_sLoadError;
    HandleProcs m_handleProcs{};
    SPBasicSuite m_basicSuite{};
    PSUIHooksSuite1 m_uiHooks{};
    std::vector<unsigned char> m_chunk;
    struct Block {
        Ptr master;
        int32 size;
    };
    std::map<Handle, Block*> m_handles;
};

} // namespace lumiplug_host
