#include "plugin/FamilyIni.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace _sys {

namespace {

constexpr size_t kMaxIniSize = 1024 * 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '\\' || c == '"' || c == ';' || c == '=';
}

// One logical line: a backslash or a quotation continues it across a line
// break, an unquoted ';' ends it (the rest is a comment), a line that begins
// with ';' is a comment. equalsPos is the first unquoted '='.
bool readIniLine(const std::string& data, size_t& dataPos, size_t& lineStart, size_t& lineLen, long& equalsPos)
{
    const size_t dataLen = data.size();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = dataPos;
    while (lineStart < dataLen && isSpace(data[lineStart]))
        ++lineStart;
    size_t i = lineStart;
    while (i < dataLen) {
        char ch = data[i];
        while (!isSpecial(ch)) {
            if (++i == dataLen)
                goto done;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == -1)
                equalsPos = static_cast<long>(i - 1);
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < dataLen) {
                const char c = data[i++];
                if (i < dataLen) {
                    const char c2 = data[i];
                    if ((c == '\n' && c2 == '\r') || (c == '\r' && c2 == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else {  // ';'
            if (i == lineStart + 1) {
                while (i < dataLen && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < dataLen && isSpace(data[i]))
                    ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    dataPos = i;
    lineLen = i > lineStart ? i - lineStart : 0;
    return lineLen > 0;
}

void appendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Keys: '\' stands for '/', %XX and %UXXXX for escaped characters.
std::string unescapeKey(const std::string& key)
{
    std::string result;
    for (size_t i = 0; i < key.size();) {
        const char c = key[i];
        if (c == '\\') {
            result += '/';
            ++i;
        } else if (c == '%' && i + 5 < key.size() && key[i + 1] == 'U' && hexValue(key[i + 2]) >= 0 &&
                   hexValue(key[i + 3]) >= 0 && hexValue(key[i + 4]) >= 0 && hexValue(key[i + 5]) >= 0) {
            const unsigned code = static_cast<unsigned>((hexValue(key[i + 2]) << 12) | (hexValue(key[i + 3]) << 8) |
                                                        (hexValue(key[i + 4]) << 4) | hexValue(key[i + 5]));
            appendUtf8(result, code);
            i += 6;
        } else if (c == '%' && i + 2 < key.size() && hexValue(key[i + 1]) >= 0 && hexValue(key[i + 2]) >= 0) {
            result += static_cast<char>((hexValue(key[i + 1]) << 4) | hexValue(key[i + 2]));
            i += 3;
        } else {
            result += c;
            ++i;
        }
    }
    return result;
}

void chopTrailingSpaces(std::string& s, size_t limit)
{
    while (s.size() > limit && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
}

// A value: quotation marks group text (and keep its spaces), backslash
// escapes, an unquoted ',' separates list elements. Answers false for a list.
bool unescapeValue(const std::string& str, std::string& result)
{
    static const char escapeCodes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
                                          {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    bool isList = false;
    bool inQuotes = false;
    bool currentQuoted = false;
    size_t i = 0;
    size_t chopLimit = 0;
    result.clear();

    auto skipSpaces = [&]() {
        while (i < str.size() && (str[i] == ' ' || str[i] == '\t'))
            ++i;
    };
    skipSpaces();
    chopLimit = result.size();
    while (i < str.size()) {
        const char c = str[i];
        if (c == '\\') {
            ++i;
            if (i >= str.size())
                break;
            const char e = str[i++];
            bool simple = false;
            for (const auto& code : escapeCodes) {
                if (e == code[0]) {
                    result += code[1];
                    simple = true;
                    break;
                }
            }
            if (simple) {
                chopLimit = result.size();
                continue;
            }
            if (e == 'x') {
                if (i < str.size() && hexValue(str[i]) >= 0) {
                    unsigned value = 0;
                    while (i < str.size() && hexValue(str[i]) >= 0)
                        value = ((value << 4) | static_cast<unsigned>(hexValue(str[i++]))) & 0xFFFF;
                    appendUtf8(result, value);
                }
            } else if (e >= '0' && e <= '7') {
                unsigned value = static_cast<unsigned>(e - '0');
                while (i < str.size() && str[i] >= '0' && str[i] <= '7')
                    value = ((value << 3) | static_cast<unsigned>(str[i++] - '0')) & 0xFFFF;
                appendUtf8(result, value);
            } else if (e == '\n' || e == '\r') {
                if (i < str.size() && (str[i] == '\n' || str[i] == '\r') && str[i] != e)
                    ++i;
            }
            chopLimit = result.size();
        } else if (c == '"') {
            ++i;
            currentQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = result.size();
            }
        } else if (c == ',' && !inQuotes) {
            isList = true;
            ++i;
            result.clear();
            currentQuoted = false;
            skipSpaces();
            chopLimit = 0;
        } else {
            size_t j = i + 1;
            while (j < str.size() && str[j] != '\\' && str[j] != '"' && (inQuotes || str[j] != ','))
                ++j;
            result.append(str, i, j - i);
            i = j;
        }
    }
    if (!currentQuoted)
        chopTrailingSpaces(result, chopLimit);
    return !isList;
}

} // namespace

bool ParseIniString(const std::string& content, const std::string& key, std::string& value)
{
    value.clear();
    std::string data = content;
    if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0)
        data.erase(0, 3);

    bool inGeneral = true;  // keys before any section header
    bool found = false;
    size_t pos = 0;
    size_t lineStart = 0;
    size_t lineLen = 0;
    long equalsPos = -1;
    while (readIniLine(data, pos, lineStart, lineLen, equalsPos)) {
        if (data[lineStart] == '[') {
            const size_t close = data.find(']', lineStart);
            std::string section = (close == std::string::npos || close >= lineStart + lineLen)
                                      ? data.substr(lineStart + 1, lineLen - 1)
                                      : data.substr(lineStart + 1, close - lineStart - 1);
            while (!section.empty() && isSpace(section.front()))
                section.erase(0, 1);
            while (!section.empty() && isSpace(section.back()))
                section.pop_back();
            std::string lower = section;
            for (char& c : lower)
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            inGeneral = lower == "general";
            continue;
        }
        if (equalsPos < 0 || !inGeneral)
            continue;
        size_t keyEnd = static_cast<size_t>(equalsPos);
        while (keyEnd > lineStart && (data[keyEnd - 1] == ' ' || data[keyEnd - 1] == '\t'))
            --keyEnd;
        if (unescapeKey(data.substr(lineStart, keyEnd - lineStart)) != key)
            continue;
        size_t valueStart = static_cast<size_t>(equalsPos) + 1;
        const size_t lineEnd = lineStart + lineLen;
        while (valueStart < lineEnd && (data[valueStart] == ' ' || data[valueStart] == '\t'))
            ++valueStart;
        std::string text;
        bool single = unescapeValue(data.substr(valueStart, lineEnd - valueStart), text);
        // A text that begins with '@' is a typed value; "@@" is an escaped '@'.
        if (single && !text.empty() && text[0] == '@') {
            if (text.compare(0, 2, "@@") == 0)
                text.erase(0, 1);
            else if (text.compare(0, 11, "@ByteArray(") == 0 && text.back() == ')')
                text = text.substr(11, text.size() - 12);
            else if (text.compare(0, 8, "@String(") == 0 && text.back() == ')')
                text = text.substr(8, text.size() - 9);
            else
                single = false;
        }
        // Later entries of the same key replace earlier ones.
        found = single;
        value = single ? text : std::string();
    }
    return found;
}

bool ReadIniString(const std::string& file, const std::string& key, std::string& value)
{
    value.clear();
    if (file.empty())
        return false;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<unsigned long long>(st.st_size) > kMaxIniSize) {
        ::close(fd);
        return false;
    }
    std::string content(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    content.resize(done);
    return ParseIniString(content, key, value);
}

} // namespace _sys
