#pragma once
// What the post-processing dock and its position pickers need of the image
// views and the exposure series, which other parts of the program provide:
// the series' preview (the pickers' backdrop) and image size (the point
// pickers' pixel spin boxes), and the preview label the colour pipette reads.
// Without a source the pickers draw on the grey backdrop.

#include <QSize>

#include <cstdint>

class QLabel;

class IPickerImageSource {
public:
    virtual ~IPickerImageSource() = default;
    // The series' image size in pixels; empty without a series.
    virtual QSize ImageSize() const = 0;
    // The preview, 16-bit RGB, size.width() x size.height(); null without one.
    virtual const uint16_t* PreviewImage(QSize* size) const = 0;
};

namespace PostProcessingSeams {
void SetImageSource(IPickerImageSource* source);
IPickerImageSource* ImageSource();
// The preview image label (the pipette picks from its pixmap); without one
// set here, the central preview's label g_pPreviewImage.
void SetPreviewLabel(QLabel* label);
QLabel* PreviewLabel();
} // namespace PostProcessingSeams
