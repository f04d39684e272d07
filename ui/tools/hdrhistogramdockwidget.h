#pragma once
// HDRHistogramDockWidget, the histogram dock: five check boxes choosing what
// the histogram shows (luminance, red, green, blue, cumulative) above the
// picture the main window renders; a click on the picture asks for the
// histogram in the central preview.

#include "ui/toolkit/hdrdockwidget.h"
#include "ui/tools/tooldockseams.h"

#include <QLabel>

class QCheckBox;

// A label that reports presses.
class _QLabel : public QLabel {
    Q_OBJECT
public:
    explicit _QLabel(QWidget* parent) : QLabel(parent) {}

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class HDRHistogramDockWidget : public HDRDockWidget, public IHistogramDock {
    Q_OBJECT
public:
    HDRHistogramDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    // ---- IHistogramDock ----
    QDockWidget* Dock() override { return this; }
    void SetPixmap(const QPixmap& pixmap) override;
    // The size the histogram picture is rendered at (270 x 160).
    QSize PictureSize() const override;
    // The five flags of the histogram call, in this order.
    void Channels(bool* luminance, bool* red, bool* green, bool* blue, bool* cumulative) const override;
    void GetInfoText(QString&) override {}

    QCheckBox* m_pLuminanceCheckBox = nullptr;
    QCheckBox* m_pRedCheckBox = nullptr;
    QCheckBox* m_pGreenCheckBox = nullptr;
    QCheckBox* m_pBlueCheckBox = nullptr;
    QCheckBox* m_pCumulativeCheckBox = nullptr;
    _QLabel* m_pHistogramLabel = nullptr;

signals:
    void updateHistogram();
    void showHistogram();
    void closeClicked();

public slots:
    void checkBoxToggled();
    void labelClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
};
