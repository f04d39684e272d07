#include "ui/postprocessing/postprocessingseams.h"

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
QLabel* PreviewLabel() { return s_pPreviewLabel.data(); }
} // namespace PostProcessingSeams
