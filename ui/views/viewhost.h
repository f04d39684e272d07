#pragma once
// What the image views need of the main window, which implements it (tests
// install a fake): the current buffers, the stage, the options dialog's
// gamma-view switch. Buffers are RGB16 at the working size, null and 0 x 0
// without a document; callers copy what they keep.

class IViewHost {
public:
    virtual ~IViewHost() = default;

    // The post-processing result in the post-processing stage, else the HDR result.
    virtual const unsigned short* GetActualResultBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualHDRBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualPPBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualMasterBuffer(int* width, int* height) = 0;
    // True in the HDR stage (the exposure-series dock is visible).
    virtual bool IsHDRStage() const = 0;
    // The options dialog's "gamma/view" check box.
    virtual bool IsGammaViewChecked() const = 0;
};

namespace ViewSeams {
// The host of the views; null until the main window sets itself (the views
// then show nothing).
void SetHost(IViewHost* host);
IViewHost* Host();
} // namespace ViewSeams
