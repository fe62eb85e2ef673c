#pragma once
// The play field's layout, texts and hover state, and every drawing of the
// screen except the moles: the title view's box and buttons, the running
// view's field, centred message and status line.
#include <atomic>

#include "framework/CDC.h"
#include "util/LockedText.h"

class BoardBase {
public:
    BoardBase();
    virtual ~BoardBase() = default;
    BoardBase(const BoardBase&) = delete;
    BoardBase& operator=(const BoardBase&) = delete;

    virtual void Draw(CDC* pDC, CString message) = 0;
    virtual void SetPlayArea(RECT rect) { m_rcPlayArea = rect; }

    void SetTitle(CString title) { m_strTitle = title; }
    void SetStatusText(CString text);
    CString GetStatusText();

    BOOL HitStart(POINT point) const { return PtInRect(&m_rcStart, point); }
    BOOL HitSpare(POINT point) const { return PtInRect(&m_rcSpare, point); }
    BOOL HitExit(POINT point) const { return PtInRect(&m_rcExit, point); }
    BOOL HitRead(POINT point) const { return PtInRect(&m_rcRead, point); }
    // Recomputes the four hover flags; TRUE when any of them changed.
    BOOL UpdateHover(POINT point);

    void FillPlayArea(CDC* pDC, COLORREF colour);
    void DrawCenterMessage(CDC* pDC, CString text, int tenthsOfPoint, COLORREF colour, BOOL bShadow);
    void DrawTitle(CDC* pDC);
    void DrawButtons(CDC* pDC, int tenthsOfPoint);
    void DrawStatus(CDC* pDC, COLORREF colour);

    RECT m_rcPlayArea = {};
    RECT m_rcTitle = {};
    RECT m_rcStart = {};
    RECT m_rcSpare = {};
    RECT m_rcExit = {};
    RECT m_rcRead = {};
    int m_bHoverStart = 0;
    int m_bHoverSpare = 0;
    int m_bHoverExit = 0;
    int m_bHoverRead = 0;
    // Written by the dialog and by the game thread, polled by both.
    std::atomic<int> m_bRunning{0};
    CString m_strTitle;

private:
    LockedText m_status;
};
