#pragma once
// Our own reader of the common JPEG photograph: 8-bit YCbCr, RGB or greyscale
// files that need no EXIF rotation. It gives the very bitmap FreeImage_Load
// (FIF_JPEG, JPEG_ACCURATE | JPEG_EXIFROTATE) gives (same libjpeg, same
// decoder settings, same size, pitch, pixels, palette, resolution, metadata)
// without FreeImage's single-threaded zero fill of the whole bitmap on the
// decode's path: the bitmap is allocated on a helper thread while libjpeg
// decodes its first rows into a band-sized staging buffer, and the rest of
// the rows go straight into the bitmap.

#include <FreeImage.h>

enum class EJpegRead {
    Loaded,  // the bitmap is the file's image
    NotMine, // a file the reader does not take: load it with FreeImage
    Failed,  // libjpeg refused the file (its message went to FreeImage's message handler)
};

// How the bitmap's allocation meets the decode. Race (the program's way):
// the decoder moves from the staging band to the bitmap as soon as the helper
// has it. FullBand: the decoder fills the whole band before it takes the
// bitmap. Inline: no helper, the bitmap is allocated before the decode. The
// pixels never depend on it; the tests run each way.
enum class EJpegStaging { Race, FullBand, Inline };

// Reads the JPEG file at path (a local path as fopen takes it). header is
// FreeImage's FIF_LOAD_NOPIXELS load of the same file: its size, bit depth,
// EXIF orientation, resolution, metadata, ICC profile and thumbnail; a null
// header gives NotMine. On Loaded *bitmap is the caller's; otherwise it is
// null. libjpeg's warnings and errors reach FreeImage's message handler as
// they do from FreeImage's own JPEG reader, so a damaged file that still
// decodes is noticed the same way.
EJpegRead ReadJpeg(const char* path, FIBITMAP* header, FIBITMAP** bitmap,
                   EJpegStaging staging = EJpegStaging::Race);

// Whether FreeImage's JPEG reader can be given the file: false when its
// header load alone would take memory for more than maxPixels pixels, read
// far outside the file's metadata or crash. That is a frame header (of the
// image or of an EXIF or JFXX thumbnail, which FreeImage decodes with the
// header) declaring more than maxPixels pixels (a progressive image's
// coefficients, a thumbnail's bitmap: gigabytes from a few bytes); an EXIF
// block (an APP1 "Exif" segment) whose first directory's entry count runs
// past the block, or whose thumbnail's offset plus length overflows 32 bits
// (FreeImage follows both unchecked); IPTC records (APP13) whose record
// version is not two bytes long (FreeImage keeps a tag without a value and
// copies it). The markers are found by their bytes anywhere in the file
// (libjpeg takes a marker wherever it meets one; thumbnails are read as
// files of their own). True for a file without such a marker, or one that
// cannot be opened (FreeImage refuses it itself).
bool JpegSafeForFreeImage(const char* path, unsigned long long maxPixels);
