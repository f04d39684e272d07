// The post-processing dock: pages built from the catalogue, storing edits,
// the chain editor, the catalogue filters, the film-type panel, the slider
// sweep and geometry buttons, the panorama switch and the project keys.

#include "uifixture.h"

#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/draw/pictures.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/styleengine.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <memory>

namespace {

const char kFilmTypes[] = R"(<?xml version="1.0"?>
<filmtypes>
 <operator visible="1" version="1" name="kein Film" gradation="0" brightness="0.5" contrast="0.5" denoisesharp="0" saturation="0.5" temperature="0.36" grainstrength="0.0" grainsize="0.5" pal_red="0.5" pal_ora="0.5" pal_yel="0.5" pal_grn="0.5" pal_cya="0.5" pal_blu="0.5" pal_pur="0.5" pal_mag="0.5" infrared="0"/>
 <operator visible="1" version="1" name="Diafilm 50" gradation="0.1" brightness="0.5" contrast="0.6" grainstrength="0.1"/>
 <operator visible="1" version="1" name="Negativ 400" gradation="0.05" grainstrength="0.4"/>
 <operator visible="1" version="1" name="Schwarzweiss 3200" saturation="0" grainstrength="0.25"/>
 <operator visible="0" version="1" name="versteckt"/>
</filmtypes>
)";

class Host : public IPostProcessingDockHost {
public:
    void HighlightPostProcessingDock() override { ++highlights; }
    void RecomputeHDR() override { ++hdrRequests; }
    bool PreviewMode() const override { return previewMode; }
    void TogglePreviewMode() override { previewMode = !previewMode; }
    void CountAnimModeUsed() override { ++animUsed; }
    void SetOverlayText(const QString& text) override { overlay = text; }
    void CalcWebAnim(bool meta, int, int quality, int, int, int, int, int, const QString& author,
                     const QString& title) override
    {
        webAnim << QStringLiteral("%1 %2 %3 %4").arg(meta).arg(quality).arg(author, title);
    }
    int ChooseTexture(HDRSlider* slider) override { return texture < 0 ? slider->GetValueInt() : texture; }
    int highlights = 0, hdrRequests = 0, animUsed = 0, texture = -1;
    bool previewMode = true;
    QString overlay;
    QStringList webAnim;
};

class PostProcessingDockTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        m_strFilmPath = m_Dir.filePath(QStringLiteral("filmtypes_lumivex.xml"));
        QFile f(m_strFilmPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kFilmTypes);
        f.close();
        MP_UI_SetFilmTypeAfterPPMode(1); // as the program's engine start leaves it
        m_pDock = std::make_unique<HDRPostProcessingDockWidget>(QStringLiteral("Expertenmodus"), nullptr,
                                                                Qt::WindowFlags(), CPPOperatorCatalogue::ResourcePath(),
                                                                m_strFilmPath);
        m_pDock->SetHost(&m_Host);
        m_Chain.SetDisplayName(QStringLiteral("Test"));
        m_pDock->SetCurrentPostProcessing(&m_Chain);
    }
    void TearDown() override
    {
        m_pDock.reset();
        UiTest::TearDown();
    }

    int Index(const char* kernel) const
    {
        return m_pDock->FindOperatorListItemIdx(PP_OperatorId(QLatin1String(kernel)));
    }
    QListWidgetItem* Add(const char* kernel)
    {
        const int p = Index(kernel);
        EXPECT_GE(p, 0) << kernel;
        return p < 0 ? nullptr : m_pDock->addNewOperator(m_pDock->m_pOperatorItems[p]);
    }
    const HDRPostProcessingDockWidget::SParameterSet& Page(const char* kernel) const
    {
        return m_pDock->m_ParameterSets[Index(kernel)];
    }
    static void AnswerYes() { _gui::SetModalHook(&ClickYes); }
    static void AnswerNo() { _gui::SetModalHook(&ClickNo); }
    static int ClickYes(QWidget* w)
    {
        if (auto* box = qobject_cast<HDRMessageBox*>(w)) {
            box->GetYesButton()->click();
            return 0;
        }
        return answerUnexpectedPrompt(w);
    }
    static int ClickNo(QWidget* w)
    {
        if (auto* box = qobject_cast<HDRMessageBox*>(w)) {
            box->GetNoButton()->click();
            return 0;
        }
        return answerUnexpectedPrompt(w);
    }

    QTemporaryDir m_Dir;
    QString m_strFilmPath;
    Host m_Host;
    CPostProcessing m_Chain;
    std::unique_ptr<HDRPostProcessingDockWidget> m_pDock;
};

} // namespace

TEST_F(PostProcessingDockTest, BlendComboHasThirtyTwoModesInSevenGroups)
{
    ASSERT_FALSE(m_pDock->m_ParameterSets.isEmpty());
    QComboBox* combo = nullptr;
    for (const auto& set : m_pDock->m_ParameterSets)
        if (!set.pComboBoxes.isEmpty()) {
            combo = set.pComboBoxes[0];
            break;
        }
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 38);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Blendmode Normal"));
    EXPECT_EQ(combo->itemText(37), QStringLiteral("Blendmode Division"));
    QSet<int> ids;
    int separators = 0;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemData(i).isNull())
            ++separators;
        else
            ids.insert(combo->itemData(i).toInt());
    }
    EXPECT_EQ(separators, 6);
    EXPECT_EQ(ids.size(), 32);
}

// The blend list has 38 rows: shown whole it is taller than many screens (here
// with large text, as on a high-density screen). Wherever the dock stands, the
// popup stays on the box's screen and scrolls to the rows it cannot show,
// under the dark and the light style.
TEST_F(PostProcessingDockTest, BlendPopupFitsTheScreenAndScrolls)
{
    int page = -1;
    for (int i = 0; i < m_pDock->m_ParameterSets.size() && page < 0; ++i)
        if (!m_pDock->m_ParameterSets[i].pComboBoxes.isEmpty() &&
            m_pDock->m_ParameterSets[i].pComboBoxes[0]->isVisibleTo(m_pDock->m_pParameterStack->widget(i)))
            page = i;
    ASSERT_GE(page, 0);
    QComboBox* combo = m_pDock->m_ParameterSets[page].pComboBoxes[0];
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct SCase {
        int style;
        const char* text; // extra sheet for the box's text
    } cases[] = {{1, ""}, {3, "QComboBox { font-size: 30px; }"}};
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    for (const SCase& c : cases) {
        CStyleEngine::instance().SetStyle(c.style, 0, true);
        QWidget window;
        CStyleEngine::instance().SetStyleSheetFromCSS(&window);
        window.setStyleSheet(window.styleSheet() + QLatin1String(c.text));
        m_pDock->setParent(&window);
        m_pDock->m_pParameterStack->setCurrentIndex(page);
        window.resize(320, 200);
        window.show();
        m_pDock->show();
        for (int y : {screen.top(), screen.center().y(), screen.bottom() - 150}) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " " << c.text << " window at " << y);
            window.move(screen.left(), y);
            QCoreApplication::processEvents();
            const int boxTop = combo->mapToGlobal(QPoint(0, 0)).y();
            ASSERT_TRUE(screen.contains(QPoint(screen.left() + 1, boxTop))) << boxTop;
            combo->showPopup();
            QWidget* popup = combo->view()->window();
            EXPECT_TRUE(popup->isVisible());
            EXPECT_TRUE(screen.contains(popup->geometry()))
                << popup->geometry().top() << ".." << popup->geometry().bottom() << " on a screen of "
                << screen.height();
            // Rows that do not fit are reached by scrolling; the last mode is there.
            const int fullHeight = [&] {
                int h = 0;
                for (int i = 0; i < combo->count(); ++i)
                    h += combo->view()->sizeHintForRow(i);
                return h;
            }();
            if (fullHeight > std::max(screen.bottom() - boxTop - combo->height(), boxTop - screen.top()))
                EXPECT_GT(combo->view()->verticalScrollBar()->maximum(), 0) << fullHeight;
            EXPECT_EQ(combo->view()->model()->rowCount(), 38);
            if (!dir.isEmpty())
                popup->grab().save(QString::fromLocal8Bit(dir) +
                                   QStringLiteral("/blendpopup_%1_%2_%3.png").arg(c.style).arg(*c.text ? 30 : 11).arg(y));
            combo->hidePopup();
        }
        m_pDock->hide();
        m_pDock->setParent(nullptr);
    }
}

TEST_F(PostProcessingDockTest, PagesFollowTheCatalogue)
{
    // the first slider of the sky smoothing is hidden, disabled and parameter 0
    const auto& sky = Page("MP_calcPixelSkySmooth");
    ASSERT_GE(sky.pSliders.size(), 2);
    EXPECT_TRUE(sky.pSliders[0]->isHidden());
    EXPECT_FALSE(sky.pSliders[0]->isEnabled());
    EXPECT_FALSE(sky.pSliders[1]->isHidden());

    // the cloth structure shows a texture button and three slider rows
    const auto& cloth = Page("MP_calcPixelStructureCloth");
    ASSERT_GE(cloth.pSliders.size(), 1);
    EXPECT_TRUE(cloth.pSliders[0]->isHidden());
    EXPECT_FALSE(cloth.pSliderButtons[0]->isHidden());
    EXPECT_EQ(cloth.pSliderButtons[0]->height(), 51);
    int shown = 0;
    for (int i = 1; i < cloth.pSliders.size(); ++i)
        shown += cloth.pSliders[i]->isHidden() ? 0 : 1;
    EXPECT_EQ(shown, 3);

    // a new operator's parameters come in parameter order
    QListWidgetItem* row = Add("MP_calcPixelSkySmooth");
    ASSERT_NE(row, nullptr);
    const SOperator& op = m_Chain.m_vecOperators.last();
    ASSERT_GE(op.parameters.size(), 2);
    EXPECT_EQ(op.parameters[0].eType, ePTSlider);
    EXPECT_EQ(op.parameters.last().eType == ePTGeometry || op.parameters.last().eType == ePTBlend, true);
}

TEST_F(PostProcessingDockTest, EditsCountAsChangesByTheirSize)
{
    AnswerYes();
    Add("MP_calcPixelHorizon");
    const auto& page = Page("MP_calcPixelHorizon");
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);

    // find the wide slider ("Bogenminuten", -600..600) and a 0..100 one
    HDRSlider* wide = nullptr;
    for (HDRSlider* s : page.pSliders)
        if (s->maximum() - s->minimum() >= 1000)
            wide = s;
    ASSERT_NE(wide, nullptr);
    m_Chain.m_bChanged = false;
    wide->SetValueInt(wide->GetValueInt() + 1);
    wide->EmitValueUpdated();
    EXPECT_TRUE(m_Chain.m_bChanged) << "one unit of a wide range changes the result";
    EXPECT_EQ(updates.count(), 1);

    // opacity 100 -> 99 marks the chain; the same blend entry again marks nothing
    ASSERT_FALSE(page.pSpinBoxes.isEmpty());
    m_Chain.m_bChanged = false;
    page.pSpinBoxes[0]->setValue(99);
    EXPECT_TRUE(m_Chain.m_bChanged);
    m_Chain.m_bChanged = false;
    emit page.pComboBoxes[0]->currentIndexChanged(page.pComboBoxes[0]->currentIndex());
    EXPECT_FALSE(m_Chain.m_bChanged);

    // an unchecked row stores silently
    m_pDock->m_pChainList->item(0)->setCheckState(Qt::Unchecked);
    updates.clear();
    m_Chain.m_bChanged = false;
    page.pSpinBoxes[0]->setValue(50);
    EXPECT_EQ(updates.count(), 0);
    EXPECT_FALSE(m_Chain.m_bChanged);
    const SParameter& blend = m_Chain.m_vecOperators[0].parameters[m_Chain.m_vecOperators[0].parameters.size() - 2];
    Q_UNUSED(blend);
    bool stored = false;
    for (const SParameter& p : m_Chain.m_vecOperators[0].parameters)
        stored |= p.eType == ePTBlend && p.pfValues[1] == 50.0f;
    EXPECT_TRUE(stored);

    // selecting an operator neither signals nor marks
    m_pDock->selectOperator(0);
    EXPECT_EQ(updates.count(), 0);
    EXPECT_FALSE(m_Chain.m_bChanged);
}

TEST_F(PostProcessingDockTest, BlendIdBetweenWholeNumbersSelectsItsEntry)
{
    Add("MP_calcPixelHorizon");
    SOperator& op = m_Chain.m_vecOperators[0];
    for (SParameter& p : op.parameters)
        if (p.eType == ePTBlend)
            p.pfValues[0] = 31.000002f;
    m_pDock->selectOperator(0);
    EXPECT_EQ(Page("MP_calcPixelHorizon").pComboBoxes[0]->currentText(), QStringLiteral("Blendmode Invers Addieren"));
}

TEST_F(PostProcessingDockTest, BulkRulesAndCopiesKeepListAndChainInStep)
{
    for (int i = 0; i < 5; ++i)
        Add("MP_calcPixelHorizon");
    m_pDock->m_pChainList->setCurrentRow(2);
    m_pDock->m_pChainList->item(2)->setSelected(true);
    m_pDock->m_pChainList->m_pFilterAllToggleAct->trigger();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_Chain.m_vecOperators[i].bActive, i <= 2) << i;
    EXPECT_EQ(m_pDock->m_pChainGroupBox->title(), QStringLiteral("gewählte Filter (3/5)"));

    // copy an inactive operator: active copy at the end, selected
    m_Chain.m_vecOperators[4].parameters[0].pfValues[0] = 0.123f;
    QListWidgetItem* copy = m_pDock->copyOperator(m_pDock->m_pChainList->item(4));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(m_pDock->m_pChainList->count(), 6);
    EXPECT_TRUE(m_Chain.m_vecOperators[5].bActive);
    EXPECT_FLOAT_EQ(m_Chain.m_vecOperators[5].parameters[0].pfValues[0], 0.123f);
    EXPECT_EQ(m_pDock->m_pChainList->currentRow(), 5);

    // remove unchecked: no update; checked: one
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);
    AnswerYes();
    m_pDock->removeOperator(m_pDock->m_pChainList->item(4));
    EXPECT_EQ(updates.count(), 0);
    m_pDock->removeOperator(m_pDock->m_pChainList->item(0));
    EXPECT_EQ(updates.count(), 1);
    EXPECT_EQ(m_Chain.m_vecOperators.size(), 4);
    AnswerNo();
    m_pDock->removeOperator(m_pDock->m_pChainList->item(0));
    EXPECT_EQ(m_Chain.m_vecOperators.size(), 4);
}

TEST_F(PostProcessingDockTest, ContextMenusFollowTheRow)
{
    QMenu below;
    m_pDock->m_pChainList->FillContextMenu(&below, nullptr);
    QStringList texts;
    for (QAction* a : below.actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"m_pFilterAllActivateAct", "m_pFilterAllDeactivateAct", "-", "alle entfernen"}));

    Add("MP_calcPixelHorizon");
    QMenu single;
    m_pDock->m_pChainList->FillContextMenu(&single, m_pDock->m_pChainList->item(0));
    texts.clear();
    for (QAction* a : single.actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{"deaktivieren", "-", "m_pFilterAllActivateAct", "m_pFilterAllToggleAct",
                                  "m_pFilterAllSingleAct", "m_pFilterAllDeactivateAct", "-", "kopieren",
                                  "zurücksetzen", "-", "entfernen", "alle entfernen"}));
}

TEST_F(PostProcessingDockTest, MovingByMenuReordersTheChain)
{
    Add("MP_calcPixelHorizon");
    Add("MP_calcPixelSkySmooth");
    Add("MP_calcPixelStructureCloth");
    m_pDock->m_pChainList->SetContextRow(m_pDock->m_pChainList->item(2));
    m_pDock->m_pChainList->m_pTopAct->trigger();
    EXPECT_EQ(m_Chain.m_vecOperators[0].kernel, QStringLiteral("MP_calcPixelStructureCloth"));
    EXPECT_EQ(m_Chain.m_vecOperators[1].kernel, QStringLiteral("MP_calcPixelHorizon"));
    EXPECT_EQ(_QListWidget::OldIndexList[0], 2u);
}

TEST_F(PostProcessingDockTest, FiltersCountTheCatalogue)
{
    auto header = [this] { return m_pDock->m_pPostProcessCollapsible->GetHeaderLabel()->text(); };
    // the shipped catalogue: 85 entries outside tone mapping, 59 of them fit for panoramas
    EXPECT_EQ(header(), QStringLiteral("Post-Processing Filter (85/85)"));
    EXPECT_EQ(m_pDock->m_pOperatorList->count(), 85);
    m_pDock->m_pOperatorList->m_pFilterNoneAct->trigger();
    EXPECT_EQ(header(), QStringLiteral("Post-Processing Filter (0/85)"));
    m_pDock->m_pOperatorList->m_pFilterAllAct->trigger();
    m_pDock->m_pOperatorList->m_pFilterPanoramaAct->trigger();
    EXPECT_EQ(header(), QStringLiteral("Post-Processing Filter (59/85)"));
    // a type filter hides its own type only
    m_pDock->m_pOperatorList->m_pFilterPanoramaAct->trigger();
    m_pDock->m_pOperatorList->m_pFilterEnhanceAct->trigger();
    for (int i = 0; i < m_pDock->m_pOperatorList->count(); ++i) {
        QListWidgetItem* item = m_pDock->m_pOperatorList->item(i);
        const bool enhance = item->background().color() == HDRPostProcessingDockWidget::s_PPOperatorColors[1];
        EXPECT_EQ(item->isHidden(), enhance) << item->text().toStdString();
    }
    // the menu shows each filter's state as its icon
    QMenu menu;
    m_pDock->m_pOperatorList->FillContextMenu(&menu, nullptr);
    EXPECT_EQ(menu.actions().first(), m_pDock->m_pOperatorList->m_pFilterAllAct);
}

TEST_F(PostProcessingDockTest, FilmTypePanel)
{
    ASSERT_EQ(m_pDock->m_pFilmTypComboBox->count(), 4);
    EXPECT_FALSE(m_pDock->m_pFilmTypIntensitySlider->isVisibleTo(m_pDock.get()));
    m_Chain.m_bChanged = false;
    m_pDock->m_pFilmTypComboBox->setCurrentIndex(3);
    EXPECT_EQ(m_pDock->m_pFilmTypGrainingSlider->GetValueInt(), 25);
    EXPECT_EQ(m_pDock->m_pFilmTypIntensitySlider->GetValueInt(), 100);
    EXPECT_TRUE(m_pDock->m_pFilmTypIntensitySlider->isVisibleTo(m_pDock.get()));
    EXPECT_TRUE(m_Chain.m_bChanged);
    EXPECT_TRUE(m_Chain.m_bChangedByAssistant);
    EXPECT_EQ(m_Chain.m_iFilmTyp, 3);
    m_pDock->m_pFilmTypComboBox->setCurrentIndex(0);
    EXPECT_FALSE(m_pDock->m_pFilmTypGrainingSlider->isVisibleTo(m_pDock.get()));

    // post while checked: nothing; pre with a film chosen: position 0, one update
    MP_UI_SetFilmTypeAfterPPMode(1);
    m_pDock->m_pFilmTypComboBox->setCurrentIndex(2);
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);
    m_pDock->m_pFilmTypPostButton->click();
    EXPECT_EQ(updates.count(), 0);
    EXPECT_EQ(MP_UI_GetFilmTypeAfterPPMode(), 1);
    m_pDock->m_pFilmTypPreButton->click();
    EXPECT_EQ(MP_UI_GetFilmTypeAfterPPMode(), 0);
    EXPECT_EQ(updates.count(), 1);
    EXPECT_TRUE(m_pDock->m_pFilmTypPreButton->isChecked());
    EXPECT_FALSE(m_pDock->m_pFilmTypPostButton->isChecked());

    // the chain reads the dock's row
    float row[PP_FILMTYPE_VALUES];
    EXPECT_TRUE(m_pDock->FilmTypeRow(3, row));
    EXPECT_FLOAT_EQ(row[6], 0.25f);
    EXPECT_FALSE(m_pDock->FilmTypeRow(4, row));
    EXPECT_FALSE(m_pDock->FilmTypeRow(-1, row));
}

TEST_F(PostProcessingDockTest, FilmSlotsWithoutAChainChangeOnlyTheDock)
{
    m_pDock->SetCurrentPostProcessing(nullptr);
    m_pDock->m_pFilmTypComboBox->setCurrentIndex(3);
    EXPECT_EQ(m_pDock->m_pFilmTypGrainingSlider->GetValueInt(), 25);
    m_pDock->addNewOperator(m_pDock->m_pOperatorItems[0]);
    EXPECT_EQ(m_pDock->m_pChainList->count(), 0);
}

// The optimizer panel is never shown and nothing reads it: the operations
// that the batch window (shown, optimizer switch on or off, closed) and the
// result save call on it leave the ten values the project keeps as they were.
TEST_F(PostProcessingDockTest, OptimizerOperationsOfBatchAndSaveChangeNothing)
{
    auto optimizerKeys = [this](const QString& name) {
        QSettings s(m_Dir.filePath(name), QSettings::IniFormat);
        EXPECT_TRUE(m_pDock->SaveProject(s, QString()));
        s.sync();
        QStringList values;
        for (const QString& key : s.allKeys())
            if (key.contains(QLatin1String("Optimizer")))
                values << key + QLatin1Char('=') + s.value(key).toString();
        return values;
    };
    const QStringList before = optimizerKeys(QStringLiteral("before.ini"));
    ASSERT_EQ(before.size(), 10);
    m_pDock->RememberOptimizerForBatchProcessing();
    m_pDock->SetAllOptimizerButtonsActive();
    m_pDock->SetAllOptimizerButtonsInActive();
    m_pDock->RecoverOptimizerForBatchProcessing();
    m_pDock->OptimizerDataToSettings();
    EXPECT_EQ(optimizerKeys(QStringLiteral("after.ini")), before);
}

TEST_F(PostProcessingDockTest, SaveWritesSeventyEightKeysAndLoadRestores)
{
    const QString path = m_Dir.filePath(QStringLiteral("p.ini"));
    {
        QSettings s(path, QSettings::IniFormat);
        ASSERT_TRUE(m_pDock->SaveProject(s, QString()));
        s.sync();
        s.beginGroup(QStringLiteral("PostProcessingDock"));
        EXPECT_EQ(s.allKeys().size(), 78);
        EXPECT_EQ(s.value(QStringLiteral("StructureDetectionTyp")).toInt(), 0);
        EXPECT_FLOAT_EQ(s.value(QStringLiteral("StructureDetectionValueSmooth")).toFloat(), 0.25f);
        EXPECT_FLOAT_EQ(s.value(QStringLiteral("StructureDetectionRecoverTyp10/Value4")).toFloat(), 1.0f);
        EXPECT_FALSE(s.value(QStringLiteral("OptimizerSharpenChecked")).toBool());
        EXPECT_FLOAT_EQ(s.value(QStringLiteral("OptimizerColorTrend")).toFloat(), 0.5f);
        EXPECT_TRUE(s.contains(QStringLiteral("ParnoramaMode")));
    }

    // a project without keys
    QSettings empty(m_Dir.filePath(QStringLiteral("empty.ini")), QSettings::IniFormat);
    MP_UI_SetTonemappingMultipleMode(2);
    ASSERT_TRUE(m_pDock->LoadProject(empty, QString()));
    EXPECT_FALSE(m_pDock->m_pPostProcessCollapsible->IsOpened());
    EXPECT_FALSE(m_pDock->m_pFilterEnhanceButton->isChecked());
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 0);
    EXPECT_EQ(m_pDock->m_pGreyScaleColorSlider->GetValueInt(), 180);
    EXPECT_EQ(m_pDock->m_pFilmTypComboBox->currentIndex(), 0);
    EXPECT_EQ(MP_UI_GetFilmTypeAfterPPMode(), 1);
    EXPECT_TRUE(m_pDock->m_pFilmTypPostButton->isChecked());
    EXPECT_EQ(MP_UI_GetTonemappingMultipleMode(), 0);

    // film index out of range, pre/post 2, panorama, bad floats
    QSettings odd(m_Dir.filePath(QStringLiteral("odd.ini")), QSettings::IniFormat);
    odd.setValue(QStringLiteral("PostProcessingDock/FilmTyp"), 4);
    odd.setValue(QStringLiteral("PostProcessingDock/FilmTypPrePost"), 2);
    odd.setValue(QStringLiteral("PostProcessingDock/ParnoramaMode"), true);
    odd.setValue(QStringLiteral("PostProcessingDock/FilmTypGrainingSlider"), QStringLiteral("nan"));
    odd.setValue(QStringLiteral("PostProcessingDock/GreyScaleColor"), 7.5);
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);
    ASSERT_TRUE(m_pDock->LoadProject(odd, QString()));
    EXPECT_EQ(m_pDock->m_pFilmTypComboBox->currentIndex(), 0);
    EXPECT_EQ(MP_UI_GetFilmTypeAfterPPMode(), 2);
    EXPECT_TRUE(m_pDock->m_pFilmTypPostButton->isChecked());
    EXPECT_TRUE(m_pDock->m_pPanoramaCheckBox->isChecked());
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 1);
    EXPECT_EQ(m_Host.hdrRequests, 0);
    EXPECT_EQ(updates.count(), 0);
    EXPECT_EQ(m_pDock->m_pFilmTypGrainingSlider->GetValueInt(), 0);
    EXPECT_EQ(m_pDock->m_pGreyScaleColorSlider->GetValueInt(), 180) << "only one grey key: defaults";
}

TEST_F(PostProcessingDockTest, PanoramaBoxAsksForOneHDRAndOneUpdate)
{
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);
    m_pDock->m_pPanoramaCheckBox->click();
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 1);
    EXPECT_EQ(m_Host.hdrRequests, 1);
    EXPECT_EQ(updates.count(), 1);
    EXPECT_TRUE(m_Chain.m_bChangedByAssistant);
}

TEST_F(PostProcessingDockTest, SweepRunsUpDownAndBackAndEscapeKeepsTheValue)
{
    Add("MP_calcPixelHorizon");
    const auto& page = Page("MP_calcPixelHorizon");
    int k = -1;
    for (int i = 0; i < page.pSliders.size(); ++i)
        if (!page.pSliders[i]->isHidden() && page.pSliders[i]->maximum() - page.pSliders[i]->minimum() == 100)
            k = i;
    ASSERT_GE(k, 0);
    HDRSlider* slider = page.pSliders[k];
    slider->SetValueF(0.3f);
    slider->EmitValueUpdated();

    double now = 0.0;
    m_pDock->m_fnClockMs = [&now] { return now; };
    float low = 1.0f, high = 0.0f;
    int computed = 0;
    QObject context;
    QObject::connect(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing, &context, [&] {
        ++computed;
        low = std::min(low, slider->GetValueF());
        high = std::max(high, slider->GetValueF());
    });
    page.pSliderButtons[k]->click();
    EXPECT_EQ(computed, 1500);
    EXPECT_FLOAT_EQ(low, 0.0f);
    EXPECT_FLOAT_EQ(high, 1.0f);
    EXPECT_FLOAT_EQ(slider->GetValueF(), 0.3f);
    EXPECT_EQ(MP_UI_GetAnimMode(), 0);
    EXPECT_EQ(m_Host.animUsed, 1);

    // a slow recalculation skips steps; Escape at step 100 keeps the value there
    int step = 0;
    computed = 0;
    m_pDock->m_fnProcessEvents = [&] {
        if (++step == 101)
            MP_UI_SetKeyPressedMode(1);
    };
    QObject::connect(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing, &context,
                     [&] { now += 7.0; });
    page.pSliderButtons[k]->click();
    EXPECT_LT(computed, 60);
    EXPECT_GT(slider->GetValueF(), 0.3f);
    float stored = -1.0f;
    int seen = 0;
    for (const SParameter& p : m_Chain.m_vecOperators[0].parameters)
        if (p.eType == ePTSlider && seen++ == k)
            stored = p.pfValues[0];
    EXPECT_FLOAT_EQ(stored, slider->GetValueF());
    EXPECT_NE(m_Host.overlay.indexOf(slider->GetUnit()), -1);
}

TEST_F(PostProcessingDockTest, GeometryClipboardPastesAllRecords)
{
    QString kernel;
    int p = -1;
    for (int i = 0; i < m_pDock->m_ParameterSets.size() && p < 0; ++i)
        if (!m_pDock->m_ParameterSets[i].pGeometryPickers.isEmpty() && !m_pDock->m_vecCatalogue[i].kernel.isEmpty())
            p = i;
    ASSERT_GE(p, 0);
    m_pDock->addNewOperator(m_pDock->m_pOperatorItems[p]);
    const auto& set = m_pDock->m_ParameterSets[p];
    EXPECT_FALSE(set.pGeometryPasteButtons[0]->isEnabled());
    set.pGeometryPickers[0]->SetGeometry(0, 1, 0.1f, 0.1f, 0.5f, 0.5f, 1, 0.5f, 0.5f);
    set.pGeometryPickers[0]->ForceValueUpdate();
    EXPECT_EQ(m_Chain.GetLayerIconIndex(0) & 2, 2);
    set.pGeometryCopyButtons[0]->click();
    EXPECT_TRUE(set.pGeometryPasteButtons[0]->isEnabled());
    AnswerYes();
    set.pGeometryDeleteButtons[0]->click();
    EXPECT_EQ(m_Chain.GetLayerIconIndex(0) & 2, 0);
    set.pGeometryPasteButtons[0]->click();
    EXPECT_EQ(m_Chain.GetLayerIconIndex(0) & 2, 2);
}

TEST_F(PostProcessingDockTest, UnknownOperatorsKeepTheirKernel)
{
    CPostProcessing chain;
    SOperator op;
    op.kernel = QStringLiteral("MP_calcPixelFromElsewhere");
    op.id = PP_OperatorId(op.kernel);
    op.name = QStringLiteral("Fremd");
    chain.m_vecOperators.append(op);
    m_pDock->SetCurrentPostProcessing(&chain);
    ASSERT_EQ(m_pDock->m_pChainList->count(), 1);
    EXPECT_EQ(m_pDock->m_pChainList->item(0)->text(), op.kernel);
    EXPECT_EQ(chain.m_vecOperators[0].name, QStringLiteral("Fremd"));
    EXPECT_FALSE(m_pDock->m_pParameterStack->isVisibleTo(m_pDock.get()));
    m_pDock->copyOperator(m_pDock->m_pChainList->item(0));
    ASSERT_EQ(chain.m_vecOperators.size(), 2);
    EXPECT_EQ(chain.m_vecOperators[1].kernel, op.kernel);
}

TEST_F(PostProcessingDockTest, OperatorsFromFilesAreBoundToTheirPage)
{
    CPostProcessing chain;
    SOperator op;
    op.kernel = QStringLiteral("MP_calcPixelHorizon");
    op.id = PP_OperatorId(op.kernel);
    SParameter slider;
    slider.eType = ePTSlider;
    slider.pfValues[0] = 0.7f;
    for (int i = 0; i < 9; ++i)
        op.parameters.append(slider); // far more sliders than the page has
    chain.m_vecOperators.append(op);
    m_pDock->SetCurrentPostProcessing(&chain);
    const auto& page = Page("MP_calcPixelHorizon");
    const SOperator& bound = chain.m_vecOperators[0];
    int sliders = 0, blends = 0;
    for (const SParameter& p : bound.parameters) {
        sliders += p.eType == ePTSlider;
        blends += p.eType == ePTBlend;
    }
    EXPECT_EQ(sliders, page.pSliders.size());
    EXPECT_EQ(blends, page.pComboBoxes.size());
    EXPECT_FLOAT_EQ(bound.parameters[0].pfValues[0], 0.7f);
}

TEST_F(PostProcessingDockTest, InfoTextAndCollapsibles)
{
    QString a, b;
    m_pDock->GetInfoText(a);
    m_pDock->GetInfoText(b);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(a.endsWith(QStringLiteral("</br>")));

    m_pDock->SetInitialUserPath(m_Dir.path() + QStringLiteral("/"));
    m_pDock->CollapsiblesFromSettings();
    EXPECT_TRUE(m_pDock->m_pPostProcessCollapsible->IsOpened());
    m_pDock->m_pPostProcessCollapsible->Collapse(false);
    m_pDock->CollapsiblesToSettings();
    m_pDock->m_pPostProcessCollapsible->Collapse(true);
    m_pDock->CollapsiblesFromSettings();
    EXPECT_FALSE(m_pDock->m_pPostProcessCollapsible->IsOpened());
}

// Renders the dock with a chain and a page under a dark and a light style;
// with LUMIVEX_RENDER_DIR set the pictures are kept there for a look.
TEST_F(PostProcessingDockTest, RendersUnderDarkAndLightStyles)
{
    MP_UI_buildColorCirclePicture(); // done by the engine's start-up in the program
    Add("MP_calcPixelHorizon");
    Add("MP_calcPixelSkySmooth");
    m_pDock->m_pFilmTypComboBox->setCurrentIndex(2);
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    struct Style {
        const char* name;
        int code, colour;
    } styles[] = {{"dark", 1, 0}, {"light", 99, 0xd0d0d0}};
    for (const Style& s : styles) {
        CStyleEngine::instance().SetStyle(s.code, s.colour, true);
        QWidget window;
        CStyleEngine::instance().SetStyleSheetFromCSS(&window);
        m_pDock->setParent(&window);
        m_pDock->setFloating(false);
        m_pDock->resize(310, 1400);
        m_pDock->GetContentWidget()->adjustSize();
        m_pDock->show();
        QWidget* content = m_pDock->GetContentWidget();
        const QPixmap shot = content->grab();
        EXPECT_FALSE(shot.isNull());
        EXPECT_GT(shot.height(), 400);
        if (!dir.isEmpty())
            shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/dock_%1.png").arg(QLatin1String(s.name)));
        QVector<int> pages = {Index("MP_calcPixelHorizon"), Index("MP_calcPixelSkySmooth")};
        for (int i = 0; i < m_pDock->m_ParameterSets.size(); ++i) {
            const auto& set = m_pDock->m_ParameterSets[i];
            if (!set.pLinePickers.isEmpty() || !set.pSplinePickers.isEmpty() || !set.pPositionPickers.isEmpty()) {
                pages << i;
                if (pages.size() > 4)
                    break;
            }
        }
        for (int p : pages) {
            QWidget* page = m_pDock->m_pParameterStack->widget(p);
            page->adjustSize();
            if (!dir.isEmpty())
                page->grab().save(QString::fromLocal8Bit(dir) +
                                  QStringLiteral("/page%1_%2.png").arg(p).arg(QLatin1String(s.name)));
        }
        m_pDock->hide();
        m_pDock->setParent(nullptr);
    }
}

TEST_F(PostProcessingDockTest, HiddenWebAnimationButtonHandsItsFieldsToTheWindow)
{
    EXPECT_FALSE(m_pDock->m_pWebAnimGroupBox->isVisibleTo(m_pDock.get()));
    m_pDock->m_pWebAnimTitleEdit->setText(QStringLiteral("Abendrot"));
    m_pDock->m_pWebAnimAuthorEdit->setText(QStringLiteral("Mia"));
    m_pDock->m_pWebAnimSaveButton->click();
    EXPECT_EQ(m_Host.webAnim, QStringList{QStringLiteral("0 80 Mia Abendrot")});
}

TEST_F(PostProcessingDockTest, TextureChooserWithoutChoiceChangesNothing)
{
    const auto& page = Page("MP_calcPixelStructureCloth");
    Add("MP_calcPixelStructureCloth");
    SignalCounter updates(m_pDock.get(), &HDRPostProcessingDockWidget::updateCurrentPostProcessing);
    m_Chain.m_bChanged = false;
    page.pSliderButtons[0]->click(); // the host answers with the slider's own value
    EXPECT_FALSE(m_Chain.m_bChanged);
    m_Host.texture = page.pSliders[0]->maximum();
    page.pSliderButtons[0]->click();
    EXPECT_TRUE(m_Chain.m_bChanged);
    EXPECT_FLOAT_EQ(m_Chain.m_vecOperators[0].parameters[0].pfValues[0], 1.0f);
}

TEST_F(PostProcessingDockTest, GreyValuesFromProjectsLandOnTheSliderGrid)
{
    struct Case {
        float hue, saturation;
        float wantHue, wantSaturation;
    } cases[] = {{0.25f, 0.5f, 0.25f, 0.5f}, {1.5f, 0.5f, 1.0f, 0.5f}, {-0.2f, 0.5f, 0.0f, 0.5f}};
    for (const Case& c : cases) {
        QSettings s(m_Dir.filePath(QStringLiteral("grey.ini")), QSettings::IniFormat);
        s.setValue(QStringLiteral("PostProcessingDock/GreyScaleColor"), c.hue);
        s.setValue(QStringLiteral("PostProcessingDock/GreyScaleSaturation"), c.saturation);
        ASSERT_TRUE(m_pDock->LoadProject(s, QString()));
        EXPECT_FLOAT_EQ(m_pDock->m_pGreyScaleColorSlider->GetValueF(), c.wantHue) << c.hue;
        EXPECT_FLOAT_EQ(m_pDock->m_pGreyScaleSaturationSlider->GetValueF(), c.wantSaturation) << c.hue;
    }
    m_pDock->setStructureSliderValues(0.253f, 1, 1, 1, 1);
    EXPECT_FLOAT_EQ(m_pDock->m_pStructureSmoothSlider->GetValueF(), 0.25f);
    m_pDock->setStructureType(11);
    EXPECT_EQ(m_pDock->getStructureType(), 0);
}
