// Entry point and selector dispatch, driven through the test host.

#include "pluginfixture.h"

#include <cstring>

using lumiplug_host::Host;
using plugintest::PluginTest;

namespace {

class EntryTest : public PluginTest {};

TEST_F(EntryTest, PrepareCapsMaxDataAndSetsCoordinates)
{
    struct Case {
        int32 maxData;
        int32 expected;
    };
    for (const Case c : {Case{1000000, 524288}, Case{100000, 100000}, Case{524288, 524288}}) {
        Host host;
        ASSERT_TRUE(host.Loaded()) << host.LoadError();
        host.maxData = c.maxData;
        host.PrepareRecord();
        EXPECT_EQ(host.Call(exportSelectorPrepare), noErr);
        EXPECT_EQ(host.record.maxData, c.expected);
        EXPECT_EQ(host.record.PluginUsing32BitCoordinates, 1);
    }
}

TEST_F(EntryTest, PrepareRefusesHostsAndImagesItCannotServe)
{
    struct Case {
        const char* name;
        int32 coordinates;
        int16 mode;
        int16 depth;
        int16 planes;
        int16 expected;
    };
    const Case cases[] = {
        {"32-bit coordinates 2", 2, plugInModeRGBColor, 8, 3, paramErr},
        {"no 32-bit coordinates", 0, plugInModeRGBColor, 8, 3, paramErr},
        {"CMYK", 1, plugInModeCMYKColor, 8, 4, exportBadMode},
        {"indexed", 1, plugInModeIndexedColor, 8, 1, exportBadMode},
        {"RGB with two planes", 1, plugInModeRGBColor, 8, 2, exportBadMode},
        {"bitmap", 1, plugInModeBitmap, 1, 1, exportBadMode},
        {"grey 32", 1, plugInModeGray32, 32, 1, noErr},
    };
    for (const Case& c : cases) {
        Host host;
        host.hostSupports32BitCoordinates = c.coordinates;
        host.image.mode = c.mode;
        host.image.depth = c.depth;
        host.image.planes = c.planes;
        host.PrepareRecord();
        EXPECT_EQ(host.Call(exportSelectorPrepare), c.expected) << c.name;
        // A refused prepare leaves the record as it was.
        EXPECT_EQ(host.record.maxData, c.expected == noErr ? 524288 : 1000000) << c.name;
        EXPECT_EQ(host.record.PluginUsing32BitCoordinates, c.expected == noErr ? 1 : 0) << c.name;
    }
}

TEST_F(EntryTest, ContinueAnswersParamErrWithAnEmptyRectangle)
{
    Host host;
    host.record.theRect32 = VRect{1, 2, 3, 4};
    EXPECT_EQ(host.Call(exportSelectorContinue), paramErr);
    EXPECT_EQ(host.record.theRect32.top, 0);
    EXPECT_EQ(host.record.theRect32.left, 0);
    EXPECT_EQ(host.record.theRect32.bottom, 0);
    EXPECT_EQ(host.record.theRect32.right, 0);
    EXPECT_EQ(host.Call(exportSelectorFinish), noErr);
    EXPECT_EQ(host.Call(7), noErr);  // unknown selectors run nothing
    EXPECT_EQ(host.handleStats.locks, host.handleStats.unlocks);
}

TEST_F(EntryTest, MissingArgumentsAreIgnored)
{
    Host host;
    int16 result = 77;
    intptr_t slot = 0;
    host.CallWithRecord(exportSelectorPrepare, nullptr, &slot, &result);
    host.CallWithRecord(exportSelectorPrepare, &host.record, nullptr, &result);
    EXPECT_EQ(result, 77);
    host.CallWithRecord(exportSelectorPrepare, &host.record, &slot, nullptr);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(host.handleStats.news, 0);
    EXPECT_EQ(host.record.maxData, 1000000);
}

TEST_F(EntryTest, GlobalsAreCreatedOnceAndReused)
{
    Host host;
    EXPECT_EQ(host.Call(exportSelectorPrepare), noErr);
    ASSERT_NE(host.dataSlot, 0);
    const intptr_t slot = host.dataSlot;
    const SGlobals* globals = host.Globals();
    ASSERT_NE(globals, nullptr);
    EXPECT_EQ(globals->fileDescriptor, -1);
    EXPECT_EQ(globals->buffer, nullptr);
    EXPECT_EQ(globals->record, &host.record);
    for (char c : globals->path)
        EXPECT_EQ(c, '\0');
    EXPECT_EQ(host.handleStats.news, 1);
    EXPECT_EQ(host.handleStats.locks, 1);
    EXPECT_EQ(host.handleStats.unlocks, 1);

    // A mark that the initialiser would wipe survives the next calls.
    const_cast<SGlobals*>(globals)->path[200] = 'Z';
    EXPECT_EQ(host.Call(exportSelectorFinish), noErr);
    EXPECT_EQ(host.dataSlot, slot);
    EXPECT_EQ(globals->path[200], 'Z');
    EXPECT_EQ(host.handleStats.news, 1);

    // Two whole exports with the same slot.
    for (int i = 0; i < 2; ++i) {
        const Host::ExportResult r = host.Export();
        EXPECT_EQ(r.prepare, noErr);
        EXPECT_EQ(r.start, noErr);
        EXPECT_EQ(r.finish, noErr);
    }
    EXPECT_EQ(host.dataSlot, slot);
    EXPECT_EQ(host.handleStats.news, 1);
    EXPECT_EQ(host.handleStats.disposes, 0);
    EXPECT_EQ(host.handleStats.locks, host.handleStats.unlocks);
    EXPECT_EQ(globals->fileDescriptor, -1);
    EXPECT_EQ(globals->buffer, nullptr);
}

TEST_F(EntryTest, NoGlobalsGivesOutOfMemory)
{
    {
        Host host;
        host.handleConfig.newFails = true;
        host.PrepareRecord();
        EXPECT_EQ(host.Call(exportSelectorPrepare), memFullErr);
        EXPECT_EQ(host.dataSlot, 0);
        EXPECT_EQ(host.record.maxData, 1000000);  // no handler ran
    }
    {
        // A new handle that cannot be locked is freed.
        Host host;
        host.handleConfig.lockFails = true;
        host.PrepareRecord();
        EXPECT_EQ(host.Call(exportSelectorPrepare), memFullErr);
        EXPECT_EQ(host.dataSlot, 0);
        EXPECT_EQ(host.handleStats.disposes, 1);
        EXPECT_EQ(host.handleStats.live, 0);
        EXPECT_EQ(host.handleStats.unlocks, 0);
    }
    {
        // An existing one stays in the slot.
        Host host;
        EXPECT_EQ(host.Call(exportSelectorPrepare), noErr);
        const intptr_t slot = host.dataSlot;
        host.handleConfig.lockFails = true;
        EXPECT_EQ(host.Call(exportSelectorStart), memFullErr);
        EXPECT_EQ(host.dataSlot, slot);
        EXPECT_EQ(host.handleStats.disposes, 0);
        EXPECT_TRUE(host.starts.empty());
    }
}

TEST_F(EntryTest, IncompleteHandleProceduresFallBackToTheMemoryManager)
{
    struct Case {
        const char* name;
        void (*configure)(lumiplug_host::HandleProcsConfig&);
        bool hostProcs;
    };
    const Case cases[] = {
        {"complete", [](lumiplug_host::HandleProcsConfig&) {}, true},
        {"version 2", [](lumiplug_host::HandleProcsConfig& c) { c.version = 2; }, false},
        {"count 7", [](lumiplug_host::HandleProcsConfig& c) { c.count = 7; }, false},
        {"no set size", [](lumiplug_host::HandleProcsConfig& c) { c.setSize = false; }, false},
        {"no lock", [](lumiplug_host::HandleProcsConfig& c) { c.lock = false; }, false},
        {"no unlock", [](lumiplug_host::HandleProcsConfig& c) { c.unlock = false; }, false},
        {"no record", [](lumiplug_host::HandleProcsConfig& c) { c.offered = false; }, false},
    };
    for (const Case& c : cases) {
        carbonshim::Reset();
        Host host;
        c.configure(host.handleConfig);
        host.PrepareRecord();
        const Host::ExportResult r = host.Export();
        EXPECT_EQ(r.prepare, noErr) << c.name;
        EXPECT_EQ(r.start, noErr) << c.name;
        EXPECT_EQ(host.handleStats.news, c.hostProcs ? 1 : 0) << c.name;
        EXPECT_EQ(host.handleStats.locks, c.hostProcs ? 3 : 0) << c.name;
        EXPECT_EQ(host.handleStats.unlocks, c.hostProcs ? 3 : 0) << c.name;
        EXPECT_EQ(carbonshim::Count("NewHandle"), c.hostProcs ? 0u : 1u) << c.name;
        EXPECT_EQ(carbonshim::Count("HLock"), c.hostProcs ? 0u : 3u) << c.name;
        EXPECT_EQ(carbonshim::Count("HUnlock"), c.hostProcs ? 0u : 3u) << c.name;
        if (!c.hostProcs)
            DisposeHandle(reinterpret_cast<Handle>(host.dataSlot));
    }
}

TEST_F(EntryTest, AboutBoxRunsWithTheHostsEventProcedure)
{
    Host host;
    EXPECT_EQ(host.About(), noErr);
    EXPECT_EQ(host.dataSlot, 0);  // the about box needs no globals
    EXPECT_EQ(host.handleStats.news, 0);
    EXPECT_EQ(carbonshim::Count("GetNewDialog"), 1u);
    EXPECT_EQ(carbonshim::Count("ModalDialog"), 1u);
    EXPECT_EQ(carbonshim::Count("DisposeDialog"), 1u);
    EXPECT_EQ(carbonshim::Count("SetDialogDefaultItem"), 1u);
    EXPECT_EQ(carbonshim::Count("SetDialogCancelItem"), 1u);
    const auto text = carbonshim::CallsNamed("ParamText");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_NE(text[0].text.find("Lumiplug"), std::string::npos);
    // The 360 x 160 template centred on 1024 x 768.
    const Rect bounds = carbonshim::LastDialogBounds();
    EXPECT_EQ(bounds.left, 332);
    EXPECT_EQ(bounds.top, 216);
    EXPECT_EQ(bounds.right, 692);
    EXPECT_EQ(bounds.bottom, 376);
    // The null event reached the host, and the standard filter ran in the dialog's port.
    EXPECT_EQ(host.hostEvents, std::vector<int>{nullEvent});
    const auto filter = carbonshim::CallsNamed("StdFilterProc");
    ASSERT_EQ(filter.size(), 1u);
    EXPECT_EQ(filter[0].values.at(1), 1);
    EXPECT_EQ(carbonshim::LiveHandles(), 0u);
    EXPECT_EQ(host.acquires, 1);

    // The second about box reuses the suite; unloading releases it once.
    EXPECT_EQ(host.About(), noErr);
    EXPECT_EQ(host.acquires, 1);
    EXPECT_EQ(host.releases, 0);
    EXPECT_EQ(host.hostEvents.size(), 2u);
    host.Unload();
    EXPECT_EQ(host.releases, 1);
}

TEST_F(EntryTest, AboutFilterDragsTheWindowAndPassesOtherWindowsEvents)
{
    Host host;
    // The dialog's title bar lies above its content at (216, 332).
    std::vector<EventRecord> events;
    events.push_back(EventRecord{mouseDown, 0, 0, {210, 400}, 0});
    events.push_back(EventRecord{updateEvt, 0, 0, {0, 0}, 0});
    events.push_back(EventRecord{keyDown, 0, 0, {0, 0}, 0});
    events.push_back(EventRecord{activateEvt, 0, 0, {0, 0}, 0});
    carbonshim::SetModalEvents(events);
    EXPECT_EQ(host.About(), noErr);
    const auto drags = carbonshim::CallsNamed("DragWindow");
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0].values, (std::vector<long>{210, 400, 4, 4, 764, 1020}));
    // The drag became a null event; the key stays with the dialog.
    EXPECT_EQ(host.hostEvents, (std::vector<int>{nullEvent, updateEvt, activateEvt}));
}

TEST_F(EntryTest, AboutBoxWithoutUiHooksRunsWithoutTheHost)
{
    Host host;
    host.offerUIHooks = false;
    EXPECT_EQ(host.About(), noErr);
    EXPECT_EQ(carbonshim::Count("ModalDialog"), 1u);
    EXPECT_TRUE(host.hostEvents.empty());
    EXPECT_EQ(host.About(), noErr);
    EXPECT_EQ(host.acquires, 2);  // each use tries again
    host.Unload();
    EXPECT_EQ(host.releases, 0);

    Host noSuite;
    noSuite.offerBasicSuite = false;
    noSuite.PrepareRecord();
    EXPECT_EQ(noSuite.About(), noErr);
    EXPECT_EQ(noSuite.acquires, 0);
}

TEST_F(EntryTest, AboutBoxWithoutItsResourcesAnswersParamMissed)
{
    for (ResType type : {kResTypeSTR, kResTypeDLOG}) {
        carbonshim::Reset();
        carbonshim::RemoveResource(type, 16000);
        Host host;
        EXPECT_EQ(host.About(), errAEParamMissed);
        EXPECT_EQ(carbonshim::Count("GetNewDialog"), 0u);
        EXPECT_EQ(carbonshim::Count("ModalDialog"), 0u);
        EXPECT_EQ(carbonshim::LiveHandles(), 0u);
    }
}

} // namespace
