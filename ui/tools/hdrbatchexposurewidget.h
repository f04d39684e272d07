#pragma once
// HDRBatchExposureWidget, one found series in the batch window: a checkable
// group box with a row of thumbnails, the preview of what the batch makes of
// the series and a title that is the output file's base name. Each box owns a
// preview-size CExposureSeries of its own (not the document's).

#include "document/imageloader.h"
#include "ui/toolkit/hdrexposurelabel.h"

#include <QGroupBox>
#include <QVarLengthArray>
#include <QVector>

#include <functional>

class CExposureBatch;
class CExposureSeries;
class IBatchOperatorSource;
class IBatchPresetSource;
class QAction;
class QMenu;

// A thumbnail label that draws only its picture, fitted and centred.
class _HDRExposureLabel : public HDRExposureLabel {
    Q_OBJECT
public:
    explicit _HDRExposureLabel(QWidget* parent) : HDRExposureLabel(parent) {}

    // The rectangle the picture of size `picture` takes in a label of `label`.
    static QRect PictureRect(const QSize& label, const QSize& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class HDRBatchExposureWidget : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kThumbnailSlots = 15;

    explicit HDRBatchExposureWidget(int windowMode);
    ~HDRBatchExposureWidget() override;

    // The series takes the exposure (true; thumbnails, HDR image and title
    // follow) unless it is full (false; the exposure stays with the caller).
    bool AddExposureBatch(CExposureBatch* exposure);
    void RefreshExposureSeries(bool all);
    void GenerateFileName();
    void CalculateHDR();
    // The chain of the chosen preset tile on the series' result; false when
    // there is no chain or the chain failed.
    bool CalculatePP();
    // Nothing for a hidden box or one without exposures.
    void CalculatePreview(bool withHDR);
    float CalculateMatch(CExposureBatch* exposure);
    void RememberFilePaths();
    void DeleteExposureSeries();
    HDRExposureLabel* FindExposureLabel(HDRExposureLabel* label) const;

    // The actions the context menu offers now, in order (null: separator).
    QList<QAction*> ContextMenuActions() const;

    QVarLengthArray<_HDRExposureLabel*, 256> m_aExposureLabels;
    _HDRExposureLabel* m_pResultLabel = nullptr;
    CExposureSeries* m_pExposureSeries = nullptr;
    QVector<SExposure> m_vecFilePaths;
    QAction* m_pOpenAction = nullptr;
    QAction* m_pDeactivateAction = nullptr;
    QAction* m_pRemoveAction = nullptr;
    bool m_bLoadingFinished = false;
    int m_iWindowMode = 0;

    // Where the boxes take the HDR stage and the chain from (the batch window
    // sets them).
    static IBatchOperatorSource* s_pOperatorSource;
    static IBatchPresetSource* s_pPresetSource;
    // Runs a context menu at a global position (tests answer it).
    static std::function<QAction*(QMenu&, const QPoint&)> s_MenuExec;

signals:
    void openSeriesAsProject();
    void removeSeries();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void contextMenuClicked();
    void labelEntered();
    void labelLeft();
};
