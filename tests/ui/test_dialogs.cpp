// Dialog bases, message box and text prompt.

#include "uifixture.h"

#include "ui/toolkit/hdrdialogs.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace {

struct FakeMainWindow : IToolkitMainWindow {
    QRect geometry{100, 100, 1001, 801};
    bool showInfo = false;
    QList<bool> setChecked;   // SetShowInfoActChecked calls
    QList<bool> external;     // showInfoClickedExternal calls
    QRect MainWindowGeometry() const override { return geometry; }
    bool IsShowInfoActChecked() const override { return showInfo; }
    void SetShowInfoActChecked(bool c) override
    {
        showInfo = c;
        setChecked << c;
    }
    void showInfoClickedExternal(bool c) override
    {
        showInfo = c;
        external << c;
    }
    void SetPreviewRadiusText(const QString&) override {}
};

struct FakeInfoDock : IInfoDock {
    QString html = "<p>Hilfe zum Werkzeug</p>";
    bool visible = true;
    QString updated;
    QString InfoHtml() const override { return html; }
    void SetInfoDockVisible(bool v) override { visible = v; }
    void UpdateText(const QString& t) override { updated = t; }
};

class ToolDialog : public HDRInfoDialog {
public:
    explicit ToolDialog(QWidget* parent) : HDRInfoDialog(parent)
    {
        QLabel* content = new QLabel("Inhalt", this);
        content->setFixedSize(200, 120);
        m_pMainLayout->addWidget(content);
        CreateInfoArea();
    }
};

class DialogTest : public UiTest {
protected:
    FakeMainWindow window;
    FakeInfoDock dock;
    void SetUp() override
    {
        UiTest::SetUp();
        ToolkitSeams::SetMainWindow(&window);
        ToolkitSeams::SetInfoDock(&dock);
    }
};

TEST_F(DialogTest, MessageBoxButtons)
{
    HDRMessageBox one(nullptr, QMessageBox::Warning, "Titel", "Text", "", "OK");
    EXPECT_EQ(one.GetYesButton(), nullptr);
    EXPECT_EQ(one.buttons().size(), 1);
    EXPECT_EQ(one.defaultButton(), one.GetNoButton());
    EXPECT_EQ(one.styleSheet(), "QPushButton{min-width:50px; min-height: 20px}");
    _gui::SetModalHook([](QWidget* prompt) {
        static_cast<HDRMessageBox*>(prompt)->GetNoButton()->click();
        return 0;
    });
    one.exec();
    EXPECT_FALSE(one.YesClicked());

    HDRMessageBox two(nullptr, QMessageBox::Question, "Titel", "Speichern?", "Ja", "Nein");
    EXPECT_EQ(two.defaultButton(), two.GetNoButton());
    two.SetYesIsStandardButton();
    EXPECT_EQ(two.defaultButton(), two.GetYesButton());
    EXPECT_EQ(two.buttonRole(two.GetYesButton()), QMessageBox::YesRole);
    EXPECT_EQ(two.buttonRole(two.GetNoButton()), QMessageBox::NoRole);
    _gui::SetModalHook([](QWidget* prompt) {
        static_cast<HDRMessageBox*>(prompt)->GetYesButton()->click();
        return 0;
    });
    two.exec();
    EXPECT_TRUE(two.YesClicked());
}

TEST_F(DialogTest, InputDialogLabelEndsInFiftyBlanks)
{
    HDRInputDialog input(nullptr, "Name", "Presetname:", "Neu", "OK", "Abbrechen");
    EXPECT_EQ(input.labelText(), "Presetname:" + QString(50, ' '));
    EXPECT_EQ(input.textValue(), "Neu");
    EXPECT_EQ(input.inputMode(), QInputDialog::TextInput);
    _gui::SetModalHook([](QWidget* prompt) {
        auto* dlg = static_cast<HDRInputDialog*>(prompt);
        dlg->setTextValue("Abend");
        dlg->accept();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(input.exec(), int(QDialog::Accepted));
    EXPECT_EQ(input.textValue(), "Abend");
    EXPECT_EQ(input.result(), 1);
}

TEST_F(DialogTest, InfoDialogShowsWithoutBrowserWhenTheActionIsOff)
{
    ToolDialog dlg(nullptr);
    EXPECT_EQ(dlg.windowFlags() & Qt::WindowFlags(0x0A001103), Qt::WindowFlags(0x0A001103));
    EXPECT_EQ(dlg.windowModality(), Qt::WindowModal);
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg.GetInfoButton()->isChecked());
    EXPECT_TRUE(dlg.GetInfoBrowser()->isHidden());
    EXPECT_TRUE(dlg.GetInfoBrowser()->toPlainText().contains("Hilfe zum Werkzeug"));
    EXPECT_FALSE(dock.visible);
    // Centred on the main window.
    const QRect frame = dlg.frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - window.geometry.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - window.geometry.center().y()), 1);
}

TEST_F(DialogTest, HelpButtonTogglesTheBrowserAndTheMainWindowAction)
{
    ToolDialog dlg(nullptr);
    dlg.show();
    QCoreApplication::processEvents();
    const QPoint pos = dlg.pos();
    const int narrow = dlg.width();

    dlg.GetInfoButton()->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg.GetInfoBrowser()->isHidden());
    EXPECT_GE(dlg.width(), narrow + 300 - 34); // the column was as wide as the help button
    EXPECT_EQ(dlg.pos(), pos);
    EXPECT_EQ(window.external, QList<bool>({true}));

    dlg.GetInfoButton()->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dlg.GetInfoBrowser()->isHidden());
    EXPECT_EQ(dlg.width(), narrow);
    EXPECT_EQ(window.external, QList<bool>({true, false}));

    dlg.GetInfoButton()->click();
    dlg.done(QDialog::Accepted);
    EXPECT_EQ(window.setChecked, QList<bool>({true}));
}

TEST_F(DialogTest, InfoDialogShowsTheBrowserWhenTheActionIsOn)
{
    window.showInfo = true;
    ToolDialog dlg(nullptr);
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dlg.GetInfoButton()->isChecked());
    EXPECT_FALSE(dlg.GetInfoBrowser()->isHidden());
}

TEST_F(DialogTest, ExecGoesThroughTheHook)
{
    ToolDialog dlg(nullptr);
    int asked = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        ++asked;
        EXPECT_EQ(prompt, &dlg);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(dlg.exec(), int(QDialog::Rejected));
    EXPECT_EQ(asked, 1);
}

} // namespace
