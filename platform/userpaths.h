#pragma once
// Where the program keeps its files on this platform.

#include <QString>

namespace lumivex::platform {

// "$HOME/Lumivex Pro/" (with the trailing slash), the user settings folder.
QString userSettingsFolder();
// "$HOME/Vorlix Series/", where the programs of the family leave their INI files.
QString familyFolder();
// The per-user temporary folder: $XDG_RUNTIME_DIR, else $HOME/.cache, created
// with mode 0700 when missing; an existing one keeps its mode (it may be
// shared), so callers keep their files in a private folder of their own
// inside. Empty when it cannot be had safely (a link in its place, not a
// folder, or a folder of another user).
QString privateTempFolder();
// Creates path (and its parents) when missing; true when it is a folder.
bool ensureFolder(const QString& path);

} // namespace lumivex::platform
