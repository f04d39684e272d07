#pragma once
// Exposure records. IExposure owns a 16-bit RGB image at two sizes (full size
// and preview); CExposure is one photograph of the exposure series with its
// weight maps, flags and metadata; CExposureBatch is the batch window's
// exposure, which keeps the buffers of one size only.
//
// Buffers are interleaved RGB, three unsigned 16-bit samples a pixel, rows
// top-down, packed. Weight maps hold one value a pixel: the automatic map
// unsigned, the manual (brush) map signed. Every buffer is a plain heap block
// (malloc/calloc) owned by the record and released with std::free.

#include <QMap>
#include <QMutex>
#include <QPixmap>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <FreeImage.h>

#include "document/hugepages.h"

struct SRawDevelopmentSettings;

class IExposure {
public:
    IExposure();
    virtual ~IExposure();
    IExposure(const IExposure&) = delete;
    IExposure& operator=(const IExposure&) = delete;

    // Allocates both image buffers (freeing any left from before; the shared
    // render buffer too when missing), then ClearBuffer(). false (with the
    // out-of-memory notice) when an allocation fails.
    virtual bool CreateBuffer();
    // Zeroes both image buffers.
    virtual void ClearBuffer();

    // Posts "Es steht nicht genügend Arbeitsspeicher zur Verfügung." (category
    // 0, error).
    static void SendOutOfMemMessage();

    // ---- Sizes ------------------------------------------------------------
    size_t PixelCount() const { return size_t(m_uiWidth) * m_uiHeight; }
    size_t PreviewPixelCount() const { return size_t(m_uiPreviewWidth) * m_uiPreviewHeight; }
    // The working buffer and size: the preview's while the preview flag is
    // set, else the full size.
    unsigned short* GetWorkingBuffer() const;
    unsigned int GetWorkingWidth() const;
    unsigned int GetWorkingHeight() const;

    // Fits (w, h) into the source size keeping its aspect ratio; w <= 0 asks
    // for the native size (returns false only when both requested sides are
    // 0 or negative). Never enlarges.
    static bool GetScaledSize(int& w, int& h, unsigned int sw, unsigned int sh);
    bool GetScaledSize(int& w, int& h) const;

    // ---- Renders (any thread) ----------------------------------------------
    // The buffer of w x h scaled to dw x dh.
    static QPixmap CreatePixmap(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                unsigned int dh);
    // The record at a requested size (preview below 500 a side, else the
    // working buffer); -1 x -1 renders the native working size and samples
    // the background colour from the border.
    QPixmap CreatePixmap(int w, int h) const;
    QPixmap CreatePixmapWeighted(int w, int h, float value, class CExposure* e1, class CExposure* e2,
                                 class CExposure* e3) const;
    static QPixmap CreatePixmapWeighted(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                        unsigned int dh, float value, CExposure* e1, CExposure* e2, CExposure* e3);
    static QPixmap CreateHistogram(const unsigned short* buffer, unsigned int w, unsigned int h, unsigned int dw,
                                   unsigned int dh, bool s1, bool s2, bool s3, bool s4, bool s5);
    QPixmap CreateHistogram(int w, int h, bool s1, bool s2, bool s3, bool s4, bool s5) const;

    // ---- Fields ------------------------------------------------------------
    unsigned int m_uiWidth;
    unsigned int m_uiHeight;
    unsigned short* m_pusBuffer;
    unsigned int m_uiPreviewWidth;
    unsigned int m_uiPreviewHeight;
    unsigned short* m_pusPreviewBuffer;

    static unsigned int m_uiInstances;
    // The one render buffer of 32-bit pixels every pixmap and histogram is
    // drawn into. Grown on demand; locked from a render until its pixels are
    // out (sm_RenderMutex).
    static unsigned char* sm_pbRGBA;
    static size_t sm_stRGBABytes;
    static QMutex sm_RenderMutex;
    static unsigned char sm_pbBackgroundColor[3];

    // Makes sm_pbRGBA hold at least bytes; false (buffer unchanged, notice
    // posted) when it cannot. Call with sm_RenderMutex held.
    static bool EnsureRenderBuffer(size_t bytes);
    // Resets the shared render buffer to exactly bytes (the series' Resize):
    // false when the allocation fails (the old buffer is kept).
    static bool ReallocRenderBuffer(size_t bytes);

protected:
    // Buffers come from calloc; the ClearBuffer() at the end of CreateBuffer()
    // skips the blocks it has just allocated (already zero).
    template <typename T> bool Allocate(T*& p, size_t count)
    {
        p = static_cast<T*>(std::calloc(count ? count : 1, sizeof(T)));
        if (p) {
            AdviseHugePages(p, count * sizeof(T));
            NoteFresh(p);
        }
        return p != nullptr;
    }
    void NoteFresh(const void* block);
    void ForgetFresh() { m_iFresh = 0; }
    // Zeroes bytes of block unless it is fresh from this CreateBuffer().
    void ClearBlock(void* block, size_t bytes);

    // Draws into the render buffer (locked, grown to dw x dh) and turns the
    // result into a pixmap; sampleBorder: set the background colour from the
    // render's border. A null pixmap when the buffer cannot be grown.
    template <typename Draw>
    static QPixmap Render(unsigned int dw, unsigned int dh, bool sampleBorder, bool resetBackground, Draw&& draw);

private:
    static constexpr int kFreshSlots = 6;
    const void* m_pFresh[kFreshSlots] = {};
    int m_iFresh = 0;
};

class CExposure : public IExposure {
public:
    CExposure();
    ~CExposure() override;

    bool CreateBuffer() override;
    void ClearBuffer() override;

    virtual bool Load(const QString& path, FIBITMAP* bitmap);
    virtual bool Prepare(FIBITMAP* bitmap, float previewLuminance);
    // Takes the bitmap over and releases it (on failure too); the caller's
    // pointer is set to null.
    virtual bool ConvertToExposure(FIBITMAP*& bitmap, float previewLuminance);

    // ---- Conversion ---------------------------------------------------------
    // Copies a bitmap of any supported type into dst (width x height x 3
    // samples, rows top-down). engine: use the engine's multi-threaded copies
    // and set the engine's loaded-is-HDR flag (the loader threads pass false
    // and leave the flag). false when the type cannot be converted (dst then
    // untouched).
    static bool own_FreeImage_ConvertToRGB16(FIBITMAP* bitmap, unsigned short* dst, bool engine);
    void ReExposeRAWPrv(float previewLuminance);
    void ReExpose(float value);
    bool Synthetic(const CExposure* source, float value);
    bool Reload();
    void PrepareAutomaticBW();
    void PrepareOptimizeLights();
    void PrepareByImageType(int type);

    // ---- Metadata -----------------------------------------------------------
    // Loads the metadata on first use; maps of model number -> title / HTML table.
    const QMap<unsigned int, QString>& GetExif();
    const QMap<unsigned int, QString>& GetExifTitles() { GetExif(); return m_mapMetadataTitles; }
    void LoadExif();
    void ParseExif(FIBITMAP* bitmap);
    void ParseMetadata(FIBITMAP* bitmap, const char* title, FREE_IMAGE_MDMODEL model);
    void SetDateTime(FIBITMAP* bitmap);
    QString GetGPSNSvalue() const;
    QString GetGPSWEvalue() const;
    static QString ExtractFileName(const QString& path);
    void SetFilePath(const QString& path);

    void SetISOSpeedRatings(int iso) { m_iISOSpeedRatings = iso; }
    void SetExposureTime(float seconds) { m_fExposureTime = seconds; }
    void SetCameraModel(const QString& model) { m_strCameraModel = model; }
    void SetGPSData(const QString& latRef, const QString& lonRef, const QString& lat, const QString& lon);

    // Helpers of the metadata (also used by tests): the exposure-time rewrite
    // of a printed value ("10/2503 sec" -> "1/250 sec") and its seconds; the
    // capture time of a "YYYY:MM:DD hh:mm:ss" text (-1 when invalid); the
    // decimal GPS value of a reference and a printed coordinate.
    static QString RewriteExposureTime(const QString& value, float* seconds);
    static qint64 ParseDateTime(const QString& value);
    static QString GPSValue(const QString& ref, const QString& coordinate);

    // ---- Geometry (the series runs these per exposure on its workers) -------
    // In two steps: Reserve* gets the memory (false, nothing held, when it
    // runs out), *With carries the change out with it and cannot fail for
    // want of memory. The series reserves every exposure's memory before any
    // exposure changes.
    struct SGeometryBlocks {
        unsigned short* image = nullptr; // rotation: new image; flip: one row
        short* manual = nullptr;
        unsigned short* preview = nullptr;
        short* manualPreview = nullptr;
        unsigned short* autoPreview = nullptr;
        void Release();
    };
    bool ReserveRotation(SGeometryBlocks& blocks) const;
    bool ReserveFlip(SGeometryBlocks& blocks) const;
    // Preview blocks of pw x ph when the present ones are too small.
    bool ReserveCrop(SGeometryBlocks& blocks, unsigned pw, unsigned ph) const;
    void RotateWith(SGeometryBlocks& blocks, bool right);
    void FlipWith(SGeometryBlocks& blocks);
    void MirrorWith(SGeometryBlocks& blocks);
    // Crop to [x0, x1) x [y0, y1) with the new preview size pw x ph: 0; -2
    // for a rectangle outside the image (nothing changed); -1 when the
    // blocks ReserveCrop asked for are missing.
    int ResizeWith(int x0, int y0, int x1, int y1, unsigned pw, unsigned ph, SGeometryBlocks& blocks);
    // New preview blocks of pw x ph, and their adoption (manual preview map
    // zeroed, preview size set).
    static bool ReservePreview(SGeometryBlocks& blocks, unsigned pw, unsigned ph);
    void RecalcPreviewWith(SGeometryBlocks& blocks, unsigned pw, unsigned ph);

    // 0, or -1 when memory runs out (nothing changed).
    int Mirror();
    int Flip();
    int RotateLeft();
    int RotateRight();
    // Crops to [x0, x1) x [y0, y1): 0; -1 when memory runs out; -2 for a
    // rectangle outside the image or empty. Nothing changes on failure.
    int Resize(int x0, int y0, int x1, int y1);
    // New preview size from the engine's preview budget; 0 or -1 (nothing
    // changed).
    int RecalcPreview();

    QPixmap CreatePixmapFromWeightmap(int w, int h) const;

    // ---- Fields ------------------------------------------------------------
    QString m_strFilePath;
    QString m_strFileName;
    QMap<unsigned int, QString> m_mapMetadataTitles;
    QMap<unsigned int, QString> m_mapMetadataTables;
    bool m_bExifLoaded;
    float m_fAvgLuminance;
    float m_fGlobalWeight;
    qint64 m_iDateTime; // seconds since 1980-01-01 00:00:00, -1 unknown
    int m_iISOSpeedRatings;
    QString m_strCameraModel;
    float m_fExposureTime;
    QString m_strGPSLatitudeRef;
    QString m_strGPSLongitudeRef;
    QString m_strGPSLatitude;
    QString m_strGPSLongitude;
    unsigned short* m_pusAWeightBuffer;
    short* m_psMWeightBuffer;
    unsigned short* m_pusAWeightPreviewBuffer;
    short* m_psMWeightPreviewBuffer;
    bool m_bMWeightInitialized;
    bool m_bMaster;
    bool m_bActive;
    bool m_bSynthetic;
    float m_fExposureValue;
    bool m_bSyntheticPreviewMode;

protected:
    // The load-time corrections of the RAW development settings on the
    // full-size buffer, then the preview (Algorithms of the conversion).
    bool ApplyCorrectionsAndPreview(const SRawDevelopmentSettings& raw);
    // Posts "<file>: <text>" in category with type.
    void PostMessage(unsigned int category, const QString& text, unsigned int type) const;
    // New automatic maps (and manual maps where missing) of the full and/or
    // preview size; false with the out-of-memory notice.
    bool CreateMaps(bool full, bool preview);
    // Frees and nulls the two image buffers and the two automatic maps.
    void FreeImageAndAutomaticMaps();
};

class CExposureBatch : public CExposure {
public:
    CExposureBatch() = default;
    ~CExposureBatch() override = default;

    bool CreateBuffer() override;
    void ClearBuffer() override;
    bool Load(const QString& path, FIBITMAP* bitmap) override;
    bool Prepare(FIBITMAP* bitmap, float previewLuminance) override;
    // Leaves the bitmap with its caller.
    bool ConvertToExposure(FIBITMAP*& bitmap, float previewLuminance) override;
};

// The colour-space tables of the load-time conversion: RGB->XYZ (only row 0,
// sRGB, is used) and XYZ->RGB of the 16 working spaces, row-major.
extern const float ColorSpacesRGBXYZ[16][9];
extern const float ColorSpacesXYZRGB[16][9];
