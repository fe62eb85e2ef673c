#include "game/BoardBase.h"

#include "draw/Painter.h"
#include "game/BoardColours.h"

BoardBase::BoardBase()
{
    SetStatusText("");
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
    Painter painter(pDC, FALSE);
    painter.DrawBox(m_rcPlayArea, colour, colour);
}

void BoardBase::DrawCenterMessage(CDC* pDC, CString text, int tenthsOfPoint, COLORREF colour, BOOL bShadow)
{
    Painter painter(pDC, FALSE);
    if (bShadow) {
        RECT shadow = m_rcPlayArea;
        OffsetRect(&shadow, 3, 3);
        painter.DrawCenteredText(shadow, text, tenthsOfPoint, BoardColours::kShadow);
    }
    // A band 60 pixels high across the middle, 10 pixels in from each side.
    const int mid = (m_rcPlayArea.top + m_rcPlayArea.bottom) / 2;
    const RECT band = {m_rcPlayArea.left + 10, mid - 30, m_rcPlayArea.right - 10, mid + 30};
    if (!text.IsEmpty())
        painter.DrawBox(band, BoardColours::kOutline, BoardColours::kBand);
    painter.DrawCenteredText(m_rcPlayArea, text, tenthsOfPoint, colour);
}

void BoardBase::DrawTitle(CDC* pDC)
{
    Painter painter(pDC, FALSE);
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
    Painter painter(pDC, FALSE);
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
    const RECT strip = {m_rcPlayArea.left, m_rcPlayArea.top, m_rcPlayArea.right, 30};
    Painter painter(pDC, FALSE);
    painter.DrawCenteredText(strip, GetStatusText(), 200, colour);
}
