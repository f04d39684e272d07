#pragma once
// What the alignment builders share: the work area, the candidate offset
// order and the common opening and closing of a builder run.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace mp_align {

// Candidate index c -> signed offset 0, -1, +1, -2, +2 ...
inline int offsetOf(int c) { return (c & 1) ? -((c + 1) >> 1) : ((c + 1) >> 1); }

// The three buffers of a run: bitmap (w h bytes), smoothing scratch (w h) and
// the resampled image (w h RGB48), taken from the caller's area of 8 w h
// bytes or allocated (and then freed by the destructor).
class WorkArea {
public:
    WorkArea(void* work, int w, int h);
    bool ok() const { return bitmap != nullptr; }
    uint8_t* bitmap = nullptr;
    uint8_t* scratch = nullptr;
    uint16_t* resampled = nullptr;

private:
    std::unique_ptr<uint8_t[]> m_own;
};

inline size_t pixelsOf(int w, int h) { return static_cast<size_t>(w) * static_cast<size_t>(h); }

struct Opening {
    float p17 = 0.0f, p50 = 0.0f, p83 = 0.0f;
    float c0 = 0.0f;
};

// Steps shared by every builder after the buffers exist: builds the image's
// bitmap, runs the flat test (the shift builder adds the three-equal test),
// smooths it, measures c0 against the reference and writes it to `before`.
// Returns 0 to go on, or the result code -3 (flat) or -4 (already congruent).
int openRun(const uint16_t* image, const uint8_t* reference, int w, int h, WorkArea& area, bool shiftFlatTest,
            float* before, Opening& out);

// The closing: bitmap of the resampled image, c1 against the reference into
// `after`; the resampled image replaces the image when c1 beats c0 by more
// than the minimum improvement and reaches the minimum equality (0), else -5.
int closeRun(uint16_t* image, const uint8_t* reference, int w, int h, WorkArea& area, float c0, float* after);

} // namespace mp_align
