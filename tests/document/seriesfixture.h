#pragma once
// Series tests: the document fixture plus the series' own seams, and series
// built from exposures made in memory (no files) of a given luminance.

#include "documentfixture.h"

#include "document/alignmentthreads.h"
#include "document/exposureseries.h"
#include "document/seriesfakes.h"

#include <initializer_list>

class SeriesTest : public DocumentTest {
protected:
    // A loaded exposure of w x h in one grey level (0..255) with the given
    // luminance figure.
    static CExposure* grey(int w, int h, unsigned level, float luminance)
    {
        auto e = exposureOf(rgb8(w, h, [&](int x, int y) {
                                 const unsigned v = (level + unsigned(x + 3 * y) % 7) & 255;
                                 return (v << 16) | (v << 8) | v;
                             }),
                            QString("grey%1.tif").arg(level));
        if (!e)
            return nullptr;
        e->m_fAvgLuminance = luminance;
        return e.release();
    }

    // Puts exposures into the series (as a batch series would hold them) and
    // copies the first one's sizes.
    static void fill(CExposureSeries& s, std::initializer_list<CExposure*> list)
    {
        for (CExposure* e : list) {
            if (s.m_vExposures.isEmpty()) {
                s.m_uiWidth = e->m_uiWidth;
                s.m_uiHeight = e->m_uiHeight;
                s.m_uiPreviewWidth = e->m_uiPreviewWidth;
                s.m_uiPreviewHeight = e->m_uiPreviewHeight;
            }
            s.m_vExposures.append(e);
        }
    }

    // Exposures with no buffers and the given luminances (order, master and
    // reference tests).
    static CExposure* bare(float luminance, bool synthetic = false)
    {
        auto* e = new CExposure;
        e->m_fAvgLuminance = luminance;
        e->m_bSynthetic = synthetic;
        return e;
    }

    CFakeSeriesHost host;
};
