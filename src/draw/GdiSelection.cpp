#include "draw/GdiSelection.h"

GdiSelection::GdiSelection(CDC* pDC, COLORREF penColour, int penWidth, COLORREF brushColour, BOOL bXor)
    : m_pDC(pDC)
{
    if (bXor)
        m_pDC->SetROP2(R2_XORPEN);
    // Black behind hatched and dashed drawing; deliberately left set.
    m_pDC->SetBkColor(RGB(0, 0, 0));
    m_pen.CreatePen(PS_SOLID, penWidth, penColour);
    m_brush.CreateSolidBrush(brushColour);
    m_pOldPen = m_pDC->SelectObject(&m_pen);
    m_pOldBrush = m_pDC->SelectObject(&m_brush);
}

GdiSelection::~GdiSelection()
{
    m_pDC->SelectObject(m_pOldPen);
    m_pDC->SelectObject(m_pOldBrush);
    m_pen.DeleteObject();
    m_brush.DeleteObject();
    // Whatever mode the context had before, it draws by copying afterwards.
    m_pDC->SetROP2(R2_COPYPEN);
}
