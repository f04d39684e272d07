#pragma once
// HDRExposureLabel, the checkable thumbnail label of the exposure panel, the
// preset tiles, the undo timeline and the batch window, and its narrow
// variant HDRExposureLabelWeightColor.

#include <QLabel>

class HDRExposureLabel : public QLabel {
    Q_OBJECT
public:
    HDRExposureLabel(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

    // Only while m_bCheckable: style and state follow checked.
    void SetChecked(bool checked);
    // The checked or unchecked style sheet; the state stays as it is.
    void UpdateStyle(bool selected);
    void SetFixedSize(int width, int height) { setFixedSize(width, height); }

    bool m_bChecked = false;
    bool m_bCheckable = true;
    bool m_bStayChecked = false;  // a press on a checked label keeps it checked
    bool m_bIgnoreClicks = false; // a press does nothing beyond the base handler
    unsigned int m_uiBorderWidth = 2; // border of the checked style in pixels

signals:
    void clicked();
    void doubleClicked();
    void entered();
    void left();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

class HDRExposureLabelWeightColor : public HDRExposureLabel {
    Q_OBJECT
public:
    HDRExposureLabelWeightColor(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());

protected:
    // Reports the press and changes no checked state.
    void mousePressEvent(QMouseEvent* event) override;
};
