#pragma once
// Assembles the raw EXIF block FreeImage's JPEG writer stores ("Exif\0\0",
// a little-endian TIFF header, IFD0 with pointers to the EXIF and GPS IFDs).

#include <FreeImage.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ExifEntry {
    uint16_t tag;
    uint16_t type; // 2 ASCII, 3 SHORT, 4 LONG, 5 RATIONAL
    uint32_t count;
    std::vector<uint8_t> data;

    static ExifEntry ascii(uint16_t tag, const std::string& text)
    {
        std::vector<uint8_t> d(text.begin(), text.end());
        d.push_back(0);
        return {tag, 2, uint32_t(d.size()), d};
    }
    static ExifEntry shortValue(uint16_t tag, uint16_t v) { return {tag, 3, 1, {uint8_t(v), uint8_t(v >> 8)}}; }
    static ExifEntry rationals(uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values)
    {
        std::vector<uint8_t> d;
        for (auto [n, den] : values)
            for (uint32_t v : {n, den})
                for (int i = 0; i < 4; ++i)
                    d.push_back(uint8_t(v >> (8 * i)));
        return {tag, 5, uint32_t(values.size()), d};
    }
};

inline std::vector<uint8_t> exifRawBlock(std::vector<ExifEntry> ifd0, std::vector<ExifEntry> exif,
                                         std::vector<ExifEntry> gps)
{
    auto ifdSize = [](const std::vector<ExifEntry>& ifd) {
        size_t n = 2 + 12 * ifd.size() + 4;
        for (const ExifEntry& e : ifd)
            if (e.data.size() > 4)
                n += e.data.size() + (e.data.size() & 1);
        return n;
    };
    // Pointer entries of IFD0 (values filled in below).
    if (!exif.empty())
        ifd0.push_back({0x8769, 4, 1, {0, 0, 0, 0}});
    if (!gps.empty())
        ifd0.push_back({0x8825, 4, 1, {0, 0, 0, 0}});
    const uint32_t off0 = 8;
    const uint32_t offExif = off0 + uint32_t(ifdSize(ifd0));
    const uint32_t offGps = offExif + uint32_t(exif.empty() ? 0 : ifdSize(exif));
    for (ExifEntry& e : ifd0) {
        const uint32_t v = e.tag == 0x8769 ? offExif : (e.tag == 0x8825 ? offGps : 0);
        if (e.tag == 0x8769 || e.tag == 0x8825)
            e.data = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    }

    std::vector<uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put16 = [&](uint16_t v) { tiff.push_back(uint8_t(v)); tiff.push_back(uint8_t(v >> 8)); };
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) tiff.push_back(uint8_t(v >> (8 * i))); };
    auto writeIfd = [&](std::vector<ExifEntry> ifd) {
        std::sort(ifd.begin(), ifd.end(), [](const ExifEntry& a, const ExifEntry& b) { return a.tag < b.tag; });
        const uint32_t start = uint32_t(tiff.size());
        uint32_t data = start + 2 + 12 * uint32_t(ifd.size()) + 4;
        std::vector<uint8_t> tail;
        put16(uint16_t(ifd.size()));
        for (const ExifEntry& e : ifd) {
            put16(e.tag);
            put16(e.type);
            put32(e.count);
            if (e.data.size() <= 4) {
                std::vector<uint8_t> v = e.data;
                v.resize(4, 0);
                tiff.insert(tiff.end(), v.begin(), v.end());
            } else {
                put32(data + uint32_t(tail.size()));
                tail.insert(tail.end(), e.data.begin(), e.data.end());
                if (e.data.size() & 1)
                    tail.push_back(0);
            }
        }
        put32(0);
        tiff.insert(tiff.end(), tail.begin(), tail.end());
    };
    writeIfd(ifd0);
    if (!exif.empty())
        writeIfd(exif);
    if (!gps.empty())
        writeIfd(gps);

    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    return block;
}

// Attaches the block so that FreeImage's JPEG writer stores it.
inline bool attachExifRaw(FIBITMAP* bitmap, const std::vector<uint8_t>& block)
{
    FITAG* tag = FreeImage_CreateTag();
    FreeImage_SetTagKey(tag, "ExifRaw");
    FreeImage_SetTagType(tag, FIDT_BYTE);
    FreeImage_SetTagLength(tag, DWORD(block.size()));
    FreeImage_SetTagCount(tag, DWORD(block.size()));
    FreeImage_SetTagValue(tag, block.data());
    const bool ok = FreeImage_SetMetadata(FIMD_EXIF_RAW, bitmap, "ExifRaw", tag);
    FreeImage_DeleteTag(tag);
    return ok;
}

// The camera data the tests write: Make "Lumicam", Model "LX-1",
// Orientation 6, DateTime 2012:03:01 12:00:00, ExposureTime 10/2503,
// ISO 200, GPS N 48:08:12.34, E 120:30:05.34.
inline std::vector<uint8_t> standardExifBlock(uint16_t orientation = 6)
{
    return exifRawBlock(
        {ExifEntry::ascii(0x010F, "Lumicam"), ExifEntry::ascii(0x0110, "LX-1"),
         ExifEntry::shortValue(0x0112, orientation), ExifEntry::ascii(0x0132, "2012:03:01 12:00:00")},
        {ExifEntry::rationals(0x829A, {{10, 2503}}), ExifEntry::shortValue(0x8827, 200)},
        {ExifEntry::ascii(0x0001, "N"), ExifEntry::rationals(0x0002, {{48, 1}, {8, 1}, {1234, 100}}),
         ExifEntry::ascii(0x0003, "E"), ExifEntry::rationals(0x0004, {{120, 1}, {30, 1}, {534, 100}})});
}
