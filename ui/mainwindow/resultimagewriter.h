#pragma once
// The result image writer: an interleaved 16-bit RGB buffer, optionally
// cropped and captioned, written as an 8-, 16- or 32-bit file chosen by the
// name's tail, with the master photograph's metadata, 300 dpi and the two
// program tags. The file is written to a temporary file beside the target and
// renamed over it only after the image library succeeded, so a failed write
// leaves the old file whole and no temporary file behind.
//
// Runs without a main window (and without widgets on the batch thread): the
// caller hands over the series for the float re-fusion, the sigmoid value and
// the caption painter. The whole call holds the engine guard.

#include "ui/editors/cropdata.h"

#include <FreeImage.h>

#include <QString>

#include <cstdint>
#include <memory>

class CExposureSeries;

// What the writer needs beside its arguments.
struct SResultWriterContext {
    const CExposureSeries* pSeries = nullptr; // float re-fusion source (null: convert the buffer)
    float fSigmoid = 0.5f;                    // HDR operator dock's sigmoid value
    bool bPreviewMode = false;                // the series' current size is its preview size
    const ICropCaptionPainter* pCaptionPainter = nullptr;
};

// The format a name's tail selects (case-sensitive, exact).
enum class EResultFormat { None, Tif8, Jpg8, Tiff16, Png16, Jp216, Hdr32, Exr32, Tif32, Pfm32 };

struct SResultFormatInfo {
    EResultFormat eFormat = EResultFormat::None;
    FREE_IMAGE_FORMAT fif = FIF_UNKNOWN;
    int iFlags = 0;             // save flags (JPEG: see JpegSaveFlags)
    const char* szMessage = ""; // source text of the "wird als ... gespeichert." message
};

// The output of the crop and caption stage.
struct SCropStageOutput {
    std::unique_ptr<uint16_t[]> buffer; // cropped, captioned RGB48
    int iWidth = 0;
    int iHeight = 0;
};

namespace ResultImageWriter {

// How a result format's pixels are laid out in its bitmap: 8-bit BGRA, 8-bit
// BGR, 16-bit RGB, or nothing to fill (the float formats).
enum class EFill { Bgra8, Bgr8, Rgb16, Zero };
EFill FillForFormat(EResultFormat format);
// Scanlines [first, end) of a bitmap of `pitch` bytes a scanline, bottom-up:
// scanline i from source row height - 1 - i of the interleaved rgb48 buffer,
// the padding behind each scanline zeroed. Plain code, no engine work.
void FillResultScanlines(EFill fill, const uint16_t* rgb48, BYTE* bits, size_t pitch, int width, int height,
                         int first, int end);

// The pixels of an output bitmap: memory of our own, aligned, never
// zero-filled, which the library wraps without copying. Every byte of it must
// be written (FillResultScanlines writes the padding too). It outlives the
// bitmap over it: unload the bitmap first.
struct SPixelMemory {
    BYTE* bits = nullptr;
    size_t pitch = 0;
    SPixelMemory() = default;
    SPixelMemory(const SPixelMemory&) = delete;
    SPixelMemory& operator=(const SPixelMemory&) = delete;
    ~SPixelMemory();
};
// A bitmap of the layout FreeImage_AllocateT gives (same pitch, bottom-up
// scanlines, no colour masks) over uninitialised memory from `memory` (which
// must be empty); null without memory.
FIBITMAP* AllocateUnfilled(FREE_IMAGE_TYPE type, int width, int height, int bpp, SPixelMemory& memory);

// The master photograph's metadata (pixels skipped where the format can), or
// null: no master, an unreadable one, or one the loader would refuse. Logs the
// load and its colour profile. The caller unloads it.
FIBITMAP* LoadMasterMetadata(const QString& masterFile);
// The master's metadata, 300 dpi and the program tags onto dib.
void ApplyMasterMetadata(FIBITMAP* dib, FIBITMAP* master);

SResultFormatInfo FormatForPath(const QString& path);
// JPEG flags: quality 1..99 as is, anything else superb; always optimised.
int JpegSaveFlags(int quality);
// "Dateifehler: <path> konnte nicht erstellt werden", translated.
QString FileErrorText(const QString& path);
// The file name the data go to: ".tif32" at the end becomes ".tif".
QString TargetPath(const QString& path);

// The crop and caption stage. False leaves `out` empty: the writer keeps its
// input (degenerate rectangle, no memory). The input is never changed.
bool RunCropStage(const uint16_t* rgb48, int width, int height, const SCropData& crop,
                  const ICropCaptionPainter* painter, SCropStageOutput& out);

// Writes the file; true only when a file was committed.
bool SaveImageFile(const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries, int width,
                   int height, const QString& masterFile, const SCropData* crop,
                   const SResultWriterContext& context = SResultWriterContext());

// Writes dib through a temporary file renamed over path on success. A short
// write or a failed seek anywhere in the library's output cancels the rename,
// whatever the library answers.
bool SaveBitmapSafely(FREE_IMAGE_FORMAT fif, FIBITMAP* dib, const QString& path, int flags);

// A test seam under SaveBitmapSafely, counted per save from 0: the
// iShortWrite-th call of the library's write puts down only half its bytes and
// reports that, as a filling disk does; the iFailedSeek-th seek fails. -1
// injects nothing. LastWriteCountsForTesting tells how many writes and seeks
// the last save made, so a test can aim at the first, a middle and the last.
struct SWriteFault {
    int iShortWrite = -1;
    int iFailedSeek = -1;
};
struct SWriteCounts {
    int iWrites = 0;
    int iSeeks = 0;
};
void SetWriteFaultForTesting(const SWriteFault& fault);
SWriteCounts LastWriteCountsForTesting();

void add_tag(FREE_IMAGE_MDMODEL model, FIBITMAP* dib, const char* key, const char* value);
void add_tags(FIBITMAP* dib);
void SetFreeImageDpi(FIBITMAP* dib, int dpi);

} // namespace ResultImageWriter
