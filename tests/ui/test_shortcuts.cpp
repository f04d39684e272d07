// CShortcutHelper: the three forms of "shortcuts.ini" and the file the
// program ships.

#include "uifixture.h"

#include "ui/options/ShortcutHelper.h"

#include <QSet>
#include <QSettings>
#include <QShortcut>
#include <QTemporaryDir>
#include <QWidget>

namespace {

class ShortcutTest : public UiTest {
protected:
    // A helper on a file of the given lines, category "Menu".
    CShortcutHelper* helperWith(const QByteArray& body)
    {
        EXPECT_TRUE(m_Dir.isValid());
        // A new name each time: QSettings caches a file it has read.
        const QString path = m_Dir.filePath(QStringLiteral("shortcuts%1.ini").arg(++m_iFiles));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Menu]\n" + body);
        file.close();
        m_pHelper.reset(new CShortcutHelper(path));
        m_pHelper->SetCategory(QStringLiteral("Menu"));
        return m_pHelper.get();
    }

    QTemporaryDir m_Dir;
    std::unique_ptr<CShortcutHelper> m_pHelper;
    int m_iFiles = 0;
};

QString shipped() { return QStringLiteral(LUMIVEX_APP_DIR "/settings/shortcuts.ini"); }

} // namespace

TEST_F(ShortcutTest, ValuesOfTheThreeForms)
{
    struct SCase {
        const char* value;
        int modifier;
        QKeySequence expected;
    };
    const SCase cases[] = {
        // Standard roles ignore the modifier.
        {"QKeySequence::Copy", Qt::ShiftModifier, QKeySequence(QKeySequence::Copy)},
        {"Qt::Key_Left", Qt::ControlModifier, QKeySequence(Qt::ControlModifier | Qt::Key_Left)},
        {"Qt::Key_Plus", 0, QKeySequence(Qt::Key_Plus)},
        {"Qt::Key_F1", 0, QKeySequence()},
        {"Qt::Key_F1", Qt::ShiftModifier, QKeySequence(Qt::ShiftModifier)},
        {"Ctrl+A, Ctrl+B", 0, QKeySequence(QStringLiteral("Ctrl+A"))},
        {"qkeysequence::Copy", 0, QKeySequence::fromString(QStringLiteral("qkeysequence::Copy"))},
        // The modifier is combined, not added: Control twice stays Control.
        {"Ctrl+Left", Qt::ControlModifier, QKeySequence(Qt::ControlModifier | Qt::Key_Left)},
        {"Left", Qt::ShiftModifier, QKeySequence(Qt::ShiftModifier | Qt::Key_Left)},
        {"QKeySequence::NoSuchRole", 0, QKeySequence()},
        {"", 0, QKeySequence()},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.value);
        CShortcutHelper* helper = helperWith(QByteArray("cmd=\"") + c.value + "\"\n");
        const QKeySequence got = helper->GetShortcut(QStringLiteral("cmd"), c.modifier);
        EXPECT_EQ(got, c.expected) << qPrintable(got.toString());
    }
    // Lower-case prefix is text, so it is not the copy binding.
    CShortcutHelper* helper = helperWith("cmd=qkeysequence::Copy\n");
    EXPECT_NE(helper->GetShortcut(QStringLiteral("cmd")), QKeySequence(QKeySequence::Copy));
}

TEST_F(ShortcutTest, CategoriesAndMissingEntries)
{
    EXPECT_TRUE(m_Dir.isValid());
    const QString path = m_Dir.filePath(QStringLiteral("two.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Menu]\nzoom=Ctrl+1\n[Other]\nzoom=Ctrl+2\n");
    file.close();
    CShortcutHelper helper(path);
    EXPECT_TRUE(helper.GetShortcut(QStringLiteral("zoom")).isEmpty()) << "no category yet";
    helper.SetCategory(QStringLiteral("Menu"));
    EXPECT_EQ(helper.GetShortcut(QStringLiteral("zoom")), QKeySequence(QStringLiteral("Ctrl+1")));
    helper.SetCategory(QStringLiteral("Other"));
    EXPECT_EQ(helper.GetShortcut(QStringLiteral("zoom")), QKeySequence(QStringLiteral("Ctrl+2")));
    EXPECT_TRUE(helper.GetShortcut(QStringLiteral("absent")).isEmpty());

    CShortcutHelper none(m_Dir.filePath(QStringLiteral("missing.ini")));
    none.SetCategory(QStringLiteral("Menu"));
    EXPECT_TRUE(none.GetShortcut(QStringLiteral("zoom")).isEmpty());
}

TEST_F(ShortcutTest, CreateShortcutMakesAWindowShortcutOrNothing)
{
    CShortcutHelper* helper = helperWith("go=Ctrl+G\nempty=\n");
    QWidget widget;
    QShortcut* shortcut = helper->CreateShortcut(&widget, QStringLiteral("go"), Qt::ShiftModifier);
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->parent(), &widget);
    EXPECT_EQ(shortcut->context(), Qt::WindowShortcut);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_G));
    EXPECT_EQ(helper->CreateShortcut(&widget, QStringLiteral("empty")), nullptr);
    EXPECT_EQ(helper->CreateShortcut(&widget, QStringLiteral("absent")), nullptr);
}

TEST_F(ShortcutTest, StandardKeyTableRunsInEnumerationOrder)
{
    const CShortcutHelper helper{QString()};
    EXPECT_EQ(helper.TranslateStandardKey(QStringLiteral("HelpContents")), 1);
    EXPECT_EQ(helper.TranslateStandardKey(QStringLiteral("Copy")), static_cast<int>(QKeySequence::Copy));
    EXPECT_EQ(helper.TranslateStandardKey(QStringLiteral("InsertLineSeparator")),
              static_cast<int>(QKeySequence::InsertLineSeparator));
    EXPECT_EQ(helper.TranslateStandardKey(QStringLiteral("Quit")), 65);
    EXPECT_EQ(helper.TranslateStandardKey(QStringLiteral("quit")), 0);
    EXPECT_EQ(helper.TranslateKey(QStringLiteral("Key_Minus")), 45);
    EXPECT_EQ(helper.TranslateKey(QStringLiteral("Key_Plus")), 43);
    EXPECT_EQ(helper.TranslateKey(QStringLiteral("Key_Home")), 0);
}

TEST_F(ShortcutTest, ShippedFileGivesEveryCommandAKeyAndNoKeyTwiceInAWindow)
{
    CShortcutHelper helper(shipped());
    const char* const menu[] = {
        "newProjectAct", "openProjectAct", "saveProjectAct", "saveProjectAsAct", "loadImageAct",
        "saveResultImageAct", "sendResultImageToAct", "setUndoAct", "getUndoAct", "exitAct", "postProcessingAct",
        "rawDevelopmentAct", "restoreDefaultWindowStateAct", "propertiesAct", "batchProcessingAct", "homepageAct",
        "helpAct", "aboutAct", "showInfoAct", "showExifAct", "showHistogramMenuAct", "showFullscreenAct",
        "frameColorAct"};
    QSettings raw(shipped(), QSettings::IniFormat);
    QSet<QString> mainWindowKeys;
    // Standard roles give the platform's binding, which may be none (the
    // offscreen platform has no quit key); every other entry gives a key.
    auto addUnique = [&raw, &helper](QSet<QString>& keys, const QString& category, const char* name) {
        const QString value = raw.value(category + QLatin1Char('/') + QLatin1String(name)).toString();
        ASSERT_FALSE(value.isEmpty()) << name;
        const QKeySequence s = helper.GetShortcut(QLatin1String(name));
        if (value.startsWith(QLatin1String("QKeySequence::"))) {
            EXPECT_EQ(s, QKeySequence(static_cast<QKeySequence::StandardKey>(
                             helper.TranslateStandardKey(value.mid(14)))))
                << name;
            EXPECT_NE(helper.TranslateStandardKey(value.mid(14)), 0) << name;
            if (s.isEmpty())
                return;
        }
        ASSERT_FALSE(s.isEmpty()) << name;
        const QString text = s.toString(QKeySequence::PortableText);
        EXPECT_FALSE(keys.contains(text)) << name << " repeats " << qPrintable(text);
        keys.insert(text);
    };
    helper.SetCategory(QStringLiteral("Menu"));
    for (const char* name : menu)
        addUnique(mainWindowKeys, QStringLiteral("Menu"), name);
    helper.SetCategory(QStringLiteral("Other"));
    for (const char* name : {"zoomIn", "zoomOut", "zoomActualSize"})
        addUnique(mainWindowKeys, QStringLiteral("Other"), name);

    QSet<QString> painterKeys;
    helper.SetCategory(QStringLiteral("GeometryPainter"));
    for (const char* name : {"deleteSelected", "selectPrevious", "selectNext", "displayNone", "displaySelected",
                             "displayAll"})
        addUnique(painterKeys, QStringLiteral("GeometryPainter"), name);
    for (const char* name : {"moveLeft", "moveRight", "moveUp", "moveDown"}) {
        for (int modifier : {0, int(Qt::ShiftModifier), int(Qt::ControlModifier)}) {
            const QKeySequence s = helper.GetShortcut(QLatin1String(name), modifier);
            ASSERT_FALSE(s.isEmpty()) << name;
            const QString text = s.toString(QKeySequence::PortableText);
            EXPECT_FALSE(painterKeys.contains(text)) << name << " repeats " << qPrintable(text);
            painterKeys.insert(text);
        }
    }
    EXPECT_EQ(painterKeys.size(), 18);
    // Moves are of the second form, so their modifiers apply.
    EXPECT_EQ(helper.GetShortcut(QStringLiteral("moveUp"), Qt::ShiftModifier),
              QKeySequence(Qt::ShiftModifier | Qt::Key_Up));
}
