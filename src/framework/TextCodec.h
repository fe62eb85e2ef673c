#pragma once
// Conversions between the game's Shift-JIS (code page 932) text and the
// UTF-16 the wide Win32 text functions take. Used at every boundary to a
// Win32 text API, so texts show the same whatever the system code page is.
#include <string>

namespace TextCodec {

constexpr unsigned int kGameCodePage = 932;

std::wstring Cp932ToWide(const char* text, int length);
std::wstring Cp932ToWide(const std::string& text);
std::string WideToCp932(const wchar_t* text, int length);

} // namespace TextCodec
