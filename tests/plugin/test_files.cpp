// Hand-off folder and file helpers, file names, and the reader of the family INI.

#include "pluginfixture.h"

#include "plugin/Export.h"
#include "plugin/FamilyIni.h"
#include "plugin/System.h"

#include <QSettings>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

using namespace plugintest;

namespace {

class FilesTest : public PluginTest {};

unsigned modeOf(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFF;
}

TEST(FileNameTest, DocumentNamesBecomeSafeFileNames)
{
    struct Case {
        std::string document;
        int16 depth;
        bool ok;
        std::string expected;
    };
    const Case cases[] = {
        {"Beach Photo.psd", 16, true, "Beach_Photo.ppm"},
        {"Beach Photo.psd", 32, true, "Beach_Photo.pfm"},
        {"Beach Photo.psd", 8, true, "Beach_Photo.ppm"},
        {"my.photo.psd", 16, true, "my_photo.ppm"},
        {"Untitled-1", 16, true, "Untitled-1.ppm"},
        {"(copy) +1.tif", 16, true, "(copy)_+1.ppm"},
        {".psd", 16, false, ""},
        {"a/b.psd", 16, true, "b.ppm"},
        {"dir/", 16, false, ""},
        {"\xC3\x9C" "ber$(x)`y`.psd", 8, true, "__ber_(x)_y_.ppm"},
        {"Beach Photo.psd", 12, false, ""},  // no export mode
    };
    for (const Case& c : cases) {
        ExportRecord record{};
        record.imageMode = plugInModeRGBColor;
        record.depth = c.depth;
        record.planes = 3;
        record.filename[0] = static_cast<unsigned char>(c.document.size());
        std::memcpy(record.filename + 1, c.document.data(), c.document.size());
        const ExportRecord before = record;
        std::string name = "stale";
        EXPECT_EQ(_exp::GetExportFilename(&record, name), c.ok) << c.document;
        EXPECT_EQ(name, c.expected) << c.document;
        EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    }
}

TEST(FileNameTest, LongNamesAreShortenedToFitThePath)
{
    struct Case {
        size_t folderLength;
        size_t baseLength;
        bool ok;
        size_t expectedLength;  // of the whole path
    };
    const Case cases[] = {
        {100, 50, true, 155},     // fits as it is
        {100, 200, true, 255},    // base shortened
        {200, 200, true, 255},
        {249, 10, true, 255},     // one character of the base stays
        {250, 10, false, 0},      // no room for a name
    };
    for (const Case& c : cases) {
        const std::string folder = "/" + std::string(c.folderLength - 1, 'f');
        std::string name = std::string(c.baseLength, 'n') + ".pfm";
        EXPECT_EQ(_exp::FitExportFilename(folder, name), c.ok) << c.folderLength << " " << c.baseLength;
        if (c.ok) {
            const std::string path = _hlp::CreatePath(folder, name);
            EXPECT_EQ(path.size(), c.expectedLength);
            EXPECT_EQ(path.substr(path.size() - 4), ".pfm");
            EXPECT_EQ(name.substr(0, name.size() - 4), std::string(name.size() - 4, 'n'));
        }
    }
}

TEST(TextHelpersTest, BoundedCopiesAndPaths)
{
    char buffer[8];
    _hlp::StrCopy(buffer, sizeof buffer, "0123456789");
    EXPECT_STREQ(buffer, "0123456");
    _hlp::StrPrintF(buffer, sizeof buffer, "%s-%i", "abc", 12345);
    EXPECT_STREQ(buffer, "abc-123");
    EXPECT_EQ(_hlp::StrGetLen(buffer), 7u);
    EXPECT_THROW(_hlp::StrCopy(nullptr, 4, "x"), EError);
    EXPECT_THROW(_hlp::StrGetLen(nullptr), EError);

    EXPECT_EQ(_hlp::AddSeparator(""), "");
    EXPECT_EQ(_hlp::AddSeparator("/a"), "/a/");
    EXPECT_EQ(_hlp::AddSeparator("/a/"), "/a/");
    EXPECT_EQ(_hlp::RemoveSeparator("/a/"), "/a");
    EXPECT_EQ(_hlp::CreatePath("/tmp", "x.ppm"), "/tmp/x.ppm");
    EXPECT_EQ(_hlp::CreatePath("/tmp/", "x.ppm"), "/tmp/x.ppm");
    EXPECT_EQ(_hlp::RemoveIllegalChars("a b.c+-()_Z9"), "a_b_c+-()_Z9");
}

TEST_F(FilesTest, PrivateFolderIsCreatedTightenedOrRefused)
{
    const std::string base = m_home + "/private";
    ASSERT_TRUE(MakeFolder(base));

    const std::string fresh = base + "/fresh/deeper";
    EXPECT_TRUE(_sys::MakePrivateFolder(fresh));
    EXPECT_EQ(modeOf(fresh), 0700u);

    const std::string wide = base + "/wide";
    ASSERT_TRUE(MakeFolder(wide, 0777));
    EXPECT_TRUE(_sys::MakePrivateFolder(wide));
    EXPECT_EQ(modeOf(wide), 0700u);

    const std::string target = base + "/target";
    ASSERT_TRUE(MakeFolder(target, 0755));
    const std::string link = base + "/link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(_sys::MakePrivateFolder(link));
    EXPECT_EQ(modeOf(target), 0755u);  // the link's target is left alone

    const std::string file = base + "/file";
    ASSERT_TRUE(WriteFile(file, "x"));
    EXPECT_FALSE(_sys::MakePrivateFolder(file));

    const std::string foreign = base + "/foreign";
    ASSERT_TRUE(MakeFolder(foreign, 0755));
    if (::chown(foreign.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
        EXPECT_FALSE(_sys::MakePrivateFolder(foreign));
        EXPECT_EQ(modeOf(foreign), 0755u);
    }
}

TEST_F(FilesTest, CleaningRemovesFilesAndLinksButNoTargetsOrFolders)
{
    const std::string folder = m_home + "/clean";
    const std::string outside = m_home + "/outside";
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(MakeFolder(outside));
    ASSERT_TRUE(WriteFile(folder + "/old.ppm", "old"));
    ASSERT_TRUE(MakeFolder(folder + "/keep"));
    ASSERT_TRUE(WriteFile(folder + "/keep/inner.txt", "inner"));
    ASSERT_TRUE(WriteFile(outside + "/precious.txt", "precious"));
    ASSERT_TRUE(MakeFolder(outside + "/tree"));
    ASSERT_TRUE(WriteFile(outside + "/tree/leaf.txt", "leaf"));
    ASSERT_EQ(::symlink((outside + "/precious.txt").c_str(), (folder + "/to-file").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "/tree").c_str(), (folder + "/to-folder").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "/missing").c_str(), (folder + "/dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo((folder + "/fifo").c_str(), 0600), 0);

    auto entries = _hlp::GetFolderEntries(folder);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"dangling", "old.ppm", "to-file", "to-folder"}));

    _sys::CleanFolder(folder);
    EXPECT_FALSE(Exists(folder + "/old.ppm"));
    EXPECT_FALSE(Exists(folder + "/to-file"));
    EXPECT_FALSE(Exists(folder + "/to-folder"));
    EXPECT_FALSE(Exists(folder + "/dangling"));
    EXPECT_TRUE(Exists(folder + "/fifo"));
    EXPECT_EQ(ReadFile(folder + "/keep/inner.txt"), "inner");
    EXPECT_EQ(ReadFile(outside + "/precious.txt"), "precious");
    EXPECT_EQ(ReadFile(outside + "/tree/leaf.txt"), "leaf");
    EXPECT_TRUE(_hlp::GetFolderEntries(m_home + "/no such folder").empty());
}

TEST_F(FilesTest, FilesOpenWithoutFollowingLinks)
{
    const std::string target = m_home + "/target.txt";
    const std::string link = m_home + "/link.ppm";
    ASSERT_TRUE(WriteFile(target, "keep me"));
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    int fd = 123;
    EXPECT_FALSE(_sys::OpenFile(fd, link, true, true));
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(ReadFile(target), "keep me");

    // A FIFO without a reader neither blocks nor opens.
    const std::string fifo = m_home + "/fifo.ppm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(_sys::OpenFile(fd, fifo, true, true));

    const std::string path = m_home + "/new.ppm";
    ASSERT_TRUE(_sys::OpenFile(fd, path, true, true));
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_TRUE(_sys::WriteFile(fd, "abc", 3));
    EXPECT_THROW(_sys::WriteFile(fd, "abc", 0), EError);
    EXPECT_TRUE(_sys::CloseFile(fd));
    EXPECT_EQ(fd, -1);
    EXPECT_TRUE(_sys::CloseFile(fd));
    EXPECT_THROW(_sys::WriteFile(fd, "abc", 3), EError);
    EXPECT_EQ(ReadFile(path), "abc");
}

TEST(FamilyIniTest, QtEscapesAndStructure)
{
    struct Case {
        const char* name;
        std::string content;
        bool found;
        std::string value;
    };
    const Case cases[] = {
        {"plain", "[General]\nPath=/opt/lumivex/bin\n", true, "/opt/lumivex/bin"},
        {"before any section", "Path=/a\n[Other]\nPath=/b\n", true, "/a"},
        {"other section only", "[Other]\nPath=/b\n", false, ""},
        {"lower-case general", "[general]\nPath=/c\n", true, "/c"},
        {"quoted with separators", "[General]\nPath=\"/x;y,z=w\"\n", true, "/x;y,z=w"},
        {"escaped quote and backslash", "[General]\nPath=/a\\\"b\\\\c\n", true, "/a\"b\\c"},
        {"hex and tab escapes", "[General]\nPath=/a\\tb\\x41\n", true, "/a\tbA"},
        {"spaces kept inside quotes", "[General]\nPath=\" /lead \"\n", true, " /lead "},
        {"spaces trimmed outside", "[General]\nPath =   /trim   \n", true, "/trim"},
        {"comment line", "; Path=/wrong\n[General]\nPath=/right\n", true, "/right"},
        {"comment behind the value", "[General]\nPath=/v ; note\n", true, "/v"},
        {"crlf", "[General]\r\nPath=/crlf\r\nOther=1\r\n", true, "/crlf"},
        {"continued line", "[General]\nPath=/one\\\n/two\n", true, "/one/two"},
        {"later entry wins", "[General]\nPath=/first\nPath=/second\n", true, "/second"},
        {"list is no string", "[General]\nPath=/a, /b\n", false, ""},
        {"escaped at sign", "[General]\nPath=@@home\n", true, "@home"},
        {"byte array", "[General]\nPath=@ByteArray(/bytes)\n", true, "/bytes"},
        {"other type", "[General]\nPath=@Variant(\\0\\0\\0\\x7f)\n", false, ""},
        {"utf-8 with bom", "\xEF\xBB\xBF[General]\nPath=/\xC3\xBC\n", true, "/\xC3\xBC"},
        {"percent key", "[General]\n%50ath=/pct\n", true, "/pct"},
        {"missing key", "[General]\nApplication=x\n", false, ""},
    };
    for (const Case& c : cases) {
        std::string value = "stale";
        EXPECT_EQ(_sys::ParseIniString(c.content, "Path", value), c.found) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
}

TEST_F(FilesTest, ReadsWhatQtSettingsWrites)
{
    const std::string file = m_home + "/qt.ini";
    const std::vector<std::string> values = {
        "/opt/Lumivex Pro/bin",
        " /leading and trailing ",
        "/semi;colon,comma=equals",
        "/quote\"back\\slash",
        "/tab\tnew\nline\rcr",
        "/\xC3\xBC" "mlaut/\xE6\x97\xA5\xE6\x9C\xAC",
        "@/at",
        "/$(touch x)`y`'z'",
        "/control\x01\x1f" "0",
    };
    for (const std::string& v : values) {
        {
            QSettings settings(QString::fromStdString(file), QSettings::IniFormat);
            settings.clear();
            settings.setValue("Version_Family", 1);
            settings.setValue("Path", QString::fromStdString(v));
            settings.setValue("Group/Path", "/not this");
            settings.sync();
            ASSERT_EQ(settings.status(), QSettings::NoError);
        }
        std::string read;
        EXPECT_TRUE(_sys::ReadIniString(file, "Path", read)) << v;
        EXPECT_EQ(read, v);
    }
    std::string read;
    EXPECT_FALSE(_sys::ReadIniString(m_home + "/absent.ini", "Path", read));
    EXPECT_FALSE(_sys::ReadIniString(m_home, "Path", read));  // a folder
}

} // namespace
