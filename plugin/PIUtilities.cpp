#include "plugin/PIUtilities.h"

#include "plugin/DataGlobal.h"
#include "plugin/DialogUtilities.h"
#include "plugin/host/CarbonShim.h"

#include <cmath>
#include <cstring>

namespace {

// Pascal strings keep a NUL behind the last character inside their 256 bytes,
// so they hold at most 254 characters once something was appended.
constexpr int kMaxPascalLength = 255;

void bindGlobals(Ptr block, int16* result, void* record)
{
    int16** resultField = reinterpret_cast<int16**>(block);
    *resultField = result;
    if (result != nullptr)
        *result = noErr;
    void** recordField = reinterpret_cast<void**>(block + sizeof(int16*));
    *recordField = record;
}

} // namespace

extern "C" {

Ptr AllocateGlobals(int16* result, void* record, HandleProcs* procs, size_t size, intptr_t* data, InitGlobalsProc init)
{
    if (data == nullptr || size < sizeof(int16*) + sizeof(void*) || size > 0x7FFFFFFF)
        return nullptr;
    if (*data != 0) {
        Handle h = reinterpret_cast<Handle>(*data);
        Ptr block = HostLockHandle(procs, h, true);
        if (block != nullptr)
            bindGlobals(block, result, record);
        return block;
    }
    Handle h = HostNewHandle(procs, static_cast<int32>(size));
    if (h == nullptr)
        return nullptr;
    Ptr block = HostLockHandle(procs, h, true);
    if (block == nullptr) {
        HostDisposeHandle(procs, h);
        return nullptr;
    }
    bindGlobals(block, result, record);
    if (init != nullptr)
        init(block);
    *data = reinterpret_cast<intptr_t>(h);
    return block;
}

Boolean HostHandleProcsAvailable(const HandleProcs* procs, Boolean* newerVersion)
{
    if (procs == nullptr)
        return false;
    if (procs->handleProcsVersion > kCurrentHandleProcsVersion) {
        if (newerVersion != nullptr)
            *newerVersion = true;
        return false;
    }
    // Lock and unlock are required as well: they are called on every call.
    return procs->handleProcsVersion > 0 && procs->numHandleProcs >= kCurrentHandleProcsCount &&
           procs->newProc != nullptr && procs->disposeProc != nullptr && procs->getSizeProc != nullptr &&
           procs->setSizeProc != nullptr && procs->lockProc != nullptr && procs->unlockProc != nullptr;
}

Handle HostNewHandle(const HandleProcs* procs, int32 size)
{
    if (HostHandleProcsAvailable(procs, nullptr))
        return procs->newProc(size);
    return NewHandle(size);
}

Ptr HostLockHandle(const HandleProcs* procs, Handle h, Boolean moveHigh)
{
    if (h == nullptr)
        return nullptr;
    if (HostHandleProcsAvailable(procs, nullptr))
        return procs->lockProc(h, moveHigh);
    HLock(h);
    return *h;
}

void HostUnlockHandle(const HandleProcs* procs, Handle h)
{
    if (h == nullptr)
        return;
    if (HostHandleProcsAvailable(procs, nullptr))
        procs->unlockProc(h);
    else
        HUnlock(h);
}

void HostDisposeHandle(const HandleProcs* procs, Handle h)
{
    if (h == nullptr)
        return;
    if (HostHandleProcsAvailable(procs, nullptr))
        procs->disposeProc(h);
    else
        DisposeHandle(h);
}

Boolean HostAdvanceStateAvailable(AdvanceStateProc advanceState)
{
    return advanceState != nullptr;
}

Boolean WarnHostAdvanceStateAvailable(AdvanceStateProc advanceState)
{
    const Boolean available = HostAdvanceStateAvailable(advanceState);
    if (!available) {
        Str255 version;
        DoubleToString(version, 3.0, 1);
        ShowVersionAlert(nullptr, kVersionAlertId, kVersionStringId, version, nullptr);
    }
    return available;
}

void PIResetString(unsigned char* text)
{
    if (text == nullptr)
        return;
    text[0] = 0;
    text[1] = 0;
}

void AppendString(unsigned char* destination, const unsigned char* source, int16 start, int16 count)
{
    if (destination == nullptr)
        return;
    int length = destination[0];
    // Only characters that the source has are taken.
    if (source != nullptr && count > 0 && start >= 1 && start <= source[0]) {
        const int available = source[0] - start + 1;
        const int take = count < available ? count : available;
        const int room = kMaxPascalLength - length;
        const int n = take < room ? take : room;
        if (n > 0) {
            std::memmove(destination + 1 + length, source + start, static_cast<size_t>(n));
            length += n;
        }
    }
    if (length == kMaxPascalLength)
        --length;
    destination[0] = static_cast<unsigned char>(length);
    destination[1 + length] = 0;
}

void PIParamText(unsigned char* text, const unsigned char* s0, const unsigned char* s1, const unsigned char* s2)
{
    if (text == nullptr)
        return;
    const unsigned char* replacements[3] = {s0, s1, s2};
    int position = 1;  // 1-based index of the character looked at
    while (position < text[0]) {
        if (text[position] == '^' && text[position + 1] >= '0' && text[position + 1] <= '2') {
            const unsigned char* replacement = replacements[text[position + 1] - '0'];
            Str255 rebuilt;
            PIResetString(rebuilt);
            AppendString(rebuilt, text, 1, static_cast<int16>(position - 1));
            if (replacement != nullptr)
                AppendString(rebuilt, replacement, 1, replacement[0]);
            const int next = rebuilt[0] + 1;
            AppendString(rebuilt, text, static_cast<int16>(position + 2), static_cast<int16>(text[0] - position - 1));
            std::memcpy(text, rebuilt, sizeof(Str255));
            // Go on behind the replacement: a replacement is never scanned again.
            position = next;
        } else {
            ++position;
        }
    }
}

double power(uint32 base, uint16 exponent)
{
    double result = 1.0;
    for (uint16 i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

void DoubleToString(unsigned char* output, double value, int16 decimals)
{
    if (output == nullptr)
        return;
    PIResetString(output);
    // The glue formats non-negative values with at least one decimal; anything
    // else is brought into that range rather than formatted wrongly.
    if (!(value >= 0.0))
        value = 0.0;  // negative values and NaN
    if (std::isinf(value))
        value = 4294967295.0;
    if (decimals < 1)
        decimals = 1;
    // Rounding at the last decimal.
    const double t = value * power(10, static_cast<uint16>(decimals));
    if ((t - std::trunc(t)) * 10.0 >= 5.0)
        value += 5.0 / power(10, static_cast<uint16>(decimals + 1));
    // One decimal fewer when the last one is 0.
    if (decimals > 1) {
        const double u = value * power(10, static_cast<uint16>(decimals - 1));
        if ((u - std::trunc(u)) * 10.0 < 1.0)
            --decimals;
    }
    const double integral = std::trunc(value);
    const unsigned long whole = integral >= 4294967295.0 ? 4294967295UL : static_cast<unsigned long>(integral);
    Str255 number;
    NumToString(static_cast<long>(whole), number);
    AppendString(output, number, 1, number[0]);
    const unsigned char point[2] = {1, static_cast<unsigned char>(cPOINT)};
    AppendString(output, point, 1, 1);
    double rest = value - integral;
    int written = 0;
    do {
        rest *= 10.0;
        const double digitValue = std::trunc(rest);
        const int d = !(digitValue >= 0.0) ? 0 : (digitValue > 9.0 ? 9 : static_cast<int>(digitValue));
        rest -= digitValue;
        const unsigned char digit[2] = {1, static_cast<unsigned char>('0' + d)};
        AppendString(output, digit, 1, 1);
        ++written;
    } while (rest != 0.0 && written < decimals && output[0] < kMaxPascalLength - 1);
}

} // extern "C"
