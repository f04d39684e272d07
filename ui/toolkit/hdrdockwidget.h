#pragma once
// HDRDockWidget, the base of the program's docks: fixed width, left and right
// areas, movable and floatable but not closable, content in a vertical
// scroll area. A highlighted dock shows arrow markers in its title and its
// help text in the information dock.

#include <QDockWidget>
#include <QString>

class QScrollArea;
class QVBoxLayout;

class HDRDockWidget : public QDockWidget {
    Q_OBJECT
public:
    HDRDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags);

    void SetHighlighted(bool on);
    // The dock's HTML help text.
    virtual void GetInfoText(QString& text) = 0;

    QWidget* GetContentWidget() const { return m_pContentWidget; }
    QScrollArea* GetScrollArea() const { return m_pScrollArea; }
    QVBoxLayout* GetContentLayout() const { return m_pContentLayout; }

protected:
    QString m_strTitle;
    QWidget* m_pContentWidget = nullptr;
    QScrollArea* m_pScrollArea = nullptr;
    QVBoxLayout* m_pContentLayout = nullptr;
};
