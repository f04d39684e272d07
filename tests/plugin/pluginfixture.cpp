#include "pluginfixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plugintest {

namespace {

std::string g_root;
int g_counter = 0;

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

} // namespace

void SetRoot(const std::string& root)
{
    g_root = root;
}

void RemoveTree(const std::string& path)
{
    // Folders that a test made unreadable are opened up first.
    ::nftw(path.c_str(), [](const char* p, const struct stat* st, int type, struct FTW*) {
        if (type == FTW_D || type == FTW_DNR)
            ::chmod(p, 0700);
        return 0;
    }, 16, FTW_PHYS);
    ::nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFile(const std::string& path, const std::string& content, unsigned mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ::fchmod(fd, mode);
    return ::close(fd) == 0 && ok;
}

bool MakeFolder(const std::string& path, unsigned mode)
{
    if (::mkdir(path.c_str(), mode) != 0)
        return false;
    return ::chmod(path.c_str(), mode) == 0;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

int OpenDescriptorsOf(const std::string& path)
{
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    if (dir == nullptr)
        return -1;
    while (const dirent* e = ::readdir(dir)) {
        const std::string link = std::string("/proc/self/fd/") + e->d_name;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == path)
            ++count;
    }
    ::closedir(dir);
    return count;
}

void PluginTest::SetUp()
{
    carbonshim::Reset();
    const std::string base = g_root + "/t" + std::to_string(++g_counter);
    ASSERT_TRUE(MakeFolder(base));
    UseFolders(base + "/home", base + "/run");
    m_appFolder = base + "/app/bin";
    ASSERT_TRUE(MakeFolder(base + "/app"));
    InstallLumivex(m_appFolder);
}

void PluginTest::TearDown()
{
    carbonshim::Reset();
}

void PluginTest::UseFolders(const std::string& home, const std::string& runtime)
{
    m_home = home;
    m_runtime = runtime;
    if (!Exists(home))
        MakeFolder(home);
    setenv("HOME", home.c_str(), 1);
    if (runtime.empty()) {
        unsetenv("XDG_RUNTIME_DIR");
    } else {
        if (!Exists(runtime))
            MakeFolder(runtime);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}

void PluginTest::InstallLumivex(const std::string& folder, const std::string& script)
{
    if (!Exists(folder))
        MakeFolder(folder, 0755);
    WriteFile(folder + "/lumivex", script, 0755);
    const std::string family = m_home + "/Vorlix Series";
    if (!Exists(family))
        MakeFolder(family);
    // Qt quotes a value with ';', ',' or '=' and escapes '"' and '\'.
    std::string escaped;
    bool quote = false;
    for (char c : folder) {
        if (c == ';' || c == ',' || c == '=')
            quote = true;
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    if (quote)
        escaped = "\"" + escaped + "\"";
    WriteFile(family + "/Lumivex Pro.ini", "[General]\nPath=" + escaped + "\nVersion_Family=1\n");
}

std::string PluginTest::HandoffFolder() const
{
    const std::string temp = m_runtime.empty() ? m_home + "/.cache" : m_runtime;
    return temp + "/HDRVorlixImport";
}

} // namespace plugintest
