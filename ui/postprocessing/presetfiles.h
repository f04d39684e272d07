#pragma once
// The preset library's files: the factory folder beside the program, the
// user presets "lumivexpp_vu_%06i.ini" in the user settings folder, the
// numbering of new user presets and the reading of a preset file's header.

#include <QString>
#include <QStringList>

namespace PresetFiles {

// "<application folder>/settings/" and the user settings folder, each with
// a trailing "/".
QString FactoryFolder();
QString UserFolder();
// The name filters of factory presets (format version 3) and user presets.
QString FactoryFilter();
QString UserFilter();
// Files of a folder matching the filter, sorted by name.
QStringList List(const QString& folder, const QStringList& filters);
// Whether a preset file name (not its folder) names a user preset.
bool IsUserPresetName(const QString& path);
// The path of the next user preset: 1 + the highest number among the user
// presets' names (0 without any), skipping every path that exists. Empty
// when no free number is left.
QString NextUserPresetPath();

// The header of a preset file as the library compares it.
struct SHeader {
    bool hasTimeStamp = false, hasDisplayName = false, hasCategory = false;
    QString timeStamp, displayName, category;
    bool hasVersion = false;
    int family = 0, major = 0, minor = 0, build = 0;
};
SHeader ReadHeader(const QString& path);

// Import check codes: 0 importable, 1 no TimeStamp, 2 no DisplayName,
// 3 no Category, 4 other family or newer version, 5 already in the library.
int CheckImportable(const QString& path);

} // namespace PresetFiles
