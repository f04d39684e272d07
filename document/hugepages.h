#pragma once
// Large image blocks are touched first by multi-threaded conversions; backing
// them with transparent huge pages turns tens of thousands of page faults per
// picture into a few dozen. Advice only: nothing changes when the system
// declines it.

#include <cstddef>

// Advises huge pages for the 2 MB-aligned interior of [block, block + bytes)
// when the block is large (from 4 MB); call before the block is first written.
void AdviseHugePages(void* block, size_t bytes);
