#include "ui/options/ShortcutHelper.h"

#include <QSettings>
#include <QShortcut>
#include <QWidget>

namespace {

// QKeySequence::StandardKey names in enumeration order (values 1..65).
const char* const kStandardKeys[] = {
    "HelpContents", "WhatsThis", "Open", "Close", "Save", "New", "Delete", "Cut", "Copy", "Paste", "Undo", "Redo",
    "Back", "Forward", "Refresh", "ZoomIn", "ZoomOut", "Print", "AddTab", "NextChild", "PreviousChild", "Find",
    "FindNext", "FindPrevious", "Replace", "SelectAll", "Bold", "Italic", "Underline", "MoveToNextChar",
    "MoveToPreviousChar", "MoveToNextWord", "MoveToPreviousWord", "MoveToNextLine", "MoveToPreviousLine",
    "MoveToNextPage", "MoveToPreviousPage", "MoveToStartOfLine", "MoveToEndOfLine", "MoveToStartOfBlock",
    "MoveToEndOfBlock", "MoveToStartOfDocument", "MoveToEndOfDocument", "SelectNextChar", "SelectPreviousChar",
    "SelectNextWord", "SelectPreviousWord", "SelectNextLine", "SelectPreviousLine", "SelectNextPage",
    "SelectPreviousPage", "SelectStartOfLine", "SelectEndOfLine", "SelectStartOfBlock", "SelectEndOfBlock",
    "SelectStartOfDocument", "SelectEndOfDocument", "DeleteStartOfWord", "DeleteEndOfWord", "DeleteEndOfLine",
    "InsertParagraphSeparator", "InsertLineSeparator", "SaveAs", "Preferences", "Quit"};
static_assert(sizeof(kStandardKeys) / sizeof(kStandardKeys[0]) == 65);
static_assert(QKeySequence::Quit == 65 && QKeySequence::HelpContents == 1);

struct SNamedKey {
    const char* name;
    int key;
};
const SNamedKey kKeys[] = {{"Key_Left", Qt::Key_Left}, {"Key_Right", Qt::Key_Right}, {"Key_Up", Qt::Key_Up},
                           {"Key_Down", Qt::Key_Down}, {"Key_Plus", Qt::Key_Plus},   {"Key_Minus", Qt::Key_Minus}};

// The modifier is combined bit by bit: adding Control to a key that already
// carries Control would carry into the next modifier flag (Alt).
QKeySequence withModifier(int combined, int modifier) { return QKeySequence(combined | modifier); }

} // namespace

CShortcutHelper::CShortcutHelper(const QString& path) : m_pSettings(new QSettings(path, QSettings::IniFormat)) {}

CShortcutHelper::~CShortcutHelper() { delete m_pSettings; }

int CShortcutHelper::TranslateStandardKey(const QString& name) const
{
    for (int i = 0; i < 65; ++i) {
        if (name == QLatin1String(kStandardKeys[i]))
            return i + 1;
    }
    return 0;
}

int CShortcutHelper::TranslateKey(const QString& name) const
{
    for (const SNamedKey& k : kKeys) {
        if (name == QLatin1String(k.name))
            return k.key;
    }
    return 0;
}

QKeySequence CShortcutHelper::GetShortcut(const QString& name, EModifier modifier) const
{
    if (m_strCategory.isEmpty() || !m_pSettings)
        return QKeySequence();
    const QString key = QStringLiteral("%1/%2").arg(m_strCategory, name);
    if (!m_pSettings->contains(key))
        return QKeySequence();
    const QString value = m_pSettings->value(key).toString();
    if (value.isEmpty())
        return QKeySequence();
    if (value.startsWith(QLatin1String("QKeySequence::"))) {
        const int standard = TranslateStandardKey(value.mid(14));
        if (standard == 0)
            return QKeySequence();
        return QKeySequence(static_cast<QKeySequence::StandardKey>(standard));
    }
    if (value.startsWith(QLatin1String("Qt::")))
        return withModifier(TranslateKey(value.mid(4)), modifier);
    const QKeySequence parsed = QKeySequence::fromString(value, QKeySequence::PortableText);
    if (parsed.isEmpty())
        return withModifier(0, modifier);
    return withModifier(parsed[0].toCombined(), modifier);
}

QShortcut* CShortcutHelper::CreateShortcut(QWidget* widget, const QString& name, EModifier modifier) const
{
    const QKeySequence sequence = GetShortcut(name, modifier);
    if (sequence.isEmpty())
        return nullptr;
    return new QShortcut(sequence, widget, nullptr, nullptr, Qt::WindowShortcut);
}
