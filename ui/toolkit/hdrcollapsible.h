#pragma once
// HDRCollapsible, a group box whose header row (an arrow and a bold title)
// opens and closes it; closing hides the widgets registered as collapsible and
// zeroes the margins of the registered layouts. The owner remembers whether
// a panel is open.

#include <QGroupBox>
#include <QMargins>
#include <QVarLengthArray>
#include <QWidget>

class QLabel;
class QLayout;
class QVBoxLayout;

class HDRCollapsibleHeader : public QWidget {
    Q_OBJECT
public:
    explicit HDRCollapsibleHeader(QWidget* parent) : QWidget(parent) {}

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class HDRCollapsible : public QGroupBox {
    Q_OBJECT
public:
    HDRCollapsible(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    void SetHeader(const QString& title);
    // Appends the widget to the layout when add is set; registers it to be
    // shown and hidden with the panel when collapsible is set.
    void AddWidget(QWidget* widget, bool add, bool collapsible);
    void InsertLayout(QLayout* layout, bool collapsible);
    void Collapse(bool open);
    bool IsOpened() const { return m_bOpened; }
    void updateContentsMargins();

    HDRCollapsibleHeader* GetHeader() const { return m_pHeader; }
    QLabel* GetHeaderLabel() const { return m_pHeaderLabel; }
    QLabel* GetArrowLabel() const { return m_pArrowLabel; }
    QVBoxLayout* GetLayout() const { return m_pLayout; }

signals:
    void collapse();

public slots:
    void collapseClicked();

private:
    void ShowArrow(bool open);

    QVBoxLayout* m_pLayout = nullptr;
    HDRCollapsibleHeader* m_pHeader = nullptr;
    QLabel* m_pHeaderLabel = nullptr;
    QLabel* m_pArrowLabel = nullptr;
    bool m_bOpened = true;
    QVarLengthArray<QWidget*, 256> m_vWidgets;
    QVarLengthArray<QLayout*, 256> m_vLayouts;
    QVarLengthArray<QMargins, 256> m_vMargins;
};
