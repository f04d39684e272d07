// The operator catalogue reader and the shipped catalogue; chains of landed
// operators run through the real dispatcher.

#include "test_postprocessing_fixture.h"

#include <QFile>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

#include <set>

namespace {

const CPPOperatorCatalogue& Shipped()
{
    static CPPOperatorCatalogue catalogue;
    static bool loaded = catalogue.Load();
    (void)loaded;
    return catalogue;
}

int EntryIndex(const char* kernel) { return Shipped().IndexOfId(PP_OperatorId(QString::fromLatin1(kernel))); }

const SCatalogueEntry& Entry(const char* kernel)
{
    const int index = EntryIndex(kernel);
    EXPECT_GE(index, 0) << kernel;
    return Shipped().m_vecEntries[std::max(index, 0)];
}

QByteArray Catalogue(const QByteArray& operators) { return "<operators>" + operators + "</operators>"; }

} // namespace

TEST(OperatorCatalogue, ShippedResourceCountsAndOrder)
{
    const CPPOperatorCatalogue& c = Shipped();
    EXPECT_EQ(c.m_iOperatorElements, 150);
    ASSERT_EQ(c.m_vecEntries.size(), 94);
    EXPECT_EQ(c.m_vecEntries.first().op.kernel, "MP_calcPixelTMfattal");
    EXPECT_EQ(c.m_vecEntries[9].op.kernel, "MP_calcPixelEnhance");
    EXPECT_EQ(c.m_vecEntries.last().op.kernel, "MP_calcPixelPsycho");
    EXPECT_EQ(c.m_TypeOrder,
              (QStringList{"tonemapping", "enhance", "geometry", "exposure", "color", "smooth", "artwork"}));
    EXPECT_EQ(c.m_TypeGroups.value("tonemapping").size(), 9);
    // type codes and ids
    for (const SCatalogueEntry& e : c.m_vecEntries) {
        EXPECT_EQ(e.op.eType, CPPOperatorCatalogue::TypeCode(e.typeString));
        EXPECT_EQ(e.op.id, PP_OperatorId(e.op.kernel));
        EXPECT_TRUE(e.op.bActive);
        EXPECT_TRUE(e.op.parameters.isEmpty());
    }
    // a telling row, attribute for attribute
    const SCatalogueEntry& fattal = Entry("MP_calcPixelTMfattal");
    EXPECT_EQ(fattal.op.name, "Tonemapping Fattal");
    EXPECT_TRUE(fattal.op.pano);
    EXPECT_TRUE(fattal.op.bCalcGradation);
    ASSERT_EQ(fattal.elements.size(), 8);
    const SCatalogueElement& radius = fattal.elements[0];
    EXPECT_EQ(radius.Attribute("isradius"), "1");
    EXPECT_EQ(radius.Attribute("style"), " ");
    EXPECT_EQ(radius.Attribute("low"), "klein");
    EXPECT_EQ(radius.Attribute("high"), QString::fromUtf8("groß"));
    EXPECT_EQ(radius.Attribute("tooltip"), "tooltip TM Radius");
    EXPECT_EQ(radius.Attribute("grating"), "0");
    EXPECT_EQ(fattal.elements[1].Attribute("style"), "stop:0 #0f0f0f, stop:1 #efefef");
    EXPECT_EQ(fattal.elements[5].Attribute("tooltip"), "tooltip TM Maskierung");
    EXPECT_EQ(fattal.elements[6].Attribute("tooltip"), "tooltip LayerEffekt Combo");
    EXPECT_EQ(fattal.elements[7].Attribute("tooltip"), "tooltip Geometry");
    EXPECT_EQ(Entry("MP_calcPixelLightTuner").op.bCalcBW, true);
    EXPECT_EQ(Entry("MP_calcPixelautomaticbwpoint").op.bReadBWPoint, true);
    EXPECT_EQ(Entry("MP_calcPixelComicPaint").op.iprecalcSmooth, 95);
    EXPECT_EQ(Entry("MP_calcPixelPencilPaint").op.iprecalcSmooth, 95);
    EXPECT_EQ(Entry("MP_calcPixelTiltShift").op.iprecalcSmooth, 0);
    EXPECT_FALSE(Entry("MP_calcPixelBorder").op.pano);
    EXPECT_EQ(EntryIndex("MP_calcPixelXFlip"), -1);
    EXPECT_EQ(EntryIndex("MP_calcPixelHDSharpen"), -1);
}

TEST(OperatorCatalogue, EveryEntryRunsARegisteredKernelWithItsMasksInPlace)
{
    std::set<std::string> registered;
    for (int i = 0; i < MP_kernelCount(); ++i)
        registered.insert(MP_kernelNameAt(i));
    for (const SCatalogueEntry& e : Shipped().m_vecEntries) {
        const QByteArray kernel = e.op.kernel.toLatin1();
        EXPECT_TRUE(registered.count(kernel.toStdString())) << kernel.constData();
        ASSERT_LE(e.parameterTemplate.size(), 10);
        ASSERT_EQ(e.parameterTemplate.size(), e.elements.size());
        const int g = MP_UI_getKernelGeometryIndex(kernel.constData());
        ASSERT_EQ(g, e.parameterTemplate.size() - 1) << kernel.constData();
        EXPECT_EQ(e.parameterTemplate[g].eType, ePTGeometry);
        EXPECT_EQ(e.parameterTemplate[g - 1].eType, ePTBlend);
        EXPECT_EQ(e.parameterTemplate[g - 1].pfValues[1], 100.0f);
        // parameter order: sliders, positions, lines, splines, colours, blend, masks
        static const int rank[7] = {0, 1, 3, 4, 2, 5, 6};
        for (int j = 1; j < e.parameterTemplate.size(); ++j)
            EXPECT_LE(rank[e.parameterTemplate[j - 1].eType], rank[e.parameterTemplate[j].eType])
                << kernel.constData();
    }
}

TEST(OperatorCatalogue, ParameterTemplates)
{
    // 1..500 at 0.5: centre 250, fraction 249/499
    EXPECT_EQ(Entry("MP_calcPixelTMfattal").parameterTemplate[0].pfValues[0], 249.0f / 499.0f);
    EXPECT_EQ(CPPOperatorCatalogue::SliderCenterFraction(1, 500, 0.5f), 249.0f / 499.0f);
    EXPECT_EQ(CPPOperatorCatalogue::SliderCenterFraction(1, 500, 7.0f), 1.0f);
    EXPECT_EQ(CPPOperatorCatalogue::SliderCenterFraction(5, 5, 0.5f), 0.0f);
    // the hidden slider of the sky smoothing still is parameter 0
    const SCatalogueEntry& sky = Entry("MP_calcPixelSkySmooth");
    EXPECT_FALSE(sky.elements[0].shown);
    EXPECT_TRUE(sky.elements[1].shown);
    EXPECT_EQ(sky.parameterTemplate[0].pfValues[0], 124.0f / 499.0f);
    EXPECT_EQ(sky.elements[1].Attribute("name"), QString::fromUtf8("Schärfe"));
    // colours: whole 1/255 steps and their point in the disc
    const SParameter& colour = sky.parameterTemplate[2];
    EXPECT_EQ(colour.eType, ePTColor);
    EXPECT_EQ(colour.pfValues[2], static_cast<float>(static_cast<int>(0.39f * 255.0f)) / 255.0f);
    float x = 0, y = 0;
    MP_UI_RGBtoPos(&x, &y, colour.pfValues[2], colour.pfValues[3], colour.pfValues[4]);
    EXPECT_EQ(colour.pfValues[0], x);
    EXPECT_EQ(colour.pfValues[1], y);
    // splines: the preset block; lines and positions
    const SCatalogueEntry& grad = Entry("MP_calcPixelGradationLagrange");
    EXPECT_EQ(grad.parameterTemplate[0].pfValues[3], 0.2f);
    EXPECT_EQ(Entry("MP_calcPixelSharpen").parameterTemplate[1].pfValues[1], 1.0f);
    const SCatalogueEntry& tilt = Entry("MP_calcPixelTiltColor");
    EXPECT_EQ(tilt.parameterTemplate[2].eType, ePTLine);
    EXPECT_EQ(tilt.parameterTemplate[2].pfValues[3], 0.6f);
    // texture sliders: slots marked needed, value 0
    for (int slot = 4; slot <= 10; ++slot)
        EXPECT_EQ(MP_UI_GetTextureNeeded(slot), 1) << slot;
    EXPECT_EQ(Entry("MP_calcPixelStructureCloth").parameterTemplate[0].pfValues[0], 0.0f);
    // blend and mask only
    EXPECT_EQ(Entry("MP_calcPixelautomaticbwpoint").parameterTemplate.size(), 2);
    EXPECT_EQ(Entry("MP_calcPixelNegative").parameterTemplate.size(), 2);
    // a chain operator from an entry
    const SOperator made = Shipped().MakeOperator(EntryIndex("MP_calcPixelTMfattal"));
    EXPECT_FALSE(made.pano);
    EXPECT_EQ(made.parameters.size(), 8);
    EXPECT_EQ(Shipped().MakeOperator(-1).kernel, QString());
}

TEST(OperatorCatalogue, AcceptanceTypesAndOrder)
{
    CPPOperatorCatalogue c;
    ASSERT_TRUE(c.LoadFromData(Catalogue(
        "<operator visible=\"1\" version=\"3\" name=\"drei\" kernel=\"K3\" type=\"color\" precalcSmooth=\"0\">"
        "<color name=\"c\" r=\"1\" g=\"1\" b=\"1\"/><position name=\"p\" x=\"0.1\" y=\"0.2\"/>"
        "<geometry/><combo/><slider name=\"s\" min=\"0\" max=\"100\" default=\"0.5\"/></operator>"
        "<operator visible=\"1\" version=\"4\" name=\"vier\" kernel=\"K4\" type=\"color\"/>"
        "<operator visible=\"0\" version=\"0\" name=\"aus\" kernel=\"K0\" type=\"color\"/>"
        "<operator visible=\"1\" version=\"abc\" name=\"abc\" kernel=\"Kabc\" type=\"strange\"/>"
        "<operator visible=\"1\" version=\"0\" name=\"Beta\" kernel=\"KB\" type=\"color\"/>"
        "<operator visible=\"1\" version=\"0\" name=\"alpha\" kernel=\"KA\" type=\"color\"/>")));
    EXPECT_EQ(c.m_iOperatorElements, 6);
    ASSERT_EQ(c.m_vecEntries.size(), 4);
    const SCatalogueEntry& three = c.m_vecEntries[0];
    ASSERT_EQ(three.parameterTemplate.size(), 5);
    const int types[5] = {ePTSlider, ePTPosition, ePTColor, ePTBlend, ePTGeometry};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(three.parameterTemplate[j].eType, types[j]);
    EXPECT_EQ(three.elements[0].Attribute("name"), "s");
    EXPECT_FALSE(three.elements[0].shown); // no "visible": hidden
    // an unknown type keeps the previous code and is listed under its own string
    EXPECT_EQ(c.m_vecEntries[1].op.kernel, "Kabc");
    EXPECT_EQ(c.m_vecEntries[1].op.eType, eOTColor);
    EXPECT_EQ(c.m_TypeOrder, (QStringList{"color", "strange"}));
    // sorted without regard to case
    EXPECT_EQ(c.m_TypeGroups.value("color"), (QVector<int>{3, 2, 0}));
    EXPECT_EQ(c.IndexOfId(PP_OperatorId("nothing")), -1);
    EXPECT_TRUE(CPPOperatorCatalogue::caseInsensitiveLessThan("alpha", "Beta"));
    EXPECT_FALSE(CPPOperatorCatalogue::caseInsensitiveLessThan("Beta", "alpha"));
}

TEST(OperatorCatalogue, RefusedOperatorsAndParseErrors)
{
    QByteArray eleven;
    for (int i = 0; i < 11; ++i)
        eleven += "<slider name=\"s\" min=\"0\" max=\"10\" default=\"0\"/>";
    CPPOperatorCatalogue c;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(c.LoadFromData(Catalogue(
        "<operator visible=\"1\" version=\"0\" name=\"x\" kernel=\"KX\" type=\"strange\"/>"
        "<operator visible=\"1\" version=\"0\" name=\"elf\" kernel=\"K11\" type=\"color\">" + eleven +
        "</operator>")));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("K11"), std::string::npos);
    ASSERT_EQ(c.m_vecEntries.size(), 1);
    EXPECT_EQ(c.m_vecEntries[0].op.eType, 0); // unknown type with nothing before it

    testing::internal::CaptureStdout();
    EXPECT_FALSE(c.LoadFromData("<operators>\n<operator>\n</operators>"));
    const std::string error = testing::internal::GetCapturedStdout();
    EXPECT_NE(error.find("ERROR in PPOperators.xml: "), std::string::npos);
    EXPECT_NE(error.find(" at line 3 column "), std::string::npos);
    EXPECT_EQ(c.m_iErrorLine, 3);
    EXPECT_TRUE(c.m_vecEntries.isEmpty());
    EXPECT_FALSE(c.Load(":/operators/missing.xml"));
    EXPECT_TRUE(c.m_vecEntries.isEmpty());
}

// ---- chains of landed operators through the real dispatcher ---------------------------------

TEST_F(PostProcessingTest, ChainMatchesTheDriversRunDirectly)
{
    const int w = 96, h = 64;
    Fill(w, h);
    std::vector<unsigned short> direct = image;
    const char* kernels[] = {"MP_calcPixelBasicTools", "MP_calcPixelGradationLagrange",
                             "MP_calcPixelColorTemperature", "MP_calcPixelHSL", "MP_calcPixelSepia"};
    CPostProcessing chain;
    for (const char* kernel : kernels) {
        SOperator op = Shipped().MakeOperator(EntryIndex(kernel));
        ASSERT_FALSE(op.kernel.isEmpty()) << kernel;
        for (int j = 0; j < op.parameters.size(); ++j)
            if (op.parameters[j].eType == ePTSlider)
                op.parameters[j].pfValues[0] = 0.3f + 0.1f * j;
        if (op.parameters[0].eType == ePTSpline)
            op.parameters[0].pfValues[3] = 0.35f;
        chain.m_vecOperators.append(op);
    }
    ASSERT_EQ(chain.Process(w, h, false), 0);

    MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    for (const SOperator& op : chain.m_vecOperators) {
        CPostProcessing::FillKernelHeader(P, w, h, w, h);
        for (int j = 0; j < op.parameters.size(); ++j)
            std::memcpy(P->p[j], op.parameters[j].pfValues, sizeof(P->p[j]));
        ASSERT_EQ(RunDirect(op.kernel.toLatin1().constData(), P, direct, w, h), 0);
    }
    std::free(P);
    EXPECT_NE(direct, image); // the operators changed the picture
    EXPECT_EQ(std::memcmp(CPostProcessing::GetBuffer(), direct.data(), direct.size() * 2), 0);
}

TEST_F(PostProcessingTest, FilmPassMatchesTheDriversRunDirectly)
{
    const int w = 64, h = 48;
    Fill(w, h);
    std::vector<unsigned short> direct = image;
    CFakeFilmSettings film;
    film.rows = {NeutralFilmRow(), NeutralFilmRow()};
    film.rows[1][0] = 0.1f;  // gradation
    film.rows[1][1] = 0.6f;  // brightness
    film.rows[1][5] = 0.45f; // temperature
    film.index = 1;
    film.intensity = 0.8f;
    CPostProcessing chain;
    ASSERT_EQ(chain.Process(w, h, false), 0);

    MP_Params* P = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    auto run = [&](const char* kernel) { ASSERT_EQ(RunDirect(kernel, P, direct, w, h), 0); };
    auto header = [&] { CPostProcessing::FillKernelHeader(P, w, h, w, h); };
    const float I = 0.8f, hI = 0.5f * (1.0f - I), A = I * 0.1f;
    header();
    const float knots[12] = {0, 0, 0.2f, 0.2f - A, 0.4f, 0.4f - 0.5f * A, 0.6f, 0.6f + 0.5f * A, 0.8f, 0.8f + A, 1, 1};
    std::memcpy(P->p[0], knots, sizeof(knots));
    P->p[1][1] = 100.0f;
    run("MP_calcPixelGradationLagrange");
    header();
    const float flat[12] = {0, 1, 0.2f, 1, 0.4f, 1, 0.6f, 1, 0.8f, 1, 1, 1};
    P->p[0][0] = I * 0.6f + hI;
    P->p[1][0] = I * 0.5f + hI;
    P->p[2][0] = 0.5f;
    std::memcpy(P->p[3], flat, sizeof(flat));
    P->p[4][1] = 100.0f;
    run("MP_calcPixelBasicTools");
    header();
    P->p[0][0] = I * 0.45f + 0.36f * (1.0f - I);
    std::memcpy(P->p[1], flat, sizeof(flat));
    P->p[2][1] = 100.0f;
    run("MP_calcPixelColorTemperature");
    std::free(P);
    EXPECT_NE(direct, image);
    EXPECT_EQ(std::memcmp(CPostProcessing::GetBuffer(), direct.data(), direct.size() * 2), 0);
}

TEST(OperatorCatalogue, ColourHalfIsOneHundredTwentySeven)
{
    CPPOperatorCatalogue c;
    ASSERT_TRUE(c.LoadFromData(Catalogue(
        "<operator visible=\"1\" version=\"0\" name=\"c\" kernel=\"KC\" type=\"color\" precalcSmooth=\"0\">"
        "<color visible=\"1\" version=\"0\" name=\"c\" r=\"0.5\" g=\"0.5\" b=\"0.5\"/></operator>")));
    ASSERT_EQ(c.m_vecEntries.size(), 1);
    EXPECT_EQ(c.m_vecEntries[0].parameterTemplate[0].pfValues[2], 127.0f / 255.0f);
}

// lupdate does not read the catalogue: its tooltip keys are kept in the
// translation files by hand, and this keeps them in step (the compiled files
// hold finished translations only).
TEST(OperatorCatalogue, EveryTooltipKeyIsTranslatedInBothFiles)
{
    QTranslator german, english;
    ASSERT_TRUE(german.load(FindSourceFile(QStringLiteral("lumivex/translations/hdrvorlix_de_DE.qm"))));
    ASSERT_TRUE(english.load(FindSourceFile(QStringLiteral("lumivex/translations/hdrvorlix_en_GB.qm"))));
    auto translated = [](const QTranslator& translator, const QString& key) {
        const QByteArray source = key.toUtf8();
        return translator.translate("PPOperators.xml", source.constData());
    };

    QFile file(FindSourceFile(QStringLiteral("resources/operators/PPOperators.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int keys = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QString tooltip = xml.attributes().value(QLatin1String("tooltip")).toString();
        if (tooltip.isEmpty())
            continue;
        ++keys;
        const QString de = translated(german, tooltip);
        EXPECT_FALSE(de.isEmpty() || de == tooltip) << "de_DE: " << tooltip.toStdString();
        const QString en = translated(english, tooltip);
        EXPECT_FALSE(en.isEmpty() || en == tooltip) << "en_GB: " << tooltip.toStdString();
    }
    EXPECT_GT(keys, 300);
    // the English file names every offered operator
    for (const SCatalogueEntry& e : Shipped().m_vecEntries)
        EXPECT_FALSE(translated(english, e.op.name).isEmpty()) << e.op.name.toStdString();
}
