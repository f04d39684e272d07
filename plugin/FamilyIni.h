#pragma once
// Reads one value of the general section of an INI file written by Qt's
// settings class (QSettings, INI format): section headers, comments, quoted
// values, backslash escapes, line continuations and percent-encoded keys.

#include <string>

namespace _sys {

// Value of key in the general section of the INI text, as UTF-8. False when
// the key is absent or its value is not a single string (a list, or a value
// of another type).
bool ParseIniString(const std::string& content, const std::string& key, std::string& value);

// The same for a file; files larger than 1 MiB are not read.
bool ReadIniString(const std::string& file, const std::string& key, std::string& value);

} // namespace _sys
