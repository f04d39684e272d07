#pragma once
// The program's folders as text (never created here):
// - the application folder: the executable's folder cut before its last "/"
//   (<build>/lumivex for <build>/lumivex/bin/lumivex); it holds "settings",
//   "images", "textures", "translations" and "help";
// - the user settings folder "$HOME/Lumivex Pro/" (platform/userpaths.h).

#include <QString>

namespace lumivex {

// The application folder, without a trailing "/".
QString ApplicationFolder();
// Replaces the folder ApplicationFolder() reports (tests run from another
// folder than the program); an empty text returns to the real one.
void SetApplicationFolder(const QString& folder);

} // namespace lumivex
