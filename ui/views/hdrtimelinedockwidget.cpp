#include "ui/views/hdrtimelinedockwidget.h"

#include "document/kernelrunner.h"
#include "engine/core/conversions.h"
#include "engine/core/settings.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/mainwindow/projectfiles.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/toolkit/modalhook.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <new>

namespace {

constexpr double kBytesPerGB = 1073741824.0;

double engineFreeSpace(const QString& path)
{
    double total = -1.0;
    double free = -1.0;
    MP_UI_GetDiskSpaceInformationInGB(QFile::encodeName(path).constData(), &total, &free);
    return free;
}

bool renameFolder(const QString& from, const QString& to) { return QFile::rename(from, to); }

} // namespace

HDRTimelineDockWidget::HDRTimelineDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : QDockWidget(title, parent, flags), m_FreeSpace(engineFreeSpace), m_Mover(renameFolder)
{
    setAllowedAreas(Qt::BottomDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setContentsMargins(0, 0, 0, 0);
    setMinimumWidth(640);
    setFixedHeight(193);

    m_pRowLayout = new QHBoxLayout;
    m_pRowLayout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pRowLayout->setSpacing(4);
    m_pContent = new QWidget(this);
    auto* column = new QVBoxLayout(m_pContent);
    column->setSpacing(0);
    column->addLayout(m_pRowLayout);

    m_pScrollArea = new QScrollArea;
    m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pScrollArea->horizontalScrollBar()->setContextMenuPolicy(Qt::NoContextMenu);
    m_pScrollArea->setWidgetResizable(true);
    m_pScrollArea->setWidget(m_pContent);
    setWidget(m_pScrollArea);

    m_vLabels.reserve(100);
    m_vLoadButtons.reserve(100);
    m_vDeleteButtons.reserve(100);
    m_vBoxes.reserve(100);
    m_vTitles.reserve(100);
    m_iLastIndex = -1;
    m_sBaseTitle = title;
    SetTitle();
    m_bKeepItems = false;
}

HDRTimelineDockWidget::~HDRTimelineDockWidget() = default;

void HDRTimelineDockWidget::SetFreeSpaceMeasure(FreeSpaceMeasure measure)
{
    m_FreeSpace = measure ? std::move(measure) : FreeSpaceMeasure(engineFreeSpace);
}

void HDRTimelineDockWidget::SetFolderMover(FolderMover mover)
{
    m_Mover = mover ? std::move(mover) : FolderMover(renameFolder);
}

QString HDRTimelineDockWidget::UndoRoot() const { return m_pHost ? m_pHost->UndoRoot() : QString(); }

double HDRTimelineDockWidget::FreeSpaceInGB() const { return m_FreeSpace(UndoRoot()); }

// ---- entries ------------------------------------------------------------------------

void HDRTimelineDockWidget::SetLabelTooltip(int index)
{
    HDRExposureLabel* label = m_vLabels.value(index);
    if (!label || label->pixmap().isNull())
        return;
    QString picture = ProjectFiles::UndoFolder(UndoRoot(), index) + QStringLiteral("/undo.jpg");
    picture = picture.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
    label->setToolTip(QStringLiteral("<H3>") + m_vTitles.value(index).toHtmlEscaped() + QStringLiteral("<br/>") +
                      QStringLiteral("</H3>") + QStringLiteral("<img src = '") + picture + QStringLiteral("'") +
                      QStringLiteral(">"));
}

void HDRTimelineDockWidget::AddItem(unsigned short* rgb48, int width, int height, int index, QString title,
                                    bool updateTitle)
{
    auto* entryLayout = new QHBoxLayout;
    entryLayout->setContentsMargins(1, 1, 1, 1);
    entryLayout->setSpacing(4);
    auto* box = new QGroupBox(this);
    box->setLayout(entryLayout);
    box->setTitle(title);
    m_pRowLayout->addWidget(box);
    m_vBoxes.append(box);
    m_vTitles.append(title);

    auto* label = new HDRExposureLabel(box);
    entryLayout->addWidget(label);
    label->SetFixedSize(ProjectFiles::kThumbWidth, ProjectFiles::kThumbHeight);
    label->SetChecked(false);
    label->setScaledContents(true);
    label->m_uiBorderWidth = 2;
    label->m_bIgnoreClicks = true;
    m_vLabels.append(label);

    if (rgb48 && width > 0 && height > 0) {
        const size_t pixels = size_t(width) * size_t(height);
        std::unique_ptr<uint32_t[]> argb(new (std::nothrow) uint32_t[pixels]);
        if (argb) {
            {
                CEngineGuard guard;
                MP_UI_ConvertRGB48toARGB8888(width, height, rgb48, argb.get());
            }
            QImage image(reinterpret_cast<const uchar*>(argb.get()), width, height, qsizetype(width) * 4,
                         QImage::Format_ARGB32);
            HDRPixmapCreator creator(&image);
            label->setPixmap(creator.m_Pixmap);
            SetLabelTooltip(int(m_vLabels.size()) - 1);
        }
    }

    auto* buttons = new QVBoxLayout;
    auto makeButton = [&](const char* icon, const QString& tip, void (HDRTimelineDockWidget::*slot)()) {
        auto* button = new QPushButton(this);
        button->setIcon(QIcon::fromTheme(QLatin1String(icon), QIcon()));
        button->setToolTip(QStringLiteral("<H3><p>") + tip + QStringLiteral("</p></H3><p></p>"));
        button->setCheckable(false);
        button->setFixedSize(24, 24);
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    QPushButton* load = makeButton("TimelineLoad", tr("tooltip Timeline-Punkt einladen"),
                                   &HDRTimelineDockWidget::loadButtonClicked);
    QPushButton* remove = makeButton("TimelineDelete", tr("tooltip Timeline-Punkt löschen"),
                                     &HDRTimelineDockWidget::deleteButtonClicked);
    buttons->addWidget(load, 0, Qt::AlignTop | Qt::AlignHCenter);
    buttons->addWidget(remove, 0, Qt::AlignBottom | Qt::AlignHCenter);
    entryLayout->addLayout(buttons);
    m_vLoadButtons.append(load);
    m_vDeleteButtons.append(remove);

    for (HDRExposureLabel* other : m_vLabels)
        other->SetChecked(other == label);

    m_pContent->adjustSize();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_pScrollArea->horizontalScrollBar()->setValue(m_pScrollArea->horizontalScrollBar()->maximum());
    // A hidden dock lays out later: scroll again once it has.
    QTimer::singleShot(0, m_pScrollArea, [bar = m_pScrollArea->horizontalScrollBar()] { bar->setValue(bar->maximum()); });

    m_iLastIndex = index;
    if (updateTitle)
        SetTitle();
}

void HDRTimelineDockWidget::DeleteEntryWidgets(int index)
{
    QGroupBox* box = m_vBoxes.value(index);
    if (box) {
        m_pRowLayout->removeWidget(box);
        box->hide();
        box->deleteLater(); // may run inside the slot of one of its buttons
    }
    for (QPushButton* button : {m_vLoadButtons.value(index), m_vDeleteButtons.value(index)}) {
        if (button && button->parent() != box) {
            button->hide();
            button->deleteLater();
        }
    }
    m_vLabels.remove(index);
    m_vLoadButtons.remove(index);
    m_vDeleteButtons.remove(index);
    m_vBoxes.remove(index);
    m_vTitles.remove(index);
}

bool HDRTimelineDockWidget::DeleteItem(int index)
{
    if (index < 0 || index >= int(m_vLabels.size()))
        return false;
    const QString root = UndoRoot();
    const QString folder = ProjectFiles::UndoFolder(root, index);
    // The folder goes aside first: when it cannot, nothing changes.
    QString aside;
    if (QFileInfo::exists(folder) || QFileInfo(folder).isSymLink()) {
        aside = ProjectFiles::MovedAsideName(root, index);
        if (aside.isEmpty() || !m_Mover(folder, aside)) {
            HDRMessageBox box(this, QMessageBox::Warning, tr("Warnung"),
                              tr("Der Undo-Punkt konnte nicht gelöscht werden:") + QLatin1Char(' ') + folder,
                              QString(), tr("Ok"));
            _gui::ExecModal(&box, [&box] { return box.exec(); });
            return false;
        }
    }
    for (int f = index; f < m_iLastIndex; ++f)
        QFile::rename(ProjectFiles::UndoFolder(root, f + 1), ProjectFiles::UndoFolder(root, f));
    if (!aside.isEmpty()) {
        if (m_pHost)
            m_pHost->removeDir(aside);
        else
            ProjectFiles::RemoveDir(aside);
    }
    DeleteEntryWidgets(index);
    if (m_pHost)
        m_pHost->setUndoLevel(m_pHost->UndoLevel() - 1);
    m_iLastIndex -= 1;
    for (int i = index; i < int(m_vLabels.size()); ++i)
        SetLabelTooltip(i);
    SetTitle();
    return true;
}

void HDRTimelineDockWidget::Reset()
{
    if (!m_bKeepItems) {
        while (!m_vBoxes.isEmpty())
            DeleteEntryWidgets(int(m_vBoxes.size()) - 1);
    }
    m_iLastIndex = -1;
    m_bKeepItems = false;
    SetTitle();
}

void HDRTimelineDockWidget::SetAllUnselected()
{
    for (HDRExposureLabel* label : m_vLabels)
        label->SetChecked(false);
}

void HDRTimelineDockWidget::SetSelectedByIndex(int index)
{
    if (HDRExposureLabel* label = m_vLabels.value(index))
        label->SetChecked(true);
}

// ---- title and disk space -----------------------------------------------------------------

void HDRTimelineDockWidget::SetTitle()
{
    QString title = m_sBaseTitle;
    const int count = int(m_vLabels.size());
    if (count > 0) {
        title += QString::asprintf(" - %d ", count);
        title += count == 1 ? tr("Undo-Eintrag") : tr("Undo-Einträge");
        const double used = GetUsedHDDMemoryInGB();
        if (used > 0.0)
            title += QString::asprintf(" - %.2f GB ", used);
        const double free = FreeSpaceInGB();
        if (free >= 0.0)
            title += QString::asprintf("(%.2f GB ", free) + tr("verfügbar") + QStringLiteral(")");
    }
    setWindowTitle(title);
}

double HDRTimelineDockWidget::GetUsedHDDMemoryInGB() const
{
    if (m_iLastIndex < 0)
        return -1.0 / kBytesPerGB;
    const QString root = UndoRoot();
    double bytes = -1.0;
    for (int i = 0; i <= m_iLastIndex; ++i) {
        QDirIterator it(ProjectFiles::UndoFolder(root, i), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (!info.isSymLink())
                bytes += double(info.size());
        }
    }
    return bytes / kBytesPerGB;
}

int HDRTimelineDockWidget::GetAutoDeleteAmount(int maximum, double minimumFree) const
{
    const double used = GetUsedHDDMemoryInGB();
    const double free = FreeSpaceInGB();
    if (used <= 0.0 || free <= 0.0)
        return -1;
    const int n = m_iLastIndex;
    if (free >= minimumFree && n < maximum)
        return -1;
    if (n < 1)
        return -1;
    const int byCount = n < maximum ? 0 : n - maximum + 1;
    int bySpace = 0;
    if (free < minimumFree) {
        const double amount = (minimumFree - free) / (used / double(n + 1));
        bySpace = std::isfinite(amount) ? int(std::clamp(amount, 0.0, double(INT_MAX))) : INT_MAX;
    }
    return std::max(byCount, bySpace);
}

void HDRTimelineDockWidget::AutoDeleteCheck(int maximum, double minimumFree, int amount)
{
    if (amount < 1)
        return;
    int deleted = 0;
    for (;;) {
        const double used = GetUsedHDDMemoryInGB();
        const double free = FreeSpaceInGB();
        if (used <= 0.0 || free <= 0.0)
            break;
        const int n = m_iLastIndex;
        const bool tooFull = free < minimumFree && n > 0;
        const bool tooMany = free >= minimumFree && n >= maximum && n > 0;
        if (!tooFull && !tooMany)
            break;
        if (!DeleteItem(0))
            break; // the folder stays: going on would try it forever
        ++deleted;
        HDRProgressThread::AddMessage(17, float(deleted) / float(amount));
    }
    HDRProgressThread::AddMessage(17, 1.0f);
}

// ---- buttons and events ------------------------------------------------------------------------

void HDRTimelineDockWidget::loadButtonClicked()
{
    const int index = int(m_vLoadButtons.indexOf(qobject_cast<QPushButton*>(sender())));
    if (m_pHost && m_pHost->ChangeCounter() > 3)
        m_pHost->SaveUndo();
    if (index < 0)
        return;
    m_bKeepItems = true;
    if (m_pHost)
        m_pHost->RestoreTimeline(index);
    SetAllUnselected();
    SetSelectedByIndex(index);
}

void HDRTimelineDockWidget::deleteButtonClicked()
{
    const int index = int(m_vDeleteButtons.indexOf(qobject_cast<QPushButton*>(sender())));
    if (index < 0)
        return;
    HDRMessageBox box(this, QMessageBox::Question, tr("Löschen eines Undo-Punktes"),
                      tr("Soll dieser Undo-Punkt wirklich gelöscht werden?"), tr("Ja"), tr("Nein"));
    box.setStyleSheet(QStringLiteral("QPushButton{min-width:50px; min-height: 20px}"));
    _gui::ExecModal(&box, [&box] { return box.exec(); });
    if (box.YesClicked())
        DeleteItem(index);
}

void HDRTimelineDockWidget::closeEvent(QCloseEvent* event)
{
    emit SigClosed();
    QDockWidget::closeEvent(event);
}

void HDRTimelineDockWidget::showEvent(QShowEvent* event) { QWidget::showEvent(event); }
