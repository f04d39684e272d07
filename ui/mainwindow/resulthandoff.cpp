#include "ui/mainwindow/resulthandoff.h"

#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <iostream>
#include <set>

#include <unistd.h>

namespace ResultHandOff {

namespace {

struct SFamilyIni {
    int iFamily = 0;
    int iVersion = 0;
    SFamilyProgram program;
};

void LogLine() { std::cout << std::string(61, '_') << std::endl; }

} // namespace

QVector<SFamilyProgram> ScanFamily(const QString& folder)
{
    const QDir dir(folder);
    const QStringList files =
        dir.exists() ? dir.entryList(QStringList() << QStringLiteral("*.ini"), QDir::Files, QDir::Name) : QStringList();

    // Each file is read once; the families are visited in ascending order of
    // the values present, so a huge family number costs nothing.
    QVector<SFamilyIni> entries;
    std::set<int> families;
    for (const QString& file : files) {
        QSettings ini(dir.filePath(file), QSettings::IniFormat);
        SFamilyIni entry;
        entry.iFamily = ini.value(QStringLiteral("Version_Family")).toInt();
        entry.iVersion = ini.value(QStringLiteral("Version_Version")).toInt();
        const QString path = ini.value(QStringLiteral("Path")).toString();
        entry.program.strDisplayName = ini.value(QStringLiteral("Display_Name")).toString();
        entry.program.strApplication = ini.value(QStringLiteral("Application")).toString();
        entry.program.strExecutable = path + QLatin1Char('/') + entry.program.strDisplayName;
        entries.append(entry);
        if (entry.iFamily >= 0)
            families.insert(entry.iFamily);
    }

    QVector<SFamilyProgram> found;
    for (const int family : families)
        for (int version = 4; version >= 0; --version)
            for (const SFamilyIni& entry : entries) {
                if (entry.iFamily != family || entry.iVersion != version)
                    continue;
                if (family == 1 && version == 3) // this program's own entry
                    continue;
                if (!QFileInfo::exists(entry.program.strExecutable))
                    continue;
                found.append(entry.program);
            }

    LogLine();
    std::cout << "Looking for installed Vorlix products" << std::endl;
    for (const SFamilyProgram& program : found)
        std::cout << program.strDisplayName.toStdString() << std::endl;
    LogLine();
    return found;
}

QString SelectionIniFile() { return lumivex::platform::userSettingsFolder() + QStringLiteral("selectedexternal.ini"); }

int RestoreSelection(const QString& iniFile, const QStringList& items, int current)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    if (!ini.contains(QStringLiteral("Selected")))
        return current;
    const QString selected = ini.value(QStringLiteral("Selected")).toString();
    int index = current;
    for (int i = 0; i < items.size(); ++i)
        if (items[i] == selected)
            index = i;
    return index;
}

void StoreSelection(const QString& iniFile, const QStringList& names, int index)
{
    if (names.isEmpty() || index < 0 || index >= names.size())
        return;
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.setValue(QStringLiteral("Selected"), names[index]);
}

QString HandOffFolder()
{
    const QString temp = lumivex::platform::privateTempFolder();
    if (temp.isEmpty())
        return QString();
    return temp + QStringLiteral("/LumivexExport/");
}

bool PrepareFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(folder));
    if (info.isSymLink())
        return false;
    if (!info.exists()) {
        if (!QDir().mkdir(info.absoluteFilePath()))
            return false;
        QFile::setPermissions(info.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return true;
    }
    const QFileInfo fresh(info.absoluteFilePath());
    if (!fresh.isDir() || fresh.ownerId() != ::getuid())
        return false;
    const QDir dir(fresh.absoluteFilePath());
    const QFileInfoList leftovers = dir.entryInfoList(QStringList() << QStringLiteral("*.ti*"),
                                                      QDir::Files | QDir::System, QDir::Name);
    for (const QFileInfo& file : leftovers) {
        // A link is removed itself, never what it points to.
        if (!file.isSymLink() && !file.isFile())
            continue;
        std::cout << "Remove File: " << file.absoluteFilePath().toStdString() << std::endl;
        QFile::remove(file.absoluteFilePath());
    }
    return true;
}

} // namespace ResultHandOff
