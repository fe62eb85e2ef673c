#include "game/BoardBase.h"

#include "draw/Painter.h"
#include "game/BoardColours.h"

BoardBase::BoardBase()
{
    SetStatusText("");
}

void BoardBase::SetPlayArea(RECT rect)
{
    m_areas96.playArea = rect;
    m_rcPlayArea = Scale().Scale(rect);
}

void BoardBase::SetAreas(const BoardAreas& at96)
{
    m_areas96 = at96;
    SetDpi(m_nDpi.load());
}

void BoardBase::SetDpi(int dpi)
{
    m_nDpi.store(DpiScale(dpi).Dpi());
    const DpiScale scale = Scale();
    m_rcPlayArea = scale.Scale(m_areas96.playArea);
    m_rcTitle = scale.Scale(m_areas96.title);
    m_rcStart = scale.Scale(m_areas96.start);
    m_rcExit = scale.Scale(m_areas96.exit);
}

void BoardBase::SetStatusText(CString text)
{
    m_status.Set(text);
}

CString BoardBase::GetStatusText()
{
    return m_status.Get();
}

namespace {

// Stores whether the point is inside and notes a change of the flag.
void Track(const RECT& rect, int& flag, POINT point, BOOL& changed)
{
    const int inside = PtInRect(&rect, point) ? 1 : 0;
    if (inside != flag)
        changed = TRUE;
    flag = inside;
}

} // namespace

BOOL BoardBase::UpdateHover(POINT point)
{
    BOOL changed = FALSE;
    Track(m_rcStart, m_bHoverStart, point, changed);
    Track(m_rcSpare, m_bHoverSpare, point, changed);
    Track(m_rcExit, m_bHoverExit, point, changed);
    Track(m_rcRead, m_bHoverRead, point, changed);
    return changed;
}

void BoardBase::FillPlayArea(CDC* pDC, COLORREF colour)
{
    Painter painter(pDC, FALSE, Scale().Dpi());
    painter.DrawBox(m_rcPlayArea, colour, colour);
}

void BoardBase::DrawCenterMessage(CDC* pDC, CString text, int tenthsOfPoint, COLORREF colour, BOOL bShadow)
{
    const DpiScale scale = Scale();
    Painter painter(pDC, FALSE, scale.Dpi());
    const RECT& area = m_areas96.playArea;
    if (bShadow) {
        RECT shadow = area;
        OffsetRect(&shadow, 3, 3);
        painter.DrawCenteredText(scale.Scale(shadow), text, tenthsOfPoint, BoardColours::kShadow);
    }
    // A band 60 pixels high across the middle, 10 pixels in from each side.
    const int mid = (area.top + area.bottom) / 2;
    const RECT band = {area.left + 10, mid - 30, area.right - 10, mid + 30};
    if (!text.IsEmpty())
        painter.DrawBox(scale.Scale(band), BoardColours::kOutline, BoardColours::kBand);
    painter.DrawCenteredText(m_rcPlayArea, text, tenthsOfPoint, colour);
}

void BoardBase::DrawTitle(CDC* pDC)
{
    Painter painter(pDC, FALSE, Scale().Dpi());
    painter.DrawBox(m_rcTitle, BoardColours::kTitleBox, BoardColours::kTitleBox);
    painter.DrawCenteredText(m_rcTitle, m_strTitle, 400, BoardColours::kLabel);
}

void BoardBase::DrawButtons(CDC* pDC, int tenthsOfPoint)
{
    struct Button {
        const RECT& rect;
        int hover;
        const char* label;
    };
    const Button buttons[] = {
        {m_rcStart, m_bHoverStart, "Start"},
        {m_rcExit, m_bHoverExit, "Exit"},
        {m_rcRead, m_bHoverRead, "Read"},
    };
    Painter painter(pDC, FALSE, Scale().Dpi());
    for (const Button& button : buttons) {
        if (button.hover)
            painter.DrawBox(button.rect, BoardColours::kOutline, BoardColours::kHoverFill);
        else
            painter.DrawFrame(button.rect, BoardColours::kButtonFrame, 1);
        painter.DrawCenteredText(button.rect, button.label, tenthsOfPoint, BoardColours::kLabel);
    }
}

void BoardBase::DrawStatus(CDC* pDC, COLORREF colour)
{
    // The strip ends at y = 30 whatever the play area's top is.
    const RECT& area = m_areas96.playArea;
    const DpiScale scale = Scale();
    Painter painter(pDC, FALSE, scale.Dpi());
    painter.DrawCenteredText(scale.Scale(RECT{area.left, area.top, area.right, 30}), GetStatusText(), 200, colour);
}
