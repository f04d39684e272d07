#include "ui/postprocessing/hdrblendmodecombobox.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

HDRBlendModeComboBox::HDRBlendModeComboBox(QWidget* parent) : QComboBox(parent)
{
    // A list beside the box that keeps to the visible-row limit, under every
    // style (some styles would otherwise lay the whole list over the box).
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

int HDRBlendModeComboBox::RowsFitting(int room) const
{
    const QAbstractItemView* list = view();
    // The list's frame and the popup's own margin above and below.
    int used = 2 * (list->frameWidth() + 1);
    int rows = 0;
    for (int i = 0; i < count(); ++i) {
        const int h = std::max(1, list->sizeHintForRow(i));
        if (used + h > room)
            break;
        used += h;
        ++rows;
    }
    return std::max(1, rows);
}

void HDRBlendModeComboBox::showPopup()
{
    if (const QScreen* shown = screen()) {
        const QRect available = shown->availableGeometry();
        const QRect box(mapToGlobal(QPoint(0, 0)), size());
        const int below = available.bottom() - box.bottom();
        const int above = box.top() - available.top();
        setMaxVisibleItems(RowsFitting(std::max(below, above)));
    }
    // As wide as the longest name with the scroll bar beside it (a list popup
    // is otherwise only as wide as the box and cuts long names).
    QAbstractItemView* list = view();
    list->setMinimumWidth(std::min(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                                       list->verticalScrollBar()->sizeHint().width(),
                                   screen() ? screen()->availableGeometry().width() : QWIDGETSIZE_MAX));
    QComboBox::showPopup();
}
