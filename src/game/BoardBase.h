#pragma once
// The play field's layout, texts and hover state, and every drawing of the
// screen except the moles: the title view's box and buttons, the running
// view's field, centred message and status line. The layout is kept as it
// is at 96 dots per inch and drawn and hit-tested scaled to the window's.
#include <atomic>

#include "framework/CDC.h"
#include "util/DpiScale.h"
#include "util/LockedText.h"

// The game's areas at 96 dots per inch.
struct BoardAreas {
    RECT playArea;
    RECT title;
    RECT start;
    RECT exit;
};

class BoardBase {
public:
    BoardBase();
    virtual ~BoardBase() = default;
    BoardBase(const BoardBase&) = delete;
    BoardBase& operator=(const BoardBase&) = delete;

    virtual void Draw(CDC* pDC, CString message) = 0;
    // The play area at 96 dpi.
    virtual void SetPlayArea(RECT rect);
    void SetAreas(const BoardAreas& at96);
    // The window's dots per inch: the areas below, the sizes drawn and the
    // texts follow it. Only on the window's thread.
    virtual void SetDpi(int dpi);
    DpiScale Scale() const { return DpiScale(m_nDpi.load()); }

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

    // The areas in the window's pixels: m_areas96 scaled.
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

protected:
    // Set once, before a game thread reads the play area's.
    BoardAreas m_areas96 = {};

private:
    std::atomic<int> m_nDpi{DpiScale::kBaseDpi};

    LockedText m_status;
};
