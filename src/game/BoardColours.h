#pragma once
// The colours of the game screen (COLORREF, 0x00BBGGRR).
#include "framework/AfxCore.h"

namespace BoardColours {

constexpr COLORREF kField = 0x004B8C00;       // running-view background, RGB(0, 140, 75)
constexpr COLORREF kShadow = 0x00262626;      // title-view background and message shadow
constexpr COLORREF kMessage = 0x00FFFFFF;     // message text
constexpr COLORREF kOutline = 0x008C8C8C;     // message band and hovered button outline
constexpr COLORREF kBand = 0x00E0C4B7;        // message band fill, RGB(183, 196, 224)
constexpr COLORREF kStatus = 0x0000D1E5;      // status text, RGB(229, 209, 0)
constexpr COLORREF kTitleBox = 0x00F0F0FF;    // title box, RGB(255, 240, 240)
constexpr COLORREF kLabel = 0x00CC000C;       // title text and button labels, RGB(12, 0, 204)
constexpr COLORREF kHoverFill = 0x009875EF;   // hovered button, RGB(239, 117, 152)
constexpr COLORREF kButtonFrame = 0x00FAFAFA; // frame of a button not hovered

} // namespace BoardColours
