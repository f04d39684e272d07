// The engine's scalar settings, one line each:
//   X(Name, global, type, initial value, value stored by MP_UI_Init, setter rule)
// MP_UI_Set<Name> / MP_UI_Get<Name> are generated from this list; "keep" in the
// start-value column means MP_UI_Init leaves the setting alone.
// Setter rules: STORE (as given), MIN1 (below 1 stored as 1), NONNEG (negative
// stored as 0), CLAMP(lo, hi), FLOOR(lo) (below lo stored as lo).
// This file is included several times on purpose; it has no include guard.

// Calculation method and threads (MP_calcmode and the memory limits have
// setters of their own).
X(IdealThreadCount, MP_idealThreadCount, int, 32, keep, MIN1)
X(CalcForceMode, MP_calcforcemode, int, 0, keep, STORE)
X(PixelPerKernelPack, MP_pixelperkernelpack, int, 8192, keep, STORE)
X(UseMultithreadingMode, MP_useMultithreadingMode, int, 0, 1, STORE)

// Kernel quality and diagnostics
X(KernelExponent, MP_kernel_exponent, float, 1.0f, 4.0f, STORE)
X(Loopstep, MP_loopstep, int, 1, 1, STORE)
X(CalculationQuality, MP_calculationquality, float, 0.5f, 0.5f, STORE)
X(KernelSampleRate, MP_kernelsamplerate, float, 0.5f, 0.8f, STORE)
X(BlurMode, MP_blurmode, int, 0, 1, STORE)
X(ShowExexcuteKernelOutput, MP_show_executeKernel_output, int, 1, 1, STORE)
X(TM3dIterations, MP_tm3diterations, int, 0, 2, NONNEG)

// Preview and display
X(PreviewSize, MP_PreviewSize, float, 1.0f, 1.0f, FLOOR(0.1f))
X(PreviewScaleMode, MP_PreviewScaleMode, int, 0, 0, STORE)
X(PreviewScalingFactor, MP_previewscalefactor, float, 1.0f, keep, CLAMP(0.0f, 1.0f))
X(ImageSizeMode, MP_imagesizemode, int, 1, 1, STORE)
X(LimitPixelMode, MP_limitpixelmode, int, 0, 0, STORE)
X(HeatmapMode, MP_heatmapmode, int, 0, 0, STORE)
X(DisplayGammaHDRMode, MP_displayHDRGammaMode, int, 0, 0, STORE)
X(RadiusDisplayMode, MP_radiusdisplaymode, int, 0, 0, STORE)
X(ActualRadiusSize, MP_actualradiussize, float, 1.0f, keep, STORE)

// HDR, tone mapping and alignment
X(HDRGammaValue, MP_hdrgammavalue, float, 1.0f, 2.2f, CLAMP(0.01f, 9.99f))
X(HDRNormalizeMode, MP_hdrnormalizemode, int, 0, 0, STORE)
X(LoadedIsHDRMode, MP_loadedishdrmode, int, 1, 0, STORE)
X(IsHDRLuminanceBalanceNeeded, MP_isHDRLuminanceBalanceNeeded, int, 0, keep, STORE)
X(LatitudeOptimizeExponent, MP_latitude_optimize_exponent, float, 1.7f, 1.7f, STORE)
X(TonemappingMultipleMode, MP_TonemappingMultipleMode, int, 0, 0, STORE)
X(FilmTypeAfterPPMode, MP_filmTypeAfterPPMode, int, 0, 1, STORE)
X(DeGhostLocalMode, MP_deghostlocalmode, int, 0, 1, STORE)
X(AlignMeshSmooth, MP_alignmeshsmooth, int, 1, 1, STORE)
X(AlignMultiPassMode, MP_alignmultipassmode, int, 0, keep, STORE)

// Project and storage
X(CompressionLevel, MP_compressionLevel, int, 0, 1, CLAMP(0, 5))
X(BufferCompressionMode, MP_bufferCompressionMode, int, 0, 1, STORE)
X(AskForSaveProjectMode, MP_askForSaveProjectMode, int, 0, 1, STORE)
X(SaveTimeLineMode, MP_SaveTimeLineMode, int, 0, 0, STORE)
X(RawDevOnLoadMode, MP_showRawDevOnLoad, int, 0, 1, STORE)
X(SuppressAutoSyntheticsMode, MP_suppressAutoSyntheticsMode, int, 0, 0, STORE)

// Run-time state
X(IsCalculatingMode, MP_isCalculatingMode, int, 0, 0, STORE)
X(IsCalculatingCancelRequest, MP_isCalculatingCancelRequest, int, 0, 0, STORE)
X(PPFinishedMode, MP_ppFinishedMode, int, 0, keep, STORE)
X(IsBatchMode, MP_isBatchMode, int, 0, 0, STORE)
X(AnimMode, MP_animMode, int, 0, 0, STORE)
X(AnimModeFrameTime, MP_lastAnimModeTime, float, 0.0f, keep, STORE)
X(AnimCount, MP_animcount, float, 0.0f, keep, STORE)
X(KeyPressedMode, MP_keyPressedMode, int, 0, keep, STORE)
X(PPStencilCopyMode, MP_PPStencilCopyMode, int, 0, 1, STORE)
X(BrushTypeMode, MP_BrushTypeMode, int, 0, 0, STORE)
X(PainterPanoramaMode, MP_PainterPanoramaMode, int, 0, 0, STORE)
X(PanoramaMode, MP_panoramamode, int, 0, 0, STORE)
X(ShowNoiseAreaMode, MP_ShowNoiseAreaMode, int, 0, 0, STORE)

// Colours of painted views; the getters drop the top byte.
X(HighlightOpacity, MP_highlightopacity, float, 0.0f, 0.0f, STORE)
