#pragma once
// Conversion of one chunk of host pixels into the hand-off file's samples:
// three samples per pixel, 16-bit big-endian over 0..65535 (from 8-bit or the
// host's 16-bit range 0..32768) or 32-bit little-endian float (unchanged).

#include "plugin/Helpers.h"

#include <bit>
#include <cstring>

enum EInputFormat : unsigned {
    eInputFormatNone = 0,
    eInputFormatRGB = 1,  // the first three planes are red, green, blue
    eInputFormatGray = 2  // the first plane is the grey value
};

class IConvertBuffer {
public:
    virtual ~IConvertBuffer() = default;
    virtual bool Create(EInputFormat format, unsigned planes) = 0;
    virtual void Destroy() = 0;
    virtual unsigned GetMaxPixel() const = 0;
    virtual bool SetData(const void* source, unsigned sourceBytes, unsigned count) = 0;
    virtual bool ConvertData(unsigned count) = 0;
    virtual bool GetData(void** output, unsigned* outputBytes, unsigned count) = 0;
};

namespace convert_detail {

constexpr unsigned kSamples = 30000;   // samples of each fixed array
constexpr unsigned kMaxChunk = 10000;  // pixels of one request at most

// Stores a 16-bit sample with its most significant byte first.
inline unsigned short BigEndian(unsigned short v)
{
    if constexpr (std::endian::native == std::endian::little)
        return _hlp::EndianSwap(v);
    else
        return v;
}

// Stores a float in little-endian byte order.
inline float LittleEndian(float v)
{
    if constexpr (std::endian::native == std::endian::little) {
        return v;
    } else {
        unsigned bits;
        std::memcpy(&bits, &v, sizeof bits);
        bits = __builtin_bswap32(bits);
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
}

} // namespace convert_detail

template <typename Out, typename In>
class CConvertBuffer final : public IConvertBuffer {
public:
    CConvertBuffer() { Reset(); }
    ~CConvertBuffer() override { Destroy(); }
    CConvertBuffer(const CConvertBuffer&) = delete;
    CConvertBuffer& operator=(const CConvertBuffer&) = delete;

    bool Create(EInputFormat format, unsigned planes) override
    {
        _hlp::Require(format != eInputFormatNone && planes != 0);
        Reset();
        m_uiFormat = format;
        m_uiPlanes = planes;
        m_uiMaxPixel = _hlp::MathMin(convert_detail::kSamples / _hlp::MathMax(planes, 3u), convert_detail::kMaxChunk);
        if (m_uiMaxPixel == 0)
            return false;
        m_uiInBytesPerPixel = planes * static_cast<unsigned>(sizeof(In));
        m_uiOutBytesPerPixel = 3u * static_cast<unsigned>(sizeof(Out));
        m_uiInCapacity = convert_detail::kSamples * static_cast<unsigned>(sizeof(In));
        m_uiOutCapacity = convert_detail::kSamples * static_cast<unsigned>(sizeof(Out));
        return true;
    }

    void Destroy() override { Reset(); }

    unsigned GetMaxPixel() const override
    {
        _hlp::Require(IsValid());
        return m_uiMaxPixel;
    }

    bool SetData(const void* source, unsigned sourceBytes, unsigned count) override
    {
        _hlp::NotNull(source);
        _hlp::Require(sourceBytes != 0 && count != 0 && IsValid() && count <= m_uiMaxPixel);
        const size_t needed = static_cast<size_t>(count) * m_uiInBytesPerPixel;
        if (needed > m_uiInCapacity || needed > sourceBytes)
            return false;
        std::memcpy(m_aIn, source, needed);
        return true;
    }

    bool ConvertData(unsigned count) override
    {
        _hlp::Require(count != 0 && IsValid() && count <= m_uiMaxPixel);
        if (m_uiFormat == eInputFormatRGB) {
            for (unsigned p = 0; p < count; ++p)
                ConvertRGB(3 * p, p * m_uiPlanes);
            return true;
        }
        if (m_uiFormat == eInputFormatGray) {
            for (unsigned p = 0; p < count; ++p)
                ConvertGray(3 * p, p * m_uiPlanes);
            return true;
        }
        return false;
    }

    bool GetData(void** output, unsigned* outputBytes, unsigned count) override
    {
        _hlp::NotNull(output);
        _hlp::NotNull(outputBytes);
        _hlp::Require(count != 0 && IsValid() && count <= m_uiMaxPixel);
        const size_t bytes = static_cast<size_t>(count) * m_uiOutBytesPerPixel;
        if (bytes > m_uiOutCapacity)
            return false;
        *output = m_aOut;
        *outputBytes = static_cast<unsigned>(bytes);
        return true;
    }

private:
    Out Convert(In v) const;

    void ConvertRGB(unsigned outIndex, unsigned inIndex)
    {
        _hlp::Require(outIndex <= convert_detail::kSamples - 3 && inIndex <= convert_detail::kSamples - 3);
        m_aOut[outIndex] = Convert(m_aIn[inIndex]);
        m_aOut[outIndex + 1] = Convert(m_aIn[inIndex + 1]);
        m_aOut[outIndex + 2] = Convert(m_aIn[inIndex + 2]);
    }

    void ConvertGray(unsigned outIndex, unsigned inIndex)
    {
        _hlp::Require(outIndex <= convert_detail::kSamples - 3 && inIndex <= convert_detail::kSamples - 1);
        const Out v = Convert(m_aIn[inIndex]);
        m_aOut[outIndex] = v;
        m_aOut[outIndex + 1] = v;
        m_aOut[outIndex + 2] = v;
    }

    bool IsValid() const
    {
        return m_uiPlanes != 0 && m_uiMaxPixel != 0 && m_uiInBytesPerPixel != 0 && m_uiOutBytesPerPixel != 0 &&
               m_uiInCapacity != 0 && m_uiOutCapacity != 0 && m_uiFormat != eInputFormatNone;
    }

    void Reset()
    {
        m_uiPlanes = 0;
        m_uiMaxPixel = 0;
        m_uiInBytesPerPixel = 0;
        m_uiOutBytesPerPixel = 0;
        m_uiInCapacity = 0;
        m_uiOutCapacity = 0;
        m_uiFormat = eInputFormatNone;
        _hlp::MiscFill(m_aIn, convert_detail::kSamples, In(0));
        _hlp::MiscFill(m_aOut, convert_detail::kSamples, Out(0));
    }

    unsigned m_uiPlanes;
    unsigned m_uiMaxPixel;
    unsigned m_uiInBytesPerPixel;
    unsigned m_uiOutBytesPerPixel;
    unsigned m_uiInCapacity;
    unsigned m_uiOutCapacity;
    EInputFormat m_uiFormat;
    In m_aIn[convert_detail::kSamples];
    Out m_aOut[convert_detail::kSamples];
};

// 8-bit: v * 257, most significant byte first.
template <>
inline unsigned short CConvertBuffer<unsigned short, unsigned char>::Convert(unsigned char v) const
{
    return convert_detail::BigEndian(_hlp::MapTo16Bit(v));
}

// The host's 16-bit range 0..32768 to 0..65535: v / 32768 in single
// precision, then scaled and truncated; most significant byte first.
template <>
inline unsigned short CConvertBuffer<unsigned short, unsigned short>::Convert(unsigned short v) const
{
    const float x = static_cast<float>(v) / 32768.0f;
    return convert_detail::BigEndian(_hlp::MapTo16Bit(x));
}

// 32-bit float: passed unchanged, little-endian.
template <>
inline float CConvertBuffer<float, float>::Convert(float v) const
{
    return convert_detail::LittleEndian(v);
}

using CConvertBuffer8 = CConvertBuffer<unsigned short, unsigned char>;
using CConvertBuffer16 = CConvertBuffer<unsigned short, unsigned short>;
using CConvertBuffer32 = CConvertBuffer<float, float>;
