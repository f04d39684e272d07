// The film-type table and the film pass.

#include "test_postprocessing_fixture.h"

#include <QCoreApplication>
#include <QFile>

#include <cmath>

namespace {

struct SFilmCase {
    const char* name;
    int column;   // value of the row changed from neutral (-1: none)
    float value;
    float intensity;
    float graining;
    std::vector<std::string> passes;
};

} // namespace

class FilmPassTest : public PostProcessingTest {
protected:
    // Runs the film pass of row 1 (neutral but for `column`) and records it.
    std::vector<CChainRecorder::SRun> Run(int column, float value, float intensity, float graining)
    {
        Fill(24, 12);
        CChainRecorder recorder;
        CFakeFilmSettings film;
        film.rows = {NeutralFilmRow(), NeutralFilmRow()};
        if (column >= 0)
            film.rows[1][column] = value;
        film.index = 1;
        film.intensity = intensity;
        film.graining = graining;
        CPostProcessing chain;
        chain.SetProcessData();
        EXPECT_EQ(chain.ProcessFilmType(24, 12, false, CPostProcessing::GetBuffer(), QSize(24, 12)), 0);
        return recorder.runs;
    }
    static std::vector<std::string> Names(const std::vector<CChainRecorder::SRun>& runs)
    {
        std::vector<std::string> names;
        for (const auto& run : runs)
            names.push_back(run.name);
        return names;
    }
};

TEST_F(FilmPassTest, WhichPassesRun)
{
    const SFilmCase cases[] = {
        {"neutral row, graining 0", -1, 0, 1.0f, 0.0f, {}},
        {"neutral row at half intensity", -1, 0, 0.5f, 0.0f, {}},
        {"intensity 0, graining 0.2", 0, 0.2f, 0.0f, 0.2f, {"MP_calcPixelAddGrain"}},
        {"infrared", 16, 1.0f, 1.0f, 0.0f, {"MP_calcPixelHueExpose"}},
        {"palette", 9, 0.8f, 1.0f, 0.0f, {"MP_calcPixelColorPalette"}},
        {"gradation", 0, 0.1f, 1.0f, 0.0f, {"MP_calcPixelGradationLagrange"}},
        {"brightness", 1, 0.7f, 1.0f, 0.0f, {"MP_calcPixelBasicTools"}},
        {"softening", 3, -0.4f, 0.5f, 0.0f, {"MP_calcPixelDeNoiseAverage"}},
        {"sharpening", 3, 0.4f, 0.5f, 0.0f, {"MP_calcPixelSharpen"}},
        {"saturation", 4, 0.0f, 1.0f, 0.0f, {"MP_calcPixelColorIntensity"}},
        {"temperature", 5, 0.5f, 1.0f, 0.0f, {"MP_calcPixelColorTemperature"}},
        {"grain size alone", 7, 0.9f, 1.0f, 0.0f, {}},
    };
    for (const SFilmCase& c : cases)
        EXPECT_EQ(Names(Run(c.column, c.value, c.intensity, c.graining)), c.passes) << c.name;
}

TEST_F(FilmPassTest, PassValues)
{
    std::vector<CChainRecorder::SRun> runs = Run(3, -0.4f, 0.5f, 0.0f);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FLOAT_EQ(runs[0].params.p[0][0], 0.2f);
    EXPECT_EQ(runs[0].params.p[1][1], 1.0f); // flat masking curve
    EXPECT_EQ(runs[0].params.p[2][0], 0.0f); // blend mode 0
    EXPECT_EQ(runs[0].params.p[2][1], 100.0f);
    EXPECT_EQ(runs[0].category, -1);
    EXPECT_TRUE(runs[0].before && runs[0].after);

    runs = Run(16, 1.0f, 1.0f, 0.0f);
    ASSERT_EQ(runs.size(), 1u);
    const float expected[6] = {0.0f, 0.4f, 1.0f, 0.1f, 0.0f, 0.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(runs[0].params.p[i][0], expected[i]) << i;
    EXPECT_EQ(runs[0].params.p[6][1], 100.0f);

    runs = Run(0, 0.2f, 0.0f, 0.2f);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].params.p[0][0], 0.2f);
    EXPECT_EQ(runs[0].params.p[1][0], 0.1f); // grain size of the row
    EXPECT_EQ(runs[0].params.p[2][11], 0.31f);
    EXPECT_EQ(runs[0].params.p[3][1], 100.0f);

    runs = Run(0, -0.1f, 1.0f, 0.0f);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].params.p[0][3], 0.2f - (-0.1f));
    EXPECT_EQ(runs[0].params.p[0][9], 0.8f + (-0.1f));

    // palette: 0.5 + sign(v) |v|^0.75 with v = I (R - 0.5)
    runs = Run(9, 0.8f, 1.0f, 0.0f);
    ASSERT_EQ(runs.size(), 1u);
    const float v = 1.0f * 0.8f + 0.5f * (1.0f - 1.0f) - 0.5f;
    EXPECT_EQ(runs[0].params.p[1][0], 0.5f + std::pow(std::fabs(v), 0.75f));
    EXPECT_EQ(runs[0].params.p[0][0], 0.5f);
    EXPECT_EQ(runs[0].params.p[8][1], 100.0f);
}

TEST_F(FilmPassTest, RowZeroAndRowsOutsideTheTableRunNothing)
{
    Fill(24, 12);
    CChainRecorder recorder;
    CFakeFilmSettings film;
    film.rows = {NeutralFilmRow()};
    film.graining = 0.5f;
    CPostProcessing chain;
    for (int index : {0, -1, 1, 600}) {
        film.index = index;
        chain.SetProcessData();
        EXPECT_EQ(chain.ProcessFilmType(24, 12, false, CPostProcessing::GetBuffer(), QSize(24, 12)), 0);
    }
    EXPECT_TRUE(recorder.runs.empty());
}

TEST_F(FilmPassTest, FilmPassBeforeOrAfterTheOperators)
{
    Fill(24, 12);
    CChainRecorder recorder;
    CFakeFilmSettings film;
    film.rows = {NeutralFilmRow(), NeutralFilmRow()};
    film.index = 1;
    film.graining = 0.3f;
    CPostProcessing chain;
    chain.m_vecOperators.append(MakeOp("MP_calcPixelNegative", {Blend(0, 100), Geometry()}));
    MP_UI_SetFilmTypeAfterPPMode(0);
    ASSERT_EQ(chain.Process(24, 12, false), 0);
    EXPECT_EQ(recorder.Names(), (std::vector<std::string>{"MP_calcPixelAddGrain", "MP_calcPixelNegative"}));
    recorder.runs.clear();
    MP_UI_SetFilmTypeAfterPPMode(7);
    ASSERT_EQ(chain.Process(24, 12, false), 0);
    EXPECT_EQ(recorder.Names(), (std::vector<std::string>{"MP_calcPixelNegative", "MP_calcPixelAddGrain"}));
    EXPECT_EQ(chain.m_iFilmTyp, 1);
    EXPECT_EQ(chain.m_fFilmTypGraining, 0.3f);
}

// ---- the table file ----------------------------------------------------------------------

TEST(FilmTypeTable, AcceptanceAndValues)
{
    const QByteArray xml =
        "<filmtypes>"
        "<operator visible=\"1\" version=\"0\" name=\"Kein Filmtyp\" temperature=\"0.36\" brightness=\"0.5\"/>"
        "<operator visible=\"0\" version=\"0\" name=\"unsichtbar\"/>"
        "<operator visible=\"1\" version=\"301\" name=\"zu neu\"/>"
        "<operator visible=\"1\" version=\"300\" name=\"gerade noch\" infrared=\"abc\" pal_mag=\"0.7\"/>"
        "<group><operator visible=\"1\" name=\"ohne Version\" gradation=\"-0.1\" grainsize=\"0.3\"/></group>"
        "</filmtypes>";
    CFilmTypeTable table;
    EXPECT_TRUE(table.LoadFromData(xml));
    ASSERT_EQ(table.m_vecTypes.size(), 3);
    EXPECT_EQ(table.m_vecTypes[0].name, "Kein Filmtyp");
    EXPECT_EQ(table.m_vecTypes[0].values[5], 0.36f);
    EXPECT_EQ(table.m_vecTypes[0].values[1], 0.5f);
    EXPECT_EQ(table.m_vecTypes[0].values[0], 0.0f); // missing
    EXPECT_EQ(table.m_vecTypes[1].name, "gerade noch");
    EXPECT_EQ(table.m_vecTypes[1].values[16], 0.0f); // unreadable
    EXPECT_EQ(table.m_vecTypes[1].values[15], 0.7f);
    EXPECT_EQ(table.m_vecTypes[2].name, "ohne Version");
    EXPECT_EQ(table.m_vecTypes[2].values[0], -0.1f);
    EXPECT_EQ(table.m_vecTypes[2].values[7], 0.3f);
}

TEST(FilmTypeTable, ParseErrorsMissingFilesAndTheLimit)
{
    CFilmTypeTable table;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(table.LoadFromData("<filmtypes>\n<operator visible=\"1\" name=\"a\">\n</filmtypes>"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ERROR in filmtypes.xml: "), std::string::npos);
    EXPECT_NE(out.find(" at line 3 column "), std::string::npos);
    EXPECT_NE(out.find("filmtypes: "), std::string::npos);
    EXPECT_TRUE(table.m_vecTypes.isEmpty());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(table.Load("/no/such/filmtypes_lumivex.xml"));
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    EXPECT_TRUE(table.m_vecTypes.isEmpty());

    QByteArray many = "<f>";
    for (int i = 0; i < 600; ++i)
        many += "<operator visible=\"1\" version=\"0\" name=\"t" + QByteArray::number(i) + "\"/>";
    many += "</f>";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(table.LoadFromData(many));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(table.m_vecTypes.size(), 512);
    EXPECT_EQ(table.m_vecTypes.last().name, "t511");
}

TEST(FilmTypeTable, ShippedTableKeepsItsLimits)
{
    EXPECT_TRUE(CFilmTypeTable::DefaultPath().endsWith("/settings//filmtypes_lumivex.xml"));
    CFilmTypeTable table;
    testing::internal::CaptureStdout();
    const bool loaded = table.Load(FindSourceFile("data/settings/filmtypes_lumivex.xml"));
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded);
    ASSERT_GE(table.m_vecTypes.size(), 12);
    const SFilmType& none = table.m_vecTypes[0];
    EXPECT_EQ(none.name, "Kein Filmtyp");
    const float neutral[PP_FILMTYPE_VALUES] = {0, 0.5f, 0.5f, 0, 0.5f, 0.36f, 0.2f, none.values[7], 0.5f, 0.5f,
                                               0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0};
    for (int v = 0; v < PP_FILMTYPE_VALUES; ++v)
        EXPECT_EQ(none.values[v], neutral[v]) << v;
    for (const SFilmType& type : table.m_vecTypes) {
        const float* r = type.values;
        EXPECT_LE(std::fabs(r[0]), 0.2f) << type.name.toStdString();
        EXPECT_GE(r[3], -1.0f);
        EXPECT_LE(r[3], 1.0f);
        for (int v : {1, 2, 4, 5, 6, 7, 16}) {
            EXPECT_GE(r[v], 0.0f) << type.name.toStdString() << v;
            EXPECT_LE(r[v], 1.0f) << type.name.toStdString() << v;
        }
        for (int v = 8; v < 16; ++v) {
            EXPECT_GE(r[v], 0.11f) << type.name.toStdString() << v;
            EXPECT_LE(r[v], 0.89f) << type.name.toStdString() << v;
        }
    }
}
