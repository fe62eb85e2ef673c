#include "app/DialogLayout.h"

#include "util/DpiScale.h"

namespace {

// The base units of the template's font at 96 dpi, measured as the dialog
// manager measures them: the font's height, and half the width of the
// Latin alphabet in it over 26, rounded.
SIZE BaseUnitsAt96Dpi(const DialogTemplate& dialog)
{
    const HFONT font = ::CreateFontW(-::MulDiv(dialog.pointSize, DpiScale::kBaseDpi, 72), 0, 0, 0, dialog.weight,
                                     dialog.italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_DONTCARE, dialog.face.c_str());
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    SIZE alphabet = {0, 0};
    ::GetTextMetricsW(dc, &metrics);
    ::GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    if (font != nullptr)
        ::DeleteObject(font);
    return SIZE{(alphabet.cx / 26 + 1) / 2, metrics.tmHeight};
}

} // namespace

DialogLayout::DialogLayout(UINT nIDTemplate, SIZE fallbackBaseUnits)
{
    if (LoadDialogTemplate(nIDTemplate, &m_template))
        m_base = BaseUnitsAt96Dpi(m_template);
    if (m_base.cx <= 0 || m_base.cy <= 0)
        m_base = fallbackBaseUnits;
}

RECT DialogLayout::Area(int nID) const
{
    for (const TemplateItem& item : m_template.items) {
        if (item.id != nID)
            continue;
        const RECT& u = item.units;
        const int left = MapX(u.left);
        const int top = MapY(u.top);
        return RECT{left, top, left + MapX(u.right - u.left), top + MapY(u.bottom - u.top)};
    }
    return RECT{0, 0, 0, 0};
}
