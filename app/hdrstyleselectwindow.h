#pragma once
// The style colour dialog: the user picks the colour of the free interface
// theme in a hue-and-lightness field and chooses the rounded-border design.
// The caller sets the data, runs the dialog and reads m_iColor and m_bRound:
// "Übernehmen" takes the colour under the marker and the check box,
// "Verwerfen" (or any other close) keeps what SetData gave.

#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/stylechooser.h"

#include <QLabel>

#include <vector>

class QCheckBox;
class QPushButton;

// A label that reports the pointer position (press, and moves with a button
// held) as fractions of its size, each kept within 0.001 .. 0.999.
class HDRStyleColorLabel : public QLabel {
    Q_OBJECT
public:
    explicit HDRStyleColorLabel(QWidget* parent) : QLabel(parent) {}

signals:
    void valueSelected(float x, float y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void report(const QPointF& position);
};

class HDRStyleSelectWindow : public HDRInfoDialog, public IStyleColorDialog {
    Q_OBJECT
public:
    static constexpr int kFieldWidth = 350;
    static constexpr int kFieldHeight = 150;
    static constexpr int kSwatchSize = 150;

    explicit HDRStyleSelectWindow(QWidget* parent);

    // ---- IStyleColorDialog ----
    void SetData(int colour, bool rounded) override;
    int exec() override { return HDRInfoDialog::exec(); }
    int ConfirmedColor() const override { return m_iColor; }
    bool ConfirmedBorder() const override { return m_bRound; }

    // Repaints the field and the swatch for a marker at (x, y).
    void updateColorSelectLabel(float x, float y);

    int m_iColor = 0;       // 0xRRGGBB in effect: set by SetData, replaced on confirm
    bool m_bRound = true;   // rounded-border flag in effect
    int m_iNewColor = 0;    // colour under the marker
    bool m_bNewRound = true; // state of "rundes Design"
    float m_fPosX = 0.5f;
    float m_fPosY = 0.5f;

    HDRStyleColorLabel* m_pColorSelectLabel = nullptr;
    HDRStyleColorLabel* m_pColorLabel = nullptr;
    QCheckBox* m_pRoundCheckBox = nullptr;
    QCheckBox* m_pBrightCheckBox = nullptr;
    QPushButton* m_pDiscardButton = nullptr;
    QPushButton* m_pConfirmButton = nullptr;

public slots:
    void styleColorSelected(float x, float y);
    void brightCheckBoxClicked();
    void borderCheckBoxClicked();
    void discardClicked();
    void confirmClicked();
    void done(int result) override;

protected:
    // Both skip the information-area handling of HDRInfoDialog.
    void showEvent(QShowEvent* event) override;

private:
    std::vector<uint32_t> m_Buffer; // the field, then the swatch, of one repaint
};
