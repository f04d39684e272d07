#include "app/hdrstyleselectwindow.h"
#include "ui/toolkit/AK_Global.h"

#include "engine/draw/painters.h"
#include "ui/mainwindow/hdrpixmapcreator.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

void showImage(QLabel* label, QImage* image)
{
    HDRPixmapCreator creator(image);
    label->setPixmap(creator.m_Pixmap);
}
} // namespace

// ---- HDRStyleColorLabel ------------------------------------------------------

void HDRStyleColorLabel::report(const QPointF& position)
{
    const float w = static_cast<float>(std::max(1, width()));
    const float h = static_cast<float>(std::max(1, height()));
    const float x = std::clamp(static_cast<float>(position.x()) / w, 0.001f, 0.999f);
    const float y = std::clamp(static_cast<float>(position.y()) / h, 0.001f, 0.999f);
    emit valueSelected(x, y);
}

void HDRStyleColorLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    report(event->position());
}

void HDRStyleColorLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton)
        report(event->position());
}

// ---- HDRStyleSelectWindow --------------------------------------------------------

HDRStyleSelectWindow::HDRStyleSelectWindow(QWidget* parent) : HDRInfoDialog(parent)
{
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSymbol"), QIcon()));
    setWindowTitle(tr("Interface Stil anpassen"));

    QVBoxLayout* content = new QVBoxLayout();
    content->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_pMainLayout->addLayout(content);

    QGroupBox* group = new QGroupBox(tr("Stil anpassen"), this);
    group->setFixedWidth(550);
    QVBoxLayout* groupLayout = new QVBoxLayout(group);
    content->addWidget(group);

    QHBoxLayout* fieldRow = new QHBoxLayout();
    auto framedLabel = [group](int width, int height, const QString& tip) {
        HDRStyleColorLabel* label = new HDRStyleColorLabel(group);
        label->setFixedSize(width, height);
        label->setScaledContents(true);
        label->setStyleSheet(QStringLiteral("QLabel { border-style: solid; border-width: 1px; border-color: black; }"));
        label->setToolTip(_gui::HtmlToolTip(tip));
        return label;
    };
    m_pColorSelectLabel = framedLabel(kFieldWidth, kFieldHeight, tr("Tooltip ColorSelectLabel"));
    fieldRow->addWidget(m_pColorSelectLabel, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_pColorLabel = framedLabel(kSwatchSize, kSwatchSize, tr("Tooltip ColorLabel"));
    fieldRow->addWidget(m_pColorLabel, 0, Qt::AlignRight | Qt::AlignVCenter);
    groupLayout->addLayout(fieldRow);

    QHBoxLayout* boxRow = new QHBoxLayout();
    m_pBrightCheckBox = new QCheckBox(tr("helles Design"), group);
    m_pBrightCheckBox->setChecked(true);
    m_pBrightCheckBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip helles Design")));
    boxRow->addWidget(m_pBrightCheckBox, 0, Qt::AlignLeft | Qt::AlignBottom);
    m_pRoundCheckBox = new QCheckBox(tr("rundes Design"), group);
    m_pRoundCheckBox->setChecked(true);
    m_pRoundCheckBox->setToolTip(_gui::HtmlToolTip(tr("Tooltip rundes Design")));
    boxRow->addWidget(m_pRoundCheckBox, 0, Qt::AlignLeft | Qt::AlignBottom);
    boxRow->addStretch(1);
    groupLayout->addLayout(boxRow);

    QHBoxLayout* buttonRow = new QHBoxLayout();
    buttonRow->addStretch(1);
    m_pConfirmButton = new QPushButton(tr("Übernehmen"), this);
    m_pConfirmButton->setFixedSize(106, 34);
    m_pConfirmButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Übernehmen")));
    buttonRow->addWidget(m_pConfirmButton, 0, Qt::AlignRight | Qt::AlignBottom);
    m_pDiscardButton = new QPushButton(tr("Verwerfen"), this);
    m_pDiscardButton->setFixedSize(106, 34);
    m_pDiscardButton->setToolTip(_gui::HtmlToolTip(tr("tooltip Verwerfen")));
    buttonRow->addWidget(m_pDiscardButton, 0, Qt::AlignRight | Qt::AlignBottom);
    content->addLayout(buttonRow);

    connect(m_pColorSelectLabel, &HDRStyleColorLabel::valueSelected, this, &HDRStyleSelectWindow::styleColorSelected);
    connect(m_pBrightCheckBox, &QCheckBox::clicked, this, &HDRStyleSelectWindow::brightCheckBoxClicked);
    connect(m_pRoundCheckBox, &QCheckBox::clicked, this, &HDRStyleSelectWindow::borderCheckBoxClicked);
    connect(m_pConfirmButton, &QPushButton::clicked, this, &HDRStyleSelectWindow::confirmClicked);
    connect(m_pDiscardButton, &QPushButton::clicked, this, &HDRStyleSelectWindow::discardClicked);
}

void HDRStyleSelectWindow::SetData(int colour, bool rounded)
{
    m_iColor = colour;
    m_iNewColor = colour;
    m_bRound = rounded;
    m_bNewRound = rounded;
    m_pRoundCheckBox->setChecked(rounded);
}

void HDRStyleSelectWindow::showEvent(QShowEvent* event)
{
    const int sum = ((m_iColor >> 16) & 0xff) + ((m_iColor >> 8) & 0xff) + (m_iColor & 0xff);
    m_pBrightCheckBox->setChecked(sum > 383);
    MP_UI_getStyleColorSelectPos(400, 100, m_iColor, m_pBrightCheckBox->isChecked() ? 1 : 0, &m_fPosX, &m_fPosY);
    updateColorSelectLabel(m_fPosX, m_fPosY);
    QDialog::showEvent(event);
}

void HDRStyleSelectWindow::done(int result) { QDialog::done(result); }

void HDRStyleSelectWindow::updateColorSelectLabel(float x, float y)
{
    m_Buffer.assign(static_cast<size_t>(kFieldWidth) * kFieldHeight, 0u);
    m_iNewColor = MP_UI_paintStyleColorSelect(m_Buffer.data(), kFieldWidth, kFieldHeight, kFieldWidth,
                                              m_pBrightCheckBox->isChecked() ? 1 : 0, x, y);
    QImage field(reinterpret_cast<uchar*>(m_Buffer.data()), kFieldWidth, kFieldHeight, kFieldWidth * 4,
                 QImage::Format_ARGB32);
    showImage(m_pColorSelectLabel, &field);

    const uint32_t swatchColour = 0xFF000000u | (static_cast<uint32_t>(m_iNewColor) & 0xFFFFFFu);
    std::fill_n(m_Buffer.begin(), static_cast<size_t>(kSwatchSize) * kSwatchSize, swatchColour);
    QImage swatch(reinterpret_cast<uchar*>(m_Buffer.data()), kSwatchSize, kSwatchSize, kSwatchSize * 4,
                  QImage::Format_ARGB32);
    showImage(m_pColorLabel, &swatch);
}

void HDRStyleSelectWindow::styleColorSelected(float x, float y)
{
    m_fPosX = x;
    m_fPosY = y;
    updateColorSelectLabel(m_fPosX, m_fPosY);
}

void HDRStyleSelectWindow::brightCheckBoxClicked() { updateColorSelectLabel(m_fPosX, m_fPosY); }

void HDRStyleSelectWindow::borderCheckBoxClicked() { m_bNewRound = m_pRoundCheckBox->isChecked(); }

void HDRStyleSelectWindow::discardClicked() { close(); }

void HDRStyleSelectWindow::confirmClicked()
{
    m_iColor = m_iNewColor;
    m_bRound = m_bNewRound;
    close();
}
