// The export loop and the hand-off file, driven through the test host; files
// are read back with FreeImage and compared sample by sample.

#include "pluginfixture.h"

#include <FreeImage.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

using lumiplug_host::Host;
using namespace plugintest;

namespace {

class ExportTest : public PluginTest {};

long long fileSize(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

std::string header(int32 width, int32 height, bool pfm)
{
    return std::string(pfm ? "PF" : "P6") + "\n" + std::to_string(width) + "\n" + std::to_string(height) + "\n" +
           (pfm ? "-1.0000" : "65535") + "\n";
}

void expectRect(const lumiplug_host::Request& r, int32 top, int32 left, int32 bottom, int32 right)
{
    EXPECT_EQ(r.rect.top, top);
    EXPECT_EQ(r.rect.left, left);
    EXPECT_EQ(r.rect.bottom, bottom);
    EXPECT_EQ(r.rect.right, right);
}

std::string exportedPath(const Host& host)
{
    return host.Globals() != nullptr ? std::string(host.Globals()->path) : std::string();
}

TEST_F(ExportTest, RowsAreRequestedInBoundedChunks)
{
    struct Case {
        const char* name;
        int16 mode;
        int16 depth;
        int16 planes;
        int32 width;
        std::vector<int32> lefts;  // of the requests of the row
        int16 hiPlane;
    };
    const Case cases[] = {
        {"RGB 8", plugInModeRGBColor, 8, 3, 25000, {0, 10000, 20000}, 2},
        {"RGB 8 with 4 planes", plugInModeRGBColor, 8, 4, 16000, {0, 7500, 15000}, 3},
        {"RGB 16 with 5 planes", plugInModeRGB48, 16, 5, 12001, {0, 6000, 12000}, 4},
        {"grey 16", plugInModeGray16, 16, 1, 20000, {0, 10000}, 0},
        {"grey 16 with 2 planes", plugInModeGray16, 16, 2, 10001, {0, 10000}, 1},
        {"RGB 32 exact multiple", plugInModeRGB96, 32, 3, 20000, {0, 10000}, 2},
    };
    for (const Case& c : cases) {
        Host host;
        host.image.mode = c.mode;
        host.image.depth = c.depth;
        host.image.planes = c.planes;
        host.image.width = c.width;
        host.image.height = 1;
        host.PrepareRecord();
        const Host::ExportResult r = host.Export();
        ASSERT_EQ(r.start, noErr) << c.name;
        ASSERT_EQ(host.requests.size(), c.lefts.size()) << c.name;
        for (size_t i = 0; i < c.lefts.size(); ++i) {
            SCOPED_TRACE(c.name);
            const int32 right = i + 1 < c.lefts.size() ? c.lefts[i + 1] : c.width;
            expectRect(host.requests[i], 0, c.lefts[i], 1, right);
            EXPECT_EQ(host.requests[i].loPlane, 0);
            EXPECT_EQ(host.requests[i].hiPlane, c.hiPlane);
        }
        const bool pfm = c.depth == 32;
        EXPECT_EQ(fileSize(exportedPath(host)),
                  static_cast<long long>(header(c.width, 1, pfm).size()) + c.width * (pfm ? 12LL : 6LL))
            << c.name;
        // Start leaves the rectangle empty.
        EXPECT_EQ(host.record.theRect32.right, 0);
        EXPECT_EQ(host.record.theRect32.bottom, 0);
    }
}

TEST_F(ExportTest, OnePixelAndProgressPerRow)
{
    Host host;
    host.image.width = 1;
    host.image.height = 1;
    host.PrepareRecord();
    ASSERT_EQ(host.Export().start, noErr);
    ASSERT_EQ(host.requests.size(), 1u);
    expectRect(host.requests[0], 0, 0, 1, 1);
    EXPECT_EQ(host.progress, (std::vector<std::pair<int32, int32>>{{0, 1}}));
    EXPECT_EQ(host.abortChecks, 1);

    Host tall;
    tall.image.width = 2;
    tall.image.height = 3;
    tall.PrepareRecord();
    ASSERT_EQ(tall.Export().start, noErr);
    EXPECT_EQ(tall.progress, (std::vector<std::pair<int32, int32>>{{0, 3}, {1, 3}, {2, 3}}));
    ASSERT_EQ(tall.requests.size(), 3u);
    expectRect(tall.requests[2], 2, 0, 3, 2);
}

TEST_F(ExportTest, AbortInRowFiveStopsAfterThatChunk)
{
    Host host;
    host.image.width = 15000;  // two chunks a row
    host.image.height = 10;
    host.abortAtCheck = 10;    // after the first chunk of row 5
    host.PrepareRecord();
    const Host::ExportResult r = host.Export();
    EXPECT_EQ(r.start, userCanceledErr);
    EXPECT_EQ(host.requests.size(), 11u);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.back(), (std::pair<int32, int32>{5, 10}));
    EXPECT_EQ(host.progress.size(), 6u);
    EXPECT_TRUE(host.starts.empty());
    const std::string path = exportedPath(host);
    EXPECT_EQ(fileSize(path), static_cast<long long>(header(15000, 10, false).size()) + (5 * 15000 + 10000) * 6LL);
    EXPECT_EQ(host.Globals()->fileDescriptor, -1);
    EXPECT_EQ(OpenDescriptorsOf(path), 0);
    EXPECT_EQ(host.record.theRect32.right, 0);
}

TEST_F(ExportTest, HostFailuresEndTheExportWithTheirCode)
{
    struct Case {
        const char* name;
        void (*configure)(Host&);
        int16 expected;
        size_t requests;
        long long rowsWritten;  // -1: no header either
    };
    const Case cases[] = {
        {"advanceState fails at chunk 2", [](Host& h) { h.failAtChunk = 2; h.failCode = -9999; }, -9999, 3, 2},
        {"no advanceState", [](Host& h) { h.offerAdvanceState = false; }, paramErr, 0, 0},
        {"row bytes one short", [](Host& h) { h.rowBytesShortBy = 1; }, paramErr, 1, 0},
        {"width 0", [](Host& h) { h.image.width = 0; }, paramErr, 0, -1},
        {"height 0", [](Host& h) { h.image.height = 0; }, paramErr, 0, -1},
        {"negative width", [](Host& h) { h.image.width = -4; }, paramErr, 0, -1},
        {"no abort and progress callbacks", [](Host& h) { h.offerAbortProc = false; h.offerProgressProc = false; },
         noErr, 3, 3},
    };
    for (const Case& c : cases) {
        carbonshim::Reset();
        Host host;
        host.image.width = 4;
        host.image.height = 3;
        c.configure(host);
        host.PrepareRecord();
        const Host::ExportResult r = host.Export();
        EXPECT_EQ(r.prepare, noErr) << c.name;
        EXPECT_EQ(r.start, c.expected) << c.name;
        EXPECT_EQ(r.finish, noErr) << c.name;
        EXPECT_EQ(host.requests.size(), c.requests) << c.name;
        EXPECT_EQ(host.starts.size(), c.expected == noErr ? 1u : 0u) << c.name;
        const std::string path = exportedPath(host);
        const long long expectedSize =
            c.rowsWritten < 0 ? 0
                              : static_cast<long long>(header(host.image.width, host.image.height, false).size()) +
                                    c.rowsWritten * host.image.width * 6LL;
        EXPECT_EQ(fileSize(path), expectedSize) << c.name;
        EXPECT_EQ(OpenDescriptorsOf(path), 0) << c.name;
        EXPECT_EQ(carbonshim::Count("CautionAlert"), c.requests == 0 && c.rowsWritten == 0 ? 1u : 0u) << c.name;
    }
}

TEST_F(ExportTest, ForeignExceptionIsCaughtAndCleanedUp)
{
    Host host;
    host.image.height = 5;
    host.throwAtProgress = 1;
    host.PrepareRecord();
    const Host::ExportResult r = host.Export();
    EXPECT_EQ(r.start, errAEParamMissed);
    EXPECT_EQ(r.finish, noErr);
    EXPECT_EQ(host.progress.size(), 2u);
    EXPECT_TRUE(host.starts.empty());
    const SGlobals* globals = host.Globals();
    ASSERT_NE(globals, nullptr);
    EXPECT_EQ(globals->fileDescriptor, -1);
    EXPECT_EQ(globals->buffer, nullptr);
    EXPECT_EQ(OpenDescriptorsOf(globals->path), 0);
    EXPECT_EQ(host.record.theRect32.right, 0);
    EXPECT_EQ(host.record.theRect32.bottom, 0);
    EXPECT_EQ(host.handleStats.locks, host.handleStats.unlocks);
}

// Reads a hand-off file back with FreeImage and compares every sample with
// the host's image; file row r is scan line H - 1 - r.
void compareWithHost(const Host& host, const std::string& path, bool pfm)
{
    FIBITMAP* bitmap = FreeImage_Load(pfm ? FIF_PFM : FIF_PPM, path.c_str(), 0);
    ASSERT_NE(bitmap, nullptr) << path;
    const int32 w = host.image.width;
    const int32 h = host.image.height;
    ASSERT_EQ(static_cast<int32>(FreeImage_GetWidth(bitmap)), w);
    ASSERT_EQ(static_cast<int32>(FreeImage_GetHeight(bitmap)), h);
    ASSERT_EQ(FreeImage_GetImageType(bitmap), pfm ? FIT_RGBF : FIT_RGB16);
    const bool grey = host.image.mode == plugInModeGrayScale || host.image.mode == plugInModeGray16 ||
                      host.image.mode == plugInModeGray32;
    int mismatches = 0;
    for (int32 row = 0; row < h; ++row) {
        const BYTE* line = FreeImage_GetScanLine(bitmap, h - 1 - row);
        for (int32 x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int plane = grey ? 0 : c;
                if (pfm) {
                    const float got = reinterpret_cast<const FIRGBF*>(line)[x].red * (c == 0) +
                                      reinterpret_cast<const FIRGBF*>(line)[x].green * (c == 1) +
                                      reinterpret_cast<const FIRGBF*>(line)[x].blue * (c == 2);
                    const float want = lumiplug_host::Sample32(x, row, plane);
                    if (got != want && mismatches++ < 5)
                        ADD_FAILURE() << "pixel " << x << "," << row << " channel " << c << ": " << got << " != " << want;
                } else {
                    const FIRGB16& px = reinterpret_cast<const FIRGB16*>(line)[x];
                    const unsigned got = c == 0 ? px.red : (c == 1 ? px.green : px.blue);
                    unsigned want;
                    if (host.image.depth == 8) {
                        want = lumiplug_host::Sample8(x, row, plane) * 257u;
                    } else {
                        const unsigned v = lumiplug_host::Sample16(x, row, plane);
                        want = v == 0 ? 0 : (v >= 32768 ? 65535 : 2 * v - 1);
                    }
                    if (got != want && mismatches++ < 5)
                        ADD_FAILURE() << "pixel " << x << "," << row << " channel " << c << ": " << got << " != " << want;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    FreeImage_Unload(bitmap);
}

TEST_F(ExportTest, ExportedFilesReadBackSampleForSample)
{
    struct Case {
        const char* name;
        int16 mode;
        int16 depth;
        int16 planes;
        int32 width;
        int32 height;
    };
    const Case cases[] = {
        {"RGB 8", plugInModeRGBColor, 8, 3, 37, 11},
        {"RGB 8 with a fourth plane", plugInModeRGBColor, 8, 4, 9, 5},
        {"grey 8", plugInModeGrayScale, 8, 1, 13, 7},
        {"RGB 16", plugInModeRGB48, 16, 3, 41, 17},
        {"grey 16 with 2 planes", plugInModeGray16, 16, 2, 29, 6},
        {"RGB 32", plugInModeRGB96, 32, 3, 23, 9},
        {"grey 32", plugInModeGray32, 32, 1, 7, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host;
        host.image.mode = c.mode;
        host.image.depth = c.depth;
        host.image.planes = c.planes;
        host.image.width = c.width;
        host.image.height = c.height;
        host.image.document = "Beach Photo.psd";
        host.PrepareRecord();
        ASSERT_EQ(host.Export().start, noErr);
        const bool pfm = c.depth == 32;
        const std::string path = HandoffFolder() + (pfm ? "/Beach_Photo.pfm" : "/Beach_Photo.ppm");
        EXPECT_EQ(exportedPath(host), path);
        const std::string content = ReadFile(path);
        const std::string head = header(c.width, c.height, pfm);
        ASSERT_EQ(content.size(), head.size() + static_cast<size_t>(c.width) * c.height * (pfm ? 12u : 6u));
        EXPECT_EQ(content.substr(0, head.size()), head);
        compareWithHost(host, path, pfm);
    }
}

// The test host's synthetic 16-bit samples stay defined on very wide images.
TEST(TestHostSamples, SixteenBitSamplesOfVeryWideImages)
{
    struct Case {
        int32 x, y;
        int plane;
        unsigned want; // (977 x + 3301 y + 10007 plane) mod 32800
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {3999, 2999, 2, (3999u * 977u + 2999u * 3301u + 20014u) % 32800u},
        {3000000, 5, 2, 28519},
        {2199999, 0, 0, 15023},
        {2147483647, 2147483647, 2, static_cast<unsigned>((2147483647LL * 4278 + 20014) % 32800)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lumiplug_host::Sample16(c.x, c.y, c.plane), c.want) << c.x << " " << c.y;
}

TEST_F(ExportTest, SixteenBitFourThousandByThreeThousand)
{
    Host host;
    host.image.mode = plugInModeRGB48;
    host.image.depth = 16;
    host.image.width = 4000;
    host.image.height = 3000;
    host.PrepareRecord();
    ASSERT_EQ(host.Export().start, noErr);
    const std::string path = exportedPath(host);
    EXPECT_EQ(fileSize(path), 72000019LL);
    std::string head(19, '\0');
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fread(head.data(), 1, head.size(), file), head.size());
    // The last pixel's blue sample.
    unsigned char last[2];
    ASSERT_EQ(std::fseek(file, -2, SEEK_END), 0);
    ASSERT_EQ(std::fread(last, 1, 2, file), 2u);
    std::fclose(file);
    EXPECT_EQ(head, "P6\n4000\n3000\n65535\n");
    const unsigned v = lumiplug_host::Sample16(3999, 2999, 2);
    const unsigned want = v == 0 ? 0 : (v >= 32768 ? 65535 : 2 * v - 1);
    EXPECT_EQ(static_cast<unsigned>(last[0] << 8 | last[1]), want);
    EXPECT_EQ(host.progress.size(), 3000u);
    EXPECT_EQ(host.requests.size(), 3000u);
    ::unlink(path.c_str());
}

TEST_F(ExportTest, OnePixelPfmWithOneHalf)
{
    Host host;
    host.image.mode = plugInModeGray32;
    host.image.depth = 32;
    host.image.planes = 1;
    host.image.width = 1;
    host.image.height = 1;
    host.sample = [](int32, int32, int) { return 0.5; };
    host.PrepareRecord();
    ASSERT_EQ(host.Export().start, noErr);
    const std::string content = ReadFile(exportedPath(host));
    const std::string expected = std::string("PF\n1\n1\n-1.0000\n") + std::string("\x00\x00\x00\x3F", 4) +
                                 std::string("\x00\x00\x00\x3F", 4) + std::string("\x00\x00\x00\x3F", 4);
    EXPECT_EQ(content, expected);
}

TEST_F(ExportTest, HandOffFolderIsEmptiedOfFilesOnly)
{
    const std::string folder = HandoffFolder();
    const std::string outside = m_home + "/outside.txt";
    ASSERT_TRUE(MakeFolder(folder, 0755));
    ASSERT_TRUE(WriteFile(folder + "/old.ppm", "old"));
    ASSERT_TRUE(MakeFolder(folder + "/keep"));
    ASSERT_TRUE(WriteFile(folder + "/keep/inner.ppm", "inner"));
    ASSERT_TRUE(WriteFile(outside, "outside"));
    // A link where the new file goes: removed, its target untouched.
    ASSERT_EQ(::symlink(outside.c_str(), (folder + "/Test_Image.ppm").c_str()), 0);

    Host host;
    ASSERT_EQ(host.Export().start, noErr);
    EXPECT_FALSE(Exists(folder + "/old.ppm"));
    EXPECT_EQ(ReadFile(folder + "/keep/inner.ppm"), "inner");
    EXPECT_EQ(ReadFile(outside), "outside");
    struct stat st;
    ASSERT_EQ(::lstat((folder + "/Test_Image.ppm").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);  // tightened
}

TEST_F(ExportTest, NamelessDocumentFailsAfterTheFolderWasEmptied)
{
    const std::string folder = HandoffFolder();
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(WriteFile(folder + "/old.ppm", "old"));
    Host host;
    host.image.document = ".psd";
    host.PrepareRecord();
    EXPECT_EQ(host.Export().start, paramErr);
    EXPECT_FALSE(Exists(folder + "/old.ppm"));
    EXPECT_TRUE(host.requests.empty());
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(host.Globals()->path[0], '\0');
}

TEST_F(ExportTest, UnsafeHandOffFoldersAreRefused)
{
    // A link in place of the hand-off folder.
    const std::string elsewhere = m_home + "/elsewhere";
    ASSERT_TRUE(MakeFolder(elsewhere, 0755));
    ASSERT_TRUE(WriteFile(elsewhere + "/victim.txt", "victim"));
    ASSERT_EQ(::symlink(elsewhere.c_str(), HandoffFolder().c_str()), 0);
    {
        Host host;
        EXPECT_EQ(host.Export().start, paramErr);
        EXPECT_TRUE(host.requests.empty());
        EXPECT_EQ(ReadFile(elsewhere + "/victim.txt"), "victim");
        EXPECT_FALSE(Exists(elsewhere + "/Test_Image.ppm"));
    }
    ASSERT_EQ(::unlink(HandoffFolder().c_str()), 0);

    // A plain file in its place.
    ASSERT_TRUE(WriteFile(HandoffFolder(), "file"));
    {
        Host host;
        EXPECT_EQ(host.Export().start, paramErr);
    }
    ASSERT_EQ(::unlink(HandoffFolder().c_str()), 0);

    // A folder of another user (only where this process may give one away).
    ASSERT_TRUE(MakeFolder(HandoffFolder(), 0700));
    if (::chown(HandoffFolder().c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
        Host host;
        EXPECT_EQ(host.Export().start, paramErr);
        EXPECT_TRUE(host.requests.empty());
    }
}

unsigned folderMode(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFF;
}

// The temporary folder may be shared (XDG_RUNTIME_DIR pointing at /tmp): an
// export never changes its mode, only the hand-off folder it makes is private.
TEST_F(ExportTest, TemporaryFolderKeepsItsModeAndTheHandOffFolderIsPrivate)
{
    struct Case {
        unsigned mode;
        bool cacheFallback; // XDG_RUNTIME_DIR unset: $HOME/.cache is the base
    };
    const Case cases[] = {{0755, false}, {01777, false}, {0700, false}, {0755, true}, {01777, true}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.mode << (c.cacheFallback ? " cache" : " runtime"));
        const std::string home = m_home + "/h" + std::to_string(++n);
        ASSERT_TRUE(MakeFolder(home, 0755));
        const std::string base = c.cacheFallback ? home + "/.cache" : home + "/run";
        ASSERT_TRUE(MakeFolder(base, c.mode));
        UseFolders(home, c.cacheFallback ? std::string() : base);
        InstallLumivex(m_appFolder);
        Host host;
        ASSERT_EQ(host.Export().start, noErr);
        EXPECT_EQ(folderMode(base), c.mode);
        EXPECT_EQ(folderMode(home), 0755u);
        EXPECT_EQ(folderMode(HandoffFolder()), 0700u);
        EXPECT_EQ(exportedPath(host), HandoffFolder() + "/Test_Image.ppm");
    }
}

// A missing temporary folder is made for the user alone; one of another user
// is refused and left as it is.
TEST_F(ExportTest, MissingTemporaryFolderIsMadePrivateAndAForeignOneRefused)
{
    const std::string missing = m_home + "/new/run";
    UseFolders(m_home, missing);
    {
        Host host;
        ASSERT_EQ(host.Export().start, noErr);
        EXPECT_EQ(folderMode(missing), 0700u);
        EXPECT_EQ(folderMode(HandoffFolder()), 0700u);
    }

    const std::string foreign = m_home + "/foreign";
    ASSERT_TRUE(MakeFolder(foreign, 0755));
    if (::chown(foreign.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
        UseFolders(m_home, foreign);
        Host host;
        EXPECT_EQ(host.Export().start, paramErr);
        EXPECT_TRUE(host.requests.empty());
        EXPECT_EQ(folderMode(foreign), 0755u);
        EXPECT_FALSE(Exists(HandoffFolder()));
    }
}

TEST_F(ExportTest, LongPathsShortenTheNameAndKeepTheEnding)
{
    // A temporary folder of 200 characters.
    std::string runtime = m_home + "/";
    runtime += std::string(200 - runtime.size(), 'r');
    ASSERT_EQ(runtime.size(), 200u);
    UseFolders(m_home, runtime);
    Host host;
    host.image.document = std::string(120, 'D') + ".psd";
    host.PrepareRecord();
    ASSERT_EQ(host.Export().start, noErr);
    const std::string path = exportedPath(host);
    EXPECT_EQ(path.size(), 255u);
    EXPECT_EQ(path, HandoffFolder() + "/" + std::string(255 - HandoffFolder().size() - 5, 'D') + ".ppm");
    EXPECT_EQ(fileSize(path), static_cast<long long>(header(4, 3, false).size()) + 72);
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].at(1), path);

    // A folder that leaves no room for a name.
    std::string deep = m_home + "/";
    deep += std::string(235 - deep.size(), 's');
    UseFolders(m_home, deep);
    Host full;
    EXPECT_EQ(full.Export().start, paramErr);
    EXPECT_TRUE(full.requests.empty());
}

} // namespace
