#include "plugin/System.h"

#include "plugin/DataGlobal.h"
#include "plugin/FamilyIni.h"
#include "plugin/Helpers.h"
#include "plugin/host/CarbonShim.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace _sys {

namespace {

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path[0] == cPATH_SEPARATOR;
}

// Creates the missing folders on the way to folder (mode 0700).
void createParents(const std::string& folder)
{
    for (size_t pos = folder.find(cPATH_SEPARATOR, 1); pos != std::string::npos;
         pos = folder.find(cPATH_SEPARATOR, pos + 1)) {
        const std::string prefix = folder.substr(0, pos);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return;
    }
}

bool isExecutableFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Moves a descriptor above the standard streams, so that the child can put
// /dev/null on 0, 1 and 2 without losing it.
int aboveStandardStreams(int fd)
{
    if (fd > STDERR_FILENO)
        return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

void closeDescriptorsExcept(int keep, int maxDescriptor)
{
    bool closed = true;
    if (keep > STDERR_FILENO + 1)
        closed = ::close_range(STDERR_FILENO + 1, static_cast<unsigned>(keep) - 1, 0) == 0;
    if (closed && ::close_range(static_cast<unsigned>(keep) + 1, ~0U, 0) == 0)
        return;
    for (int fd = STDERR_FILENO + 1; fd < maxDescriptor; ++fd)
        if (fd != keep)
            ::close(fd);
}

} // namespace

std::string GetHomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    struct passwd pwd;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &pwd, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return std::string();
}

namespace {

// Opens folder (created with mode 0700, parents included, when missing) when
// it is a real folder of the user; -1 for a link in its place, an entry that
// is not a folder or a folder of another user. Checked through the
// descriptor, so a link cannot slip in between.
int openOwnFolder(const std::string& folder)
{
    _hlp::Require(!folder.empty());
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return -1;
        createParents(folder);
        if (!CreateFolder(folder) && errno != EEXIST)
            return -1;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool MakePrivateFolder(const std::string& folder)
{
    const int fd = openOwnFolder(folder);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && (st.st_mode & 07777) != 0700)
        ok = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

bool UseBaseFolder(const std::string& folder)
{
    const int fd = openOwnFolder(folder);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool GetTempFolder(std::string& folder)
{
    folder.clear();
    std::string base;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && isAbsolute(runtime)) {
        base = runtime;
    } else {
        const std::string home = GetHomeFolder();
        if (!isAbsolute(home))
            return false;
        base = _hlp::CreatePath(home, ".cache");
    }
    while (base.size() > 1 && _hlp::HasSeparator(base))
        base = _hlp::RemoveSeparator(base);
    if (base.size() > kMaxPathLength || !UseBaseFolder(base))
        return false;
    folder = base;
    return true;
}

bool PathExists(const std::string& path)
{
    _hlp::Require(!path.empty());
    struct stat st;
    const std::string p = path.size() > 1 ? _hlp::RemoveSeparator(path) : path;
    return ::lstat(p.c_str(), &st) == 0;
}

bool CreateFolder(const std::string& path)
{
    _hlp::Require(!path.empty());
    return ::mkdir(path.c_str(), 0700) == 0;
}

bool IsFile(const std::string& path)
{
    _hlp::Require(!path.empty());
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode));
}

void CleanFolder(const std::string& folder)
{
    _hlp::Require(!folder.empty());
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0)
        return;
    for (const std::string& name : _hlp::GetFolderEntries(folder)) {
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
            ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::close(dirFd);
}

bool OpenFile(int& descriptor, const std::string& path, bool create, bool write)
{
    _hlp::Require(!path.empty());
    descriptor = -1;
    // No link is followed, and a FIFO without a reader does not block.
    int flags = (write ? O_WRONLY : O_RDONLY) | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    if (create)
        flags |= O_CREAT | O_TRUNC;
    const int fd = create ? ::open(path.c_str(), flags, 0600) : ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    descriptor = fd;
    return true;
}

bool WriteFile(const int& descriptor, const void* data, unsigned length)
{
    _hlp::NotNull(data);
    _hlp::Require(descriptor != -1 && length != 0);
    const ssize_t written = ::write(descriptor, data, length);
    return written >= 0 && static_cast<size_t>(written) == length;
}

bool CloseFile(int& descriptor)
{
    if (descriptor == -1)
        return true;
    const int result = ::close(descriptor);
    descriptor = -1;
    return result == 0;
}

bool FindApplication(std::string& executable)
{
    executable.clear();
    const std::string home = GetHomeFolder();
    if (isAbsolute(home)) {
        const std::string ini = _hlp::CreatePath(_hlp::CreatePath(home, pcFAMILY_SUB_FOLDER), pcFAMILY_INI);
        std::string folder;
        if (ReadIniString(ini, pcFAMILY_INI_PATH_KEY, folder) && isAbsolute(folder) &&
            folder.find(cTRAILING_ZERO) == std::string::npos) {
            const std::string candidate = _hlp::CreatePath(folder, pcEXECUTABLE_NAME);
            if (isExecutableFile(candidate)) {
                executable = candidate;
                return true;
            }
        }
    }
    const char* pathVariable = std::getenv("PATH");
    const std::string searchPath = pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        const std::string folder = searchPath.substr(start, end - start);
        // Relative entries (the empty one means the current folder) are not searched.
        if (isAbsolute(folder)) {
            const std::string candidate = _hlp::CreatePath(folder, pcEXECUTABLE_NAME);
            if (isExecutableFile(candidate)) {
                executable = candidate;
                return true;
            }
        }
        start = end + 1;
    }
    return false;
}

bool SpawnDetached(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0].empty())
        return false;
    // Everything the children need is made before the fork: after it only
    // async-signal-safe calls are made.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int devNull = aboveStandardStreams(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (devNull < 0)
        return false;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        ::close(devNull);
        return false;
    }
    report[0] = aboveStandardStreams(report[0]);
    report[1] = aboveStandardStreams(report[1]);
    if (report[0] < 0 || report[1] < 0) {
        if (report[0] >= 0)
            ::close(report[0]);
        if (report[1] >= 0)
            ::close(report[1]);
        ::close(devNull);
        return false;
    }
    long openMax = ::sysconf(_SC_OPEN_MAX);
    if (openMax < 0 || openMax > 65536)
        openMax = 65536;
    const int maxDescriptor = static_cast<int>(openMax);

    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);

    const pid_t child = ::fork();
    if (child == 0) {
        // The intermediate child: a new session, then the program's process,
        // whose parent becomes init once this one has ended.
        ::setsid();
        const pid_t grandChild = ::fork();
        if (grandChild != 0)
            ::_exit(grandChild < 0 ? 1 : 0);
        for (int s = 1; s < NSIG; ++s) {
            struct sigaction action;
            std::memset(&action, 0, sizeof action);
            action.sa_handler = SIG_DFL;
            ::sigaction(s, &action, nullptr);
        }
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        closeDescriptorsExcept(report[1], maxDescriptor);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execv(args[0], args.data());
        const int error = errno;
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(report[1]);
    ::close(devNull);
    if (child < 0) {
        ::close(report[0]);
        return false;
    }
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    const bool intermediateOk = waited < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // The report pipe closes without data when the program was executed.
    int error = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return intermediateOk && n == 0;
}

short StartApplication(const std::string& path)
{
    _hlp::Require(!path.empty());
    std::string executable;
    if (!FindApplication(executable))
        return eErrStartFailed;
    const std::vector<std::string> argv{executable, path};
    if (ShimStartRecorder recorder = ShimGetStartRecorder()) {
        const char* const args[] = {argv[0].c_str(), argv[1].c_str(), nullptr};
        return recorder(args) == 0 ? eErrNone : eErrStartFailed;
    }
    return SpawnDetached(argv) ? eErrNone : eErrStartFailed;
}

} // namespace _sys

namespace _hlp {

std::vector<std::string> GetFolderEntries(const std::string& folder)
{
    std::vector<std::string> entries;
    if (folder.empty())
        return entries;
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0)
        return entries;
    DIR* dir = ::fdopendir(dirFd);
    if (dir == nullptr) {
        ::close(dirFd);
        return entries;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (_sys::IsFile(CreatePath(folder, name)))
            entries.push_back(name);
    }
    ::closedir(dir);
    return entries;
}

} // namespace _hlp
