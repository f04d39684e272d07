#pragma once
// File system and process start of the plug-in (POSIX).

#include <string>
#include <vector>

namespace _sys {

// The user's home folder: $HOME, else the password database.
std::string GetHomeFolder();

// The per-user temporary folder: $XDG_RUNTIME_DIR when set and absolute,
// else $HOME/.cache; checked by UseBaseFolder, never changed. False and an
// empty string when it cannot be had safely or is longer than 255.
bool GetTempFolder(std::string& folder);

// Makes folder a private folder of the user: created with mode 0700 when
// missing; a link in its place, an entry that is not a folder or a folder of
// another user is refused (false); a wider mode is tightened to 0700. Only for
// folders the plug-in owns (the hand-off folder).
bool MakePrivateFolder(const std::string& folder);

// A folder the plug-in works in but does not own (the temporary folder, which
// may be shared): created with mode 0700 when missing; refused (false) like
// MakePrivateFolder; an existing folder's mode is left as it is.
bool UseBaseFolder(const std::string& folder);

// Whether the entry exists (a link counts, whatever it points to).
bool PathExists(const std::string& path);
// Creates one folder level with mode 0700.
bool CreateFolder(const std::string& path);
// A regular file or a symbolic link (not followed): what the hand-off folder
// may lose when it is emptied.
bool IsFile(const std::string& path);
// Removes the regular files and links (never their targets) directly inside
// folder; folders, their contents and other entries stay. Failures are ignored.
void CleanFolder(const std::string& folder);

// Opens a regular file; a link in its place is refused. create adds creation
// (mode 0600) and truncation.
bool OpenFile(int& descriptor, const std::string& path, bool create, bool write);
// One write call; true only when all bytes were written.
bool WriteFile(const int& descriptor, const void* data, unsigned length);
// Closes (descriptor -1 succeeds at once); the descriptor is -1 afterwards.
bool CloseFile(int& descriptor);

// The Lumivex executable: "Path" of the family INI + "/lumivex", else
// "lumivex" in an absolute folder of $PATH.
bool FindApplication(std::string& executable);

// Starts argv[0] with the argument vector, detached from the calling process
// (no zombie, its own session, standard streams on /dev/null, none of the
// caller's other descriptors) without waiting for it; true when the program
// was executed.
bool SpawnDetached(const std::vector<std::string>& argv);

// Starts Lumivex with the hand-off file: 0, or -30901 when no executable is
// found or it cannot be started.
short StartApplication(const std::string& path);

} // namespace _sys

namespace _hlp {
// Names of the entries of folder for which _sys::IsFile holds, in listing order.
std::vector<std::string> GetFolderEntries(const std::string& folder);
} // namespace _hlp
