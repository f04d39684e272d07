#include "ui/postprocessing/postprocessingseams.h"

#include "ui/views/hdrimagepreview.h"

#include <QLabel>
#include <QPointer>

namespace {
IPickerImageSource* s_pImageSource = nullptr;
QPointer<QLabel> s_pPreviewLabel;
} // namespace

namespace PostProcessingSeams {
void SetImageSource(IPickerImageSource* source) { s_pImageSource = source; }
IPickerImageSource* ImageSource() { return s_pImageSource; }
void SetPreviewLabel(QLabel* label) { s_pPreviewLabel = label; }
// The label set here, else the central preview's picture label.
QLabel* PreviewLabel() { return s_pPreviewLabel ? s_pPreviewLabel.data() : g_pPreviewImage; }
} // namespace PostProcessingSeams
