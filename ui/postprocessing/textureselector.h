#pragma once
// CTextureSelector, the modal "Texture Selector": every texture of a texture
// slider's range as a thumbnail button in a grid; pressing one chooses it.
// The grid is the smallest of fifteen layouts that holds all textures, with
// thumbnails as large as half the screen allows.

#include "ui/toolkit/AK_Global.h"

#include <QDialog>
#include <QSize>

class HDRSlider;
class QButtonGroup;
class QPushButton;
class QVBoxLayout;

// One grid layout: columns, rows, thumbnail edge and border; all 0 when the
// layout does not fit.
struct SGridData {
    int m_iNumX = 0;
    int m_iNumY = 0;
    int m_iThumbnailSize = 0;
    int m_iBorder = 0;

    SGridData() { Reset(); }
    void Reset() { m_iNumX = m_iNumY = m_iThumbnailSize = m_iBorder = 0; }
    void Set(int numX, int numY, int border, const QSize& space);
    int GetNumX() const { return m_iNumX; }
    int GetNumY() const { return m_iNumY; }
    int MaxThumbnails() const { return m_iNumX * m_iNumY; }
    QSize GetThumbnailSize() const { return QSize(m_iThumbnailSize, m_iThumbnailSize); }
    QSize GetFrameSize() const
    {
        return QSize(m_iThumbnailSize + 2 * m_iBorder, m_iThumbnailSize + 2 * m_iBorder);
    }
};

class CTextureSelector : public QDialog {
    Q_OBJECT
public:
    static constexpr int kGrids = 15;
    static constexpr int kRows = 5;
    static constexpr int kColumns = 10;

    explicit CTextureSelector(QWidget* parent);
    ~CTextureSelector() override;

    // Runs the dialog for the slider's range; the chosen texture index, or
    // the slider's own value when nothing was chosen or nothing could be shown.
    int Show(const HDRSlider* slider);

    void SetupGrids();
    int GetGridIdx(int count) const;
    const SGridData& GetGridData() const;
    bool ParameterValid() const;
    void RemoveThumbnails();
    void SetThumbnails();

    int m_iGridIdx = 0;
    int m_iMaxWidth = 0;
    int m_iMaxHeight = 0;
    int m_iSelected = -1;
    int m_iMin = -1;
    int m_iMax = -1;
    int m_iCount = 0;
    _hlp::CGrowingBuffer<unsigned int> m_Buffer;
    SGridData m_GridData[kGrids];
    QPushButton* m_ppButtons[kRows][kColumns] = {};
    QButtonGroup* m_pButtonGroup = nullptr;

public slots:
    void OnTextureSelected(int id);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateGrid(QVBoxLayout* layout);
};
