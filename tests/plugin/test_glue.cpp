// Host interface glue: Pascal strings, number formatting, dialog centring,
// the choice of handle procedures, the globals block and the result word.

#include "pluginfixture.h"

#include "plugin/Common.h"
#include "plugin/DialogUtilities.h"
#include "plugin/PIUtilities.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct PString {
    Str255 bytes{};
    explicit PString(const std::string& text = std::string())
    {
        const size_t n = std::min<size_t>(text.size(), 255);
        bytes[0] = static_cast<unsigned char>(n);
        text.copy(reinterpret_cast<char*>(bytes + 1), n);
    }
    std::string str() const { return std::string(reinterpret_cast<const char*>(bytes + 1), bytes[0]); }
};

TEST(PascalStringTest, AppendStringStaysWithinTheBuffer)
{
    PString destination(std::string(100, 'a'));
    const PString source(std::string(200, 'b'));
    AppendString(destination.bytes, source.bytes, 1, 200);
    EXPECT_EQ(destination.bytes[0], 254);
    EXPECT_EQ(destination.bytes[255], 0);
    EXPECT_EQ(destination.str(), std::string(100, 'a') + std::string(154, 'b'));

    struct Case {
        std::string destination;
        std::string source;
        int16 start;
        int16 count;
        std::string expected;
    };
    const Case cases[] = {
        {"ab", "cdef", 2, 2, "abde"},
        {"ab", "cdef", 1, 0, "ab"},
        {"ab", "cdef", 1, -3, "ab"},
        // Only characters that the source holds are taken.
        {"ab", "cdef", 3, 100, "abef"},
        {"ab", "cdef", 5, 1, "ab"},
        {"ab", "cdef", 0, 2, "ab"},
        {"", "", 1, 5, ""},
    };
    for (const Case& c : cases) {
        PString d(c.destination);
        const PString s(c.source);
        AppendString(d.bytes, s.bytes, c.start, c.count);
        EXPECT_EQ(d.str(), c.expected) << c.destination << " + " << c.source;
        EXPECT_EQ(d.bytes[1 + d.bytes[0]], 0);
    }
}

TEST(PascalStringTest, ParamTextReplacesMarkers)
{
    struct Case {
        std::string text;
        const char* s0;
        const char* s1;
        const char* s2;
        std::string expected;
    };
    const Case cases[] = {
        {"Version ^1 oder neuer", nullptr, "3.0", nullptr, "Version 3.0 oder neuer"},
        {"^0a^1b^2", nullptr, "", nullptr, "ab"},
        {"x^3y^", "A", "B", "C", "x^3y^"},
        {"^0^1^2", "A", "B", "C", "ABC"},
        {"^1 und ^1", nullptr, "z", nullptr, "z und z"},
        // A replacement is not scanned again.
        {"[^1]", "zero", "^0", nullptr, "[^0]"},
    };
    for (const Case& c : cases) {
        PString text(c.text);
        const PString s0(c.s0 ? c.s0 : ""), s1(c.s1 ? c.s1 : ""), s2(c.s2 ? c.s2 : "");
        PIParamText(text.bytes, c.s0 ? s0.bytes : nullptr, c.s1 ? s1.bytes : nullptr, c.s2 ? s2.bytes : nullptr);
        EXPECT_EQ(text.str(), c.expected) << c.text;
    }

    PString longText(std::string(250, 'x') + "^1");
    const PString version(std::string(20, 'v'));
    PIParamText(longText.bytes, nullptr, version.bytes, nullptr);
    EXPECT_EQ(longText.bytes[0], 254);
}

TEST(PascalStringTest, DoubleToString)
{
    struct Case {
        double value;
        int16 decimals;
        std::string expected;
    };
    const Case cases[] = {
        {3.0, 1, "3.0"},   {1.5, 2, "1.5"},     {1.25, 2, "1.25"}, {0.05, 1, "0.1"},
        {2.96, 1, "3.0"},  {12.0, 3, "12.0"},   {0.0, 1, "0.0"},   {1e12, 1, "4294967295.0"},
        {-2.5, 1, "0.0"},  {7.125, 0, "7.1"},
    };
    for (const Case& c : cases) {
        Str255 out;
        DoubleToString(out, c.value, c.decimals);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out + 1), out[0]), c.expected) << c.value;
    }
    Str255 out;
    DoubleToString(out, std::numeric_limits<double>::quiet_NaN(), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out + 1), out[0]), "0.0");
    DoubleToString(out, 1.0 / 3.0, 32000);
    EXPECT_LE(out[0], 254);
    EXPECT_EQ(power(10, 3), 1000.0);
    EXPECT_EQ(power(7, 0), 1.0);
}

TEST(DialogTest, CenterDialogOnTheMainScreen)
{
    struct Case {
        Rect screen;
        Rect templ;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 768, 1024}, {0, 0, 200, 300}, {202, 362, 402, 662}},
        {{0, 0, 768, 1024}, {50, 60, 250, 360}, {202, 362, 402, 662}},
        {{0, 0, 800, 1280}, {0, 0, 300, 400}, {180, 440, 480, 840}},
        // Larger than the screen: the divisions truncate toward zero.
        {{0, 0, 100, 100}, {0, 0, 200, 301}, {-20, -100, 180, 201}},
    };
    for (const Case& c : cases) {
        carbonshim::Reset();
        carbonshim::SetMainDeviceRect(c.screen);
        Handle h = NewHandle(sizeof(Rect));
        ASSERT_NE(h, nullptr);
        std::memcpy(*h, &c.templ, sizeof(Rect));
        CenterDialog(h);
        Rect r;
        std::memcpy(&r, *h, sizeof(Rect));
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.bottom, c.expected.bottom);
        EXPECT_EQ(r.right, c.expected.right);
        DisposeHandle(h);
    }
    carbonshim::Reset();
    CenterDialog(nullptr);  // nothing to centre
}

Handle dummyNew(int32) { return nullptr; }
void dummyDispose(Handle) {}
int32 dummySize(Handle) { return 0; }
OSErr dummySetSize(Handle, int32) { return 0; }
Ptr dummyLock(Handle, Boolean) { return nullptr; }
void dummyUnlock(Handle) {}

TEST(HandleProcsTest, HostProceduresAreUsedOnlyWhenComplete)
{
    auto full = [] {
        HandleProcs p{};
        p.handleProcsVersion = 1;
        p.numHandleProcs = 8;
        p.newProc = dummyNew;
        p.disposeProc = dummyDispose;
        p.getSizeProc = dummySize;
        p.setSizeProc = dummySetSize;
        p.lockProc = dummyLock;
        p.unlockProc = dummyUnlock;
        return p;
    };
    struct Case {
        const char* name;
        void (*change)(HandleProcs&);
        bool available;
        bool newer;
    };
    const Case cases[] = {
        {"complete", [](HandleProcs&) {}, true, false},
        {"version 2", [](HandleProcs& p) { p.handleProcsVersion = 2; }, false, true},
        {"version 0", [](HandleProcs& p) { p.handleProcsVersion = 0; }, false, false},
        {"count 7", [](HandleProcs& p) { p.numHandleProcs = 7; }, false, false},
        {"count 12", [](HandleProcs& p) { p.numHandleProcs = 12; }, true, false},
        {"no new", [](HandleProcs& p) { p.newProc = nullptr; }, false, false},
        {"no dispose", [](HandleProcs& p) { p.disposeProc = nullptr; }, false, false},
        {"no get size", [](HandleProcs& p) { p.getSizeProc = nullptr; }, false, false},
        {"no set size", [](HandleProcs& p) { p.setSizeProc = nullptr; }, false, false},
        {"no lock", [](HandleProcs& p) { p.lockProc = nullptr; }, false, false},
        {"no unlock", [](HandleProcs& p) { p.unlockProc = nullptr; }, false, false},
    };
    for (const Case& c : cases) {
        HandleProcs procs = full();
        c.change(procs);
        Boolean newer = false;
        EXPECT_EQ(HostHandleProcsAvailable(&procs, &newer) != 0, c.available) << c.name;
        EXPECT_EQ(newer != 0, c.newer) << c.name;
        EXPECT_EQ(HostHandleProcsAvailable(&procs, nullptr) != 0, c.available) << c.name;
    }
    EXPECT_FALSE(HostHandleProcsAvailable(nullptr, nullptr));
}

int g_initCalls = 0;
void countingInit(Ptr block)
{
    ++g_initCalls;
    reinterpret_cast<SGlobals*>(block)->fileDescriptor = -1;
}

TEST(GlobalsTest, AllocateGlobalsWithTheMemoryManager)
{
    carbonshim::Reset();
    g_initCalls = 0;
    intptr_t slot = 0;
    int16 result = 55;
    ExportRecord record{};
    Ptr block = AllocateGlobals(&result, &record, nullptr, sizeof(SGlobals), &slot, countingInit);
    ASSERT_NE(block, nullptr);
    EXPECT_NE(slot, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_initCalls, 1);
    const SGlobals* globals = reinterpret_cast<const SGlobals*>(block);
    EXPECT_EQ(globals->result, &result);
    EXPECT_EQ(globals->record, &record);

    // The second call reuses the block without initialising it again.
    int16 second = 9;
    ExportRecord other{};
    HostUnlockHandle(nullptr, reinterpret_cast<Handle>(slot));
    Ptr again = AllocateGlobals(&second, &other, nullptr, sizeof(SGlobals), &slot, countingInit);
    EXPECT_EQ(again, block);
    EXPECT_EQ(g_initCalls, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(globals->record, &other);
    EXPECT_EQ(carbonshim::Count("NewHandle"), 1u);
    EXPECT_EQ(carbonshim::Count("HLock"), 2u);

    HostDisposeHandle(nullptr, reinterpret_cast<Handle>(slot));
    EXPECT_EQ(carbonshim::LiveHandles(), 0u);

    carbonshim::SetNewHandleFails(true);
    intptr_t empty = 0;
    EXPECT_EQ(AllocateGlobals(&result, &record, nullptr, sizeof(SGlobals), &empty, countingInit), nullptr);
    EXPECT_EQ(empty, 0);
    carbonshim::Reset();
}

TEST(GlobalsTest, CheckStoreKeepsTheFirstFailure)
{
    int16 result = 0;
    SGlobals globals{};
    globals.result = &result;
    EXPECT_TRUE(CheckStore(&globals, 0));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(CheckStore(&globals, -50));
    EXPECT_FALSE(CheckStore(&globals, -20));
    EXPECT_TRUE(CheckStore(&globals, 0));
    EXPECT_EQ(result, -50);
    EXPECT_THROW(CheckStore(nullptr, -20), EError);
    EXPECT_TRUE(CheckStore(nullptr, 0));
}

TEST(VersionAlertTest, MissingAdvanceStateShowsOneAlertWithTheVersion)
{
    carbonshim::Reset();
    EXPECT_TRUE(WarnHostAdvanceStateAvailable([]() -> int16 { return 0; }));
    EXPECT_EQ(carbonshim::Count("CautionAlert"), 0u);

    EXPECT_FALSE(WarnHostAdvanceStateAvailable(nullptr));
    const auto alerts = carbonshim::CallsNamed("CautionAlert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].values.at(0), 16990);
    EXPECT_NE(alerts[0].text.find("Version 3.0 oder neuer"), std::string::npos) << alerts[0].text;
    EXPECT_EQ(alerts[0].text.find('^'), std::string::npos);
    EXPECT_EQ(carbonshim::LiveHandles(), 0u);

    // Without the message string the alert still comes, with an empty message.
    carbonshim::Reset();
    carbonshim::RemoveResource(kResTypeSTR, 16992);
    EXPECT_FALSE(WarnHostAdvanceStateAvailable(nullptr));
    ASSERT_EQ(carbonshim::Count("CautionAlert"), 1u);
    EXPECT_EQ(carbonshim::CallsNamed("CautionAlert")[0].text, "");

    // Without the alert template nothing can be centred; the alert is asked for.
    carbonshim::Reset();
    carbonshim::RemoveResource(kResTypeALRT, 16990);
    EXPECT_FALSE(WarnHostAdvanceStateAvailable(nullptr));
    EXPECT_EQ(carbonshim::Count("HNoPurge"), 0u);
    EXPECT_EQ(ShowVersionAlert(nullptr, 0, 16992, nullptr, nullptr), 0);
    carbonshim::Reset();
}

} // namespace
