#include "plugin/Export.h"

#include "plugin/Helpers.h"
#include "plugin/PIUtilities.h"
#include "plugin/System.h"

#include <cstdint>
#include <new>

namespace _exp {

namespace {

constexpr int32 kMaxHeaderLine = 30;

int16 WriteFormattedLine(const SGlobals* globals, const char* format, ...) __attribute__((format(printf, 2, 3)));

int16 WriteFormattedLine(const SGlobals* globals, const char* format, ...)
{
    char buffer[33];
    _hlp::MiscFill(buffer, sizeof buffer, cTRAILING_ZERO);
    va_list args;
    va_start(args, format);
    try {
        _hlp::StrPrintFV(buffer, sizeof buffer, format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return WriteHeaderLine(globals, buffer);
}

} // namespace

unsigned SExportRegion::GetNumPixel() const
{
    if (rect.left >= 0 && rect.right >= 0 && rect.left < rect.right)
        return static_cast<unsigned>(rect.right - rect.left);
    return 0;
}

bool IsRGBMode(const ExportRecord* record)
{
    _hlp::NotNull(record);
    const int16 mode = record->imageMode;
    return (mode == plugInModeRGBColor || mode == plugInModeRGB48 || mode == plugInModeRGB96) && record->planes > 2;
}

bool IsGrayMode(const ExportRecord* record)
{
    _hlp::NotNull(record);
    const int16 mode = record->imageMode;
    return (mode == plugInModeGrayScale || mode == plugInModeGray16 || mode == plugInModeGray32) && record->planes > 0;
}

unsigned GetInputMode(const ExportRecord* record)
{
    unsigned base = 0;
    if (IsRGBMode(record))
        base = 1;
    else if (IsGrayMode(record))
        base = 4;
    else
        return 0;
    switch (record->depth) {
    case 8:
        return base;
    case 16:
        return base + 1;
    case 32:
        return base + 2;
    default:
        return 0;
    }
}

unsigned GetInputDepth(const ExportRecord* record)
{
    const unsigned mode = GetInputMode(record);
    return mode == 0 ? 0 : (mode - 1) % 3 + 1;
}

unsigned GetExportMode(const ExportRecord* record)
{
    const unsigned depth = GetInputDepth(record);
    if (depth == 0)
        return 0;
    return depth == 3 ? 2 : 1;
}

EInputFormat GetInputFormat(const ExportRecord* record)
{
    const unsigned mode = GetInputMode(record);
    if (mode == 0)
        return eInputFormatNone;
    return mode <= 3 ? eInputFormatRGB : eInputFormatGray;
}

IConvertBuffer* CreateBuffer(const ExportRecord* record)
{
    switch (GetInputDepth(record)) {
    case 1:
        return new (std::nothrow) CConvertBuffer8();
    case 2:
        return new (std::nothrow) CConvertBuffer16();
    case 3:
        return new (std::nothrow) CConvertBuffer32();
    default:
        return nullptr;
    }
}

void DestroyBuffer(IConvertBuffer*& buffer)
{
    delete buffer;
    buffer = nullptr;
}

int16 FetchData(SGlobals* globals, const SExportRegion* region, void** data, unsigned* size)
{
    _hlp::NotNull(globals);
    _hlp::NotNull(region);
    _hlp::NotNull(data);
    _hlp::NotNull(size);
    ExportRecord* record = _hlp::NotNull(globals->record);
    *data = nullptr;
    *size = 0;
    if (!WarnHostAdvanceStateAvailable(record->advanceState))
        return eErrParam;
    _hlp::CopyRect(record->theRect32, region->rect);
    record->loPlane = region->loPlane;
    record->hiPlane = region->hiPlane;
    const int16 result = record->advanceState();
    if (result == eErrNone) {
        *data = record->data;
        *size = record->rowBytes > 0 ? static_cast<unsigned>(record->rowBytes) : 0;
    }
    return result;
}

int16 ConvertData(SGlobals* globals, void** data, unsigned* size, unsigned count)
{
    _hlp::NotNull(globals);
    _hlp::NotNull(data);
    _hlp::NotNull(size);
    _hlp::Require(count > 0);
    IConvertBuffer* buffer = _hlp::NotNull(globals->buffer);
    // No pixels or no bytes from the host: too little for the chunk.
    if (*data == nullptr || *size == 0)
        return eErrParam;
    if (buffer->SetData(*data, *size, count) && buffer->ConvertData(count) && buffer->GetData(data, size, count))
        return eErrNone;
    return eErrParam;
}

int16 CheckAbort(const ExportRecord* record)
{
    _hlp::NotNull(record);
    return record->abortProc != nullptr && record->abortProc() ? eErrUserCanceled : eErrNone;
}

int16 ExportImage(SGlobals* globals)
{
    _hlp::NotNull(globals);
    ExportRecord* record = _hlp::NotNull(globals->record);
    // An empty image has nothing to export; nothing is written.
    if (record->imageSize32.h <= 0 || record->imageSize32.v <= 0)
        return eErrParam;
    if (GetInputDepth(record) == 0)
        return eErrParam;
    DestroyBuffer(globals->buffer);
    globals->buffer = CreateBuffer(record);
    if (globals->buffer == nullptr)
        return eErrMemFull;

    int16 result = eErrParam;
    IConvertBuffer* buffer = globals->buffer;
    if (buffer->Create(GetInputFormat(record), static_cast<unsigned>(record->planes)) && buffer->GetMaxPixel() > 0) {
        result = WriteImageHeader(globals);
        if (result == eErrNone) {
            const uint32_t width = static_cast<uint32_t>(record->imageSize32.h);
            const uint32_t height = static_cast<uint32_t>(record->imageSize32.v);
            const uint32_t chunk = buffer->GetMaxPixel();
            const uint32_t chunks = width / chunk + (width % chunk != 0 ? 1 : 0);
            const int16 lastPlane = _hlp::MathMax<int16>(static_cast<int16>(record->planes - 1), 0);
            for (uint32_t i = 0;; ++i) {
                for (uint32_t j = 0;; ++j) {
                    SExportRegion region;
                    const uint64_t left = static_cast<uint64_t>(j) * chunk;
                    const uint64_t right = _hlp::MathMin<uint64_t>(left + chunk, width);
                    _hlp::SetRect(region.rect, static_cast<int32>(left), static_cast<int32>(right),
                                  static_cast<int32>(i), static_cast<int32>(i + 1));
                    region.loPlane = 0;
                    region.hiPlane = lastPlane;
                    void* data = nullptr;
                    unsigned size = 0;
                    result = FetchData(globals, &region, &data, &size);
                    if (result == eErrNone)
                        result = ConvertData(globals, &data, &size, region.GetNumPixel());
                    if (result == eErrNone)
                        result = WriteToExportFile(globals, data, size);
                    if (result == eErrNone)
                        result = CheckAbort(record);
                    if (result != eErrNone || j + 1 >= chunks)
                        break;
                }
                // Reported also for the row in which an error occurred.
                if (record->progressProc != nullptr)
                    record->progressProc(static_cast<int32>(i), static_cast<int32>(height));
                if (result != eErrNone || i + 1 >= height)
                    break;
            }
        }
    }
    DestroyBuffer(globals->buffer);
    return result;
}

bool GetExportFolder(std::string& folder, bool clean)
{
    folder.clear();
    std::string temp;
    if (!_sys::GetTempFolder(temp))
        return false;
    const std::string candidate = _hlp::CreatePath(temp, pcEXPORT_SUB_FOLDER);
    // A link, a non-folder or a folder of another user is refused.
    if (!_sys::MakePrivateFolder(candidate))
        return false;
    if (clean)
        _sys::CleanFolder(candidate);
    folder = candidate;
    return true;
}

bool GetExportFilename(const ExportRecord* record, std::string& name)
{
    name.clear();
    _hlp::NotNull(record);
    std::string text(reinterpret_cast<const char*>(record->filename + 1), record->filename[0]);
    const size_t separator = text.rfind(cPATH_SEPARATOR);
    if (separator != std::string::npos)
        text.erase(0, separator + 1);
    const size_t point = text.rfind(cPOINT);
    if (point != std::string::npos)
        text.erase(point);
    text = _hlp::RemoveIllegalChars(text);
    if (!text.empty()) {
        switch (GetExportMode(record)) {
        case 1:
            text = text + cPOINT + pcEXPORT_EXTENSION_PPM;
            break;
        case 2:
            text = text + cPOINT + pcEXPORT_EXTENSION_PFM;
            break;
        default:
            text.clear();
            break;
        }
    }
    name = text;
    return !name.empty();
}

bool FitExportFilename(const std::string& folder, std::string& name)
{
    const size_t fixed = _hlp::AddSeparator(folder).size();
    if (fixed + name.size() <= kMaxPathLength)
        return true;
    const size_t point = name.rfind(cPOINT);
    const std::string ending = point == std::string::npos ? std::string() : name.substr(point);
    if (fixed + ending.size() + 1 > kMaxPathLength)
        return false;
    name = name.substr(0, kMaxPathLength - fixed - ending.size()) + ending;
    return true;
}

int16 OpenExportFile(SGlobals* globals)
{
    _hlp::NotNull(globals);
    globals->fileDescriptor = -1;
    int descriptor = -1;
    if (_sys::OpenFile(descriptor, globals->path, true, true)) {
        globals->fileDescriptor = descriptor;
        return eErrNone;
    }
    return eErrOpen;
}

int16 CloseExportFile(SGlobals* globals)
{
    _hlp::NotNull(globals);
    return _sys::CloseFile(globals->fileDescriptor) ? eErrNone : eErrParam;
}

int16 WriteToExportFile(const SGlobals* globals, const void* data, unsigned length)
{
    _hlp::NotNull(globals);
    return _sys::WriteFile(globals->fileDescriptor, data, length) ? eErrNone : eErrWrite;
}

int16 WriteHeaderLine(const SGlobals* globals, const char* text)
{
    _hlp::NotNull(text);
    const unsigned length = _hlp::StrGetLen(text);
    if (length > static_cast<unsigned>(kMaxHeaderLine))
        return eErrParam;
    char line[kMaxHeaderLine + 2];
    for (unsigned i = 0; i < length; ++i)
        line[i] = text[i];
    line[length] = '\n';
    return WriteToExportFile(globals, line, length + 1);
}

int16 WriteHeaderLine(const SGlobals* globals, const char* format, long value)
{
    return WriteFormattedLine(globals, format, value);
}

int16 WriteHeaderLine(const SGlobals* globals, const char* format, const char* value)
{
    return WriteFormattedLine(globals, format, value);
}

int16 WritePPMHeader(const SGlobals* globals)
{
    const ExportRecord* record = _hlp::NotNull(_hlp::NotNull(globals)->record);
    int16 result = WriteHeaderLine(globals, "%s", "P6");
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%li", static_cast<long>(record->imageSize32.h));
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%li", static_cast<long>(record->imageSize32.v));
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%li", 65535L);
    return result;
}

int16 WritePFMHeader(const SGlobals* globals)
{
    const ExportRecord* record = _hlp::NotNull(_hlp::NotNull(globals)->record);
    int16 result = WriteHeaderLine(globals, "%s", "PF");
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%li", static_cast<long>(record->imageSize32.h));
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%li", static_cast<long>(record->imageSize32.v));
    if (result == eErrNone)
        result = WriteHeaderLine(globals, "%s", "-1.0000");
    return result;
}

int16 WriteImageHeader(const SGlobals* globals)
{
    const ExportRecord* record = _hlp::NotNull(_hlp::NotNull(globals)->record);
    switch (GetExportMode(record)) {
    case 1:
        return WritePPMHeader(globals);
    case 2:
        return WritePFMHeader(globals);
    default:
        return eErrParam;
    }
}

} // namespace _exp

int16 SetExportFile(SGlobals* globals)
{
    _hlp::NotNull(globals);
    _hlp::MiscFill(globals->path, sizeof globals->path, cTRAILING_ZERO);
    std::string folder;
    if (!_exp::GetExportFolder(folder, true))
        return eErrParam;
    std::string name;
    if (!_exp::GetExportFilename(_hlp::NotNull(globals->record), name))
        return eErrParam;
    if (!_exp::FitExportFilename(folder, name))
        return eErrParam;
    const std::string path = _hlp::CreatePath(folder, name);
    _hlp::StrCopy(globals->path, sizeof globals->path, path.c_str());
    return eErrNone;
}
