#pragma once
// Where the program keeps its files on this platform.

#include <QString>

namespace lumivex::platform {

// "$HOME/Lumivex Pro/" (with the trailing slash), the user settings folder.
QString userSettingsFolder();
// "$HOME/Vorlix Series/", where the programs of the family leave their INI files.
QString familyFolder();
// The private per-user temporary folder: $XDG_RUNTIME_DIR, else $HOME/.cache,
// created with mode 0700. Empty when it cannot be had safely (a link in its
// place, or a folder of another user).
QString privateTempFolder();
// Creates path (and its parents) when missing; true when it is a folder.
bool ensureFolder(const QString& path);

} // namespace lumivex::platform
