// The clone-correction units: their records, the two circles of a unit, and
// the table of 100 unit slots the view label keeps (add, search, collisions,
// order, delete, select, flat arrays).

#include "ui/editors/HDRStencilPainter.h"

#include "document/kernelrunner.h"
#include "engine/series/stencil.h"

#include <QPointer>

#include <cmath>
#include <memory>

using _hlp::MathClamp;

// ---- SStencilData ----------------------------------------------------------------

SStencilData::SStencilData()
{
    dDstX = dDstY = dSrcX = dSrcY = 0.0;
    Reset();
}

void SStencilData::Reset()
{
    bAutomatic = true;
    fRadius = kDefaultRadius;
    fReserved = 1.0f;
    dDstX = dDstY = dSrcX = dSrcY = 0.5;
}

float SStencilData::RadiusRelToPercent(float radius)
{
    const float r = MathClamp(radius, kMinRadius, kMaxRadius);
    return MathClamp((r - kMinRadius) / (kMaxRadius - kMinRadius), 0.0f, 1.0f);
}

float SStencilData::PercentToRadiusRel(float percent)
{
    const float p = MathClamp(percent, 0.0f, 1.0f);
    return MathClamp(p * (kMaxRadius - kMinRadius) + kMinRadius, kMinRadius, kMaxRadius);
}

void SStencilRawData::Reset()
{
    uiCount = 0;
    for (unsigned int i = 0; i < 100; ++i)
        pfDstX[i] = pfDstY[i] = pfSrcX[i] = pfSrcY[i] = pfRadius[i] = 0.0f;
}

// ---- CStencilElement --------------------------------------------------------------

CStencilElement::CStencilElement(CStencil* owner, EType type) : m_pOwner(owner), m_eType(type) { Reset(); }

void CStencilElement::Reset()
{
    m_bMouseOver = false;
    m_bGrabbed = false;
    m_dGrabX = m_dGrabY = 0.0;
}

QPointF CStencilElement::PosRel() const
{
    const SStencilData& d = m_pOwner->GetData();
    if (m_eType == eDestination)
        return QPointF(d.dDstX, d.dDstY);
    if (m_eType == eSource)
        return QPointF(d.dSrcX, d.dSrcY);
    return QPointF(0.0, 0.0);
}

void CStencilElement::SetPosRel(QPointF const& p)
{
    if (m_eType == eDestination)
        m_pOwner->SetDstPosRel(p);
    else if (m_eType == eSource)
        m_pOwner->SetSrcPosRel(p);
}

QPointF CStencilElement::Pos() const { return m_pOwner->Label()->GetImagePos(PosRel()); }

float CStencilElement::Radius() const { return m_pOwner->Radius(); }

void CStencilElement::OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held)
{
    const CStencilLabel* label = m_pOwner->Label();
    if ((pos.IsHittingImage() && m_eType == eDestination) || label->ShowSources() || m_pOwner->IsSelected()) {
        const QPointF d = point - Pos();
        m_bMouseOver = std::sqrt(d.x() * d.x() + d.y() * d.y()) <= static_cast<double>(Radius());
    }
    if (m_bGrabbed && held)
        SetPosRel(QPointF(pos.x - m_dGrabX, pos.y - m_dGrabY));
}

void CStencilElement::OnMousePress(CImagePosRel const& pos, bool action)
{
    if (!m_bMouseOver) {
        m_bGrabbed = false;
        m_dGrabX = m_dGrabY = 0.0;
    } else if (action) {
        m_bGrabbed = true;
        const QPointF c = PosRel();
        m_dGrabX = pos.x - c.x();
        m_dGrabY = pos.y - c.y();
    }
}

// ---- CStencil ---------------------------------------------------------------------

CStencil::CStencil(CStencilLabel* label) : m_pLabel(label), m_bInUse(false)
{
    m_pElements[0] = new CStencilElement(this, CStencilElement::eDestination);
    m_pElements[1] = new CStencilElement(this, CStencilElement::eSource);
    Reset();
}

CStencil::~CStencil()
{
    delete m_pElements[0];
    delete m_pElements[1];
}

void CStencil::Reset()
{
    m_bInUse = false;
    m_Data.Reset();
    m_pElements[0]->Reset();
    m_pElements[1]->Reset();
}

void CStencil::SetData(SStencilData const& data)
{
    m_Data = data;
    m_bInUse = true;
}

void CStencil::CopyData(CStencil const& other)
{
    Reset();
    m_Data = other.m_Data;
    m_bInUse = other.m_bInUse;
}

bool CStencil::Select(bool on)
{
    if (!m_bInUse)
        return false;
    m_pElements[0]->SetGrabbed(on);
    m_pElements[1]->SetGrabbed(false);
    return true;
}

bool CStencil::IsSelected() const { return m_bInUse && (m_pElements[0]->IsGrabbed() || m_pElements[1]->IsGrabbed()); }

bool CStencil::IsMouseOver() const
{
    return m_bInUse && (m_pElements[0]->IsMouseOver() || m_pElements[1]->IsMouseOver());
}

int CStencil::MouseOverElement() const
{
    if (!m_bInUse)
        return 0;
    if (m_pElements[1]->IsMouseOver())
        return 2;
    return m_pElements[0]->IsMouseOver() ? 1 : 0;
}

void CStencil::ClrMouseOver()
{
    m_pElements[0]->SetMouseOver(false);
    m_pElements[1]->SetMouseOver(false);
}

void CStencil::SetDstPosRel(QPointF const& p)
{
    m_Data.dDstX = p.x();
    m_Data.dDstY = p.y();
}

void CStencil::SetSrcPosRel(QPointF const& p)
{
    m_Data.dSrcX = p.x();
    m_Data.dSrcY = p.y();
    m_Data.bAutomatic = false;
}

QPointF CStencil::DstPos() const { return m_pLabel->GetImagePos(QPointF(m_Data.dDstX, m_Data.dDstY)); }

QPointF CStencil::SrcPos() const { return m_pLabel->GetImagePos(QPointF(m_Data.dSrcX, m_Data.dSrcY)); }

float CStencil::Radius() const { return m_pLabel->RadiusRelToRadius(m_Data.fRadius); }

void CStencil::Update()
{
    if (!m_bInUse)
        return;
    // Without an image there is no size to clamp against: the unit is kept
    // as it is rather than pressed into a one-pixel image.
    const QRectF& image = m_pLabel->ImageRect();
    if (image.isEmpty())
        return;
    const double w = std::max(image.width(), 1.0);
    const double h = std::max(image.height(), 1.0);
    m_Data.fRadius = MathClamp(m_Data.fRadius, SStencilData::kMinRadius, SStencilData::kMaxRadius);
    m_Data.dDstX = MathClamp(m_Data.dDstX, 0.0, (w - 1.0) / w);
    m_Data.dDstY = MathClamp(m_Data.dDstY, 0.0, (h - 1.0) / h);
    const double r = m_Data.fRadius;
    if (h > w) {
        m_Data.dSrcX = MathClamp(m_Data.dSrcX, r, 1.0 - r);
        m_Data.dSrcY = MathClamp(m_Data.dSrcY, r * w / h, 1.0 - r * w / h);
    } else {
        m_Data.dSrcX = MathClamp(m_Data.dSrcX, r * h / w, 1.0 - r * h / w);
        m_Data.dSrcY = MathClamp(m_Data.dSrcY, r, 1.0 - r);
    }
}

bool CStencil::DetectCollision(CStencil const& other) const
{
    if (!m_bInUse || !other.m_bInUse)
        return false;
    const QPointF d = SrcPos() - other.DstPos();
    const double distance = std::sqrt(d.x() * d.x() + d.y() * d.y());
    return distance <= static_cast<double>(Radius()) + static_cast<double>(other.Radius());
}

void CStencil::OnMousePress(CImagePosRel const& pos, bool action)
{
    if (!m_bInUse)
        return;
    for (CStencilElement* element : m_pElements)
        if (!m_pLabel->IsSelected())
            element->OnMousePress(pos, action);
}

void CStencil::OnMouseMove(QPointF const& point, CImagePosRel const& pos, bool held)
{
    if (!m_bInUse)
        return;
    m_pElements[0]->OnMouseMove(point, pos, held);
    m_pElements[1]->OnMouseMove(point, pos, held);
}

// ---- the unit table of the view label ---------------------------------------------

unsigned int CStencilLabel::GetNumStencils() const
{
    unsigned int n = 0;
    for (CStencil* s : m_pStencils)
        n += s->IsInUse() ? 1 : 0;
    return n;
}

bool CStencilLabel::IsStencilValid(unsigned int i) const { return i < kSlots && m_pStencils[i]->IsInUse(); }

SStencilData const& CStencilLabel::GetStencilData(unsigned int i) const
{
    if (IsStencilValid(i))
        return m_pStencils[i]->GetData();
    m_SpareData.Reset();
    return m_SpareData;
}

void CStencilLabel::SetStencilData(unsigned int i, SStencilData const& data)
{
    if (i < kSlots)
        m_pStencils[i]->SetData(data);
}

unsigned int CStencilLabel::AddStencil(QPointF const& position)
{
    const unsigned int n = GetNumStencils();
    if (n >= kSlots)
        return n;
    SStencilData data = Painter()->GetNewStencilData();
    data.dDstX = position.x();
    data.dDstY = position.y();
    m_pLastAdded = m_pStencils[n];
    m_pStencils[n]->SetData(data);
    UpdateStencilData(n, true);
    return n;
}

bool CStencilLabel::UpdateStencilData(unsigned int i, bool sort)
{
    if (!IsStencilValid(i))
        return false;
    FindBestMatch(i);
    DetectCollisions(i);
    if (sort)
        SortStencils();
    return true;
}

unsigned int CStencilLabel::SlotOf(CStencil const* unit) const
{
    for (unsigned int i = 0; i < kSlots; ++i)
        if (m_pStencils[i] == unit)
            return i;
    return kNone;
}

void CStencilLabel::FindBestMatch(unsigned int i)
{
    if (!IsStencilValid(i) || !Painter()->GetImageMetric().IsValid() || !m_pStencils[i]->GetData().bAutomatic)
        return;
    // The search needs the engine. While an operation holds it, the search
    // runs once it is over, on the same unit wherever the ordering has put it.
    CStencil* unit = m_pStencils[i];
    QPointer<CStencilLabel> self(this);
    auto deferred = std::make_shared<bool>(false);
    const bool ran = CEngineGuard::RunOrDefer([self, unit, deferred] {
        if (!self)
            return;
        const unsigned int slot = self->SlotOf(unit);
        if (self->IsStencilValid(slot) && unit->GetData().bAutomatic)
            self->FindBestMatchNow(slot);
        if (*deferred)
            emit self->SigUpdate();
    });
    *deferred = !ran;
}

void CStencilLabel::FindBestMatchNow(unsigned int i)
{
    const SStencilRawData& raw = GetStencilRawData();
    if (i >= raw.uiCount)
        return;
    const SImageMetric& image = Painter()->GetImageMetric();
    float x = 0.0f, y = 0.0f;
    const int result = MP_MT_StencilFindBestMatch(static_cast<int>(raw.uiCount), static_cast<int>(i), raw.pfDstX,
                                                  raw.pfDstY, raw.pfRadius, static_cast<int>(image.uiWidth), 1.0f,
                                                  static_cast<int>(image.uiHeight), image.pData, &x, &y);
    SStencilData data = m_pStencils[i]->GetData();
    if (result == 0) {
        data.dSrcX = x;
        data.dSrcY = y;
    } else {
        data.bAutomatic = false;
    }
    SetStencilData(i, data);
    emit SigCreatePixmap();
}

void CStencilLabel::DetectCollisions(unsigned int k)
{
    if (!IsStencilValid(k))
        return;
    for (unsigned int i = 0; i < kSlots; ++i)
        if (i != k && m_pStencils[i]->DetectCollision(*m_pStencils[k]))
            FindBestMatch(i);
}

void CStencilLabel::SortStencils()
{
    for (unsigned int i = 0; i + 1 < kSlots; ++i) {
        if (!m_pStencils[i]->IsInUse())
            continue;
        for (unsigned int j = i + 1; j < kSlots; ++j)
            if (m_pStencils[j]->IsInUse() && m_pStencils[j]->GetData().fRadius > m_pStencils[i]->GetData().fRadius)
                _hlp::Swap(&m_pStencils[i], &m_pStencils[j]);
    }
}

void CStencilLabel::DeleteSelected()
{
    const unsigned int s = SelectedIdx();
    if (s >= kSlots)
        return;
    for (unsigned int k = s + 1; k < kSlots; ++k)
        m_pStencils[k - 1]->CopyData(*m_pStencils[k]);
    m_pStencils[kSlots - 1]->Reset();
    SelectOther(s, false);
    emit SigCreatePixmap();
}

void CStencilLabel::Clear()
{
    for (CStencil* s : m_pStencils)
        s->Reset();
    m_pLastAdded = nullptr;
}

bool CStencilLabel::Select(unsigned int i)
{
    Deselect();
    if (i < kSlots)
        return m_pStencils[i]->Select(true);
    return false;
}

void CStencilLabel::Deselect()
{
    for (CStencil* s : m_pStencils)
        s->Select(false);
}

void CStencilLabel::SelectOther(unsigned int i, bool forward)
{
    for (unsigned int step = 0; step < kSlots; ++step) {
        i = forward ? i + 1 : i - 1;
        if (i >= kSlots)
            i = forward ? 0 : kSlots - 1;
        if (Select(i))
            return;
    }
}

unsigned int CStencilLabel::SelectedIdx() const
{
    for (unsigned int i = 0; i < kSlots; ++i)
        if (m_pStencils[i]->IsSelected())
            return i;
    return kNone;
}

unsigned int CStencilLabel::MouseOverIdx() const
{
    for (unsigned int i = 0; i < kSlots; ++i)
        if (m_pStencils[i]->IsMouseOver())
            return i;
    return kNone;
}

SStencilRawData const& CStencilLabel::GetStencilRawData() const
{
    m_RawData.Reset();
    for (CStencil* s : m_pStencils) {
        if (!s->IsInUse())
            continue;
        const SStencilData& d = s->GetData();
        const unsigned int k = m_RawData.uiCount++;
        m_RawData.pfDstX[k] = static_cast<float>(d.dDstX);
        m_RawData.pfDstY[k] = static_cast<float>(d.dDstY);
        m_RawData.pfSrcX[k] = static_cast<float>(d.dSrcX);
        m_RawData.pfSrcY[k] = static_cast<float>(d.dSrcY);
        m_RawData.pfRadius[k] = d.fRadius;
    }
    return m_RawData;
}
