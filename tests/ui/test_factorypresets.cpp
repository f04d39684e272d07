// The factory presets shipped in the settings folder: format, identity and
// a sane result on a test photograph.

#include "presetsfixture.h"

#include "engine/core/statistics.h"

#include <QCoreApplication>
#include <QSet>
#include <QTranslator>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QString FactoryDir() { return QStringLiteral(LUMIVEX_APP_DIR) + QStringLiteral("/settings/"); }

// A daylight scene: sky gradient above, a darker textured ground, one bright
// window and deep shadow, 200 x 130, RGB16.
std::vector<unsigned short> TestPhoto(int w, int h)
{
    std::vector<unsigned short> p(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float r, g, b;
            if (y < h / 2) {
                const float t = float(y) / float(h / 2);
                r = 0.45f + 0.3f * t;
                g = 0.6f + 0.25f * t;
                b = 0.9f - 0.1f * t;
            } else {
                const float n = 0.08f * std::sin(float(x) * 0.7f) * std::cos(float(y) * 0.9f);
                r = 0.25f + n;
                g = 0.3f + n;
                b = 0.15f + n;
            }
            if (x > w / 2 && x < w / 2 + 20 && y > h / 2 + 10 && y < h / 2 + 30)
                r = g = b = 0.98f;
            if (x < 25 && y > h - 30)
                r = g = b = 0.02f;
            unsigned short* px = &p[(size_t(y) * w + x) * 3];
            px[0] = static_cast<unsigned short>(r * 65535.0f);
            px[1] = static_cast<unsigned short>(g * 65535.0f);
            px[2] = static_cast<unsigned short>(b * 65535.0f);
        }
    }
    return p;
}

TEST(FactoryPresets, EighteenPresetsThreePerCategoryEachMatchingItsTemplates)
{
    const QStringList names = PresetFiles::List(FactoryDir(), {PresetFiles::FactoryFilter()});
    ASSERT_EQ(names.size(), 18);
    const CPPOperatorCatalogue& catalogue = TestCatalogue();
    QSet<QString> identities; // category and display name: the tile's title
    QSet<unsigned> stamps;
    QMap<QString, int> categories;
    for (const QString& name : names) {
        EXPECT_FALSE(name.contains(QLatin1String("_vu_")));
        CPostProcessing chain;
        chain.SetSettingsPath(FactoryDir() + name);
        chain.FromSettings();
        EXPECT_FALSE(chain.m_strDisplayName.isEmpty()) << name.toStdString();
        identities.insert(chain.m_strCategory + QLatin1Char('|') + chain.m_strDisplayName);
        stamps.insert(chain.m_uiTimeStamp);
        ++categories[chain.m_strCategory];
        ASSERT_FALSE(chain.m_vecOperators.isEmpty()) << name.toStdString();
        for (const SOperator& op : chain.m_vecOperators) {
            const int index = catalogue.IndexOfId(op.id);
            ASSERT_GE(index, 0) << op.kernel.toStdString();
            const SOperator made = catalogue.MakeOperator(index);
            ASSERT_EQ(op.parameters.size(), made.parameters.size()) << op.kernel.toStdString();
            for (int p = 0; p < op.parameters.size(); ++p)
                EXPECT_EQ(op.parameters[p].eType, made.parameters[p].eType);
            EXPECT_EQ(op.eType, made.eType);
            EXPECT_EQ(op.bCalcGradation, made.bCalcGradation);
            EXPECT_EQ(op.bReadBWPoint, made.bReadBWPoint);
            EXPECT_EQ(op.bCalcBW, made.bCalcBW);
            EXPECT_EQ(op.iprecalcSmooth, made.iprecalcSmooth);
        }
    }
    EXPECT_EQ(identities.size(), 18);
    EXPECT_EQ(stamps.size(), 18);
    EXPECT_FALSE(stamps.contains(0u));
    for (const char* key : {"natural", "landscape", "architecture", "portrait", "surreal", "artistic"})
        EXPECT_EQ(categories.value(QLatin1String(key)), 3) << key;
}

// A tile's title is the category, a blank and the display name, so a display
// name that repeats its category reads "Natürlich Natürlich weich" on the tile
// and in the batch window's list. In both shipped languages every factory
// title names its category once, is followed by a translated name and differs
// from every other title.
TEST(FactoryPresets, TitlesNameTheCategoryOnceInEveryLanguage)
{
    const QStringList names = PresetFiles::List(FactoryDir(), {PresetFiles::FactoryFilter()});
    ASSERT_EQ(names.size(), 18);
    for (const char* locale : {"de_DE", "en_GB"}) {
        SCOPED_TRACE(locale);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_%1").arg(QLatin1String(locale))));
        QCoreApplication::installTranslator(&translator);
        CPostProcessing::SetLocaleName(QLatin1String(locale));
        QSet<QString> titles;
        for (const QString& name : names) {
            CPostProcessing chain;
            chain.SetSettingsPath(FactoryDir() + name);
            chain.FromSettings();
            const QByteArray key = chain.m_strCategory.toUtf8();
            const QString category = translator.translate("PPPresetCategory", key.constData());
            ASSERT_FALSE(category.isEmpty()) << name.toStdString();
            const QString title = chain.GetDisplayNameWithCategory();
            ASSERT_TRUE(title.startsWith(category + QLatin1Char(' '))) << title.toStdString();
            const QString rest = title.mid(category.size() + 1);
            EXPECT_FALSE(rest.isEmpty()) << name.toStdString();
            EXPECT_FALSE(rest.contains(category, Qt::CaseInsensitive)) << title.toStdString();
            if (QLatin1String(locale) != QLatin1String("de_DE")) {
                const QByteArray source = chain.m_strDisplayName.toUtf8();
                EXPECT_FALSE(translator.translate("PPPreset", source.constData()).isEmpty())
                    << "untranslated: " << name.toStdString();
            }
            titles.insert(title);
        }
        EXPECT_EQ(titles.size(), 18);
        QCoreApplication::removeTranslator(&translator);
    }
    CPostProcessing::SetLocaleName(QString());
}

TEST(FactoryPresets, EachKeepsAPhotographsBrightnessInRange)
{
    // The engine's start values, as the options give them.
    MP_ResetSettingsToInitial();
    static const bool tablesFilled = (MP_fillLookupTables(), true); // the engine's start fills them
    (void)tablesFilled;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    const int w = 200, h = 130;
    std::vector<unsigned short> photo = TestPhoto(w, h);
    for (const QString& name : PresetFiles::List(FactoryDir(), {PresetFiles::FactoryFilter()})) {
        CPostProcessing chain;
        chain.SetSettingsPath(FactoryDir() + name);
        chain.FromSettings();
        ASSERT_TRUE(CPostProcessing::InitBuffer(photo.data(), QSize(w, h), QSize(w, h), true));
        ASSERT_EQ(chain.Process(unsigned(w) * 4, unsigned(h) * 4, true), 0) << name.toStdString();
        const QSize size = CPostProcessing::GetPreviewBufferSize();
        const float mean = MP_UI_GetAverageLuminanceFull(CPostProcessing::GetPreviewBuffer(), float(size.width()),
                                                         float(size.height()));
        std::printf("%s: mean luminance %.3f\n", qPrintable(name), double(mean));
        EXPECT_GT(mean, 0.15f) << name.toStdString();
        EXPECT_LT(mean, 0.85f) << name.toStdString();
    }
    CPostProcessing::DeleteBuffer();
    MP_ResetSettingsToInitial();
    MP_UI_SetIdealThreadCount(4);
}

} // namespace
