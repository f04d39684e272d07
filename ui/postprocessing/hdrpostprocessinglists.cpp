// The dock's three lists: the chain list (_QListWidget), the tone-mapping
// list and the catalogue list with its filter actions.

#include "ui/postprocessing/hdrpostprocessingdockwidget.h"

#include "ui/toolkit/modalhook.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>

QVarLengthArray<unsigned int, 256> _QListWidget::OldIndexList;

namespace {
QAction* MakeAction(QObject* parent, const char* context, const char* text, const char* icon)
{
    auto* action = new QAction(QCoreApplication::translate(context, text), parent);
    if (icon)
        action->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    return action;
}

// Runs a context menu modally; tests answer it through the modal hook.
void RunMenu(QMenu* menu, const QPoint& global)
{
    if (!_gui::AnswerPrompt(menu))
        menu->exec(global);
}
} // namespace

// ---- chain list -------------------------------------------------------------

_QListWidget::_QListWidget(QWidget* parent) : QListWidget(parent)
{
    const char* c = "_QListWidget";
    m_pActivateAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "aktivieren"), "KontextMenuInactive");
    m_pDeactivateAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "deaktivieren"), "KontextMenuActive");
    m_pFilterAllActivateAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "m_pFilterAllActivateAct"), "StacklistAllActive");
    m_pFilterAllToggleAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "m_pFilterAllToggleAct"), "StacklistUptothis");
    m_pFilterAllSingleAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "m_pFilterAllSingleAct"), "StacklistOnlythis");
    m_pFilterAllDeactivateAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "m_pFilterAllDeactivateAct"), "StacklistAllInActive");
    m_pCopyAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "kopieren"), "KontextMenuDuplicate");
    m_pResetAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "zurücksetzen"), "KontextMenuToDefault");
    m_pTopAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "zum Listenanfang"), "KontextMenuTop");
    m_pBottomAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "zum Listenende"), "KontextMenuBottom");
    m_pRemoveAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "entfernen"), "KontextMenuDelete");
    m_pRemoveAllAct = MakeAction(this, c, QT_TRANSLATE_NOOP("_QListWidget", "alle entfernen"), "KontextMenuDeleteAll");
    for (QAction* a : {m_pActivateAct, m_pDeactivateAct, m_pFilterAllActivateAct, m_pFilterAllToggleAct,
                       m_pFilterAllSingleAct, m_pFilterAllDeactivateAct, m_pCopyAct, m_pResetAct, m_pTopAct,
                       m_pBottomAct, m_pRemoveAct, m_pRemoveAllAct})
        connect(a, &QAction::triggered, this, &_QListWidget::contextClick);
}

void _QListWidget::FillContextMenu(QMenu* menu, QListWidgetItem* row)
{
    m_pContextRow = row;
    if (row) {
        menu->addAction(row->checkState() == Qt::Checked ? m_pDeactivateAct : m_pActivateAct);
        menu->addSeparator();
    }
    menu->addAction(m_pFilterAllActivateAct);
    if (row) {
        menu->addAction(m_pFilterAllToggleAct);
        menu->addAction(m_pFilterAllSingleAct);
    }
    menu->addAction(m_pFilterAllDeactivateAct);
    if (!row) {
        menu->addSeparator();
        menu->addAction(m_pRemoveAllAct);
        return;
    }
    menu->addSeparator();
    menu->addAction(m_pCopyAct);
    menu->addAction(m_pResetAct);
    menu->addSeparator();
    const int r = this->row(row);
    bool moved = false;
    if (r != 0) {
        menu->addAction(m_pTopAct);
        moved = true;
    }
    if (r != count() - 1) {
        menu->addAction(m_pBottomAct);
        moved = true;
    }
    if (moved)
        menu->addSeparator();
    menu->addAction(m_pRemoveAct);
    menu->addAction(m_pRemoveAllAct);
}

void _QListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    FillContextMenu(&menu, itemAt(event->pos()));
    RunMenu(&menu, event->globalPos());
}

void _QListWidget::RebuildOldIndexList(const QVector<QListWidgetItem*>& before)
{
    OldIndexList.clear();
    for (int i = 0; i < count(); ++i) {
        const int j = before.indexOf(item(i));
        OldIndexList.append(static_cast<unsigned>(std::max(0, j)));
    }
}

static QVector<QListWidgetItem*> RowItems(const QListWidget* list)
{
    QVector<QListWidgetItem*> items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i));
    return items;
}

static bool OrderChanged()
{
    for (int i = 0; i < _QListWidget::OldIndexList.size(); ++i)
        if (_QListWidget::OldIndexList[i] != static_cast<unsigned>(i))
            return true;
    return false;
}

void _QListWidget::contextClick()
{
    QObject* s = sender();
    QListWidgetItem* row = m_pContextRow;
    if (s == m_pActivateAct && row)
        row->setCheckState(Qt::Checked);
    else if (s == m_pDeactivateAct && row)
        row->setCheckState(Qt::Unchecked);
    else if (s == m_pFilterAllActivateAct)
        emit contextFilterAllActivate();
    else if (s == m_pFilterAllToggleAct)
        emit contextFilterAllToggle();
    else if (s == m_pFilterAllSingleAct)
        emit contextFilterAllSingle();
    else if (s == m_pFilterAllDeactivateAct)
        emit contextFilterAllDeactivate();
    else if (s == m_pCopyAct && row)
        emit itemContextCopyClicked(row);
    else if (s == m_pResetAct && row)
        emit itemContextResetClicked(row);
    else if ((s == m_pTopAct || s == m_pBottomAct) && row) {
        const QVector<QListWidgetItem*> before = RowItems(this);
        {
            QSignalBlocker block(this);
            QListWidgetItem* taken = takeItem(this->row(row));
            if (!taken)
                return;
            const int target = s == m_pTopAct ? 0 : count();
            insertItem(target, taken);
            setCurrentRow(target);
        }
        RebuildOldIndexList(before);
        if (OrderChanged())
            emit orderChanged();
    } else if (s == m_pRemoveAct && row)
        emit itemContextRemoveClicked(row);
    else if (s == m_pRemoveAllAct)
        emit itemContextRemoveAllClicked();
}

void _QListWidget::dropEvent(QDropEvent* event)
{
    const QVector<QListWidgetItem*> before = RowItems(this);
    QListWidget::dropEvent(event);
    RebuildOldIndexList(before);
    if (OrderChanged())
        emit orderChanged();
}

// ---- catalogue lists -------------------------------------------------------------

HDRTonemappingListWidget::HDRTonemappingListWidget(QWidget* parent) : QListWidget(parent)
{
    m_pAddAct = MakeAction(this, "HDRTonemappingListWidget",
        QT_TRANSLATE_NOOP("HDRTonemappingListWidget", "hinzufügen"), "KontextMenuTMadd");
    connect(m_pAddAct, &QAction::triggered, this, &HDRTonemappingListWidget::contextClick);
}

void HDRTonemappingListWidget::contextClick()
{
    if (sender() == m_pAddAct)
        emit contextItemAdd(m_pContextItem);
}

void HDRTonemappingListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    m_pContextItem = itemAt(event->pos());
    if (!m_pContextItem)
        return;
    QMenu menu(this);
    menu.addAction(m_pAddAct);
    RunMenu(&menu, event->globalPos());
}

HDRPostProcessListWidget::HDRPostProcessListWidget(HDRPostProcessingDockWidget* dock)
    : HDRTonemappingListWidget(dock), m_pDock(dock)
{
    const char* c = "HDRPostProcessListWidget";
    m_pFilterAllAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterAllAct"), "FilterListAllActive");
    m_pFilterEnhanceAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterEnhanceAct"), nullptr);
    m_pFilterGeometryAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterGeometryAct"), nullptr);
    m_pFilterExposureAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterExposureAct"), nullptr);
    m_pFilterColorizeAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterColorizeAct"), nullptr);
    m_pFilterSmoothAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterSmoothAct"), nullptr);
    m_pFilterArtisticAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterArtisticAct"), nullptr);
    m_pFilterPanoramaAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterPanoramaAct"), nullptr);
    m_pFilterNoneAct =
        MakeAction(this, c, QT_TRANSLATE_NOOP("HDRPostProcessListWidget", "m_pFilterNoneAct"), "FilterListAllInActive");
    for (QAction* a : {m_pFilterAllAct, m_pFilterEnhanceAct, m_pFilterGeometryAct, m_pFilterExposureAct,
                       m_pFilterColorizeAct, m_pFilterSmoothAct, m_pFilterArtisticAct, m_pFilterPanoramaAct,
                       m_pFilterNoneAct})
        connect(a, &QAction::triggered, this, &HDRPostProcessListWidget::contextClick);
}

void HDRPostProcessListWidget::FillContextMenu(QMenu* menu, QListWidgetItem* item)
{
    m_pContextItem = item;
    if (item) {
        menu->addAction(m_pAddAct);
        menu->addSeparator();
    }
    menu->addAction(m_pFilterAllAct);
    menu->addAction(m_pFilterNoneAct);
    menu->addSeparator();
    // each type filter shows its state as its icon
    struct Row {
        QAction* action;
        QPushButton* button;
        const char* name;
    } rows[] = {{m_pFilterEnhanceAct, m_pDock->m_pFilterEnhanceButton, "Enhance"},
                {m_pFilterGeometryAct, m_pDock->m_pFilterGeometryButton, "Geometry"},
                {m_pFilterExposureAct, m_pDock->m_pFilterExposureButton, "Luminance"},
                {m_pFilterColorizeAct, m_pDock->m_pFilterColorizeButton, "Color"},
                {m_pFilterSmoothAct, m_pDock->m_pFilterSmoothButton, "Smooth"},
                {m_pFilterArtisticAct, m_pDock->m_pFilterArtisticButton, "Artistic"},
                {m_pFilterPanoramaAct, m_pDock->m_pFilterPanoramaButton, "Panorama"}};
    for (const Row& r : rows) {
        if (r.action == m_pFilterPanoramaAct)
            menu->addSeparator();
        const bool on = r.button && r.button->isChecked();
        r.action->setIcon(QIcon::fromTheme(QStringLiteral("FilterList%1%2")
                                               .arg(QLatin1String(r.name))
                                               .arg(on ? QStringLiteral("Active") : QStringLiteral("InActive"))));
        menu->addAction(r.action);
    }
}

void HDRPostProcessListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    FillContextMenu(&menu, itemAt(event->pos()));
    RunMenu(&menu, event->globalPos());
}

void HDRPostProcessListWidget::contextClick()
{
    QObject* s = sender();
    if (s == m_pFilterAllAct)
        emit contextFilterAll();
    else if (s == m_pFilterEnhanceAct)
        emit contextFilterEnhance();
    else if (s == m_pFilterGeometryAct)
        emit contextFilterGeometry();
    else if (s == m_pFilterExposureAct)
        emit contextFilterExposure();
    else if (s == m_pFilterColorizeAct)
        emit contextFilterColorize();
    else if (s == m_pFilterSmoothAct)
        emit contextFilterSmooth();
    else if (s == m_pFilterArtisticAct)
        emit contextFilterArtistic();
    else if (s == m_pFilterPanoramaAct)
        emit contextFilterPanorama();
    else if (s == m_pFilterNoneAct)
        emit contextFilterNone();
    else
        HDRTonemappingListWidget::contextClick();
}
