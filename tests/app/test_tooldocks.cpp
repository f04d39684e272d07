// The information docks and the exposure dock of the main window, with a fake
// main window that offers the slots the docks connect to, and the about box.

#include "appfixture.h"

#include "app/windowfactory.h"
#include "document/exposure.h"
#include "document/exposureseries.h"
#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/tools/hdraboutwindow.h"
#include "ui/tools/hdrexifdockwidget.h"
#include "ui/tools/hdrexposuredockwidget.h"
#include "ui/tools/hdrhistogramdockwidget.h"
#include "ui/tools/hdrinfodockwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

// A main window with the slots the docks reach.
class FakeMainWindow : public QMainWindow {
    Q_OBJECT
public:
    QStringList m_Calls;

public slots:
    void exifDockClosed() { m_Calls << QStringLiteral("exifDockClosed"); }
    void updateHistogram() { m_Calls << QStringLiteral("updateHistogram"); }
    void showHistogram() { m_Calls << QStringLiteral("showHistogram"); }
    void histogramDockClosed() { m_Calls << QStringLiteral("histogramDockClosed"); }
    void infoDockClosed() { m_Calls << QStringLiteral("infoDockClosed"); }
    void activateExposure(CExposure*, bool on) { m_Calls << QStringLiteral("activate %1").arg(int(on)); }
    void deleteExposure(CExposure*) { m_Calls << QStringLiteral("delete"); }
    void displayExposureColour(CExposure*) { m_Calls << QStringLiteral("colour"); }
    void displayExposureWeightmap(CExposure*) { m_Calls << QStringLiteral("weightmap"); }
    void globalWeightChanged(CExposure*, float w) { m_Calls << QStringLiteral("weight %1").arg(double(w), 0, 'g', 4); }
    void synExposureValueChanged(CExposure*, float v) { m_Calls << QStringLiteral("ev %1").arg(double(v), 0, 'g', 4); }
};

// Records the addresses the desktop would open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> m_Urls;
public slots:
    void open(const QUrl& url) { m_Urls << url; }
};

namespace {

// The main window connects the docks' signals to its slots of the same names.
void connectLikeTheMainWindow(QObject* dock, QObject* window)
{
    const char* pairs[][2] = {{SIGNAL(closeClicked()), nullptr},
                              {SIGNAL(updateHistogram()), SLOT(updateHistogram())},
                              {SIGNAL(showHistogram()), SLOT(showHistogram())}};
    if (qobject_cast<HDRExifDockwidget*>(dock))
        QObject::connect(dock, pairs[0][0], window, SLOT(exifDockClosed()));
    if (qobject_cast<HDRInfoDockWidget*>(dock))
        QObject::connect(dock, pairs[0][0], window, SLOT(infoDockClosed()));
    if (qobject_cast<HDRHistogramDockWidget*>(dock)) {
        QObject::connect(dock, pairs[0][0], window, SLOT(histogramDockClosed()));
        QObject::connect(dock, pairs[1][0], window, pairs[1][1]);
        QObject::connect(dock, pairs[2][0], window, pairs[2][1]);
    }
}

void click(QWidget* widget, QPoint at = QPoint(2, 2))
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

QString rows(int n)
{
    QString table;
    for (int i = 0; i < n; ++i)
        table += (i % 2 ? QStringLiteral("<tr>") : QStringLiteral("<TR>")) +
                 QStringLiteral("<td width=125>k</td><td width=200>v</td><td width=200></td></tr>");
    return table;
}

class ToolDockTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_pMain = std::make_unique<FakeMainWindow>();
    }
    void TearDown() override
    {
        m_pMain.reset();
        AppTest::TearDown();
    }
    std::unique_ptr<FakeMainWindow> m_pMain;
};

// ---- metadata dock ------------------------------------------------------------------

TEST_F(ToolDockTest, MetadataSectionsFollowTheTablesAndKeepOnlyTheirRowCounts)
{
    HDRExifDockwidget dock(QStringLiteral("Exif-Informationen"), m_pMain.get());
    auto exposure = std::make_unique<CExposure>();
    exposure->m_strFileName = QStringLiteral("IMG_1.jpg");
    exposure->m_bExifLoaded = true;
    exposure->m_mapMetadataTitles = {{1u, QStringLiteral("Exif - main info")}, {4u, QStringLiteral("Canon Makernote")},
                                     {0u, QStringLiteral("Comments")}};
    exposure->m_mapMetadataTables = {{1u, rows(12)}, {4u, rows(3)}, {0u, rows(2)}};

    dock.UpdateExif(exposure.get());
    EXPECT_EQ(dock.windowTitle(), QStringLiteral("IMG_1.jpg: Exif-Informationen"));
    for (int k = 0; k < HDRExifDockwidget::kSections; ++k)
        EXPECT_EQ(dock.m_apSections[k]->isHidden(), k != 0 && k != 3) << k;
    EXPECT_EQ(dock.m_apSections[0]->GetHeaderLabel()->text(), QStringLiteral("Exif - main info"));
    // Section 1 open: 15 x 12 + 65; section 4 collapsed: 50.
    EXPECT_EQ(dock.m_apSections[0]->height(), 245);
    EXPECT_EQ(dock.m_apSections[0]->width(), 580);
    EXPECT_EQ(dock.m_apSections[3]->height(), 50);
    EXPECT_EQ(dock.m_apSections[3]->width(), 580);
    EXPECT_EQ(dock.GetContentWidget()->height(), 245 + 50 + 50);
    EXPECT_EQ(dock.GetContentWidget()->width(), 600);
    EXPECT_EQ(dock.maximumWidth(), 620);

    // Opening a section by its header resizes at once.
    dock.m_apSections[3]->collapseClicked();
    EXPECT_EQ(dock.m_apSections[3]->height(), 15 * 3 + 65);
    // The default categories do not resize.
    dock.ShowDefaultCategories();
    EXPECT_FALSE(dock.m_apSections[3]->IsOpened());
    EXPECT_EQ(dock.m_apSections[3]->height(), 15 * 3 + 65);

    // A new document: the exposure goes, a header click reads only the dock.
    exposure.reset();
    dock.m_apSections[0]->collapseClicked();
    EXPECT_EQ(dock.m_apSections[0]->height(), 50);
    dock.UpdateExif(nullptr);
    for (HDRCollapsible* section : dock.m_apSections)
        EXPECT_TRUE(section->isHidden());
    EXPECT_EQ(dock.windowTitle(), QStringLiteral("Exif-Informationen"));
    dock.m_apSections[1]->collapseClicked();
}

TEST_F(ToolDockTest, ImageWithoutMetadataHidesEverySection)
{
    HDRExifDockwidget dock(QStringLiteral("Exif"), m_pMain.get());
    connectLikeTheMainWindow(&dock, m_pMain.get());
    CExposure exposure;
    exposure.m_bExifLoaded = true;
    dock.UpdateExif(&exposure);
    for (HDRCollapsible* section : dock.m_apSections)
        EXPECT_TRUE(section->isHidden());
    EXPECT_EQ(dock.GetContentWidget()->height(), 50);
    dock.close();
    EXPECT_EQ(m_pMain->m_Calls, QStringList{QStringLiteral("exifDockClosed")});
}

// ---- histogram dock ----------------------------------------------------------------

TEST_F(ToolDockTest, HistogramBoxesAndPictureReachTheMainWindow)
{
    HDRHistogramDockWidget dock(QStringLiteral("HDR-Histogramm"), m_pMain.get());
    connectLikeTheMainWindow(&dock, m_pMain.get());
    bool l = false, r = false, g = false, b = false, c = true;
    dock.Channels(&l, &r, &g, &b, &c);
    EXPECT_TRUE(l && r && g && b);
    EXPECT_FALSE(c);
    EXPECT_EQ(dock.PictureSize(), QSize(270, 160));
    EXPECT_EQ(dock.m_pRedCheckBox->text(), QStringLiteral("R"));

    dock.m_pRedCheckBox->click();
    EXPECT_EQ(m_pMain->m_Calls, QStringList{QStringLiteral("updateHistogram")});
    dock.Channels(&l, &r, &g, &b, &c);
    EXPECT_FALSE(r);
    click(dock.m_pHistogramLabel);
    dock.close();
    EXPECT_EQ(m_pMain->m_Calls, QStringList({QStringLiteral("updateHistogram"), QStringLiteral("showHistogram"),
                                             QStringLiteral("histogramDockClosed")}));
}

// ---- information dock ----------------------------------------------------------------

TEST_F(ToolDockTest, InformationDockSizesAndRegistration)
{
    CAppWindowFactory factory;
    auto* info = dynamic_cast<HDRInfoDockWidget*>(factory.CreateInfoDock(m_pMain.get(), false));
    auto* start = dynamic_cast<HDRInfoDockWidget*>(factory.CreateInfoDock(m_pMain.get(), true));
    ASSERT_TRUE(info && start);
    connectLikeTheMainWindow(info, m_pMain.get());
    start->SetIsTitleScreen(true); // the main window marks its start page
    EXPECT_EQ(g_pInfoDockWidget, info);
    EXPECT_EQ(ToolkitSeams::InfoDock(), static_cast<IInfoDock*>(info));
    EXPECT_TRUE(start->IsTitleScreen());
    EXPECT_FALSE(info->IsTitleScreen());

    info->UpdateText(QStringLiteral("<b>Hilfe</b>"));
    EXPECT_EQ(info->m_strText, QStringLiteral("<b>Hilfe</b>"));
    EXPECT_EQ(ToolkitSeams::InfoDock()->StoredText(), QStringLiteral("<b>Hilfe</b>"));
    EXPECT_EQ(info->m_pBrowser->toPlainText(), QStringLiteral("Hilfe"));
    EXPECT_EQ(info->sizeHint(), QSize(1, 1));

    m_pMain->addDockWidget(Qt::BottomDockWidgetArea, info);
    m_pMain->resize(1000, 800);
    m_pMain->show();
    info->EnableFixedSize(true);
    info->hide();
    info->show();
    EXPECT_EQ(info->minimumHeight(), 193);
    EXPECT_EQ(info->maximumHeight(), 193);

    info->setFloating(true);
    info->hide();
    info->show();
    EXPECT_EQ(info->minimumWidth(), 312);
    EXPECT_EQ(info->minimumHeight(), 200);

    info->EnableFixedSize(false);
    EXPECT_EQ(info->minimumSize(), QSize(1, 1));
    // The content and browser follow the dock's size.
    info->resize(400, 250);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(info->GetContentWidget()->size(), QSize(390, 220));
    EXPECT_EQ(info->m_pBrowser->size(), QSize(380, 220));
    EXPECT_EQ(info->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    info->close();
    EXPECT_EQ(m_pMain->m_Calls, QStringList{QStringLiteral("infoDockClosed")});
    delete info;
    EXPECT_EQ(g_pInfoDockWidget, nullptr);
    EXPECT_EQ(ToolkitSeams::InfoDock(), nullptr);
}

// ---- exposure dock -------------------------------------------------------------------

class ExposureDockTest : public ToolDockTest {
protected:
    void SetUp() override
    {
        ToolDockTest::SetUp();
        m_pSeries = std::make_unique<CExposureSeries>();
        m_pDock = std::make_unique<HDRExposureDockWidget>(QStringLiteral("Belichtungsreihe"), m_pMain.get());
    }
    void TearDown() override
    {
        m_pDock.reset();
        m_pSeries.reset();
        ToolDockTest::TearDown();
    }
    CExposure* add(bool master, bool active)
    {
        auto* exposure = new CExposure();
        exposure->m_strFileName = QStringLiteral("IMG_%1.jpg").arg(m_pSeries->m_vExposures.size());
        exposure->m_bMaster = master;
        exposure->m_bActive = active;
        exposure->m_fGlobalWeight = 0.25f;
        exposure->m_fExposureValue = 0.75f;
        m_pSeries->m_vExposures.append(exposure);
        return exposure;
    }
    HDRExposureGroupBox* panel() const { return m_pDock->m_pExposureGroupBox; }

    std::unique_ptr<CExposureSeries> m_pSeries;
    std::unique_ptr<HDRExposureDockWidget> m_pDock;
};

TEST_F(ExposureDockTest, PanelShowsTheMasterAndKeepsTheLastActiveExposure)
{
    EXPECT_EQ(m_pDock->PresetIndex(), 1);
    CExposure* master = add(true, true);
    m_pDock->UpdateDisplay(m_pSeries.get(), false);
    EXPECT_EQ(m_pDock->m_iShownExposures, 1);
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_EQ(panel()->title(), QStringLiteral("IMG_0.jpg"));
    EXPECT_TRUE(panel()->isChecked());
    EXPECT_FALSE(panel()->m_pMasterLabel->isHidden());
    EXPECT_TRUE(panel()->m_pDeleteButton->isHidden());
    EXPECT_TRUE(panel()->m_pSpacer->isHidden());
    // Setting the sliders from the exposure emits nothing.
    EXPECT_FLOAT_EQ(panel()->m_pGlobalWeightSlider->GetValueF(), 0.25f);
    EXPECT_FLOAT_EQ(panel()->m_pExposureValueSlider->GetValueF(), 0.75f);
    EXPECT_TRUE(m_pMain->m_Calls.isEmpty());

    // The only active exposure cannot be switched off.
    panel()->activateClicked(false);
    EXPECT_TRUE(panel()->isChecked());
    EXPECT_TRUE(m_pMain->m_Calls.isEmpty());
    EXPECT_EQ(panel()->Exposure(), master);
}

TEST_F(ExposureDockTest, UserActionsReachTheMainWindow)
{
    add(false, true);
    add(true, true);
    m_pDock->UpdateDisplay(m_pSeries.get(), false);
    EXPECT_FALSE(panel()->m_pDeleteButton->isHidden());
    EXPECT_TRUE(panel()->m_pMasterLabel->isHidden());

    panel()->activateClicked(false);
    EXPECT_FALSE(panel()->m_pDeleteButton->isEnabled());
    panel()->activateClicked(true);
    panel()->m_pDeleteButton->click();

    // Clicking the picture twice: checked, then unchecked, a signal each time.
    m_pDock->setFloating(true);
    m_pDock->show();
    QApplication::processEvents();
    click(panel()->m_pPictureLabel);
    EXPECT_TRUE(panel()->m_pPictureLabel->m_bChecked);
    click(panel()->m_pPictureLabel);
    EXPECT_FALSE(panel()->m_pPictureLabel->m_bChecked);
    click(panel()->m_pWeightmapLabel);
    EXPECT_TRUE(panel()->m_pWeightmapLabel->m_bChecked);
    EXPECT_FALSE(panel()->m_pPictureLabel->m_bChecked);

    panel()->m_pGlobalWeightSlider->SetValueInt(80);
    panel()->m_pGlobalWeightSlider->EmitValueUpdated();
    panel()->m_pExposureValueSlider->SetValueInt(-100);
    panel()->m_pExposureValueSlider->EmitValueUpdated();
    EXPECT_EQ(m_pMain->m_Calls,
              QStringList({QStringLiteral("activate 0"), QStringLiteral("activate 1"), QStringLiteral("delete"),
                           QStringLiteral("colour"), QStringLiteral("colour"), QStringLiteral("weightmap"),
                           QStringLiteral("weight 0.8"), QStringLiteral("ev 0")}));
}

TEST_F(ExposureDockTest, EmptySeriesAndProjects)
{
    add(true, true);
    m_pDock->UpdateDisplay(m_pSeries.get(), false);
    CExposureSeries empty;
    m_pDock->UpdateDisplay(&empty, true); // refresh with nothing: no change
    EXPECT_FALSE(panel()->isHidden());
    m_pDock->UpdateDisplay(nullptr, false);
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_EQ(panel()->Exposure(), nullptr);
    m_pDock->SetHighlighted(false);
    EXPECT_EQ(m_pDock->windowTitle(), QStringLiteral("Belichtungsreihe"));
    panel()->labelClicked(); // nothing shown: nothing happens
    EXPECT_TRUE(m_pMain->m_Calls.isEmpty());

    QTemporaryDir dir;
    QSettings project(dir.filePath(QStringLiteral("p.ini")), QSettings::IniFormat);
    EXPECT_TRUE(m_pDock->LoadProject(project, dir.path()));
    EXPECT_EQ(m_pDock->PresetIndex(), 0);
    m_pDock->ResetPresetToIndex(3);
    EXPECT_TRUE(m_pDock->SaveProject(project, dir.path()));
    EXPECT_EQ(project.value(QStringLiteral("ExposureDock/Preset")).toInt(), 3);
    m_pDock->ResetPresetToIndex(1);
    EXPECT_TRUE(m_pDock->LoadProject(project, dir.path()));
    EXPECT_EQ(m_pDock->PresetIndex(), 3);

    // A stored entry outside the list (a damaged file) is clamped into it, as
    // the operator dock does, instead of leaving the list without a selection.
    const struct {
        QVariant stored;
        int expected;
    } stored[] = {{-1, 0}, {5, 4}, {2147483647, 4}, {QStringLiteral("x"), 0}};
    for (const auto& c : stored) {
        project.setValue(QStringLiteral("ExposureDock/Preset"), c.stored);
        EXPECT_TRUE(m_pDock->LoadProject(project, dir.path()));
        EXPECT_EQ(m_pDock->PresetIndex(), c.expected) << c.stored.toString().toStdString();
    }
}

// ---- about box -----------------------------------------------------------------------

TEST_F(ToolDockTest, AboutTextGetsTheHomepageAddress)
{
    const QString header = HDRAboutWindow::VersionText(QString(), QStringLiteral("x"));
    EXPECT_TRUE(header.startsWith(QStringLiteral("<H4>")));
    EXPECT_TRUE(header.endsWith(QStringLiteral(" - V1.14.02132 - ")));
    struct SCase {
        const char* szText;
        const char* szHome;
        const char* szExpected;
    };
    const SCase cases[] = {
        {"a CODE_HOMEPAGEURL b code_homepageurl", "lumivex.invalid/", "a lumivex.invalid/ b lumivex.invalid/"},
        {"no placeholder", "lumivex.invalid/", "no placeholder"},
        {"see http://CODE_HOMEPAGEURL", "", "see http://"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(HDRAboutWindow::VersionText(QLatin1String(c.szText), QLatin1String(c.szHome)),
                  header + QLatin1String(c.szExpected));
}

TEST_F(ToolDockTest, AboutPanesScrollAndLinksOpenOutsideTheBox)
{
    HDRAboutWindow about(nullptr, QStringLiteral("lumivex.invalid/"));
    about.show();
    const QSize size = about.size();
    QString credits;
    for (int i = 0; i < 60; ++i)
        credits += QStringLiteral("Library %1<br/>").arg(i);
    about.m_apBrowsers[1]->setHtml(credits);
    QApplication::processEvents();
    EXPECT_EQ(about.m_apBrowsers[1]->height(), 120);
    EXPECT_GT(about.m_apBrowsers[1]->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(about.size(), size);

    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    QTextBrowser* browser = about.m_apBrowsers[2];
    browser->setHtml(QStringLiteral("<a href=\"https://lumivex.invalid/licence\">LICENCE LICENCE</a>"));
    QApplication::processEvents();
    QTextCursor cursor(browser->document());
    cursor.setPosition(2);
    const QPoint at = browser->cursorRect(cursor).center();
    click(browser->viewport(), at);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(recorder.m_Urls, QList<QUrl>{QUrl(QStringLiteral("https://lumivex.invalid/licence"))});
    EXPECT_TRUE(about.isVisible());
    about.m_pOkButton->click();
    EXPECT_FALSE(about.isVisible());
}

} // namespace

#include "test_tooldocks.moc"
