#include "framework/TextCodec.h"

#include "framework/AfxCore.h"

namespace TextCodec {

std::wstring Cp932ToWide(const char* text, int length)
{
    if (text == nullptr || length <= 0)
        return std::wstring();
    const int needed = MultiByteToWideChar(kGameCodePage, 0, text, length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(kGameCodePage, 0, text, length, &wide[0], needed);
    return wide;
}

std::wstring Cp932ToWide(const std::string& text)
{
    return Cp932ToWide(text.data(), static_cast<int>(text.size()));
}

std::string WideToCp932(const wchar_t* text, int length)
{
    if (text == nullptr || length <= 0)
        return std::string();
    const int needed = WideCharToMultiByte(kGameCodePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(kGameCodePage, 0, text, length, &narrow[0], needed, nullptr, nullptr);
    return narrow;
}

} // namespace TextCodec
