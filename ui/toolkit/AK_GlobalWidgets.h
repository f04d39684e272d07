#pragma once
// The _gui widget classes shared by windows of several subsystems:
// - COpacityBase<T> and its four instances, widgets that paint themselves at
//   an adjustable opacity so a window can fade controls that do not apply at
//   the moment while they keep their place in the layout;
// - HDROpacitySlider, a small labelled slider for a fraction 0..1 built from
//   them;
// - CContextMenuPushButton, a push button that reports context-menu requests
//   with an identifier chosen by its owner;
// - CBaseLabel, the base of the labels on which views and editors draw.

#include "ui/toolkit/AK_Global.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace _gui {

template <class T>
class COpacityBase : public T {
public:
    explicit COpacityBase(QWidget* parent) : T(parent) {}
    ~COpacityBase() override = default;

    // Stores the opacity and repaints at once when it changed.
    void SetOpacity(float opacity)
    {
        if (opacity == m_fOpacity)
            return;
        m_fOpacity = opacity;
        this->repaint();
    }
    float GetOpacity() const { return m_fOpacity; }

protected:
    float m_fOpacity = 1.0f;
};

class COpacitySlider : public COpacityBase<QSlider> {
public:
    explicit COpacitySlider(QWidget* parent);

    // 0..1 <-> 0..100, halves away from zero, clamped.
    int RelToValue(float x) const;
    float ValueToRel(int v) const;
    void SetValueF(float x) { setValue(RelToValue(x)); }
    float GetValueF() const { return ValueToRel(value()); }
    void SetCenterValueF(float x) { m_iCenterValue = RelToValue(x); }
    int GetCenterValue() const { return m_iCenterValue; }
    bool IsOnHandle(QPoint const& pos) const;
    void UpdateActiveSubconstrols(QPoint const& pos);
    int GetActiveSubControls() const { return m_iActiveSubControls; }

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int m_iCenterValue = 50;
    bool m_bIgnoreNextPress = false;
    int m_iActiveSubControls = 0; // 0 or the handle sub-control while hovered
};

class COpacityLabel : public COpacityBase<QLabel> {
public:
    COpacityLabel(QString const& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
};

class COpacityGroupBox : public COpacityBase<QGroupBox> {
public:
    explicit COpacityGroupBox(QWidget* parent) : COpacityBase<QGroupBox>(parent) {}

protected:
    void paintEvent(QPaintEvent* e) override;
};

class COpacityPushButton : public COpacityBase<QPushButton> {
public:
    explicit COpacityPushButton(QWidget* parent) : COpacityBase<QPushButton>(parent) {}

protected:
    void paintEvent(QPaintEvent* e) override;
};

class HDROpacitySlider : public QWidget {
    Q_OBJECT
public:
    HDROpacitySlider(QWidget* parent, QString const& name, QString const& low, QString const& high);

    // Sets the value like a user's change: reported through the signals.
    void SetValueF(float x);
    float GetValueF() const;
    void SetCenterValueF(float x);
    void SetSmoothUpdate(bool smooth) { m_bSmoothUpdate = smooth; }
    void SetOpacity(float opacity);
    void SetEnabled(bool enabled);
    void SetStyleSheet(QString const& stops);
    void TriggerAction(QAbstractSlider::SliderAction action);

    COpacitySlider* GetSlider() const { return m_pSlider; }
    COpacityLabel* GetLowLabel() const { return m_pLowLabel; }
    COpacityLabel* GetNameLabel() const { return m_pNameLabel; }
    COpacityLabel* GetHighLabel() const { return m_pHighLabel; }

signals:
    void SigValueUpdated();
    void SigControlUpdated();
    void SigControlFinished();

private slots:
    void SliderUpdated();

private:
    bool m_bSmoothUpdate = false;
    COpacitySlider* m_pSlider = nullptr;
    COpacityLabel* m_pLowLabel = nullptr;
    COpacityLabel* m_pNameLabel = nullptr;
    COpacityLabel* m_pHighLabel = nullptr;
};

class CContextMenuPushButton : public QPushButton {
    Q_OBJECT
public:
    explicit CContextMenuPushButton(QWidget* parent);
    // -1 turns reporting off.
    void SetContextMenuId(int id) { m_iContextMenuId = id; }
    // When true, requests are reported only while the button is checked.
    void SetCheckedOnly(bool checkedOnly) { m_bCheckedOnly = checkedOnly; }

signals:
    void SigContextMenu(int id, QPoint const& globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    int m_iContextMenuId = -1;
    bool m_bCheckedOnly = false;
};

class CBaseLabel : public QLabel {
    Q_OBJECT
public:
    explicit CBaseLabel(QWidget* parent);
    ~CBaseLabel() override = default;
    // The parent given at construction (the owning window).
    QWidget* BaseParent() { return m_pBaseParent; }
    QWidget const* BaseParent() const { return m_pBaseParent; }

signals:
    // An interaction changed something the owner must redraw or recompute.
    void SigUpdate();

private:
    QWidget* m_pBaseParent;
};

} // namespace _gui
