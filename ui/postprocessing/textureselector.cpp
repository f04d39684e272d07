#include "ui/postprocessing/textureselector.h"

#include "engine/views/cropview.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/modalhook.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

void SGridData::Set(int numX, int numY, int border, const QSize& space)
{
    Reset();
    numX = qMin(numX, 10);
    numY = qMin(numY, 5);
    if (numX <= 0 || numY <= 0)
        return;
    const int w = qMax(space.width() / numX - 2 * border, 0);
    const int h = qMax(space.height() / numY - 2 * border, 0);
    if (w == 0 || h == 0)
        return;
    m_iNumX = numX;
    m_iNumY = numY;
    m_iThumbnailSize = qMin(w, h);
    m_iBorder = border;
}

CTextureSelector::CTextureSelector(QWidget* parent) : QDialog(parent)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol"), QIcon()));
    setWindowTitle(tr("Texture Selector"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                   Qt::WindowCloseButtonHint);
    setWindowModality(Qt::WindowModal);
    setWindowOpacity(1.0);
    auto* layout = new QVBoxLayout();
    _gui::AdjustLayout(layout);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    setLayout(layout);
    CreateGrid(layout);
}

CTextureSelector::~CTextureSelector() { m_Buffer.Destroy(); }

void CTextureSelector::CreateGrid(QVBoxLayout* layout)
{
    auto* grid = new QGridLayout();
    _gui::AdjustLayout(grid);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(grid);
    m_pButtonGroup = new QButtonGroup(this);
    m_pButtonGroup->setExclusive(false);
    connect(m_pButtonGroup, &QButtonGroup::idPressed, this, &CTextureSelector::OnTextureSelected);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto* button = new QPushButton(this);
            m_pButtonGroup->addButton(button, -1);
            grid->addWidget(button, r, c);
            m_ppButtons[r][c] = button;
        }
    }
}

void CTextureSelector::SetupGrids()
{
    static const int layouts[kGrids][2] = {{4, 1}, {6, 1}, {4, 2}, {5, 2}, {4, 3}, {5, 3}, {6, 3}, {7, 3},
                                           {6, 4}, {7, 4}, {8, 4}, {9, 4}, {8, 5}, {9, 5}, {10, 5}};
    for (int i = 0; i < kGrids; ++i)
        m_GridData[i].Set(layouts[i][0], layouts[i][1], 5, QSize(m_iMaxWidth, m_iMaxHeight));
}

int CTextureSelector::GetGridIdx(int count) const
{
    for (int i = 0; i < kGrids; ++i) {
        if (m_GridData[i].MaxThumbnails() >= count)
            return i;
    }
    return kGrids - 1;
}

const SGridData& CTextureSelector::GetGridData() const
{
    return m_GridData[(m_iGridIdx >= 0 && m_iGridIdx < kGrids) ? m_iGridIdx : kGrids - 1];
}

bool CTextureSelector::ParameterValid() const
{
    return m_iMin >= 0 && m_iMax >= 0 && m_iCount > 0 && m_iSelected >= 0 && m_iGridIdx < kGrids;
}

int CTextureSelector::Show(const HDRSlider* slider)
{
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    m_iMaxWidth = int(float(screen.width()) * 0.5f);
    m_iMaxHeight = int(float(screen.height()) * 0.5f);
    SetupGrids();
    m_iMin = slider->minimum();
    m_iMax = slider->maximum();
    m_iCount = m_iMax - m_iMin + 1;
    m_iSelected = slider->GetValueInt();
    m_iGridIdx = GetGridIdx(m_iCount);
    if (ParameterValid())
        _gui::ExecModal(this, [this] { return exec(); });
    return m_iSelected;
}

void CTextureSelector::showEvent(QShowEvent* event)
{
    SetThumbnails();
    QDialog::showEvent(event);
}

void CTextureSelector::OnTextureSelected(int id)
{
    if (id < 0)
        return;
    m_iSelected = id;
    accept();
}

void CTextureSelector::RemoveThumbnails()
{
    // An empty cell carries no texture index (a button group reserves -1,
    // so each empty cell gets its own id below it).
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            QPushButton* button = m_ppButtons[r][c];
            button->hide();
            button->setIcon(QIcon());
            button->setEnabled(false);
            m_pButtonGroup->setId(button, -2 - (r * kColumns + c));
        }
    }
    adjustSize();
}

void CTextureSelector::SetThumbnails()
{
    if (!ParameterValid())
        return;
    RemoveThumbnails();
    const SGridData& grid = GetGridData();
    const int s = grid.m_iThumbnailSize;
    unsigned int* pixels = s > 0 ? m_Buffer.Create(unsigned(s) * unsigned(s)) : nullptr;
    int t = m_iMin;
    for (int r = 0; r < grid.GetNumY(); ++r) {
        for (int c = 0; c < grid.GetNumX(); ++c, ++t) {
            QPushButton* button = m_ppButtons[r][c];
            button->setFixedSize(grid.GetFrameSize());
            button->setIconSize(grid.GetThumbnailSize());
            button->show();
            if (!pixels || t > m_iMax || MP_UI_previewTextureView(s, s, pixels, t) != 1)
                continue;
            QImage image(reinterpret_cast<const uchar*>(pixels), s, s, 4 * s, QImage::Format_ARGB32);
            if (t == m_iSelected) {
                QPainter painter(&image);
                painter.setPen(QPen(QColor(Qt::red), 1));
                painter.drawRect(0, 0, s - 2, s - 2);
                painter.drawRect(1, 1, s - 3, s - 3);
                painter.setPen(QPen(QColor(0x2E, 0x2E, 0x2E), 1));
                painter.drawRect(2, 2, s - 4, s - 4);
            }
            HDRPixmapCreator creator(&image);
            button->setIcon(QIcon(creator.m_Pixmap));
            button->setEnabled(true);
            m_pButtonGroup->setId(button, t);
        }
    }
    adjustSize();
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    const QRect frame = geometry();
    move((screen.left() + screen.right()) / 2 - (frame.right() - frame.left()) / 2,
         (screen.top() + screen.bottom()) / 2 - (frame.bottom() - frame.top()) / 2);
}
