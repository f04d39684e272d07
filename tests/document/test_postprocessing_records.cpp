// Operator records, the chain object, its class-wide buffers and its INI file.

#include "test_postprocessing_fixture.h"

#include <QFile>
#include <QSettings>
#include <QTextStream>

#include <cmath>
#include <limits>

TEST(PostProcessingRecords, DefaultOperatorAndIndependentCopies)
{
    const SOperator op;
    EXPECT_TRUE(op.bActive);
    EXPECT_EQ(op.id, 0u);
    EXPECT_TRUE(op.kernel.isEmpty());
    EXPECT_TRUE(op.name.isEmpty());
    EXPECT_EQ(op.eType, 0);
    EXPECT_EQ(op.iprecalcSmooth, 0);
    EXPECT_FALSE(op.bReadBWPoint || op.bCalcBW || op.bCalcGradation || op.pano);
    EXPECT_TRUE(op.parameters.isEmpty());

    SOperator source = MakeOp("MP_calcPixelColorPalette", {});
    for (int j = 0; j < 10; ++j)
        source.parameters.append(Slider(0.1f * j));
    SOperator copy = source;
    copy.parameters[9].pfValues[0] = 0.25f;
    copy.parameters[3].pfValues[200] = 7.0f;
    EXPECT_FLOAT_EQ(source.parameters[9].pfValues[0], 0.9f);
    EXPECT_EQ(source.parameters[3].pfValues[200], 0.0f);
    EXPECT_EQ(copy.parameters.size(), 10);
}

TEST(PostProcessingRecords, NewChainValues)
{
    const CPostProcessing chain;
    EXPECT_TRUE(chain.m_vecOperators.isEmpty());
    EXPECT_FALSE(chain.m_bChanged || chain.m_bChangedByAssistant || chain.m_bForceApply || chain.m_bAppendOnLoad);
    EXPECT_EQ(chain.m_uiTimeStamp, 0u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(chain.m_pfStructureValues[i], 1.0f);
        EXPECT_EQ(chain.m_piStructureColors[i], 0xFFFFFF);
    }
    EXPECT_EQ(chain.m_iFilmTyp, 0);
    EXPECT_EQ(chain.m_pAccordingExposureSeries, nullptr);
}

TEST_F(PostProcessingTest, InitBufferFitsTheSourceIntoTheBox)
{
    EXPECT_EQ(CPostProcessing::GetBufferSize(), QSize(-1, -1));
    EXPECT_EQ(CPostProcessing::GetBuffer(), nullptr);
    std::vector<unsigned short> source = TestImage(4000, 3000);
    const struct {
        QSize box;
        QSize expected;
    } cases[] = {
        {QSize(5000, 100), QSize(4000, 3000)}, // larger in one dimension: source size
        {QSize(0, 400), QSize(4000, 3000)},    // no width: source size
        {QSize(400, 400), QSize(400, 300)},
        {QSize(300, 3000), QSize(300, 225)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CPostProcessing::InitBuffer(source.data(), QSize(4000, 3000), c.box, false));
        EXPECT_EQ(CPostProcessing::GetBufferSize(), c.expected) << c.box.width() << "x" << c.box.height();
    }
    // The preview buffer is separate.
    ASSERT_TRUE(CPostProcessing::InitBuffer(source.data(), QSize(4000, 3000), QSize(200, 200), true));
    EXPECT_EQ(CPostProcessing::GetPreviewBufferSize(), QSize(200, 150));
    EXPECT_EQ(CPostProcessing::GetBufferSize(), QSize(300, 225));
}

TEST_F(PostProcessingTest, InitBufferCopiesAtSameSizeAndReusesTheBuffer)
{
    std::vector<unsigned short> source = TestImage(64, 48);
    ASSERT_TRUE(CPostProcessing::InitBuffer(source.data(), QSize(64, 48), QSize(64, 48), false));
    EXPECT_EQ(std::memcmp(CPostProcessing::GetBuffer(), source.data(), source.size() * 2), 0);
    // same size: the same buffer; a new size allocates anew
    unsigned short* first = CPostProcessing::GetBuffer();
    std::vector<unsigned short> other = TestImage(64, 48, 7);
    ASSERT_TRUE(CPostProcessing::InitBuffer(other.data(), QSize(64, 48), QSize(64, 48), false));
    EXPECT_EQ(CPostProcessing::GetBuffer(), first);
    EXPECT_EQ(std::memcmp(CPostProcessing::GetBuffer(), other.data(), other.size() * 2), 0);
    ASSERT_TRUE(CPostProcessing::InitBuffer(other.data(), QSize(64, 48), QSize(32, 32), false));
    EXPECT_EQ(CPostProcessing::GetBufferSize(), QSize(32, 24));
    // DeleteBuffer keeps the remembered size, the next InitBuffer allocates again
    CPostProcessing::DeleteBuffer();
    EXPECT_EQ(CPostProcessing::GetBuffer(), nullptr);
    EXPECT_EQ(CPostProcessing::GetBufferSize(), QSize(32, 24));
    ASSERT_TRUE(CPostProcessing::InitBuffer(other.data(), QSize(64, 48), QSize(32, 32), false));
    EXPECT_NE(CPostProcessing::GetBuffer(), nullptr);
}

TEST_F(PostProcessingTest, InitBufferRefusesAFailedSourceAndKeepsTheBuffer)
{
    Fill(16, 8);
    unsigned short* buffer = CPostProcessing::GetBuffer();
    EXPECT_FALSE(CPostProcessing::InitBuffer(nullptr, QSize(16, 8), QSize(16, 8), false));
    EXPECT_FALSE(CPostProcessing::InitBuffer(image.data(), QSize(0, 8), QSize(16, 8), false));
    EXPECT_FALSE(CPostProcessing::InitBuffer(image.data(), QSize(16, -1), QSize(16, 8), false));
    EXPECT_EQ(CPostProcessing::GetBuffer(), buffer);
    EXPECT_EQ(CPostProcessing::GetBufferSize(), QSize(16, 8));
}

TEST(PostProcessingRecords, LayerIconIndex)
{
    CPostProcessing chain;
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.5f), Blend(3, 100), Geometry(1, 2.0f)}));
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.5f), Blend(0, 50), Geometry()}));
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Blend(31.000002f, 100), Geometry()}));
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Blend(0.9f, 100), Geometry(3)}));
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {}));
    EXPECT_EQ(chain.GetLayerIconIndex(-1), 4);
    EXPECT_EQ(chain.GetLayerIconIndex(5), 4);
    EXPECT_EQ(chain.GetLayerIconIndex(0), 3);
    EXPECT_EQ(chain.GetLayerIconIndex(1), 0);
    EXPECT_EQ(chain.GetLayerIconIndex(2), 1);
    EXPECT_EQ(chain.GetLayerIconIndex(3), 2); // mode 0.9 truncates to 0
    EXPECT_EQ(chain.GetLayerIconIndex(4), 4);
}

TEST(PostProcessingRecords, DisplayNames)
{
    CPostProcessing chain;
    chain.SetDisplayName(QString::fromUtf8("Natürlich"));
    chain.SetCategory("user");
    CPostProcessing::SetLocaleName("en_GB");
    EXPECT_EQ(chain.GetDisplayName(), QString::fromUtf8("Natürlich"));
    chain.SetCategory("natural");
    // without a translation the key shows: category, one blank, name
    EXPECT_EQ(chain.GetDisplayNameWithCategory(), QString::fromUtf8("natural Natürlich"));
    chain.SetCategory(QString());
    EXPECT_EQ(chain.GetDisplayNameWithCategory(), QString::fromUtf8("Natürlich"));
    CPostProcessing::SetLocaleName(QString());
}

TEST(PostProcessingRecords, NextAndLastKernelCPU)
{
    CPostProcessing chain;
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.5f), Blend(0, 100), Geometry()}));
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.5f), Blend(0, 100), Geometry()}));
    chain.m_vecOperators[1].bActive = false;
    EXPECT_TRUE(chain.IsNextKernelCPU(1));  // the last operator
    EXPECT_TRUE(chain.IsNextKernelCPU(0));  // all later operators inactive
    EXPECT_TRUE(chain.IsLastKernelCPU(0));  // none before
}

// ---- the INI file -------------------------------------------------------------------------

class ChainFileTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString Read(const QString& path) const
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }
    void Write(const QString& path, const char* text) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QTemporaryDir dir;
};

TEST_F(ChainFileTest, ValueEncoding)
{
    CPostProcessing chain;
    SOperator op = MakeOp("MP_calcPixelBasicTools", {});
    SParameter p;
    p.pfValues[0] = 0.6555f;
    p.pfValues[1] = 0.0005f;
    p.pfValues[2] = 0.0f;
    p.pfValues[3] = 1.0f;
    p.pfValues[4] = std::numeric_limits<float>::quiet_NaN();
    p.pfValues[5] = -3.0f;
    p.pfValues[6] = 1e12f;
    p.pfValues[7] = std::numeric_limits<float>::infinity();
    op.parameters.append(p);
    op.parameters.append(Blend(31, 100));
    chain.m_vecOperators.append(op);
    ASSERT_TRUE(chain.ToSettings(Path("encoding.ini")));

    QSettings raw(Path("encoding.ini"), QSettings::IniFormat);
    raw.beginGroup("Operator_000000/Parameter_0/pfValues");
    EXPECT_EQ(raw.value("size").toInt(), 256);
    EXPECT_EQ(raw.value("1/uiValue").toUInt(), 655u);
    EXPECT_TRUE(raw.contains("2/uiValue"));
    EXPECT_EQ(raw.value("2/uiValue").toUInt(), 0u);
    EXPECT_FALSE(raw.contains("3/uiValue"));
    EXPECT_EQ(raw.value("4/uiValue").toUInt(), 1000u);
    EXPECT_TRUE(raw.contains("5/uiValue")); // NaN: the key stays, value 0
    EXPECT_EQ(raw.value("5/uiValue").toUInt(), 0u);
    EXPECT_EQ(raw.value("6/uiValue").toUInt(), 0u);          // negative: 0
    EXPECT_EQ(raw.value("7/uiValue").toUInt(), 4294967295u); // held at the top
    EXPECT_EQ(raw.value("8/uiValue").toUInt(), 4294967295u);
    raw.endGroup();
    EXPECT_EQ(raw.value("Operator_000000/Parameter_1/pfValues/1/uiValue").toUInt(), 31000u);
    EXPECT_EQ(raw.value("Operator_000000/Parameter_1/pfValues/2/uiValue").toUInt(), 100000u);

    CPostProcessing back;
    back.SetSettingsPath(Path("encoding.ini"));
    back.FromSettings();
    ASSERT_EQ(back.m_vecOperators.size(), 1);
    const SParameter& q = back.m_vecOperators[0].parameters[0];
    EXPECT_EQ(q.pfValues[0], 655.0f * 0.001f);
    EXPECT_FLOAT_EQ(q.pfValues[0], 0.655f);
    EXPECT_EQ(q.pfValues[1], 0.0f);
    EXPECT_EQ(q.pfValues[2], 0.0f);
    EXPECT_EQ(q.pfValues[3], 1.0f);
    const SParameter& blend = back.m_vecOperators[0].parameters[1];
    EXPECT_EQ(blend.pfValues[0], 31000.0f * 0.001f);
    EXPECT_FLOAT_EQ(blend.pfValues[0], 31.000002f);
    EXPECT_EQ(static_cast<int>(blend.pfValues[0]), 31);
    EXPECT_EQ(blend.pfValues[1], 100000.0f * 0.001f);
}

TEST_F(ChainFileTest, RoundTripKeysAndEmptyChain)
{
    CPostProcessing chain;
    chain.m_uiTimeStamp = 1700000000u;
    chain.SetDisplayName(QString::fromUtf8("Weiches Licht"));
    chain.SetCategory("natural");
    ASSERT_TRUE(chain.ToSettings(Path("empty.ini")));
    QSettings raw(Path("empty.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.allKeys().size(), 7);
    EXPECT_EQ(raw.value("VersionMajor").toInt(), 1);
    EXPECT_EQ(raw.value("VersionMinor").toInt(), 14);
    EXPECT_EQ(raw.value("VersionBuild").toInt(), 2132);
    EXPECT_EQ(raw.value("VersionFamily").toInt(), 1);

    SOperator a = MakeOp("MP_calcPixelTMfattal", {Slider(0.5f), Slider(0.65f), Blend(2, 80), Geometry(2)});
    a.eType = 0;
    a.bCalcGradation = true;
    SOperator b = MakeOp("MP_calcPixelComicPaint", {Slider(0.25f)});
    b.eType = 6;
    b.iprecalcSmooth = 95;
    b.bActive = false;
    b.bCalcBW = true;
    b.bReadBWPoint = true;
    chain.m_vecOperators = {a, b};
    ASSERT_TRUE(chain.ToSettings(Path("two.ini")));
    EXPECT_TRUE(Read(Path("two.ini")).contains("Parameter_0\\pfValues\\1\\uiValue=500"));
    EXPECT_TRUE(Read(Path("two.ini")).contains("bCalcGradation=true"));

    CPostProcessing back;
    back.SetSettingsPath(Path("two.ini"));
    back.FromSettings();
    EXPECT_EQ(back.m_uiTimeStamp, 1700000000u);
    EXPECT_EQ(back.m_strDisplayName, QString::fromUtf8("Weiches Licht"));
    EXPECT_EQ(back.m_strCategory, "natural");
    ASSERT_EQ(back.m_vecOperators.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const SOperator& x = chain.m_vecOperators[i];
        const SOperator& y = back.m_vecOperators[i];
        EXPECT_EQ(y.kernel, x.kernel);
        EXPECT_EQ(y.id, PP_OperatorId(x.kernel));
        EXPECT_TRUE(y.name.isEmpty());
        EXPECT_FALSE(y.pano);
        EXPECT_EQ(y.eType, x.eType);
        EXPECT_EQ(y.bActive, x.bActive);
        EXPECT_EQ(y.iprecalcSmooth, x.iprecalcSmooth);
        EXPECT_EQ(y.bReadBWPoint, x.bReadBWPoint);
        EXPECT_EQ(y.bCalcBW, x.bCalcBW);
        EXPECT_EQ(y.bCalcGradation, x.bCalcGradation);
        ASSERT_EQ(y.parameters.size(), x.parameters.size());
        for (int j = 0; j < x.parameters.size(); ++j) {
            EXPECT_EQ(y.parameters[j].eType, x.parameters[j].eType);
            for (int v = 0; v < 256; ++v)
                EXPECT_NEAR(y.parameters[j].pfValues[v], x.parameters[j].pfValues[v], 0.001f) << i << j << v;
        }
    }
    // Writing again over the file removes the keys the chain no longer has.
    chain.m_vecOperators.clear();
    ASSERT_TRUE(chain.ToSettings(Path("two.ini")));
    EXPECT_EQ(QSettings(Path("two.ini"), QSettings::IniFormat).allKeys().size(), 7);
    back.FromSettings();
    EXPECT_TRUE(back.m_vecOperators.isEmpty());
    // ToSettings(path) leaves the chain's own path alone
    EXPECT_EQ(back.m_strSettingsPath, Path("two.ini"));
    EXPECT_TRUE(chain.m_strSettingsPath.isEmpty());
}

TEST_F(ChainFileTest, ReaderTakesGroupsNumberedWithoutGaps)
{
    Write(Path("gaps.ini"),
          "[General]\nDisplayName=Gaps\n"
          "[Operator_000000]\nKernel=MP_calcPixelSharpen\neType=1\nbActive=true\n"
          "Parameter_0\\eType=0\nParameter_0\\pfValues\\size=3\nParameter_0\\pfValues\\1\\uiValue=500\n"
          "Parameter_0\\pfValues\\3\\uiValue=250\nParameter_0\\pfValues\\4\\uiValue=999\n"
          "Parameter_0\\pfValues\\x\\uiValue=999\nParameter_0\\pfValues\\2\\uiValue=-5\n"
          "Parameter_2\\eType=5\n"
          "[Operator_000002]\nKernel=MP_calcPixelNegative\nbActive=true\n");
    CPostProcessing chain;
    chain.SetSettingsPath(Path("gaps.ini"));
    chain.FromSettings();
    ASSERT_EQ(chain.m_vecOperators.size(), 1);
    const SOperator& op = chain.m_vecOperators[0];
    EXPECT_EQ(op.kernel, "MP_calcPixelSharpen");
    ASSERT_EQ(op.parameters.size(), 1); // Parameter_2 breaks the sequence
    EXPECT_EQ(op.parameters[0].pfValues[0], 0.5f);
    EXPECT_EQ(op.parameters[0].pfValues[1], 0.0f);
    EXPECT_EQ(op.parameters[0].pfValues[2], 0.25f);
    for (int v = 3; v < 256; ++v)
        EXPECT_EQ(op.parameters[0].pfValues[v], 0.0f);
}

TEST_F(ChainFileTest, MissingKeysAndOversizedArrays)
{
    QByteArray text = "[Operator_000000]\nKernel=MP_calcPixelSharpen\nParameter_0\\pfValues\\size=100000\n";
    for (int i = 1; i <= 300; ++i)
        text += QByteArray("Parameter_0\\pfValues\\") + QByteArray::number(i) + "\\uiValue=1000\n";
    for (int j = 1; j <= 11; ++j)
        text += QByteArray("Parameter_") + QByteArray::number(j) + "\\eType=0\n";
    Write(Path("big.ini"), text.constData());
    CPostProcessing chain;
    chain.SetSettingsPath(Path("big.ini"));
    chain.FromSettings();
    ASSERT_EQ(chain.m_vecOperators.size(), 1);
    EXPECT_FALSE(chain.m_vecOperators[0].bActive); // no "bActive": inactive
    EXPECT_LE(chain.m_vecOperators[0].parameters.size(), 10);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(chain.m_vecOperators[0].parameters[0].pfValues[v], 1.0f);

    // a missing file reads as an empty chain
    CPostProcessing none;
    none.m_strDisplayName = "x";
    none.m_uiTimeStamp = 5;
    none.m_vecOperators.append(SOperator());
    none.SetSettingsPath(Path("missing.ini"));
    none.FromSettings();
    EXPECT_TRUE(none.m_vecOperators.isEmpty());
    EXPECT_TRUE(none.m_strDisplayName.isEmpty());
    EXPECT_EQ(none.m_uiTimeStamp, 0u);
}

TEST_F(ChainFileTest, AppendKeepsNameCategoryAndTimeStamp)
{
    CPostProcessing two;
    two.SetDisplayName("Zwei");
    two.SetCategory("surreal");
    two.m_uiTimeStamp = 99;
    two.m_vecOperators = {MakeOp("MP_calcPixelNegative", {}), MakeOp("MP_calcPixelSepia", {})};
    ASSERT_TRUE(two.ToSettings(Path("two.ini")));

    CPostProcessing four;
    four.SetDisplayName("Vier");
    four.SetCategory("user");
    four.m_uiTimeStamp = 12345;
    four.SetSettingsPath(Path("four.ini"));
    for (int i = 0; i < 4; ++i)
        four.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.1f * i)}));
    four.FromSettings(Path("two.ini"));
    ASSERT_EQ(four.m_vecOperators.size(), 6);
    EXPECT_EQ(four.m_vecOperators[4].kernel, "MP_calcPixelNegative");
    EXPECT_EQ(four.m_vecOperators[5].kernel, "MP_calcPixelSepia");
    EXPECT_EQ(four.m_strDisplayName, "Vier");
    EXPECT_EQ(four.m_strCategory, "user");
    EXPECT_EQ(four.m_uiTimeStamp, 12345u);
    EXPECT_EQ(four.m_strSettingsPath, Path("four.ini"));
    EXPECT_FALSE(four.m_bAppendOnLoad);
}

TEST_F(ChainFileTest, FailedWriteSaysSoAndKeepsTheOldFile)
{
    CPostProcessing chain;
    chain.SetDisplayName("Alt");
    ASSERT_TRUE(chain.ToSettings(Path("keep.ini")));
    const QString before = Read(Path("keep.ini"));
    // a path below a file cannot be written
    EXPECT_FALSE(chain.ToSettings(Path("keep.ini") + "/x.ini"));
    EXPECT_EQ(Read(Path("keep.ini")), before);
    // a read-only folder: the old file stays whole
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    chain.SetDisplayName("Neu");
    chain.m_vecOperators.append(MakeOp("MP_calcPixelSharpen", {Slider(0.5f)}));
    const bool written = chain.ToSettings(Path("keep.ini"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!written) {
        EXPECT_EQ(Read(Path("keep.ini")), before);
    }
}

TEST_F(PostProcessingTest, PixmapsOfTheResultBuffers)
{
    EXPECT_TRUE(CPostProcessing::CreatePixmap(false, false).isNull());
    Fill(40, 20);
    const QPixmap pixmap = CPostProcessing::CreatePixmap(false, false);
    EXPECT_EQ(pixmap.size(), QSize(40, 20));
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[0], 46);
    EXPECT_EQ(IExposure::sm_pbBackgroundColor[2], 46);
    std::vector<unsigned short> red(static_cast<size_t>(100) * 100 * 3, 0);
    for (size_t i = 0; i < red.size(); i += 3)
        red[i] = 65535;
    ASSERT_TRUE(CPostProcessing::InitBuffer(red.data(), QSize(100, 100), QSize(100, 100), true));
    const QPixmap preview = CPostProcessing::CreatePixmap(true, true);
    EXPECT_FALSE(preview.isNull());
    EXPECT_EQ(preview.toImage().pixelColor(0, 0).red(), IExposure::sm_pbBackgroundColor[0]);
    EXPECT_GT(IExposure::sm_pbBackgroundColor[0], 200);
    EXPECT_LT(IExposure::sm_pbBackgroundColor[1], 30);
    EXPECT_FALSE(CPostProcessing::CreateHistogram(64, 32, true, true, true, false, false).isNull());
}
