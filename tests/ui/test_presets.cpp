// The preset library: files and numbering, the import check, the presets
// dock with its tiles, filter, layout, thumbnails, copy, delete, import,
// export and project part, the combiner and the texture selector's grids.

#include "presetsfixture.h"

#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/postprocessing/hdrpresetcombinewindow.h"
#include "ui/postprocessing/textureselector.h"
#include "ui/toolkit/hdrexposurelabel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QTemporaryFile>
#include <QInputDialog>
#include <QMouseEvent>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>

#include <QButtonGroup>
#include <QPointer>
#include <QPushButton>

#include "engine/core/textures.h"
#include "ui/toolkit/hdrslider.h"

#include <cstring>

namespace {

// ---- files ------------------------------------------------------------------------------

class PresetFilesTest : public PresetsTest {};

TEST_F(PresetFilesTest, NextUserPresetNumber)
{
    EXPECT_EQ(PresetFiles::NextUserPresetPath(), User("lumivexpp_vu_000000.ini"));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "a", "user", 1));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000007.ini"), "b", "user", 2));
    EXPECT_EQ(PresetFiles::NextUserPresetPath(), User("lumivexpp_vu_000008.ini"));
    // A name without a number sorts last but does not count.
    QDir(PresetFiles::UserFolder()).remove(QStringLiteral("lumivexpp_vu_000007.ini"));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000001.ini"), "c", "user", 3));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_x.ini"), "d", "user", 4));
    EXPECT_EQ(PresetFiles::NextUserPresetPath(), User("lumivexpp_vu_000002.ini"));
    // "_vu_" in a folder name makes no user preset.
    EXPECT_FALSE(PresetFiles::IsUserPresetName(QStringLiteral("/opt/x_vu_y/settings/lumivexpp_v3_01_a.ini")));
    EXPECT_TRUE(PresetFiles::IsUserPresetName(User("lumivexpp_vu_000001.ini")));
    EXPECT_FALSE(PresetFiles::IsUserPresetName(QStringLiteral("lumivexpp_VU_000001.ini")));
}

TEST_F(PresetFilesTest, ImportCheck)
{
    WriteFactorySet();
    QTemporaryDir dir;
    struct {
        const char* keys; // key=value lines
        int code;
    } cases[] = {
        {"DisplayName=x", 3},
        {"", 3},
        {"TimeStamp=5\nCategory=user", 2},
        {"DisplayName=x\nCategory=user", 1},
        {"VersionFamily=2\nVersionMajor=1\nVersionMinor=0\nVersionBuild=0\nCategory=user", 4},
        {"TimeStamp=5\nDisplayName=x\nCategory=user\nVersionFamily=1\nVersionMajor=1\nVersionMinor=14\nVersionBuild=2133", 4},
        {"TimeStamp=5\nDisplayName=x\nCategory=user\nVersionFamily=1\nVersionMajor=1\nVersionMinor=14\nVersionBuild=2132", 0},
        {"TimeStamp=5\nDisplayName=x\nCategory=user", 0},
        // 215 x 10^7 wraps in 32 bits; it is a newer version all the same.
        {"TimeStamp=5\nDisplayName=x\nCategory=user\nVersionFamily=1\nVersionMajor=215\nVersionMinor=0\nVersionBuild=0", 4},
        {"TimeStamp=200\nDisplayName=B\nCategory=landscape", 5},
    };
    int i = 0;
    for (const auto& c : cases) {
        const QString path = dir.path() + QStringLiteral("/p%1.ini").arg(i++);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.keys);
        f.close();
        EXPECT_EQ(PresetFiles::CheckImportable(path), c.code) << c.keys;
    }
}

// ---- the dock ----------------------------------------------------------------------------

class PresetsDockTest : public PresetsTest {
protected:
    void SetUp() override
    {
        PresetsTest::SetUp();
        WriteFactorySet();
    }
    void TearDown() override
    {
        delete m_pDock;
        PresetsTest::TearDown();
    }
    void Create()
    {
        m_pDock = new HDRPresetsDockWidget(QStringLiteral("Presets"), &m_Window);
        m_Window.m_pDock = m_pDock;
    }
    HDRPresetGroupBox* Tile(int i) const { return m_pDock->m_PresetGroupBoxes.value(i); }
    void Tick() { QMetaObject::invokeMethod(m_pDock, "createOnePreview", Qt::DirectConnection); }
    int Created() const
    {
        int n = 0;
        for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes)
            n += t->m_bPreviewCreated ? 1 : 0;
        return n;
    }
    // Answers the next input dialog with text (accepted) or cancels it.
    static void AnswerInput(const QString& text, bool accept = true)
    {
        _gui::SetModalHook([text, accept](QWidget* prompt) {
            auto* dialog = qobject_cast<QInputDialog*>(prompt);
            if (!dialog)
                return UiTest::answerUnexpectedPrompt(prompt);
            dialog->setTextValue(text);
            dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
            return dialog->result();
        });
    }
    // Answers message boxes with Yes (or the only button) and records them.
    void AnswerBoxes(bool yes = true)
    {
        _gui::SetModalHook([this, yes](QWidget* prompt) {
            auto* box = qobject_cast<HDRMessageBox*>(prompt);
            if (!box)
                return UiTest::answerUnexpectedPrompt(prompt);
            m_Boxes.append(box->text());
            QAbstractButton* button = (yes && box->GetYesButton()) ? static_cast<QAbstractButton*>(box->GetYesButton())
                                                                    : box->GetNoButton();
            button->click();
            return 0;
        });
    }

    FakePresetsMainWindow m_Window;
    HDRPresetsDockWidget* m_pDock = nullptr;
    QStringList m_Boxes;
};

TEST_F(PresetsDockTest, LoadsFactoryThenUserPresetsAsTiles)
{
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000003.ini"), "Mein", "user", 400));
    ASSERT_TRUE(WritePreset(Factory("lumivexpp_v2_01_old.ini"), "Old", "natural", 1)); // other version
    Create();
    ASSERT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    EXPECT_EQ(Tile(0)->title(), QStringLiteral("natural A"));
    EXPECT_EQ(Tile(3)->m_pPostProcessing->GetDisplayName(), QStringLiteral("Mein"));
    EXPECT_FALSE(Tile(0)->m_bUserPreset);
    EXPECT_TRUE(Tile(3)->m_bUserPreset);
    // Factory tiles: duplicate and reset; user tiles also save, rename, delete.
    EXPECT_FALSE(Tile(0)->m_pCopyButton->isHidden());
    EXPECT_FALSE(Tile(0)->m_pResetButton->isHidden());
    EXPECT_TRUE(Tile(0)->m_pDeleteButton->isHidden());
    EXPECT_TRUE(Tile(0)->m_pSaveButton->isHidden());
    EXPECT_FALSE(Tile(3)->m_pDeleteButton->isHidden());
    EXPECT_FALSE(Tile(3)->m_pRenameButton->isHidden());
    EXPECT_TRUE(Tile(3)->m_pUpButton->isHidden());
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), nullptr);
    EXPECT_EQ(g_pHDRPresetsDockWidget, m_pDock);
    // Filter buttons: "Alle" checked, categories without a tile disabled.
    EXPECT_TRUE(m_pDock->m_FilterButtons[0]->isChecked());
    const bool enabled[8] = {true, true, true, false, true, false, false, false};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m_pDock->m_FilterButtons[i]->isEnabled(), enabled[i]) << i;
    EXPECT_TRUE(m_Window.m_Calls.isEmpty());
    // A press on a thumbnail chooses the tile; pressing it again keeps it chosen.
    for (int press = 0; press < 2; ++press) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Tile(2)->m_pLabel, &event);
        EXPECT_EQ(m_Window.m_Calls.size(), press + 1);
        EXPECT_EQ(m_Window.m_Calls.last().tile, Tile(2));
        EXPECT_EQ(m_Window.m_Calls.last().thumbnail, -1);
        EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(2));
        EXPECT_FALSE(Tile(0)->IsSelected());
    }
    m_pDock->RefreshStyle();
    EXPECT_TRUE(Tile(2)->m_pLabel->styleSheet().contains(QLatin1String("border-width: 3px")));
}

TEST_F(PresetsDockTest, NoFactoryPresetEndsTheProgramWithAMessage)
{
    QDir(m_AppDir.path() + QStringLiteral("/settings")).removeRecursively();
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "Mein", "user", 400));
    int exitCode = 0;
    auto previous = HDRPresetsDockWidget::s_fnExit;
    HDRPresetsDockWidget::s_fnExit = [&](int code) { exitCode = code; };
    AnswerBoxes();
    Create();
    HDRPresetsDockWidget::s_fnExit = previous;
    EXPECT_EQ(exitCode, -1);
    ASSERT_EQ(m_Boxes.size(), 1);
    EXPECT_EQ(m_Boxes[0], QStringLiteral("No post-processing presets found! Please reinstall..."));
}

TEST_F(PresetsDockTest, FilterAndLayout)
{
    m_Host.SetDocument(true);
    Create();
    m_pDock->resize(312, 700);
    m_pDock->m_FilterButtons[4]->click(); // "Landschaft"
    EXPECT_TRUE(m_pDock->m_FilterButtons[4]->isChecked());
    EXPECT_FALSE(m_pDock->m_FilterButtons[0]->isChecked());
    EXPECT_FALSE(Tile(0)->m_bFilterVisible);
    EXPECT_TRUE(Tile(1)->m_bFilterVisible && Tile(2)->m_bFilterVisible);
    // The first landscape tile is chosen and applied.
    ASSERT_EQ(m_Window.m_Calls.size(), 1);
    EXPECT_EQ(m_Window.m_Calls[0].tile, Tile(1));
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(1));
    // The checked button again: still checked; the selected tile is visible, nothing recalculated.
    m_pDock->m_FilterButtons[4]->click();
    EXPECT_TRUE(m_pDock->m_FilterButtons[4]->isChecked());
    EXPECT_EQ(m_Window.m_Calls.size(), 1);
    // Docked: one column; floating 700 wide with tiles of 250: two.
    m_pDock->m_FilterButtons[0]->click();
    m_pDock->ReLayout();
    EXPECT_EQ(m_pDock->m_pGridLayout->columnCount(), 1);
    for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes)
        t->setFixedSize(250, t->height());
    m_pDock->setFloating(true);
    m_pDock->setMinimumWidth(312);
    m_pDock->setMaximumWidth(16777215);
    m_pDock->resize(700, 700);
    m_pDock->ReLayout();
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    m_pDock->m_pGridLayout->getItemPosition(m_pDock->m_pGridLayout->indexOf(Tile(1)), &row, &column, &rowSpan,
                                            &columnSpan);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(column, 1);
    m_pDock->m_pGridLayout->getItemPosition(m_pDock->m_pGridLayout->indexOf(Tile(2)), &row, &column, &rowSpan,
                                            &columnSpan);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    // Narrower than one tile: still one column.
    m_pDock->resize(100, 700);
    m_pDock->ReLayout();
    EXPECT_GE(m_pDock->m_pGridLayout->indexOf(Tile(2)), 0);
}

TEST_F(PresetsDockTest, ThumbnailPassAndTicks)
{
    m_Host.SetDocument(true);
    Create();
    m_Window.show();
    m_pDock->show();
    m_pDock->m_FilterButtons[4]->click(); // "Landschaft": tile 1 chosen
    m_Window.m_Calls.clear();
    m_pDock->CreateAllPreviews(true);
    ASSERT_EQ(m_Window.m_Calls.size(), 2);
    EXPECT_EQ(m_Window.m_Calls[0].tile, Tile(1));
    EXPECT_EQ(m_Window.m_Calls[0].thumbnail, 1);
    EXPECT_EQ(m_Window.m_Calls[1].thumbnail, 0);
    EXPECT_TRUE(m_pDock->m_PreviewTimer.isActive());
    EXPECT_FALSE(Tile(1)->m_pLabel->pixmap().isNull());
    // A tick: the next landscape tile, then the first missing one of the list.
    Tick();
    EXPECT_TRUE(Tile(2)->m_bPreviewCreated);
    EXPECT_TRUE(Tile(0)->m_bPreviewCreated);
    EXPECT_EQ(Created(), 3);
    EXPECT_FALSE(Tile(0)->m_pLabel->pixmap().isNull());
    // Hidden dock: nothing.
    m_pDock->CreateAllPreviews(true);
    m_pDock->hide();
    Tick();
    EXPECT_EQ(Created(), 1);
    m_pDock->show();
    Tick();
    EXPECT_EQ(Created(), 3);
    // No document: a tick computes nothing.
    m_pDock->CreateAllPreviews(true);
    m_Host.SetDocument(false);
    Tick();
    EXPECT_EQ(Created(), 1);
    // ClearAllPreviews stops the timer and removes the pictures.
    m_pDock->ClearAllPreviews();
    EXPECT_FALSE(m_pDock->m_PreviewTimer.isActive());
    EXPECT_TRUE(Tile(1)->m_pLabel->pixmap().isNull());
}

TEST_F(PresetsDockTest, PassFallsBackToTheFirstVisibleThenTheFirstTile)
{
    m_Host.SetDocument(true);
    Create();
    m_pDock->CreateAllPreviews(true);
    EXPECT_EQ(m_Window.m_Calls[0].tile, Tile(0)); // nothing applied: first filter-visible
    EXPECT_TRUE(Tile(0)->IsSelected());
    // No filter-visible tile: the first of the list, not highlighted.
    m_pDock->resetLabelHighlights();
    m_pDock->resetCalculatedStates();
    for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes)
        t->m_bFilterVisible = false;
    m_Window.m_Calls.clear();
    m_pDock->CreateAllPreviews(true);
    EXPECT_EQ(m_Window.m_Calls[0].tile, Tile(0));
    EXPECT_FALSE(Tile(0)->IsSelected());
}

TEST_F(PresetsDockTest, NestedTimerGuardsAndAPassAskedForInsideATick)
{
    m_Host.SetDocument(true);
    Create();
    m_Window.show();
    m_pDock->show();
    HDRPresetTimerStopHelper::SetPresetsDock(m_pDock);
    m_pDock->StartPreviewTimer(20);
    {
        HDRPresetTimerStopHelper outer;
        EXPECT_FALSE(m_pDock->m_PreviewTimer.isActive());
        {
            HDRPresetTimerStopHelper inner;
        }
        EXPECT_FALSE(m_pDock->m_PreviewTimer.isActive());
    }
    EXPECT_TRUE(m_pDock->m_PreviewTimer.isActive());
    EXPECT_EQ(m_pDock->m_PreviewTimer.interval(), 20);
    HDRPresetTimerStopHelper::SetPresetsDock(nullptr);

    // A new pass asked for while a tick computes starts after the tick;
    // StopAllPreviews never waits.
    m_pDock->CreateAllPreviews(true);
    m_Window.m_Calls.clear();
    ++m_pDock->m_iPreviewBusy; // as inside a running tick
    m_pDock->StopAllPreviews();
    m_pDock->CreateAllPreviews(true);
    EXPECT_TRUE(m_Window.m_Calls.isEmpty());
    EXPECT_TRUE(m_pDock->m_bPassPending);
    Tick(); // a tick inside the running one computes nothing
    EXPECT_EQ(Created(), 1);
    EXPECT_TRUE(m_pDock->m_bPassPending);
    --m_pDock->m_iPreviewBusy;
    Tick();
    EXPECT_FALSE(m_pDock->m_bPassPending);
    ASSERT_EQ(m_Window.m_Calls.size(), 2); // the pending pass ran
    EXPECT_EQ(Created(), 1);
}

TEST_F(PresetsDockTest, SetAllReachesEveryChain)
{
    Create();
    m_pDock->SetAllFilmTypes(3);
    m_pDock->SetAllGreyScale(0.25f, 0.75f);
    m_pDock->SetAllStructureData(2, 0.5f, 0.1f, 0.2f, 0.3f, 0.4f, true, 1, 2, 3, 4);
    for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes) {
        EXPECT_EQ(t->m_pPostProcessing->m_iFilmTyp, 3);
        EXPECT_EQ(t->m_pPostProcessing->m_fGreyScaleSaturation, 0.75f);
        EXPECT_EQ(t->m_pPostProcessing->m_iStructureType, 2);
    }
}

TEST_F(PresetsDockTest, CopyMakesAUserPresetAndChoosesIt)
{
    m_Host.SetDocument(true);
    Create();
    m_pDock->m_FilterButtons[4]->click(); // "Landschaft"
    HDRPresetGroupBox* source = Tile(1);
    source->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0] = 0.9f; // unsaved change
    source->EnableModifiedButtons();
    AnswerInput(QStringLiteral("Meine Landschaft"));
    source->m_pCopyButton->click();
    ASSERT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    HDRPresetGroupBox* copy = Tile(3);
    EXPECT_EQ(copy->m_pPostProcessing->m_strSettingsPath, User("lumivexpp_vu_000000.ini"));
    EXPECT_EQ(copy->m_pPostProcessing->GetDisplayName(), QStringLiteral("Meine Landschaft"));
    EXPECT_EQ(copy->m_pPostProcessing->m_strCategory, QStringLiteral("user"));
    EXPECT_FLOAT_EQ(copy->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0], 0.9f);
    EXPECT_TRUE(m_pDock->m_FilterButtons[1]->isChecked()); // switched to "Benutzer"
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), copy);
    EXPECT_EQ(m_Window.m_Calls.last().tile, copy);
    EXPECT_TRUE(source->m_pResetButton->isEnabled()); // the source keeps its modified state
    EXPECT_FALSE(QFileInfo::exists(User("temp.ini")));
    ASSERT_EQ(m_Host.m_Counters.size(), 1);
    EXPECT_EQ(m_Host.m_Counters[0].first, QStringLiteral("m_iPresetCreated"));
    // Cancelled: nothing.
    AnswerInput(QString(), false);
    source->m_pCopyButton->click();
    EXPECT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
}

TEST_F(PresetsDockTest, CopyNeverOverwritesAndReportsAFailedWrite)
{
    Create();
    // An existing file above a non-numeric last name is not overwritten.
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "keep", "user", 1));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_zz.ini"), "odd", "user", 2));
    m_pDock->copyPresetClicked(Tile(0), QStringLiteral("Kopie"));
    EXPECT_EQ(Tile(3)->m_pPostProcessing->m_strSettingsPath, User("lumivexpp_vu_000001.ini"));
    EXPECT_EQ(QSettings(User("lumivexpp_vu_000000.ini"), QSettings::IniFormat).value("DisplayName").toString(),
              QStringLiteral("keep"));
    // A temporary file that cannot be written: a message, no tile, no file.
    QDir().mkpath(User("temp.ini"));
    AnswerBoxes();
    m_pDock->copyPresetClicked(Tile(0), QStringLiteral("Kopie 2"));
    EXPECT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    EXPECT_EQ(m_Boxes.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(User("lumivexpp_vu_000002.ini")));
}

TEST_F(PresetsDockTest, SavingOrRenamingAnUnwritableUserPresetKeepsItModified)
{
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "Mein", "user", 400));
    Create();
    HDRPresetGroupBox* tile = Tile(3);
    tile->EnableModifiedButtons();
    // The preset's place is taken by a folder: no write can succeed.
    QFile::remove(User("lumivexpp_vu_000000.ini"));
    QDir().mkpath(User("lumivexpp_vu_000000.ini"));
    AnswerBoxes();
    tile->m_pSaveButton->click();
    EXPECT_TRUE(tile->m_pSaveButton->isEnabled());
    EXPECT_TRUE(tile->m_pResetButton->isEnabled());
    _gui::SetModalHook([this](QWidget* prompt) {
        if (auto* dialog = qobject_cast<QInputDialog*>(prompt)) {
            dialog->setTextValue(QStringLiteral("Neu"));
            dialog->done(QDialog::Accepted);
            return int(QDialog::Accepted);
        }
        if (auto* box = qobject_cast<HDRMessageBox*>(prompt)) {
            m_Boxes.append(box->text());
            box->GetNoButton()->click();
            return 0;
        }
        return UiTest::answerUnexpectedPrompt(prompt);
    });
    tile->m_pRenameButton->click();
    EXPECT_EQ(tile->m_pPostProcessing->GetDisplayName(), QStringLiteral("Mein"));
    EXPECT_EQ(tile->title(), QStringLiteral("user Mein"));
    EXPECT_TRUE(tile->m_pSaveButton->isEnabled());
    EXPECT_EQ(m_Boxes.size(), 2);
}

TEST_F(PresetsDockTest, RenameAndResetOfAUserPreset)
{
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "Mein", "user", 400));
    Create();
    HDRPresetGroupBox* tile = Tile(3);
    tile->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0] = 0.8f;
    tile->EnableModifiedButtons();
    AnswerInput(QString()); // an empty name is accepted
    tile->m_pRenameButton->click();
    EXPECT_EQ(tile->title(), QStringLiteral("user "));
    EXPECT_FALSE(tile->m_pSaveButton->isEnabled());
    CPostProcessing reread;
    reread.SetSettingsPath(User("lumivexpp_vu_000000.ini"));
    reread.FromSettings();
    EXPECT_FLOAT_EQ(reread.m_vecOperators[0].parameters[1].pfValues[0], 0.8f);
    // Reset asks first; "Ja" reloads, selects and applies.
    tile->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0] = 0.1f;
    AnswerBoxes(true);
    tile->m_pResetButton->setEnabled(true);
    tile->m_pResetButton->click();
    EXPECT_FLOAT_EQ(tile->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0], 0.8f);
    EXPECT_TRUE(tile->IsSelected());
    EXPECT_EQ(m_Window.m_Calls.last().tile, tile);
    EXPECT_EQ(m_Boxes.size(), 1);
}

TEST_F(PresetsDockTest, DeletingUserPresets)
{
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "Eins", "user", 400));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000001.ini"), "Zwei", "user", 401));
    Create();
    m_pDock->m_FilterButtons[1]->click(); // "Benutzer": tile 3 chosen
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(3));
    QPointer<HDRPresetGroupBox> unselected = Tile(4);
    AnswerBoxes(true);
    unselected->m_pDeleteButton->click();
    EXPECT_FALSE(QFileInfo::exists(User("lumivexpp_vu_000001.ini")));
    EXPECT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    EXPECT_EQ(m_pDock->m_pGridLayout->indexOf(unselected.data()), -1); // out of the layout at once
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(3));          // selection kept
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(unselected.isNull());
    // The last user preset while "Benutzer" is checked: back to "Alle", first tile chosen.
    Tile(3)->m_pDeleteButton->click();
    EXPECT_TRUE(m_pDock->m_FilterButtons[0]->isChecked());
    EXPECT_FALSE(m_pDock->m_FilterButtons[1]->isEnabled());
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(0));
    EXPECT_EQ(m_Window.m_Calls.last().tile, Tile(0));
}

TEST_F(PresetsDockTest, ImportExportAndSummary)
{
    Create();
    QTemporaryDir dir;
    const QString foreign = dir.path() + QStringLiteral("/foreign.ini");
    ASSERT_TRUE(WritePreset(foreign, "Fremd", "natural", 777));
    const QString faulty = dir.path() + QStringLiteral("/faulty.ini");
    QFile(faulty).open(QIODevice::WriteOnly);
    QString exported;
    m_pDock->m_fnGetSaveFileName = [&](const QString&, const QString& start) {
        EXPECT_TRUE(start.endsWith(QStringLiteral("/natural A")));
        return exported = dir.path() + QStringLiteral("/exported.ini");
    };
    m_pDock->exportButtonClicked(); // nothing selected: nothing
    EXPECT_TRUE(exported.isEmpty());
    Tile(0)->SetLabelHighlight(true);
    m_pDock->exportButtonClicked();
    EXPECT_TRUE(QFileInfo::exists(exported));

    QStringList chosen = {foreign, QString(faulty).replace(QLatin1Char('/'), QLatin1Char('\\')), exported};
    m_pDock->m_fnGetOpenFileNames = [&](const QString&, const QString&) { return chosen; };
    AnswerBoxes();
    m_pDock->importButtonClicked();
    ASSERT_EQ(m_Boxes.size(), 1);
    EXPECT_EQ(m_Boxes[0], QStringLiteral("Importierte Presets: foreign.ini  \r\n\r\nBereits vorhandene Presets: "
                                         "exported.ini  \r\n\r\nFehlerhafte Presets: faulty.ini  "));
    ASSERT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    EXPECT_EQ(Tile(3)->m_pPostProcessing->m_strCategory, QStringLiteral("natural"));
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(3));
    // The same foreign file again: already there.
    chosen = {faulty};
    m_Boxes.clear();
    m_pDock->importButtonClicked();
    EXPECT_EQ(m_Boxes.value(0), QStringLiteral("Fehlerhafte Presets: faulty.ini  "));
}

TEST_F(PresetsDockTest, ProjectPartKeepsChangedPresetsAndTheFilter)
{
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000000.ini"), "Eins", "user", 500));
    ASSERT_TRUE(WritePreset(User("lumivexpp_vu_000001.ini"), "Zwei", "user", 500)); // same second
    Create();
    QTemporaryDir data;
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    m_pDock->m_FilterButtons[4]->click(); // "Landschaft", tile 1 chosen
    Tile(1)->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0] = 0.77f;
    Tile(1)->EnableModifiedButtons();
    Tile(4)->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0] = 0.33f;
    Tile(4)->EnableModifiedButtons();
    {
        QSettings settings(file.fileName(), QSettings::IniFormat);
        EXPECT_TRUE(m_pDock->SaveProject(settings, data.path()));
        EXPECT_EQ(settings.value("PresetsDock/Selected").toInt(), 1);
    }
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/lumivexpp_v3_02_b.ini")));
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/lumivexpp_vu_000001.ini")));
    // A new project, then the project again.
    m_pDock->ResetAllPresets();
    m_pDock->m_FilterButtons[0]->click();
    EXPECT_EQ(Tile(1)->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0], 0.5f);
    QSettings settings(file.fileName(), QSettings::IniFormat);
    EXPECT_TRUE(m_pDock->LoadProject(settings, data.path()));
    EXPECT_TRUE(m_pDock->m_FilterButtons[4]->isChecked());
    EXPECT_FALSE(Tile(0)->m_bFilterVisible);
    EXPECT_TRUE(Tile(1)->m_bCalculated);
    EXPECT_FLOAT_EQ(Tile(1)->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0], 0.77f);
    EXPECT_TRUE(Tile(1)->m_pResetButton->isEnabled());
    // The copy of "Zwei" lands in "Zwei", although "Eins" has the same time stamp.
    EXPECT_FLOAT_EQ(Tile(4)->m_pPostProcessing->m_vecOperators[0].parameters[1].pfValues[0], 0.33f);
    EXPECT_FALSE(Tile(3)->m_pResetButton->isEnabled());
    // The library files keep their own state.
    CPostProcessing library;
    library.SetSettingsPath(Factory("lumivexpp_v3_02_b.ini"));
    library.FromSettings();
    EXPECT_EQ(library.m_vecOperators[0].parameters[1].pfValues[0], 0.5f);
    // Saving again with nothing changed leaves no copy.
    m_pDock->ResetAllPresets();
    for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes)
        t->SetReloadButtonEnabledState(false);
    m_pDock->resetLabelHighlights();
    {
        QSettings again(file.fileName(), QSettings::IniFormat);
        EXPECT_TRUE(m_pDock->SaveProject(again, data.path()));
        EXPECT_EQ(again.value("PresetsDock/Selected").toInt(), -1);
    }
    EXPECT_TRUE(PresetFiles::List(data.path(), {QStringLiteral("lumivexpp_*.ini")}).isEmpty());
}

TEST_F(PresetsDockTest, ProjectWithUserFilterWhereNoUserPresetExists)
{
    Create();
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    {
        QSettings settings(file.fileName(), QSettings::IniFormat);
        settings.setValue("Filter/Button1", true);
        settings.setValue("PresetsDock/Selected", 99);
    }
    QSettings settings(file.fileName(), QSettings::IniFormat);
    QTemporaryDir data;
    EXPECT_TRUE(m_pDock->LoadProject(settings, data.path()));
    EXPECT_TRUE(m_pDock->m_FilterButtons[0]->isChecked());
    EXPECT_FALSE(m_pDock->m_FilterButtons[1]->isChecked());
    for (HDRPresetGroupBox* t : m_pDock->m_PresetGroupBoxes)
        EXPECT_FALSE(t->m_bCalculated);
}

TEST_F(PresetsDockTest, CombinerJoinsTwoPresets)
{
    m_Host.SetDocument(true);
    Create();
    HDRPresetCombineWindow combiner(&m_Window, m_pDock);
    Tile(1)->SetLabelHighlight(true);
    combiner.show();
    EXPECT_EQ(combiner.m_pComboA->currentIndex(), 1);
    EXPECT_EQ(combiner.m_pComboB->currentIndex(), 0);
    combiner.m_pComboB->setCurrentIndex(1); // the same preset twice
    CPostProcessing result;
    result.SetSettingsPath(combiner.m_strResultPath);
    result.FromSettings();
    EXPECT_EQ(result.m_vecOperators.size(), 2);
    EXPECT_EQ(result.GetDisplayName(), QStringLiteral("B + B"));
    EXPECT_EQ(result.m_strCategory, QStringLiteral("user"));
    EXPECT_FALSE(combiner.m_pGroupBoxResult->m_pLabel->pixmap().isNull());
    // Cancelling the name keeps the combiner; confirming makes the tile.
    AnswerInput(QString(), false);
    combiner.m_pConfirmButton->click();
    EXPECT_TRUE(combiner.isVisible());
    AnswerInput(QStringLiteral("Doppelt"));
    combiner.m_pConfirmButton->click();
    EXPECT_FALSE(combiner.isVisible());
    ASSERT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
    EXPECT_EQ(Tile(3)->m_pPostProcessing->GetDisplayName(), QStringLiteral("Doppelt"));
    EXPECT_NE(Tile(3)->m_pPostProcessing->m_uiTimeStamp, 0u);
    EXPECT_EQ(m_pDock->GetSelectedPresetGroupBox(), Tile(3));
    EXPECT_FALSE(QFileInfo::exists(HDRPresetCombineWindow::TempPathA()));
    EXPECT_FALSE(QFileInfo::exists(HDRPresetCombineWindow::TempPathB()));
    // Opened and cancelled: no file left behind.
    combiner.show();
    const QString pending = combiner.m_strResultPath;
    EXPECT_TRUE(QFileInfo::exists(pending));
    combiner.m_pCancelButton->click();
    EXPECT_FALSE(QFileInfo::exists(pending));
    EXPECT_EQ(m_pDock->m_PresetGroupBoxes.size(), 4);
}

// ---- texture selector ------------------------------------------------------------------

TEST(TextureSelector, GridLayouts)
{
    SGridData d;
    d.Set(10, 5, 5, QSize(960, 540));
    EXPECT_EQ(d.GetThumbnailSize(), QSize(86, 86));
    EXPECT_EQ(d.GetFrameSize(), QSize(96, 96));
    EXPECT_EQ(d.MaxThumbnails(), 50);
    d.Set(0, 5, 5, QSize(960, 540));
    EXPECT_EQ(d.MaxThumbnails(), 0);
    d.Set(12, 9, 5, QSize(960, 540)); // limited to 10 x 5
    EXPECT_EQ(d.GetNumX(), 10);
    EXPECT_EQ(d.GetNumY(), 5);
    d.Set(4, 1, 5, QSize(20, 20));
    EXPECT_EQ(d.MaxThumbnails(), 0);

    CTextureSelector selector(nullptr);
    selector.m_iMaxWidth = 960;
    selector.m_iMaxHeight = 540;
    selector.SetupGrids();
    struct {
        int count, layout;
    } cases[] = {{1, 0}, {7, 2}, {11, 4}, {50, 14}, {51, 14}};
    for (const auto& c : cases)
        EXPECT_EQ(selector.GetGridIdx(c.count), c.layout) << c.count;
}

} // namespace

namespace {

// Two filled texture slots (3 and 5) in a range of 2..6 around the slider.
TEST(TextureSelector, ShowsTheRangeAndReturnsThePressedTexture)
{
    // Only slots 3 and 5 of the range hold a picture (earlier tests in the
    // same process may have filled others).
    for (int slot = 2; slot <= 6; ++slot)
        MP_UI_AllocTextureData(slot, 0, 0, 0, 0);
    for (int slot : {3, 5}) {
        MP_UI_AllocTextureData(slot, 8, 8, 6, 0);
        std::memset(MP_UI_GetTexturePointer(slot), 0x40 * slot, 8 * 8 * 6);
    }
    HDRSlider slider(nullptr, QStringLiteral("low"), QStringLiteral("high"), 2, 6);
    slider.SetValueInt(5);
    CTextureSelector selector(nullptr);
    int enabled = 0, shown = 0;
    QList<int> ids;
    _gui::SetModalHook([&](QWidget* prompt) {
        auto* dialog = qobject_cast<CTextureSelector*>(prompt);
        if (!dialog)
            return UiTest::answerUnexpectedPrompt(prompt);
        dialog->show(); // runs SetThumbnails
        for (auto& row : dialog->m_ppButtons) {
            for (QPushButton* b : row) {
                shown += b->isHidden() ? 0 : 1;
                if (b->isEnabled()) {
                    ++enabled;
                    ids << dialog->m_pButtonGroup->id(b);
                }
            }
        }
        dialog->OnTextureSelected(3);
        return dialog->result();
    });
    EXPECT_EQ(selector.Show(&slider), 3);
    EXPECT_EQ(selector.m_iGridIdx, 1); // five textures: 6 x 1
    EXPECT_EQ(shown, 6);
    EXPECT_EQ(enabled, 2);
    EXPECT_EQ(ids, (QList<int>{3, 5}));
    // Closed without a choice: the slider's own value.
    _gui::SetModalHook([](QWidget* prompt) {
        static_cast<QDialog*>(prompt)->reject();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(selector.Show(&slider), 5);
    // A range with negative slots opens nothing.
    HDRSlider negative(nullptr, QStringLiteral("low"), QStringLiteral("high"), -3, 4);
    negative.SetValueInt(1);
    _gui::SetModalHook(&UiTest::answerUnexpectedPrompt);
    EXPECT_EQ(selector.Show(&negative), 1);
    MP_UI_FreeTexturesData();
    _gui::SetModalHook(nullptr);
}

} // namespace

namespace {

class PresetsFailureTest : public PresetsTest {
protected:
    void SetUp() override
    {
        PresetsTest::SetUp();
        WriteFactorySet();
        m_pDock = new HDRPresetsDockWidget(QStringLiteral("Presets"), &m_Window);
        m_Window.m_pDock = m_pDock;
        _gui::SetModalHook([this](QWidget* prompt) {
            auto* box = qobject_cast<HDRMessageBox*>(prompt);
            if (!box)
                return UiTest::answerUnexpectedPrompt(prompt);
            m_Boxes.append(box->text());
            box->GetNoButton()->click();
            return 0;
        });
    }
    void TearDown() override
    {
        delete m_pDock;
        PresetsTest::TearDown();
    }
    FakePresetsMainWindow m_Window;
    HDRPresetsDockWidget* m_pDock = nullptr;
    QStringList m_Boxes;
};

TEST_F(PresetsFailureTest, AnUnwrittenProjectCopyFailsTheSave)
{
    QTemporaryDir data;
    QDir().mkpath(data.path() + QStringLiteral("/lumivexpp_v3_02_b.ini")); // a folder in the copy's place
    m_pDock->m_PresetGroupBoxes[1]->EnableModifiedButtons();
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QSettings settings(file.fileName(), QSettings::IniFormat);
    EXPECT_FALSE(m_pDock->SaveProject(settings, data.path()));
}

TEST_F(PresetsFailureTest, AFileThatCannotBeCopiedInIsFaultyAndAFailedExportIsReported)
{
    QTemporaryDir dir;
    const QString foreign = dir.path() + QStringLiteral("/foreign.ini");
    ASSERT_TRUE(WritePreset(foreign, "Fremd", "natural", 777));
    QDir(PresetFiles::UserFolder()).removeRecursively(); // nowhere to copy to
    m_pDock->m_fnGetOpenFileNames = [&](const QString&, const QString&) { return QStringList{foreign}; };
    m_pDock->importButtonClicked();
    ASSERT_EQ(m_Boxes.size(), 1);
    EXPECT_EQ(m_Boxes[0], QStringLiteral("Fehlerhafte Presets: foreign.ini  "));
    EXPECT_EQ(m_pDock->m_PresetGroupBoxes.size(), 3);

    m_pDock->m_PresetGroupBoxes[0]->SetLabelHighlight(true);
    m_pDock->m_fnGetSaveFileName = [&](const QString&, const QString&) { return dir.path(); }; // a folder
    m_pDock->exportButtonClicked();
    EXPECT_EQ(m_Boxes.size(), 2);
}

} // namespace
