#pragma once
// The presets tests' world: a fake main window (the docks' parent, recording
// the calls it receives and computing thumbnails as the main window does), a
// fake presets host with a small document, a factory folder of test presets
// and chains built from the operator catalogue.

#include "uifixture.h"

#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "ui/options/apppaths.h"
#include "ui/postprocessing/hdrpresetgroupbox.h"
#include "ui/postprocessing/hdrpresetsdockwidget.h"
#include "ui/postprocessing/presetfiles.h"
#include "ui/postprocessing/presetsseams.h"

#include <QDir>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

// The main window as the docks see it.
class FakePresetsMainWindow : public QWidget {
    Q_OBJECT
public:
    struct SCall {
        CPostProcessing* chain;
        HDRPresetGroupBox* tile;
        int thumbnail; // -1: the two-argument form
    };
    QList<SCall> m_Calls;
    int m_iOperatorUpdated = 0;
    int m_iOperatorUpdatedForced = 0;
    std::function<void()> m_fnOnForced;
    HDRPresetsDockWidget* m_pDock = nullptr;

public slots:
    void updatePostProcessing(CPostProcessing* chain, HDRPresetGroupBox* tile)
    {
        m_Calls.append({chain, tile, -1});
        if (chain && tile) {
            if (m_pDock)
                m_pDock->resetCalculatedStates();
            tile->m_bCalculated = true;
        }
    }
    void updatePostProcessing(CPostProcessing* chain, HDRPresetGroupBox* tile, bool thumbnail)
    {
        m_Calls.append({chain, tile, thumbnail ? 1 : 0});
        if (chain && tile && thumbnail)
            tile->UpdatePostProcessingInternal();
    }
    void operatorUpdated() { ++m_iOperatorUpdated; }
    void operatorUpdatedForced()
    {
        ++m_iOperatorUpdatedForced;
        if (m_fnOnForced)
            m_fnOnForced();
    }
};

// A host with an optional document of a flat grey preview.
class FakePresetsHost : public IPresetsHost {
public:
    ~FakePresetsHost() override { SetDocument(false); }

    void SetDocument(bool on, unsigned short grey = 30000)
    {
        if (m_pSeries) {
            std::free(m_pSeries->m_pusPreviewBuffer);
            m_pSeries->m_pusPreviewBuffer = nullptr;
            m_pSeries.reset();
        }
        if (!on)
            return;
        m_pSeries = std::make_unique<CExposureSeries>(false);
        const unsigned w = 96, h = 64;
        auto* buffer = static_cast<unsigned short*>(std::malloc(size_t(w) * h * 3 * sizeof(unsigned short)));
        for (size_t i = 0; i < size_t(w) * h * 3; ++i)
            buffer[i] = static_cast<unsigned short>(grey + (i % 3) * 1000 + (i / (3 * w)) * 200);
        m_pSeries->m_pusPreviewBuffer = buffer;
        m_pSeries->m_uiPreviewWidth = w;
        m_pSeries->m_uiPreviewHeight = h;
        m_pSeries->m_uiWidth = w * 4;
        m_pSeries->m_uiHeight = h * 4;
        m_pSeries->m_fDynamicRange = m_fDynamicRange;
    }

    CExposureSeries* Series() const override { return m_pSeries.get(); }
    float DynamicRange() const override { return m_fDynamicRange; }
    const unsigned short* GetActualHDRBuffer(int* width, int* height) override
    {
        if (m_HDR.empty()) {
            *width = *height = 0;
            return nullptr;
        }
        *width = m_iHDRWidth;
        *height = int(m_HDR.size() / 3 / size_t(m_iHDRWidth));
        return m_HDR.data();
    }
    void HandleValue(const QString& key, int delta) override { m_Counters.append({key, delta}); }
    bool PreviewMode() const override { return m_bPreviewMode; }
    bool PreviewButtonVisible() const override { return m_bPreviewButton; }
    QString ResultsFolder() const override { return m_strResults; }
    QString LastDialogPath() const override { return m_strLastDialog; }
    void SaveDepthMap() override { ++m_iDepthMapSaved; }
    void SetPaintPanoramaActionByMode() override { ++m_iPanoramaAction; }

    std::unique_ptr<CExposureSeries> m_pSeries;
    float m_fDynamicRange = 1.0f;
    std::vector<unsigned short> m_HDR;
    int m_iHDRWidth = 1;
    QList<QPair<QString, int>> m_Counters;
    bool m_bPreviewMode = false;
    bool m_bPreviewButton = false;
    QString m_strResults;
    QString m_strLastDialog;
    int m_iDepthMapSaved = 0;
    int m_iPanoramaAction = 0;
};

// One operator of a test chain: catalogue name and slider values by name.
struct SChainOperator {
    QString name;
    QList<QPair<QString, float>> sliders;
};

inline const CPPOperatorCatalogue& TestCatalogue()
{
    static CPPOperatorCatalogue catalogue;
    static bool loaded = catalogue.Load();
    (void)loaded;
    return catalogue;
}

// Operators of the catalogue with their template values, the named sliders
// set (on the sliders' own grid); false when a name is unknown.
inline bool BuildChain(CPostProcessing& chain, const std::vector<SChainOperator>& operators)
{
    const CPPOperatorCatalogue& catalogue = TestCatalogue();
    for (const SChainOperator& o : operators) {
        int index = -1;
        for (int i = 0; i < catalogue.m_vecEntries.size(); ++i) {
            if (catalogue.m_vecEntries[i].op.name == o.name)
                index = i;
        }
        if (index < 0)
            return false;
        SOperator op = catalogue.MakeOperator(index);
        const SCatalogueEntry& entry = catalogue.m_vecEntries[index];
        for (const auto& slider : o.sliders) {
            bool found = false;
            for (int e = 0; e < entry.elements.size() && e < op.parameters.size(); ++e) {
                const SCatalogueElement& element = entry.elements[e];
                if (element.kind != QLatin1String("slider") || element.Attribute(QStringLiteral("name")) != slider.first)
                    continue;
                op.parameters[e].pfValues[0] = CPPOperatorCatalogue::SliderCenterFraction(
                    element.Attribute(QStringLiteral("min")).toInt(), element.Attribute(QStringLiteral("max")).toInt(),
                    slider.second);
                found = true;
                break;
            }
            if (!found)
                return false;
        }
        chain.m_vecOperators.append(op);
    }
    return true;
}

// Writes a preset file; true when written.
inline bool WritePreset(const QString& path, const QString& name, const QString& category, unsigned stamp,
                        const std::vector<SChainOperator>& operators = {{QStringLiteral("Local Contrast"), {}}})
{
    CPostProcessing chain;
    if (!BuildChain(chain, operators))
        return false;
    chain.SetDisplayName(name);
    chain.SetCategory(category);
    chain.m_uiTimeStamp = stamp;
    return chain.ToSettings(path);
}

// A fresh application folder with factory presets and an empty user folder.
class PresetsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_AppDir.isValid());
        QDir(m_AppDir.path()).mkpath(QStringLiteral("settings"));
        lumivex::SetApplicationFolder(m_AppDir.path());
        QDir(PresetFiles::UserFolder()).removeRecursively();
        QDir().mkpath(PresetFiles::UserFolder());
        PresetsSeams::SetHost(&m_Host);
    }
    void TearDown() override
    {
        PresetsSeams::SetHost(nullptr);
        lumivex::SetApplicationFolder(QString());
        QDir(PresetFiles::UserFolder()).removeRecursively();
        UiTest::TearDown();
    }
    QString Factory(const QString& name) const { return m_AppDir.path() + QStringLiteral("/settings/") + name; }
    QString User(const QString& name) const { return PresetFiles::UserFolder() + name; }
    // Three factory presets: natural, landscape, landscape.
    void WriteFactorySet()
    {
        ASSERT_TRUE(WritePreset(Factory("lumivexpp_v3_01_a.ini"), "A", "natural", 100));
        ASSERT_TRUE(WritePreset(Factory("lumivexpp_v3_02_b.ini"), "B", "landscape", 200));
        ASSERT_TRUE(WritePreset(Factory("lumivexpp_v3_03_c.ini"), "C", "landscape", 300));
    }

    QTemporaryDir m_AppDir;
    FakePresetsHost m_Host;
};
