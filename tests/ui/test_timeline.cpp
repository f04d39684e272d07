// The undo timeline dock over a fake undo host and real undo folders on
// disk: titles, deletion with renumbering, the automatic deletion rules, the
// buttons, and its look under a dark and a light style.

#include "uifixture.h"

#include "ui/mainwindow/projectfiles.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace PF = ProjectFiles;

namespace {

class FakeUndoHost : public ITimelineUndoHost {
public:
    bool removeDir(const QString& path) override
    {
        removed.push_back(path);
        return PF::RemoveDir(path);
    }
    void setUndoLevel(int l) override { level = l < 0 ? -1 : l; }
    void SaveUndo() override { ++saves; }
    void RestoreTimeline(int index) override { restored.push_back(index); }
    int ChangeCounter() const override { return counter; }
    int UndoLevel() const override { return level; }
    QString UndoRoot() const override { return root; }

    QString root;
    int level = -1;
    int counter = 0;
    int saves = 0;
    std::vector<int> restored;
    std::vector<QString> removed;
};

constexpr double kGB = 1073741824.0;

class TimelineTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        host.root = m_Dir.path() + QLatin1Char('/');
        dock = std::make_unique<HDRTimelineDockWidget>(QStringLiteral("Timeline Window"), nullptr);
        dock->SetUndoHost(&host);
        dock->SetFreeSpaceMeasure([this](const QString&) { return free; });
    }
    void TearDown() override
    {
        dock.reset();
        UiTest::TearDown();
    }
    // An undo point on disk (a marker file and a data file of the given
    // size, sparse) and its entry.
    void addPoint(int index, qint64 bytes = 1000, const QString& title = QString())
    {
        const QString folder = PF::UndoFolder(host.root, index);
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile marker(folder + QStringLiteral("/marker"));
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        const QByteArray text = QByteArray::number(index);
        marker.write(text);
        marker.close();
        // The folder holds `bytes` in all.
        QFile data(folder + QStringLiteral("/undo.dat"));
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        ASSERT_TRUE(data.resize(std::max<qint64>(bytes - text.size(), 0)));
        data.close();
        std::vector<uint16_t> thumb(size_t(PF::kThumbBytes / 2));
        for (size_t i = 0; i < thumb.size(); ++i)
            thumb[i] = uint16_t((i * 97 + size_t(index) * 9000) & 0xffff);
        host.setUndoLevel(index);
        dock->AddItem(thumb.data(), PF::kThumbWidth, PF::kThumbHeight, index,
                      title.isEmpty() ? QStringLiteral("point %1").arg(index) : title, true);
    }
    QString marker(int index) const
    {
        QFile f(PF::UndoFolder(host.root, index) + QStringLiteral("/marker"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QTemporaryDir m_Dir;
    FakeUndoHost host;
    double free = 100.0;
    std::unique_ptr<HDRTimelineDockWidget> dock;
};

// Answers every prompt with its "Ja"/yes button and counts the prompts.
struct YesAnswerer {
    int prompts = 0;
    QString lastText;
    void install()
    {
        _gui::SetModalHook([this](QWidget* prompt) {
            ++prompts;
            if (auto* box = qobject_cast<HDRMessageBox*>(prompt)) {
                lastText = box->text();
                if (box->GetYesButton())
                    box->GetYesButton()->click();
                else
                    box->GetNoButton()->click();
            }
            return 0;
        });
    }
};

} // namespace

TEST_F(TimelineTest, ConstructionAndLayout)
{
    EXPECT_EQ(dock->allowedAreas(), Qt::BottomDockWidgetArea);
    EXPECT_EQ(dock->minimumWidth(), 640);
    EXPECT_EQ(dock->minimumHeight(), 193);
    EXPECT_EQ(dock->maximumHeight(), 193);
    EXPECT_EQ(dock->ScrollArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(dock->ScrollArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(dock->m_iLastIndex, -1);
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Timeline Window"));

    addPoint(0, 1000, QStringLiteral("10:00:00 - Mon Dec 7 2026"));
    ASSERT_EQ(dock->EntryCount(), 1);
    HDRExposureLabel* label = dock->Label(0);
    EXPECT_EQ(label->size(), QSize(160, 120));
    EXPECT_TRUE(label->m_bIgnoreClicks);
    EXPECT_TRUE(label->m_bChecked);
    EXPECT_FALSE(label->pixmap().isNull());
    EXPECT_EQ(dock->Box(0)->title(), QStringLiteral("10:00:00 - Mon Dec 7 2026"));
    EXPECT_EQ(dock->LoadButton(0)->size(), QSize(24, 24));
    EXPECT_EQ(dock->DeleteButton(0)->toolTip(),
              QStringLiteral("<H3><p>tooltip Timeline-Punkt löschen</p></H3><p></p>"));
    EXPECT_EQ(dock->LoadButton(0)->toolTip(),
              QStringLiteral("<H3><p>tooltip Timeline-Punkt einladen</p></H3><p></p>"));

    addPoint(1);
    EXPECT_FALSE(dock->Label(0)->m_bChecked);
    EXPECT_TRUE(dock->Label(1)->m_bChecked);
    EXPECT_EQ(dock->m_iLastIndex, 1);
    dock->SetAllUnselected();
    EXPECT_FALSE(dock->Label(1)->m_bChecked);
    dock->SetSelectedByIndex(0);
    EXPECT_TRUE(dock->Label(0)->m_bChecked);
    dock->SetSelectedByIndex(7); // outside: nothing
    dock->SetSelectedByIndex(-1);
}

TEST_F(TimelineTest, TitleCountsEntriesSpaceAndFreeSpace)
{
    addPoint(0);
    // One entry: the singular; the used space is below 0.005 GB.
    free = 104.36;
    dock->SetTitle();
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Timeline Window - 1 Undo-Eintrag - 0.00 GB (104.36 GB verfügbar)"));
    // A point of no bytes at all uses nothing: no space part.
    dock->Reset();
    PF::RemoveDir(PF::UndoFolder(host.root, 0));
    QDir().mkpath(PF::UndoFolder(host.root, 0));
    host.setUndoLevel(0);
    dock->AddItem(nullptr, 0, 0, 0, QStringLiteral("empty"), true);
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Timeline Window - 1 Undo-Eintrag(104.36 GB verfügbar)"));

    // Three entries using 0.21 GB in all (the count starts at -1).
    const qint64 total = qint64(0.21 * kGB) + 1;
    dock->Reset();
    addPoint(0, total / 3);
    addPoint(1, total / 3);
    addPoint(2, total - 2 * (total / 3) + 3);
    dock->SetTitle();
    EXPECT_EQ(dock->windowTitle(),
              QStringLiteral("Timeline Window - 3 Undo-Einträge - 0.21 GB (104.36 GB verfügbar)"));

    // Unknown free space: no free part.
    free = -1.0;
    dock->SetTitle();
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Timeline Window - 3 Undo-Einträge - 0.21 GB "));

    // No entry: the base title alone; the folders stay.
    dock->Reset();
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Timeline Window"));
    EXPECT_EQ(dock->EntryCount(), 0);
    EXPECT_TRUE(QFileInfo::exists(PF::UndoFolder(host.root, 2)));
    EXPECT_EQ(dock->GetUsedHDDMemoryInGB(), -1.0 / kGB);
}

TEST_F(TimelineTest, ResetKeepsEntriesOnceWhenAsked)
{
    addPoint(0);
    addPoint(1);
    dock->m_bKeepItems = true;
    dock->Reset();
    EXPECT_EQ(dock->EntryCount(), 2);
    EXPECT_EQ(dock->m_iLastIndex, -1);
    EXPECT_FALSE(dock->m_bKeepItems);
    dock->Reset();
    EXPECT_EQ(dock->EntryCount(), 0);
}

TEST_F(TimelineTest, DeletingAnEntryRenumbersFoldersTitlesAndTooltips)
{
    for (int i = 0; i < 4; ++i)
        addPoint(i);
    ASSERT_TRUE(dock->DeleteItem(1));

    EXPECT_EQ(dock->EntryCount(), 3);
    EXPECT_EQ(host.level, 2);
    EXPECT_EQ(dock->m_iLastIndex, 2);
    // Folders 2 and 3 are now 1 and 2; the deleted one is gone.
    EXPECT_EQ(marker(0), QStringLiteral("0"));
    EXPECT_EQ(marker(1), QStringLiteral("2"));
    EXPECT_EQ(marker(2), QStringLiteral("3"));
    EXPECT_FALSE(QFileInfo::exists(PF::UndoFolder(host.root, 3)));
    EXPECT_EQ(QDir(host.root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    // The boxes keep their creation titles and move left.
    EXPECT_EQ(dock->Box(1)->title(), QStringLiteral("point 2"));
    EXPECT_EQ(dock->Box(2)->title(), QStringLiteral("point 3"));
    // The tooltips name the folder each entry now has.
    EXPECT_TRUE(dock->Label(1)->toolTip().contains(QStringLiteral("point 2")));
    EXPECT_TRUE(dock->Label(1)->toolTip().contains(PF::UndoFolder(host.root, 1) + QStringLiteral("/undo.jpg")));
    EXPECT_TRUE(dock->Label(2)->toolTip().contains(PF::UndoFolder(host.root, 2) + QStringLiteral("/undo.jpg")));
    EXPECT_TRUE(dock->windowTitle().contains(QStringLiteral(" - 3 Undo-Einträge")));

    // Indexes outside the entries do nothing.
    EXPECT_FALSE(dock->DeleteItem(3));
    EXPECT_FALSE(dock->DeleteItem(-1));
    EXPECT_EQ(dock->EntryCount(), 3);
}

TEST_F(TimelineTest, TooltipEscapesTitleAndPath)
{
    addPoint(0, 1000, QStringLiteral("<b>x</b> & 'y'"));
    const QString tip = dock->Label(0)->toolTip();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("<H3>&lt;b&gt;x&lt;/b&gt; &amp; 'y'<br/></H3><img src = '")));
    EXPECT_TRUE(tip.endsWith(QStringLiteral("/temp0/undo.jpg'>")));
}

TEST_F(TimelineTest, AFolderThatCannotBeMovedChangesNothing)
{
    for (int i = 0; i < 3; ++i)
        addPoint(i);
    dock->SetFolderMover([](const QString&, const QString&) { return false; });
    YesAnswerer answers;
    answers.install();

    EXPECT_FALSE(dock->DeleteItem(1));
    EXPECT_EQ(answers.prompts, 1);
    EXPECT_TRUE(answers.lastText.contains(PF::UndoFolder(host.root, 1)));
    EXPECT_EQ(dock->EntryCount(), 3);
    EXPECT_EQ(host.level, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(marker(i), QString::number(i));

    // The automatic deletion stops at the first failure instead of trying forever.
    free = 0.5;
    EXPECT_GT(dock->GetAutoDeleteAmount(5, 10.0), 0);
    dock->AutoDeleteCheck(5, 10.0, 3);
    EXPECT_EQ(answers.prompts, 2);
    EXPECT_EQ(dock->EntryCount(), 3);
}

TEST_F(TimelineTest, AutoDeleteAmountAndCheck)
{
    struct SCase {
        int entries;
        int maximum;
        double free;
        double minimumFree;
        qint64 bytesEach;
        int amount;
        int left;
    };
    const qint64 tenth = qint64(0.1 * kGB);
    const SCase cases[] = {
        {6, 5, 100.0, 1.0, 1000, 1, 5},   // one too many: the oldest goes
        {5, 5, 100.0, 1.0, 1000, -1, 5},  // at the limit: nothing
        {1, 5, 0.5, 1.0, 1000, -1, 1},    // the only entry is never deleted
        {4, 0x7FFFFFF, 1.0, 3.0, tenth, 20, 1}, // 2 GB short, 0.1 GB each: down to one
        {3, 5, -1.0, 3.0, 1000, -1, 3},   // free space unknown: nothing
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, maximum " << c.maximum << ", free " << c.free);
        dock->Reset();
        PF::RemoveDir(m_Dir.path());
        QDir().mkpath(m_Dir.path());
        host.level = -1;
        free = c.free;
        for (int i = 0; i < c.entries; ++i)
            addPoint(i, c.bytesEach);
        const int amount = dock->GetAutoDeleteAmount(c.maximum, c.minimumFree);
        EXPECT_EQ(amount, c.amount);
        dock->AutoDeleteCheck(c.maximum, c.minimumFree, amount);
        EXPECT_EQ(dock->EntryCount(), c.left);
        EXPECT_EQ(host.level, c.left - 1);
        EXPECT_EQ(marker(0), QString::number(c.entries - c.left));
    }
}

TEST_F(TimelineTest, HugeShortfallIsClampedBeforeConversion)
{
    addPoint(0, 2);
    addPoint(1, 2);
    free = 1e-300;
    EXPECT_EQ(dock->GetAutoDeleteAmount(5, 1e300), 2147483647);
}

TEST_F(TimelineTest, LoadButtonSavesAfterTwoChangesAndRestores)
{
    addPoint(0);
    addPoint(1);
    host.counter = 3;
    dock->LoadButton(0)->click();
    EXPECT_EQ(host.saves, 0);
    EXPECT_EQ(host.restored, std::vector<int>{0});
    EXPECT_TRUE(dock->m_bKeepItems);
    EXPECT_TRUE(dock->Label(0)->m_bChecked);
    EXPECT_FALSE(dock->Label(1)->m_bChecked);

    host.counter = 4;
    dock->LoadButton(1)->click();
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.restored, (std::vector<int>{0, 1}));
}

TEST_F(TimelineTest, DeleteButtonAsksFirst)
{
    addPoint(0);
    addPoint(1);
    int prompts = 0;
    bool yes = false;
    _gui::SetModalHook([&](QWidget* prompt) {
        ++prompts;
        auto* box = qobject_cast<HDRMessageBox*>(prompt);
        EXPECT_NE(box, nullptr);
        if (box) {
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Löschen eines Undo-Punktes"));
            EXPECT_EQ(box->text(), QStringLiteral("Soll dieser Undo-Punkt wirklich gelöscht werden?"));
            (yes ? box->GetYesButton() : box->GetNoButton())->click();
        }
        return 0;
    });
    dock->DeleteButton(0)->click();
    EXPECT_EQ(dock->EntryCount(), 2);
    yes = true;
    dock->DeleteButton(0)->click();
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(dock->EntryCount(), 1);
    EXPECT_EQ(marker(0), QStringLiteral("1"));
}

TEST_F(TimelineTest, RendersUnderDarkAndLightStyles)
{
    struct SStyle {
        const char* name;
        int code;
    };
    for (const SStyle& style : {SStyle{"dark", 0}, SStyle{"light", 3}}) {
        SCOPED_TRACE(style.name);
        CStyleEngine::instance().SetStyle(style.code, CStyleEngine::kDefaultStyleColor, true);
        HDRTimelineDockWidget shown(QStringLiteral("Timeline Window"), nullptr);
        shown.SetUndoHost(&host);
        shown.SetFreeSpaceMeasure([](const QString&) { return 104.36; });
        CStyleEngine::instance().SetStyleSheetFromCSS(&shown);
        std::vector<uint16_t> thumb(size_t(PF::kThumbBytes / 2));
        for (int y = 0; y < PF::kThumbHeight; ++y)
            for (int x = 0; x < PF::kThumbWidth; ++x) {
                uint16_t* p = &thumb[(size_t(y) * PF::kThumbWidth + size_t(x)) * 3];
                p[0] = uint16_t(x * 400);
                p[1] = uint16_t(y * 500);
                p[2] = uint16_t(30000);
            }
        for (int i = 0; i < 5; ++i)
            shown.AddItem(thumb.data(), PF::kThumbWidth, PF::kThumbHeight, i,
                          QStringLiteral("1%1:24:0%1 - Fri Dec 11 2026").arg(i), true);
        shown.resize(900, 193);
        shown.show();
        QCoreApplication::processEvents();
        const QPixmap picture = shown.grab();
        ASSERT_FALSE(picture.isNull());
        // The whole entry box fits the dock's fixed height.
        QGroupBox* box = shown.Box(0);
        EXPECT_LE(box->mapTo(&shown, QPoint(0, box->height())).y(), shown.height());
        EXPECT_GE(box->height(), 120 + 2);
        const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
        if (!dir.isEmpty())
            picture.save(QString::fromLocal8Bit(dir) + QStringLiteral("/timeline_%1.png").arg(QLatin1String(style.name)));
    }
}
