#pragma once
// HDRPresetGroupBox, one preset of the library as a tile: a group box titled
// with the preset's category and name, its thumbnail (the chain applied to
// the current image) and a column of small buttons (duplicate, reset, save,
// rename, delete). The tile owns its chain, loaded from and saved to the
// tile's preset file.

#include "ui/mainwindow/mainwindowseams.h"

#include <QGroupBox>
#include <QString>

class CPostProcessing;
class HDRExposureLabel;
class QLabel;
class QPushButton;

class HDRPresetGroupBox : public QGroupBox, public IPresetTile {
    Q_OBJECT
public:
    explicit HDRPresetGroupBox(QWidget* parent);
    ~HDRPresetGroupBox() override;

    void SetSettingsPath(const QString& path);
    // Computes the thumbnail from the current document; false when nothing
    // was computed (no document, or the engine was busy with another run).
    bool UpdatePostProcessingInternal();
    void ClearLabel();
    void SetLabelHighlight(bool on);
    void HideAllButtons();
    void UpdateMoveButtons(bool up, bool down);
    void SetReloadButtonEnabledState(bool on);
    bool IsSelected() const;
    // The part of the settings path after its last "/".
    QString FileName() const;

    // ---- IPresetTile ----
    QSize LabelSize() const override;
    void UpdateLabelPixmap() override;
    void SetCalculated(bool calculated) override { m_bCalculated = calculated; }
    void EnableModifiedButtons() override;

    HDRExposureLabel* m_pLabel = nullptr;
    QPushButton* m_pRenameButton = nullptr;
    QPushButton* m_pResetButton = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QPushButton* m_pCopyButton = nullptr;
    QPushButton* m_pDeleteButton = nullptr;
    QPushButton* m_pUpButton = nullptr;
    QPushButton* m_pDownButton = nullptr;
    QLabel* m_pSpacer = nullptr; // space between the buttons and the move buttons
    CPostProcessing* m_pPostProcessing = nullptr;
    bool m_bUserPreset = false;
    bool m_bCalculated = false;
    bool m_bPreviewCreated = false;
    bool m_bFilterVisible = true;

signals:
    void labelClicked(HDRPresetGroupBox* tile);
    void copyPresetClicked(HDRPresetGroupBox* tile, QString name);
    void deletePresetClicked(HDRPresetGroupBox* tile);
    void movePresetUpClicked(HDRPresetGroupBox* tile);
    void movePresetDownClicked(HDRPresetGroupBox* tile);

public slots:
    void labelClicked();
    void renameClicked();
    void reloadButtonClicked();
    void reloadClicked(bool forceApply, bool askFirst);
    void saveClicked();
    void copyClicked();
    void deleteClicked();
    void moveUpClicked();
    void moveDownClicked();

private:
    // A question about this preset ("%1": its name); true for "Ja".
    bool Ask(const QString& title, const QString& question);
};

// Tells the user that a preset file could not be written (or copied, or
// renamed); parent: the dialog's parent.
void ReportPresetWriteFailure(QWidget* parent, const QString& path);
