#include "plugin/Helpers.h"

#include <cstdio>
#include <cstring>

namespace _hlp {

void ThrowParamMissed()
{
    throw eErrParamMissed;
}

void StrPrintFV(char* buffer, unsigned size, const char* format, va_list args)
{
    NotNull(buffer);
    NotNull(format);
    Require(size > 0);
    const int n = std::vsnprintf(buffer, size, format, args);
    if (n < 0)
        buffer[0] = cTRAILING_ZERO;
    buffer[size - 1] = cTRAILING_ZERO;
}

void StrPrintF(char* buffer, unsigned size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        StrPrintFV(buffer, size, format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void StrCopy(char* target, unsigned size, const char* source)
{
    NotNull(target);
    NotNull(source);
    Require(size > 0);
    unsigned i = 0;
    for (; i + 1 < size && source[i] != cTRAILING_ZERO; ++i)
        target[i] = source[i];
    target[i] = cTRAILING_ZERO;
}

unsigned StrGetLen(const char* text)
{
    return static_cast<unsigned>(std::strlen(NotNull(text)));
}

bool HasSeparator(const std::string& path)
{
    return !path.empty() && path.back() == cPATH_SEPARATOR;
}

std::string AddSeparator(const std::string& path)
{
    if (path.empty() || HasSeparator(path))
        return path;
    return path + cPATH_SEPARATOR;
}

std::string RemoveSeparator(const std::string& path)
{
    if (!HasSeparator(path))
        return path;
    return path.substr(0, path.size() - 1);
}

std::string CreatePath(const std::string& folder, const std::string& name)
{
    return AddSeparator(folder) + name;
}

bool CharIsLegal(char c)
{
    return c != cTRAILING_ZERO && std::strchr(pcLEGAL_CHARS, c) != nullptr;
}

std::string RemoveIllegalChars(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (!CharIsLegal(c))
            c = '_';
    return result;
}

} // namespace _hlp
