// The start of Lumivex: how the executable is found, the argument vector it
// gets, and a real detached start.

#include "pluginfixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <thread>

using lumiplug_host::Host;
using namespace plugintest;

namespace {

class StartTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        const char* path = std::getenv("PATH");
        m_savedPath = path != nullptr ? path : "";
        char cwd[PATH_MAX];
        m_savedCwd = ::getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
    }
    void TearDown() override
    {
        setenv("PATH", m_savedPath.c_str(), 1);
        if (::chdir(m_savedCwd.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << m_savedCwd;
        PluginTest::TearDown();
    }
    void RemoveFamilyIni() { ::unlink((m_home + "/Vorlix Series/Lumivex Pro.ini").c_str()); }

    std::string m_savedPath;
    std::string m_savedCwd;
};

long long fileSize(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// Header "P6\n4\n3\n65535\n" and 4 x 3 pixels.
constexpr long long kDefaultFileSize = 13 + 72;

TEST_F(StartTest, RecordedStartGetsTheCompleteClosedFileAsOneArgument)
{
    Host host;
    bool checked = false;
    host.onStart = [&](const std::vector<std::string>& argv) {
        ASSERT_EQ(argv.size(), 2u);
        EXPECT_EQ(fileSize(argv[1]), kDefaultFileSize);
        EXPECT_EQ(OpenDescriptorsOf(argv[1]), 0);
        checked = true;
    };
    const Host::ExportResult r = host.Export();
    EXPECT_EQ(r.start, noErr);
    EXPECT_TRUE(checked);
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0], (std::vector<std::string>{m_appFolder + "/lumivex", HandoffFolder() + "/Test_Image.ppm"}));
}

TEST_F(StartTest, ShellCharactersInTheFoldersStayPartOfThePath)
{
    const std::string base = m_home + "/odd";
    ASSERT_TRUE(MakeFolder(base));
    const std::string home = base + "/home \"$(touch PWNED)\" `touch PWNED2`";
    const std::string runtime = base + "/run '$(id)' \"; touch PWNED3; \\ ,=";
    UseFolders(home, runtime);
    const std::string app = home + "/app; \"bin\"";
    InstallLumivex(app);
    ASSERT_EQ(::chdir(base.c_str()), 0);

    Host host;
    EXPECT_EQ(host.Export().start, noErr);
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0], (std::vector<std::string>{app + "/lumivex", runtime + "/HDRVorlixImport/Test_Image.ppm"}));
    EXPECT_EQ(fileSize(host.starts[0][1]), kDefaultFileSize);

    // Without a shell in between, cd into the folder under $HOME/.cache as well.
    UseFolders(home, "");
    Host cache;
    EXPECT_EQ(cache.Export().start, noErr);
    ASSERT_EQ(cache.starts.size(), 1u);
    EXPECT_EQ(cache.starts[0][1], home + "/.cache/HDRVorlixImport/Test_Image.ppm");
    for (const char* name : {"PWNED", "PWNED2", "PWNED3"})
        EXPECT_FALSE(Exists(base + "/" + name)) << name;
}

TEST_F(StartTest, NoExecutableFailsAfterTheFileWasWrittenAndClosed)
{
    RemoveFamilyIni();
    const std::string empty = m_home + "/empty-bin";
    ASSERT_TRUE(MakeFolder(empty));
    setenv("PATH", empty.c_str(), 1);
    Host host;
    const Host::ExportResult r = host.Export();
    EXPECT_EQ(r.start, errPlugInHostInsufficient);
    EXPECT_EQ(r.finish, noErr);
    EXPECT_TRUE(host.starts.empty());
    const std::string path = HandoffFolder() + "/Test_Image.ppm";
    EXPECT_EQ(fileSize(path), kDefaultFileSize);
    EXPECT_EQ(OpenDescriptorsOf(path), 0);
    EXPECT_EQ(host.Globals()->fileDescriptor, -1);
    EXPECT_EQ(host.record.theRect32.right, 0);

    // The recorder's refusal is a failed start as well.
    InstallLumivex(m_appFolder);
    Host refused;
    refused.startAnswer = -1;
    EXPECT_EQ(refused.Export().start, errPlugInHostInsufficient);
    EXPECT_EQ(refused.starts.size(), 1u);
}

TEST_F(StartTest, ExecutableIsLookedUpInTheFamilyIniThenOnThePath)
{
    const std::string onPath = m_home + "/path-bin";
    ASSERT_TRUE(MakeFolder(onPath, 0755));
    ASSERT_TRUE(WriteFile(onPath + "/lumivex", "#!/bin/sh\n", 0755));
    const std::string relative = m_home + "/work";
    ASSERT_TRUE(MakeFolder(relative));
    ASSERT_TRUE(MakeFolder(relative + "/bin", 0755));
    ASSERT_TRUE(WriteFile(relative + "/bin/lumivex", "#!/bin/sh\n", 0755));
    ASSERT_EQ(::chdir(relative.c_str()), 0);

    struct Case {
        const char* name;
        std::string ini;   // content of the family INI, empty: none
        std::string path;  // $PATH
        std::string expected;
    };
    const Case cases[] = {
        {"family INI first", "[General]\nPath=" + m_appFolder + "\n", onPath, m_appFolder + "/lumivex"},
        {"INI folder without the program", "[General]\nPath=" + m_home + "\n", onPath, onPath + "/lumivex"},
        {"relative INI folder", "[General]\nPath=app/bin\n", onPath, onPath + "/lumivex"},
        {"no INI", "", "/nonexistent:" + onPath, onPath + "/lumivex"},
        {"relative PATH entries are skipped", "", "bin::./bin", ""},
        {"not executable", "", m_home, ""},
    };
    ASSERT_TRUE(WriteFile(m_home + "/lumivex", "#!/bin/sh\n", 0644));
    for (const Case& c : cases) {
        RemoveFamilyIni();
        if (!c.ini.empty()) {
            ASSERT_TRUE(WriteFile(m_home + "/Vorlix Series/Lumivex Pro.ini", c.ini));
        }
        setenv("PATH", c.path.c_str(), 1);
        Host host;
        const Host::ExportResult r = host.Export();
        if (c.expected.empty()) {
            EXPECT_EQ(r.start, errPlugInHostInsufficient) << c.name;
            EXPECT_TRUE(host.starts.empty()) << c.name;
        } else {
            EXPECT_EQ(r.start, noErr) << c.name;
            ASSERT_EQ(host.starts.size(), 1u) << c.name;
            EXPECT_EQ(host.starts[0].at(0), c.expected) << c.name;
        }
    }
}

template <typename Predicate>
bool waitFor(Predicate done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST_F(StartTest, RealStartIsDetachedAndGetsNoOpenFiles)
{
    const std::string runtime = m_home + "/run $(touch PWNED) `touch PWNED2` \"q\"";
    UseFolders(m_home, runtime);
    InstallLumivex(m_appFolder, "#!/bin/sh\n"
                                "printf '%s\\n' \"$#\" \"$1\" > \"$0.args\"\n"
                                "echo $$ > \"$0.pid.tmp\"\n"
                                "mv \"$0.pid.tmp\" \"$0.pid\"\n"
                                "exec sleep 30\n");
    ASSERT_EQ(::chdir(m_home.c_str()), 0);
    // A descriptor of the host that the program must not inherit.
    const int leaked = ::open("/dev/zero", O_RDONLY);
    ASSERT_GE(leaked, 0);

    Host host;
    host.recordStarts = false;
    EXPECT_EQ(host.Export().start, noErr);
    ::close(leaked);

    // No child of the host is left, running or as a zombie.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    const std::string pidFile = m_appFolder + "/lumivex.pid";
    ASSERT_TRUE(waitFor([&] { return Exists(pidFile); }));
    const pid_t pid = static_cast<pid_t>(std::atoi(ReadFile(pidFile).c_str()));
    ASSERT_GT(pid, 0);
    const std::string proc = "/proc/" + std::to_string(pid);
    ASSERT_TRUE(waitFor([&] { return ReadFile(proc + "/comm") == "sleep\n"; }));

    std::set<std::string> descriptors;
    if (DIR* dir = ::opendir((proc + "/fd").c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            descriptors.insert(name);
            char target[PATH_MAX];
            const ssize_t n = ::readlink((proc + "/fd/" + name).c_str(), target, sizeof target - 1);
            EXPECT_EQ(std::string(target, n > 0 ? static_cast<size_t>(n) : 0), "/dev/null") << "fd " << name;
        }
        ::closedir(dir);
    }
    EXPECT_EQ(descriptors, (std::set<std::string>{"0", "1", "2"}));
    EXPECT_NE(::getsid(pid), ::getsid(0));
    const std::string stat = ReadFile(proc + "/stat");
    const size_t close = stat.rfind(')');
    ASSERT_NE(close, std::string::npos);
    const pid_t parent = static_cast<pid_t>(std::atoi(stat.c_str() + close + 4));
    EXPECT_NE(parent, ::getpid());

    EXPECT_EQ(ReadFile(m_appFolder + "/lumivex.args"), "1\n" + runtime + "/HDRVorlixImport/Test_Image.ppm\n");
    EXPECT_FALSE(Exists(m_home + "/PWNED"));
    EXPECT_FALSE(Exists(m_home + "/PWNED2"));
    ::kill(pid, SIGKILL);
}

TEST_F(StartTest, ProgramThatCannotBeExecutedIsAFailedStart)
{
    InstallLumivex(m_appFolder, "#!/nonexistent/interpreter\n");
    Host host;
    host.recordStarts = false;
    EXPECT_EQ(host.Export().start, errPlugInHostInsufficient);
    const std::string path = HandoffFolder() + "/Test_Image.ppm";
    EXPECT_EQ(fileSize(path), kDefaultFileSize);
    EXPECT_EQ(OpenDescriptorsOf(path), 0);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
