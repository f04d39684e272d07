// The mask geometry painter dialog and its view label.

#include "ui/editors/HDRGeometryPainter.h"

#include "engine/core/settings.h"
#include "engine/views/compareview.h"
#include "engine/views/cropview.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/options/ShortcutHelper.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/modalhook.h"
#include "ui/views/viewhost.h"

#include <QButtonGroup>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

using _hlp::MathClamp;
using _hlp::SRange;

namespace {

const char* const kGroove = "stop:0 #3f3f3f, stop:1 #dfdfdf";

QString Tip(const char* key) { return _gui::HtmlToolTip(CGeometryPainter::tr(key)); }

} // namespace

// ---- CGeometryLabel -----------------------------------------------------------------------

CGeometryLabel::CGeometryLabel(CGeometryPainter* painter) : _gui::CBaseLabel(painter), m_RenderGate(this)
{
    for (unsigned int i = 0; i < kSlots; ++i) {
        m_pGeometries[i] = new CGeometry(this, i);
        connect(m_pGeometries[i], &CGeometry::SigUpdateGeometry, painter, &CGeometryPainter::OnUpdateGeometry);
        connect(m_pGeometries[i], &CGeometry::SigSelectionChanged, painter, &CGeometryPainter::OnSelectionChanged);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMouseTracking(true);
    Reset();
}

CGeometryLabel::~CGeometryLabel()
{
    // The picture shares the pixel buffer: it goes first.
    clear();
    for (CGeometry*& g : m_pGeometries) {
        delete g;
        g = nullptr;
    }
}

CGeometryPainter* CGeometryLabel::Painter() const
{
    return static_cast<CGeometryPainter*>(const_cast<QWidget*>(BaseParent()));
}

bool CGeometryLabel::ShowGeometries() const { return Painter()->ShowGeometries(); }

int CGeometryLabel::DisplayGeometriesMode() const { return Painter()->DisplayGeometriesMode(); }

float CGeometryLabel::DisplayGeometriesIntensity() const { return Painter()->DisplayGeometriesIntensity(); }

void CGeometryLabel::Reset()
{
    m_fFlashPhase = 0.0f;
    m_Frame.Clr();
    m_ImageFrame.Clr();
    for (CGeometry* g : m_pGeometries)
        g->Reset();
    _hlp::ArrFill(m_pfOverlay, 0.0f);
}

bool CGeometryLabel::HasPicture() const { return !pixmap().isNull(); }

bool CGeometryLabel::IsGeometryInUse() const
{
    for (CGeometry* g : m_pGeometries)
        if (g->IsInUse())
            return true;
    return false;
}

unsigned int CGeometryLabel::GetUnusedGeometry() const
{
    for (unsigned int i = 0; i < kSlots; ++i)
        if (!m_pGeometries[i]->IsInUse())
            return i;
    return kNone;
}

unsigned int CGeometryLabel::GetHighestUsedGeometry() const
{
    for (unsigned int i = kSlots; i-- > 0;)
        if (m_pGeometries[i]->IsInUse())
            return i;
    return kNone;
}

unsigned int CGeometryLabel::GetSelectedGeometry() const
{
    for (unsigned int i = 0; i < kSlots; ++i)
        if (m_pGeometries[i]->IsSelected())
            return i;
    return kNone;
}

void CGeometryLabel::SetGeometries(HDRPositionPicker const* picker)
{
    for (CGeometry* g : m_pGeometries)
        g->SetData(picker);
}

void CGeometryLabel::GetGeometries(HDRPositionPicker* picker) const
{
    for (CGeometry* g : m_pGeometries)
        g->GetData(picker);
}

void CGeometryLabel::DeselectGeometries()
{
    for (CGeometry* g : m_pGeometries)
        g->Deselect();
}

void CGeometryLabel::AddGeometry(bool add)
{
    const unsigned int i = GetUnusedGeometry();
    if (i >= kSlots)
        return;
    DeselectGeometries();
    m_pGeometries[i]->SetDefaults(add);
    m_pGeometries[i]->Select(true);
}

void CGeometryLabel::SelectGeometry(unsigned int i)
{
    if (i >= kSlots || !m_pGeometries[i]->IsInUse())
        return;
    DeselectGeometries();
    m_pGeometries[i]->Select(true);
}

void CGeometryLabel::SelectOther(bool next)
{
    if (!IsGeometryInUse())
        return;
    const unsigned int highest = GetHighestUsedGeometry();
    const unsigned int selected = GetSelectedGeometry(); // none counts as -1
    unsigned int target = next ? selected + 1 : selected - 1;
    if (target > highest)
        target = next ? 0 : highest;
    if (m_pGeometries[target]->IsInUse())
        SelectGeometry(target);
}

void CGeometryLabel::DeleteSelectedGeometry()
{
    const unsigned int s = GetSelectedGeometry();
    if (s >= kSlots)
        return;
    DeselectGeometries();
    for (unsigned int k = s + 1; k < kSlots; ++k)
        m_pGeometries[k - 1]->CopyData(*m_pGeometries[k]);
    m_pGeometries[kSlots - 1]->Reset();
    SelectGeometry(GetHighestUsedGeometry());
}

void CGeometryLabel::DuplicateSelectedGeometry()
{
    const unsigned int s = GetSelectedGeometry();
    const unsigned int f = GetUnusedGeometry();
    if (s >= kSlots || f >= kSlots)
        return;
    DeselectGeometries();
    m_pGeometries[f]->CopyData(*m_pGeometries[s]);
    m_pGeometries[f]->SetDefaultPosition();
    SelectGeometry(f);
}

void CGeometryLabel::InvertSelectedGeometry()
{
    const unsigned int s = GetSelectedGeometry();
    if (s >= kSlots)
        return;
    SGeometryData d = m_pGeometries[s]->GetData();
    d.iType = d.iType == SGeometryData::eAdd ? SGeometryData::eSubtract : SGeometryData::eAdd;
    m_pGeometries[s]->SetData(d);
}

void CGeometryLabel::MoveSelectedGeometry(QPoint const& delta)
{
    const unsigned int s = GetSelectedGeometry();
    if (s < kSlots)
        m_pGeometries[s]->Move(delta);
}

SGeometryData CGeometryLabel::GetSelectedData() const
{
    const unsigned int s = GetSelectedGeometry();
    return s < kSlots ? m_pGeometries[s]->GetData() : SGeometryData();
}

void CGeometryLabel::SetSelectedData(SGeometryData const& data)
{
    const unsigned int s = GetSelectedGeometry();
    if (s < kSlots)
        m_pGeometries[s]->SetData(data);
}

void CGeometryLabel::OnTimer(float ms)
{
    if (!HasPicture())
        return;
    m_fFlashPhase += ms;
    m_fFlashPhase = std::max(m_fFlashPhase - std::floor(m_fFlashPhase / 2000.0f) * 2000.0f, 0.0f);
}

void CGeometryLabel::Update()
{
    int width = 0, height = 0;
    const unsigned short* image = Painter()->GetResultImage(&width, &height);
    if (!image || width <= 0 || height <= 0)
        return;
    const QRect contents = contentsRect();
    const int w = contents.width(), h = contents.height();
    if (w <= 24 || h <= 24)
        return;
    const int viewWidth = w - 24, viewHeight = h - 24;

    // Where the fitted image lies, and the frame 12 px around it.
    m_Frame.SetRange(SRange<int>(0, w - 1), SRange<int>(0, h - 1));
    _hlp::SRangedRectRel rel;
    float l = 0.0f, t = 0.0f, r = 0.0f, b = 0.0f;
    MP_UI_previewCompareViewCalcValues(viewWidth, viewHeight, width, height, &l, &t, &r, &b);
    rel.Set(l, t, r, b);
    _hlp::SRangedRect<int> area;
    area.SetRange(SRange<int>(12, w - 13), SRange<int>(12, h - 13));
    area.Set(12, 12, w - 13, h - 13);
    m_ImageFrame = _hlp::CombineRects(area, rel);
    m_ImageFrame.InheritRange();
    m_Frame.Set(m_ImageFrame.Left() - 12, m_ImageFrame.Top() - 12, m_ImageFrame.Right() + 12,
                m_ImageFrame.Bottom() + 12);
    m_Frame.InheritRange();

    for (CGeometry* g : m_pGeometries)
        if (g->IsInUse())
            g->Update();

    const bool overlay = ShowGeometries() && DisplayGeometriesMode() != 0;
    if (overlay) {
        _hlp::ArrFill(m_pfOverlay, 0.0f);
        for (CGeometry* g : m_pGeometries)
            g->GetData(m_pfOverlay);
    }
    // The engine renders when it is free; while an operation runs the last
    // picture stays and the newest request follows.
    m_RenderGate.Run([this, viewWidth, viewHeight, overlay] { Render(viewWidth, viewHeight, overlay); });
}

void CGeometryLabel::Render(int viewWidth, int viewHeight, bool overlay)
{
    // Taken again: a deferred render shows the result of its own time.
    int width = 0, height = 0;
    const unsigned short* image = Painter()->GetResultImage(&width, &height);
    if (!image || width <= 0 || height <= 0)
        return;
    const size_t count = static_cast<size_t>(viewWidth) * static_cast<size_t>(viewHeight);
    if (count > m_Pixels.Count()) {
        // The picture shares the pixel buffer: it goes before the buffer grows.
        clear();
    }
    unsigned int* pixels = m_Pixels.Create(static_cast<unsigned int>(count));
    if (!pixels)
        return;
    const int ok = MP_UI_previewGeometryViewGeometries(viewWidth, viewHeight, pixels, width, height, image,
                                                       DisplayGeometriesIntensity(), overlay ? m_pfOverlay : nullptr,
                                                       overlay ? 256 : 0);
    if (!ok)
        return;
    QImage picture(reinterpret_cast<const uchar*>(pixels), viewWidth, viewHeight, static_cast<qsizetype>(viewWidth) * 4,
                   QImage::Format_RGB32);
    HDRPixmapCreator creator(&picture);
    setPixmap(creator.m_Pixmap);
    update();
}

void CGeometryLabel::paintEvent(QPaintEvent*)
{
    if (!HasPicture())
        return;
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QPixmap picture = pixmap();
    p.drawPixmap(12, 12, picture);
    for (CGeometry* g : m_pGeometries)
        g->OnPaint(p);
}

void CGeometryLabel::mousePressEvent(QMouseEvent* e)
{
    if (HasPicture()) {
        for (CGeometry* g : m_pGeometries)
            g->OnMousePressEvent(e);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mousePressEvent(e);
}

void CGeometryLabel::mouseMoveEvent(QMouseEvent* e)
{
    if (HasPicture()) {
        for (CGeometry* g : m_pGeometries)
            g->OnMouseMoveEvent(e);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseMoveEvent(e);
}

void CGeometryLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (HasPicture()) {
        for (CGeometry* g : m_pGeometries)
            g->OnMouseReleaseEvent(e);
        emit SigUpdate();
    }
    _gui::CBaseLabel::mouseReleaseEvent(e);
}

// ---- CGeometryPainter ------------------------------------------------------------------------

CGeometryPainter::CGeometryPainter(QWidget* parent)
    : QDialog(parent), m_dLastTick(0.0), m_bShortcutsCreated(false), m_bShowGeometries(false),
      m_fOverlayIntensity(0.5f), m_iDisplayMode(0), m_pPicker(nullptr)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    m_iViewWidth = static_cast<int>(desktop.width() * 0.7);
    m_iViewHeight = static_cast<int>(desktop.height() * 0.7);

    setWindowIcon(QIcon::fromTheme(QStringLiteral("ProgrammSmybol")));
    setWindowTitle(tr("Geometry Painter"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::WindowModal);
    setWindowOpacity(1.0);
    setObjectName(QStringLiteral("geometry_painter_window"));
    auto* layout = new QVBoxLayout(this);
    _gui::AdjustLayout(layout);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    CreateTimer();
    CreateTitle(layout);
    CreateUpperControls(layout);
    CreateImage(layout);
    CreateLowerControls(layout);
    ResetsDialogControls();
}

CGeometryPainter::~CGeometryPainter() = default;

const unsigned short* CGeometryPainter::GetResultImage(int* width, int* height) const
{
    *width = *height = 0;
    if (m_ResultSource)
        return m_ResultSource(width, height);
    if (IViewHost* host = ViewSeams::Host())
        return host->GetActualResultBuffer(width, height);
    return nullptr;
}

void CGeometryPainter::CreateTimer()
{
    m_pTimer = new QTimer(this);
    m_pTimer->setSingleShot(false);
    connect(m_pTimer, &QTimer::timeout, this, &CGeometryPainter::OnTimer);
}

void CGeometryPainter::StartTimer() { m_pTimer->start(100); }

void CGeometryPainter::StopTimer() { m_pTimer->stop(); }

void CGeometryPainter::CreateTitle(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout();
    m_pTitle = new QLabel(this);
    QFont font = m_pTitle->font();
    const int size = font.pointSize() > 0 ? font.pointSize() * 2 : 20;
    font.setPointSize(size);
    font.setUnderline(true);
    m_pTitle->setFont(font);
    row->addWidget(m_pTitle, 0, Qt::AlignHCenter);
    layout->addLayout(row);
    layout->addSpacing(size);
}

void CGeometryPainter::CreateUpperControls(QVBoxLayout* layout)
{
    struct SSlider {
        const char* name;
        const char* low;
        const char* high;
        const char* tip;
    };
    const SSlider sliders[3] = {
        {QT_TR_NOOP("Rundung"), QT_TR_NOOP("Raute"), QT_TR_NOOP("Rechteck"),
         QT_TR_NOOP("tooltip Geometry Window Exponent")},
        {QT_TR_NOOP("Schärfe"), QT_TR_NOOP("Weich"), QT_TR_NOOP("Scharf"),
         QT_TR_NOOP("tooltip Geometry Window Sharpness")},
        {QT_TR_NOOP("Stärke"), QT_TR_NOOP("Gering"), QT_TR_NOOP("Hoch"),
         QT_TR_NOOP("tooltip Geometry Window Intensity")},
    };
    const int gap = std::max(_hlp::MathRound(float(m_iViewWidth) * 0.026f), 20);
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            row->addSpacing(gap);
        HDRSlider* slider = new HDRSlider(this, tr(sliders[i].name), tr(sliders[i].low), tr(sliders[i].high), true);
        slider->SetStyleSheet(QLatin1String(kGroove));
        slider->setFixedWidth(200);
        slider->SetValueWidth(28);
        slider->SetCenterValueF(0.5f);
        slider->m_bContinuousUpdate = true;
        slider->setToolTip(Tip(sliders[i].tip));
        connect(slider, &HDRSlider::controlUpdated, this, &CGeometryPainter::OnSliderControlUpdated);
        connect(slider, &HDRSlider::controlFinished, this, &CGeometryPainter::OnSliderControlFinished);
        row->addWidget(slider, 0, Qt::AlignHCenter);
        m_pSliders[i] = slider;
    }
    row->addStretch(1);
    layout->addLayout(row);
}

void CGeometryPainter::CreateImage(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout();
    m_pLabel = new CGeometryLabel(this);
    m_pLabel->setFixedSize(m_iViewWidth, m_iViewHeight);
    row->addWidget(m_pLabel);
    layout->addLayout(row);
    connect(m_pLabel, &CGeometryLabel::SigUpdate, this, &CGeometryPainter::OnUpdate);
}

void CGeometryPainter::CreateLowerControls(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout();
    row->addSpacing(_gui::AdjustWidth(12));
    m_pResetButton = new QPushButton(tr("Reset"), this);
    m_pResetButton->setFixedSize(106, 34);
    m_pResetButton->setToolTip(Tip(QT_TR_NOOP("tooltip Geometry Window Reset")));
    row->addWidget(m_pResetButton, 1, Qt::AlignLeft);
    connect(m_pResetButton, &QPushButton::clicked, this, &CGeometryPainter::OnReset);

    auto* inner = new QHBoxLayout();
    auto iconButton = [this, inner](QPushButton* button, const char* icon, const char* tip) {
        button->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(34, 34);
        button->setToolTip(Tip(tip));
        inner->addWidget(button);
        return button;
    };
    m_pAddPosButton =
        iconButton(new QPushButton(this), "GeometryAddPositive", QT_TR_NOOP("tooltip Geometry Window Add Positive"));
    m_pAddNegButton =
        iconButton(new QPushButton(this), "GeometryAddNegative", QT_TR_NOOP("tooltip Geometry Window Add Negative"));
    inner->addSpacing(_gui::AdjustWidth(10));
    m_pInvertButton =
        iconButton(new QPushButton(this), "GeometryInvert", QT_TR_NOOP("tooltip Geometry Window Invert Selected"));
    m_pDuplicateButton = iconButton(new QPushButton(this), "GeometryDuplicate",
                                    QT_TR_NOOP("tooltip Geometry Window Duplicate Selected"));
    m_pDeleteButton = iconButton(new QPushButton(this), "GeometrySingleDelete",
                                 QT_TR_NOOP("tooltip Geometry Window Delete Selected"));
    inner->addSpacing(_gui::AdjustWidth(50));
    connect(m_pAddPosButton, &QPushButton::clicked, this, &CGeometryPainter::OnAddPos);
    connect(m_pAddNegButton, &QPushButton::clicked, this, &CGeometryPainter::OnAddNeg);
    connect(m_pInvertButton, &QPushButton::clicked, this, &CGeometryPainter::OnInvertSelected);
    connect(m_pDuplicateButton, &QPushButton::clicked, this, &CGeometryPainter::OnDuplicateSelected);
    connect(m_pDeleteButton, &QPushButton::clicked, this, &CGeometryPainter::OnDeleteSelected);

    m_pDisplayGroup = new QButtonGroup(this);
    m_pDisplayGroup->setExclusive(true);
    const char* icons[3] = {"GeometryShowNone", "GeometryShowSingle", "GeometryShowAll"};
    const char* tips[3] = {QT_TR_NOOP("tooltip Geometry Window Display Geometries None"),
                           QT_TR_NOOP("tooltip Geometry Window Display Geometries Single"),
                           QT_TR_NOOP("tooltip Geometry Window Display Geometries All")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new _gui::CContextMenuPushButton(this);
        iconButton(button, icons[i], tips[i]);
        button->setCheckable(true);
        button->SetContextMenuId(i == 0 ? -1 : 0);
        button->SetCheckedOnly(true);
        connect(button, &_gui::CContextMenuPushButton::SigContextMenu, this, &CGeometryPainter::OnContextmenu);
        m_pDisplayGroup->addButton(button, i);
        m_pDisplayButtons[i] = button;
    }
    connect(m_pDisplayGroup, &QButtonGroup::idPressed, this, &CGeometryPainter::OnDisplayGeometriesChanged);
    row->addLayout(inner);

    m_pFinishButton = new QPushButton(tr("Beenden"), this);
    m_pFinishButton->setFixedSize(106, 34);
    m_pFinishButton->setToolTip(Tip(QT_TR_NOOP("tooltip Geometry Window Beenden")));
    row->addWidget(m_pFinishButton, 1, Qt::AlignRight);
    row->addSpacing(_gui::AdjustWidth(12));
    connect(m_pFinishButton, &QPushButton::clicked, this, &CGeometryPainter::OnFinish);
    layout->addLayout(row);
}

void CGeometryPainter::ResetsDialogControls()
{
    for (HDRSlider* s : m_pSliders)
        s->SetValueF(0.5f);
    m_iDisplayMode = 0;
    m_pDisplayButtons[0]->setChecked(true);
}

void CGeometryPainter::Show(HDRPositionPicker* picker, const QString& title)
{
    if (!picker)
        return;
    m_pPicker = picker;
    m_pTitle->setText(title);
    m_pLabel->SetGeometries(picker);
    exec();
}

bool CGeometryPainter::Refresh()
{
    if (!isVisible())
        return false;
    Update();
    return true;
}

void CGeometryPainter::CreateShortcuts(CShortcutHelper* helper)
{
    if (!helper || m_bShortcutsCreated)
        return;
    helper->SetCategory(QStringLiteral("GeometryPainter"));
    struct SEntry {
        const char* name;
        int modifier;
        std::function<void()> action;
        bool repeat;
    };
    const char* moves[4] = {"moveLeft", "moveRight", "moveUp", "moveDown"};
    std::vector<SEntry> entries = {
        {"deleteSelected", 0, [this] { m_pDeleteButton->click(); }, true},
        {"selectPrevious", 0, [this] { OnSelectOther(0); }, true},
        {"selectNext", 0, [this] { OnSelectOther(1); }, true},
        {"displayNone", 0, [this] { m_pDisplayButtons[0]->click(); }, true},
        {"displaySelected", 0, [this] { m_pDisplayButtons[1]->click(); }, true},
        {"displayAll", 0, [this] { m_pDisplayButtons[2]->click(); }, true},
    };
    const int modifiers[3] = {0, Qt::ShiftModifier, Qt::ControlModifier};
    for (int m = 0; m < 3; ++m)
        for (int d = 0; d < 4; ++d) {
            const int id = 4 * m + d;
            entries.push_back({moves[d], modifiers[m], [this, id] { OnMoveGeometry(id); }, false});
        }
    for (size_t i = 0; i < entries.size() && i < 18; ++i) {
        // A name the file does not define gives no shortcut; it is skipped.
        QShortcut* shortcut = helper->CreateShortcut(this, QLatin1String(entries[i].name), entries[i].modifier);
        m_pShortcuts[i] = shortcut;
        if (!shortcut)
            continue;
        shortcut->blockSignals(true);
        shortcut->setAutoRepeat(entries[i].repeat);
        connect(shortcut, &QShortcut::activated, this, entries[i].action);
    }
    m_bShortcutsCreated = true;
}

void CGeometryPainter::EnableShortcuts(bool on)
{
    if (!m_bShortcutsCreated)
        return;
    for (QShortcut* s : m_pShortcuts)
        if (s)
            s->blockSignals(!on);
}

void CGeometryPainter::Update()
{
    m_pLabel->Update();
    const bool selected = m_pLabel->IsGeometrySelected();
    const bool unused = m_pLabel->IsGeometryUnused();
    for (HDRSlider* s : m_pSliders)
        s->SetEnabled(selected);
    m_pResetButton->setEnabled(m_pLabel->IsGeometryInUse());
    m_pAddPosButton->setEnabled(unused);
    m_pAddNegButton->setEnabled(unused);
    m_pInvertButton->setEnabled(selected);
    m_pDeleteButton->setEnabled(selected);
    m_pDuplicateButton->setEnabled(selected && unused);
    update();
}

void CGeometryPainter::SyncSliderControls(bool toSliders)
{
    if (!m_pLabel->IsGeometrySelected())
        return;
    if (toSliders) {
        const SGeometryData& d = m_pLabel->GetSelectedData();
        m_pSliders[0]->SetValueF(d.fExponent);
        m_pSliders[1]->SetValueF(d.fSharpness);
        m_pSliders[2]->SetValueF(d.fIntensity);
        return;
    }
    SGeometryData d = m_pLabel->GetSelectedData();
    d.fExponent = MathClamp(m_pSliders[0]->GetValueF(), 0.0f, 1.0f);
    d.fSharpness = MathClamp(m_pSliders[1]->GetValueF(), 0.0f, 1.0f);
    d.fIntensity = MathClamp(m_pSliders[2]->GetValueF(), 0.0f, 1.0f);
    m_pLabel->SetSelectedData(d);
}

void CGeometryPainter::AddGeometry(bool add)
{
    if (!m_pPicker)
        return;
    m_pLabel->AddGeometry(add);
    OnUpdateGeometry();
}

void CGeometryPainter::GeometryContextMenu(QPoint const& pos)
{
    QMenu menu(this);
    const struct {
        const char* text;
        float value;
    } entries[3] = {{QT_TR_NOOP("Darstellung stark"), 0.7f},
                    {QT_TR_NOOP("Darstellung normal"), 0.5f},
                    {QT_TR_NOOP("Darstellung schwach"), 0.3f}};
    for (const auto& e : entries) {
        QAction* action = menu.addAction(tr(e.text));
        action->setCheckable(true);
        action->setChecked(std::fabs(m_fOverlayIntensity - e.value) < 0.1f);
        const float value = e.value;
        connect(action, &QAction::triggered, this, [this, value] {
            m_fOverlayIntensity = value;
            Update();
        });
    }
    // Bottom edge at the pointer.
    const QPoint at(pos.x(), pos.y() - menu.sizeHint().height());
    if (!_gui::AnswerPrompt(&menu))
        menu.exec(at);
}

// ---- slots --------------------------------------------------------------------------------------

void CGeometryPainter::OnUpdate() { Update(); }

void CGeometryPainter::OnSliderControlUpdated()
{
    SyncSliderControls(false);
    Update();
}

void CGeometryPainter::OnSliderControlFinished()
{
    SyncSliderControls(false);
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnReset()
{
    if (!m_pPicker)
        return;
    HDRMessageBox box(this, QMessageBox::Question, tr("Alle Geometrien löschen"),
                      tr("Sollen alle Geometrien wirklich gelöscht werden?"), tr("Ja"), tr("Nein"));
    box.exec();
    if (!box.YesClicked())
        return;
    m_pPicker->ResetToDefaultValues();
    m_pLabel->SetGeometries(m_pPicker);
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnAddPos()
{
    AddGeometry(true);
    Update();
}

void CGeometryPainter::OnAddNeg()
{
    AddGeometry(false);
    Update();
}

void CGeometryPainter::OnSelectOther(int next)
{
    m_pLabel->SelectOther(next != 0);
    Update();
}

void CGeometryPainter::OnMoveGeometry(int id)
{
    if (!m_pPicker || id < 0 || id > 11)
        return;
    const int step = id < 4 ? 1 : id < 8 ? 5 : 10;
    static const QPoint kDirections[4] = {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)};
    m_pLabel->MoveSelectedGeometry(kDirections[id % 4] * step);
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnInvertSelected()
{
    if (!m_pPicker)
        return;
    m_pLabel->InvertSelectedGeometry();
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnDuplicateSelected()
{
    if (!m_pPicker)
        return;
    m_pLabel->DuplicateSelectedGeometry();
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnDeleteSelected()
{
    if (!m_pPicker)
        return;
    m_pLabel->DeleteSelectedGeometry();
    OnUpdateGeometry();
    Update();
}

void CGeometryPainter::OnFinish() { accept(); }

void CGeometryPainter::OnDisplayGeometriesChanged(int id)
{
    m_iDisplayMode = id == 1 ? 1 : id == 2 ? 2 : 0;
    Update();
}

void CGeometryPainter::OnContextmenu(int id, QPoint const& pos)
{
    if (id == 0)
        GeometryContextMenu(pos);
}

void CGeometryPainter::OnTimer()
{
    if (!m_pPicker || !isVisible())
        return;
    const double elapsed = MP_UI_CalcTimeDifference(m_dLastTick);
    m_dLastTick = MP_UI_GetActualTime();
    m_pLabel->OnTimer(static_cast<float>(elapsed));
    m_pLabel->update();
}

void CGeometryPainter::OnUpdateGeometry()
{
    if (!m_pPicker)
        return;
    m_pPicker->ResetToDefaultValues();
    m_pLabel->GetGeometries(m_pPicker);
    m_pPicker->ForceValueUpdate();
}

void CGeometryPainter::OnSelectionChanged() { SyncSliderControls(true); }

// ---- events ---------------------------------------------------------------------------------------

void CGeometryPainter::enterEvent(QEnterEvent*)
{
    m_bShowGeometries = true;
    EnableShortcuts(true);
    Update();
}

void CGeometryPainter::leaveEvent(QEvent*)
{
    if (!geometry().contains(QCursor::pos())) {
        m_bShowGeometries = false;
        EnableShortcuts(false);
    }
    Update();
}

void CGeometryPainter::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    m_dLastTick = MP_UI_GetActualTime();
    StartTimer();
    Update();
}

void CGeometryPainter::hideEvent(QHideEvent* e)
{
    StopTimer();
    QDialog::hideEvent(e);
}
