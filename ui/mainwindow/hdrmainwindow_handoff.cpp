// HDRMainWindow: hand-off of the result to another program (family programs
// and the external editor of the options), the web animation and the
// depth-map export.

#include "ui/mainwindow/hdrmainwindow.h"

#include "document/exposureseries.h"
#include "platform/launcher.h"
#include "platform/userpaths.h"
#include "ui/mainwindow/resultexports.h"
#include "ui/mainwindow/resulthandoff.h"
#include "ui/options/optionswindow.h"
#include "ui/toolkit/hdrdialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void HDRMainWindow::LoadAllVorlixSeriesIniInformation()
{
    for (const SFamilyProgram& program : ResultHandOff::ScanFamily(lumivex::platform::familyFolder())) {
        m_slVorlixDisplayNames.append(program.strDisplayName);
        m_slVorlixApplications.append(program.strApplication);
        m_slVorlixExecutables.append(program.strExecutable);
    }
}

void HDRMainWindow::LoadSelectedVorlixVersionFromIni()
{
    if (!m_pVorlixComboBox)
        return;
    QStringList items;
    for (int i = 0; i < m_pVorlixComboBox->count(); ++i)
        items << m_pVorlixComboBox->itemText(i);
    const int index =
        ResultHandOff::RestoreSelection(ResultHandOff::SelectionIniFile(), items, m_pVorlixComboBox->currentIndex());
    m_pVorlixComboBox->setCurrentIndex(index);
}

void HDRMainWindow::SaveSelectedVorlixVersionToIni()
{
    if (!m_pVorlixComboBox)
        return;
    ResultHandOff::StoreSelection(ResultHandOff::SelectionIniFile(), m_slVorlixDisplayNames,
                                  m_pVorlixComboBox->currentIndex());
}

void HDRMainWindow::SelectedVorlixComboBoxChanged(int) { SaveSelectedVorlixVersionToIni(); }

void HDRMainWindow::sendResultImageToVorlix()
{
    if (!m_pVorlixComboBox)
        return;
    const int index = m_pVorlixComboBox->currentIndex();
    if (index < 0 || index >= m_slVorlixApplications.size())
        return;
    saveResultImageAndSendTo(m_slVorlixApplications[index]);
}

void HDRMainWindow::sendResultImageTo()
{
    QString external;
    if (m_pOptionsWindow)
        external = m_pOptionsWindow->GetExternal(IOptionsWindow::EExternals(m_pOptionsWindow->GetExternalIndex()));
    saveResultImageAndSendTo(external);
}

void HDRMainWindow::saveResultImageAndSendTo(QString application)
{
    QString name = GetMergedFilename(100);
    if (name.isEmpty())
        name = tr("MyImage");

    // The private hand-off folder; a link or a foreign folder in its place is refused.
    const QString folder = ResultHandOff::HandOffFolder();
    if (!ResultHandOff::PrepareFolder(folder)) {
        HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"),
                          tr("Der Übergabeordner kann nicht sicher benutzt werden: %1").arg(folder), QString(),
                          tr("Ok"));
        box.exec();
        return;
    }
    const QString path = folder + name + QStringLiteral(".tiff");
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
        QFile::remove(path);

    // A failed write neither counts nor starts the program.
    if (!saveResultImage(path, true))
        return;
    count("m_iImagesExported", 1);
    startExternalProgram(QDir::toNativeSeparators(application), QStringList() << QDir::toNativeSeparators(path));
}

void HDRMainWindow::startExternalProgram(QString application, QStringList arguments)
{
    application.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A family identifier starts the program its INI file names; the options'
    // entries are executables themselves.
    const int family = m_slVorlixApplications.indexOf(application);
    const QString executable = family >= 0 ? m_slVorlixExecutables.value(family) : application;
    if (lumivex::platform::Launcher::Start(executable, arguments))
        return;
    HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"),
                      application + QStringLiteral(": ") + tr("App konnte nicht gestartet werden."), QString(),
                      tr("Ok"));
    box.exec();
}

void HDRMainWindow::CalcWebAnim(bool, int, int quality, int, int, int, int, int, QString author, QString title)
{
    CWebAnimExport animation(
        *this, [this](int* width, int* height) { return GetActualHDRBuffer(width, height); }, m_sHomepageURL);
    animation.Run(quality, author, title);
}

void HDRMainWindow::SaveDepthMap()
{
    SDepthMap map;
    if (m_pExposureSeries) {
        map.iWidth = m_pExposureSeries->m_iDepthMapWidth;
        map.iHeight = m_pExposureSeries->m_iDepthMapHeight;
        map.pBuffer = m_pExposureSeries->m_pDepthMap;
    }
    CDepthMapExport exporter(*this);
    exporter.Run(m_pExposureSeries != nullptr && !m_pExposureSeries->m_vExposures.isEmpty(), map);
}
