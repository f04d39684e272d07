#pragma once
// The blend-mode list of the post-processing pages: 32 modes in seven groups,
// 38 rows with the separators, taller than many screens when shown whole. Its
// popup is a scrolling list that opens below the box, or above it where there
// is more room, and holds as many rows as fit on the box's screen.

#include <QComboBox>

class HDRBlendModeComboBox : public QComboBox {
public:
    explicit HDRBlendModeComboBox(QWidget* parent = nullptr);

    void showPopup() override;

    // The number of rows, from the first, whose popup fits into room pixels
    // of height (at least one).
    int RowsFitting(int room) const;
};
