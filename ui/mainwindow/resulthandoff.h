#pragma once
// The hand-off of the result to another program: the scan of the product
// family's version INI files, the memory of the family program chosen last
// and the private hand-off folder the result is written into. The main
// window's members (hdrmainwindow_handoff.cpp) run the steps; the program is
// started by the platform Launcher with an argument vector.

#include <QString>
#include <QStringList>
#include <QVector>

// A family program the scan found.
struct SFamilyProgram {
    QString strDisplayName; // "Display_Name", shown in the combo box
    QString strApplication; // "Application", the program's identifier
    QString strExecutable;  // "Path" + "/" + "Display_Name", the file the scan found
};

namespace ResultHandOff {

// The family programs of the "*.ini" files directly in folder: by family
// ascending (the values >= 0 present), version 4 down to 0, then file name;
// never this program's own entry (family 1, version 3) nor one whose
// executable does not exist. Logs the names found to standard output.
QVector<SFamilyProgram> ScanFamily(const QString& folder);

// The index the stored choice selects among the items (the last equal item
// wins); current when the file names none of them.
int RestoreSelection(const QString& iniFile, const QStringList& items, int current);
// Stores names[index] under "Selected"; nothing for an empty list or an index
// out of range.
void StoreSelection(const QString& iniFile, const QStringList& names, int index);
// "selectedexternal.ini" in the user settings folder.
QString SelectionIniFile();

// The private hand-off folder "<private temporary folder>/LumivexExport/";
// empty when the platform has no private temporary folder.
QString HandOffFolder();
// Makes the folder ready: creates it, or refuses it (false) when it is a
// link, not a folder or not the user's own; then removes the earlier
// hand-off files ("*.ti*": regular files and links themselves, logged).
bool PrepareFolder(const QString& folder);

} // namespace ResultHandOff
