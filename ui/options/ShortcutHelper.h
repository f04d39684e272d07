#pragma once
// CShortcutHelper reads keyboard shortcuts from "shortcuts.ini" (groups are
// categories, keys are command names). A value is
//  1. "QKeySequence::<standard key>": the platform's binding for that role;
//  2. "Qt::Key_Left|Right|Up|Down|Plus|Minus": that key plus the modifier;
//  3. anything else: portable key-sequence text ("Ctrl+Shift+S"); only its
//     first key combination counts, plus the modifier.
// A missing file, category, key or value gives no shortcut.

#include <QKeySequence>
#include <QString>

class QSettings;
class QShortcut;
class QWidget;

class CShortcutHelper {
public:
    // Modifier flags (Qt::ShiftModifier, Qt::ControlModifier or 0) combined
    // with the key of forms 2 and 3.
    using EModifier = int;

    explicit CShortcutHelper(const QString& path);
    ~CShortcutHelper();
    CShortcutHelper(const CShortcutHelper&) = delete;
    CShortcutHelper& operator=(const CShortcutHelper&) = delete;

    void SetCategory(const QString& category) { m_strCategory = category; }
    QKeySequence GetShortcut(const QString& name, EModifier modifier = 0) const;
    // A shortcut on the widget (window context, nothing connected), or null.
    QShortcut* CreateShortcut(QWidget* widget, const QString& name, EModifier modifier = 0) const;
    // The standard-key value (1..65) of a name, 0 for any other name.
    int TranslateStandardKey(const QString& name) const;
    // The key code of the six names of form 2, 0 for any other.
    int TranslateKey(const QString& name) const;

private:
    QSettings* m_pSettings = nullptr;
    QString m_strCategory;
};
