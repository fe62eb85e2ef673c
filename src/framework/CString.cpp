#include "framework/CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/TextCodec.h"

CString::CString(const char* text) : m_text(text != nullptr ? text : "") {}

CString::CString(const char* text, int length)
{
    if (text != nullptr && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CString& CString::operator=(const char* text)
{
    m_text = text != nullptr ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text != nullptr)
        m_text += text;
    return *this;
}

int CString::Compare(const char* text) const
{
    return std::strcmp(m_text.c_str(), text != nullptr ? text : "");
}

void CString::Format(const char* format, ...)
{
    // Formatted by the system's C run-time (msvcrt) rather than the C++
    // library's own printf: the game's numbers read as they do in every
    // other program there, e.g. "%.1lf" rounds an exact half away from zero
    // (0.25 gives "0.3", not "0.2").
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int needed = _vscprintf(format, measure);
    va_end(measure);
    if (needed <= 0) {
        m_text.clear();
    } else {
        // Room for the terminating NUL too, so _vsnprintf writes it.
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        _vsnprintf(buffer.data(), buffer.size(), format, args);
        m_text.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // With a zero buffer length LoadStringW hands out a read-only pointer
    // into the resource itself, so strings of any length load whole.
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(AfxGetResourceHandle(), nID,
                                   reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) {
        m_text.clear();
        return FALSE;
    }
    m_text = TextCodec::WideToCp932(resource, length);
    return TRUE;
}

std::wstring CString::ToWide() const
{
    return TextCodec::Cp932ToWide(m_text);
}

CString CString::FromWide(const wchar_t* text, int length)
{
    const std::string narrow = TextCodec::WideToCp932(text, length);
    return CString(narrow.data(), static_cast<int>(narrow.size()));
}

CString operator+(const CString& left, const CString& right)
{
    CString result(left);
    result += right;
    return result;
}

CString operator+(const CString& left, const char* right)
{
    CString result(left);
    result += right;
    return result;
}

CString operator+(const char* left, const CString& right)
{
    CString result(left);
    result += right;
    return result;
}

bool operator==(const CString& left, const CString& right)
{
    return left.GetLength() == right.GetLength() && left.Compare(right) == 0;
}

bool operator==(const CString& left, const char* right) { return left.Compare(right) == 0; }
bool operator==(const char* left, const CString& right) { return right.Compare(left) == 0; }
bool operator!=(const CString& left, const CString& right) { return !(left == right); }
bool operator!=(const CString& left, const char* right) { return !(left == right); }
bool operator!=(const char* left, const CString& right) { return !(left == right); }
bool operator<(const CString& left, const CString& right) { return left.Compare(right) < 0; }
