#include "ui/editors/hdrcropwindow.h"

#include "engine/views/cropview.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/viewhost.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

constexpr int kControlSide = 30;
constexpr int kButtonWidth = 106;
constexpr int kButtonHeight = 34;
constexpr int kMaxCaptionLength = 1000;

QPushButton* IconButton(QWidget* parent, const char* icon, const QString& tooltip)
{
    auto* button = new QPushButton(parent);
    button->setCheckable(true);
    button->setAutoDefault(false); // Return in the caption edit must not toggle it
    button->setFixedSize(kControlSide, kControlSide);
    button->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    button->setToolTip(_gui::HtmlToolTip(tooltip));
    return button;
}

QPushButton* TextButton(QWidget* parent, const QString& text, const QString& tooltip)
{
    auto* button = new QPushButton(text, parent);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setToolTip(_gui::HtmlToolTip(tooltip));
    return button;
}

} // namespace

// ---- CCropLabel ----

CCropLabel::CCropLabel(CCropWindow* parent) : _gui::CBaseLabel(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMouseTracking(true);
}

void CCropLabel::SetImageFrameRel(const _hlp::SRangedRectRel& frame, float aspect)
{
    _hlp::SRangedRect<int> inner;
    const _hlp::SRange<int> any(INT_MIN / 4, INT_MAX / 4);
    inner.SetRange(any, any);
    inner.Set(kBorder, kBorder, width() - kBorder, height() - kBorder);
    m_ImageFrame = _hlp::CombineRects(inner, frame);
    m_Selection.SetFrame(m_ImageFrame, aspect);
}

void CCropLabel::DrawText(QPainter& painter, const _hlp::SRangedRect<int>& target, const SCropData& data,
                          bool drawBox) const
{
    DrawCropCaption(painter, target, data, drawBox);
}

bool CCropLabel::HasPicture() const
{
    const QPixmap picture = pixmap();
    return _gui::IsPixmapValid(&picture);
}

void CCropLabel::mousePressEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        m_Selection.OnMousePressEvent(event->position().toPoint(), event->button());
        emit SigUpdate();
    }
    _gui::CBaseLabel::mousePressEvent(event);
}

void CCropLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        m_Selection.OnMouseReleaseEvent(event->position().toPoint(), event->button());
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseReleaseEvent(event);
}

void CCropLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (HasPicture() && m_Selection.IsHitting(event->position().toPoint())) {
        m_Selection.Reset();
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseDoubleClickEvent(event);
}

void CCropLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (HasPicture()) {
        m_Selection.OnMouseMoveEvent(event->position().toPoint(), event->buttons());
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseMoveEvent(event);
}

void CCropLabel::leaveEvent(QEvent* event)
{
    if (HasPicture()) {
        m_Selection.OnLeaveEvent();
        emit SigUpdate();
    }
    _gui::CBaseLabel::leaveEvent(event);
}

void CCropLabel::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (!_gui::IsPixmapValid(&picture)) {
        _gui::CBaseLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(QRect(kBorder, kBorder, picture.width() - 2 * kBorder, picture.height() - 2 * kBorder), picture);
    const _hlp::SRangedRect<int> selection = _hlp::CombineRects(m_ImageFrame, m_Selection.GetRel());
    if (const auto* window = qobject_cast<const CCropWindow*>(BaseParent()))
        DrawText(painter, selection, window->GetCropData(), true);
    m_Selection.OnPaint(painter);
}

// ---- CCropWindow ----

QSize CCropWindow::ViewSizeForScreen(const QSize& screen)
{
    return QSize(int(0.6 * screen.width()) + 12, int(0.6 * screen.height()) + 12);
}

int CCropWindow::CaptionEditWidth(int viewWidth) { return std::max(int((viewWidth - 430) * 0.8), 50); }

CCropWindow::CCropWindow(QWidget* parent, QSize screen) : QDialog(parent)
{
    setObjectName(QStringLiteral("crop_window"));
    if (screen.isEmpty()) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        screen = primary ? primary->geometry().size() : QSize(800, 600);
    }
    const QSize view = ViewSizeForScreen(screen);
    m_iViewWidth = view.width();
    m_iViewHeight = view.height();

    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::WindowModal);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    setWindowOpacity(1.0);
    setWindowTitle(tr("Crop Window Title"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSymbol")));

    auto* layout = new QVBoxLayout(this);
    _gui::AdjustLayout(layout);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_pCropLabel = new CCropLabel(this);
    m_pCropLabel->setFixedSize(m_iViewWidth, m_iViewHeight);
    connect(m_pCropLabel, &CCropLabel::SigUpdate, this, &CCropWindow::OnUpdate);
    layout->addWidget(m_pCropLabel);

    // Caption, size and position side by side.
    auto* controls = new QHBoxLayout;
    controls->addSpacing(_gui::AdjustWidth(6));
    auto* captionLabel = new QLabel(tr("Texteingabe"), this);
    captionLabel->setFixedWidth(_gui::AdjustWidth(90));
    controls->addWidget(captionLabel, 0, Qt::AlignLeft);
    m_pSubTitleEdit = new QLineEdit(this);
    m_pSubTitleEdit->setFixedWidth(CaptionEditWidth(m_iViewWidth));
    m_pSubTitleEdit->setFixedHeight(kControlSide);
    m_pSubTitleEdit->setMaxLength(kMaxCaptionLength);
    m_pSubTitleEdit->setToolTip(_gui::HtmlToolTip(tr("tooltip Crop Window SubTitle")));
    controls->addWidget(m_pSubTitleEdit, 0, Qt::AlignLeft);
    connect(m_pSubTitleEdit, &QLineEdit::textChanged, this, &CCropWindow::OnSubTitleChanged);
    m_pBackgroundButton = IconButton(this, "CropTextBackground", tr("tooltip Crop Window Background"));
    controls->addWidget(m_pBackgroundButton, 1, Qt::AlignRight);
    connect(m_pBackgroundButton, &QPushButton::toggled, this, &CCropWindow::OnBackgroundChanged);

    controls->addSpacing(_gui::AdjustWidth(50));
    m_pSizeGroup = new QButtonGroup(this);
    m_pSizeGroup->setExclusive(true);
    connect(m_pSizeGroup, &QButtonGroup::idPressed, this, &CCropWindow::OnSizeChanged);
    m_pSizeSmallButton = IconButton(this, "CropTextSmall", tr("tooltip Crop Window Font Small"));
    m_pSizeMediumButton = IconButton(this, "CropTextMedium", tr("tooltip Crop Window Font Normal"));
    m_pSizeLargeButton = IconButton(this, "CropTextLarge", tr("tooltip Crop Window Font Large"));
    int id = 0;
    for (QPushButton* button : {m_pSizeSmallButton, m_pSizeMediumButton, m_pSizeLargeButton}) {
        m_pSizeGroup->addButton(button, id++);
        controls->addWidget(button, 0, Qt::AlignCenter);
    }

    controls->addSpacing(_gui::AdjustWidth(50));
    m_pPositionGroup = new QButtonGroup(this);
    m_pPositionGroup->setExclusive(true);
    connect(m_pPositionGroup, &QButtonGroup::idPressed, this, &CCropWindow::OnPositionChanged);
    m_pPositionBottomButton = IconButton(this, "CropTextBottom", tr("tooltip Crop Window Position Bottom"));
    m_pPositionTopButton = IconButton(this, "CropTextTop", tr("tooltip Crop Window Position Top"));
    m_pPositionGroup->addButton(m_pPositionBottomButton, 0);
    m_pPositionGroup->addButton(m_pPositionTopButton, 1);
    controls->addWidget(m_pPositionBottomButton, 0, Qt::AlignCenter);
    controls->addWidget(m_pPositionTopButton, 0, Qt::AlignCenter);
    controls->addSpacing(_gui::AdjustWidth(6));
    layout->addLayout(controls);

    auto* buttons = new QHBoxLayout;
    buttons->addSpacing(_gui::AdjustWidth(6));
    m_pResetButton = TextButton(this, tr("Reset"), tr("tooltip Crop Window Reset"));
    m_pSaveButton = TextButton(this, tr("Speichern"), tr("tooltip Crop Window Speichern"));
    m_pCancelButton = TextButton(this, tr("Abbrechen"), tr("tooltip Crop Window Abbrechen"));
    buttons->addWidget(m_pResetButton, 1, Qt::AlignLeft);
    buttons->addWidget(m_pSaveButton, 1, Qt::AlignRight);
    buttons->addWidget(m_pCancelButton, 0, Qt::AlignRight);
    buttons->addSpacing(_gui::AdjustWidth(6));
    layout->addLayout(buttons);
    connect(m_pResetButton, &QPushButton::clicked, this, &CCropWindow::OnResetClicked);
    connect(m_pSaveButton, &QPushButton::clicked, this, &CCropWindow::OnSaveClicked);
    connect(m_pCancelButton, &QPushButton::clicked, this, &CCropWindow::OnCancelClicked);

    // Return saves, from the caption edit too.
    m_pSaveButton->setDefault(true);
    m_pSaveButton->setFocus();
    Reset();
}

SCropResult CCropWindow::Show()
{
    SCropResult result;
    if (_gui::ExecModal(this, [this] { return exec(); }) != QDialog::Accepted)
        return result;
    if (m_pCropLabel->HasSelection()) {
        result.cropData.bHasSelection = true;
        result.cropData.rcCrop = m_pCropLabel->GetSelectionRel();
    }
    result.cropData.strText = m_CropData.strText;
    result.cropData.bTextBackground = m_CropData.bTextBackground;
    result.cropData.strFont = m_CropData.strFont;
    result.cropData.iTextSize = m_CropData.iTextSize;
    result.cropData.bTextBottom = m_CropData.bTextBottom;
    result.cropData.fAspect = m_CropData.fAspect;
    result.bCancelled = false;
    return result;
}

void CCropWindow::Reset()
{
    m_CropData.Reset();
    m_pCropLabel->Reset();
    // The controls follow the data without re-rendering.
    const QSignalBlocker editBlocker(m_pSubTitleEdit);
    const QSignalBlocker backgroundBlocker(m_pBackgroundButton);
    m_pSubTitleEdit->clear();
    m_pBackgroundButton->setChecked(m_CropData.bTextBackground);
    (m_CropData.bTextBottom ? m_pPositionBottomButton : m_pPositionTopButton)->setChecked(true);
    if (QAbstractButton* size = m_pSizeGroup->button(m_CropData.iTextSize))
        size->setChecked(true);
}

void CCropWindow::DrawText(QPainter& painter, const SCropData& data) const { DrawCropCaptionOnDevice(painter, data); }

const unsigned short* CCropWindow::CurrentImage(int* width, int* height) const
{
    *width = *height = 0;
    if (m_ImageSource)
        return m_ImageSource(width, height);
    IViewHost* host = ViewSeams::Host();
    return host ? host->GetActualResultBuffer(width, height) : nullptr;
}

void CCropWindow::Update()
{
    m_RenderGate.Run([this] { Render(); });
}

void CCropWindow::Render()
{
    int width = 0;
    int height = 0;
    const unsigned short* image = CurrentImage(&width, &height);
    unsigned int* view = m_ViewBuffer.Create(unsigned(m_iViewWidth) * unsigned(m_iViewHeight));
    if (!view)
        return;
    float left = 0, top = 0, right = 0, bottom = 0;
    if (!MP_UI_previewCropView(m_iViewWidth, m_iViewHeight, view, width, height, image, 0.0f, 0.0f, 1.0f, 1.0f, &left,
                               &top, &right, &bottom))
        return; // no picture: the view keeps its last one
    _hlp::SRangedRectRel frame;
    frame.Set(left, top, right, bottom);
    m_pCropLabel->SetImageFrameRel(frame, m_CropData.fAspect);
    m_pCropLabel->Update();
    const _hlp::SRangedRectRel crop = m_pCropLabel->GetSelectionRel();
    if (!MP_UI_previewCropView(m_iViewWidth, m_iViewHeight, view, width, height, image, crop.Left(), crop.Top(),
                               crop.Right(), crop.Bottom(), nullptr, nullptr, nullptr, nullptr))
        return;
    m_pCropLabel->setPixmap(ViewPixmap(view, m_iViewWidth, m_iViewHeight));
    repaint();
}

void CCropWindow::showEvent(QShowEvent* event)
{
    Update();
    QDialog::showEvent(event);
}

void CCropWindow::OnUpdate() { Update(); }

void CCropWindow::OnBackgroundChanged(bool on)
{
    m_CropData.bTextBackground = on;
    Update();
}

void CCropWindow::OnSubTitleChanged(const QString& text)
{
    m_CropData.strText = text;
    Update();
}

void CCropWindow::OnSizeChanged(int id)
{
    if (id >= 0 && id <= 2)
        m_CropData.iTextSize = id;
    Update();
}

void CCropWindow::OnPositionChanged(int id)
{
    if (id == 0)
        m_CropData.bTextBottom = true;
    else if (id == 1)
        m_CropData.bTextBottom = false;
    Update();
}

void CCropWindow::OnResetClicked()
{
    Reset();
    Update();
}

void CCropWindow::OnSaveClicked() { accept(); }

void CCropWindow::OnCancelClicked() { reject(); }
