#include "draw/Painter.h"

#include "draw/FillSelection.h"
#include "draw/LineSelection.h"

const char* const Painter::kFaceName = "ＭＳ ゴシック";

void Painter::DrawBox(RECT rect, COLORREF penColour, COLORREF brushColour)
{
    FillSelection selection(m_pDC, penColour, brushColour, m_bXor);
    m_pDC->Rectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void Painter::DrawFrame(RECT rect, COLORREF penColour, int width)
{
    LineSelection selection(m_pDC, penColour, RGB(0, 0, 0), width, m_bXor);
    m_pDC->MoveTo(rect.left, rect.top);
    m_pDC->LineTo(rect.right, rect.top);
    m_pDC->LineTo(rect.right, rect.bottom);
    m_pDC->LineTo(rect.left, rect.bottom);
    m_pDC->LineTo(rect.left, rect.top);
}

void Painter::DrawCenteredText(RECT rect, CString text, int tenthsOfPoint, COLORREF colour)
{
    CFont font;
    font.CreatePointFontForDpi(tenthsOfPoint, kFaceName, m_nDpi);
    const CFontRef oldFont = m_pDC->SelectObject(&font);
    const COLORREF oldColour = m_pDC->SetTextColor(colour);
    m_pDC->SetBkMode(TRANSPARENT);
    m_pDC->DrawText(text, text.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    m_pDC->SetTextColor(oldColour);
    m_pDC->SelectObject(oldFont);
    font.DeleteObject();
}
