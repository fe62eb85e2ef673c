#pragma once
// A text of code page 932 (Shift-JIS) bytes, with the operations the game
// uses. Conversion to UTF-16 happens only where a Win32 text API is called.
#include <string>

#include "framework/AfxCore.h"

class CString {
public:
    CString() = default;
    CString(const char* text);            // NOLINT: implicit, as literals are passed everywhere
    CString(const char* text, int length);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty() ? TRUE : FALSE; }
    void Empty() { m_text.clear(); }

    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);

    int Compare(const char* text) const;

    // printf-style formatting into this string, replacing its contents, by
    // the system's C run-time, which knows its own conversions (no %zu).
    void Format(const char* format, ...) __attribute__((format(ms_printf, 2, 3)));

    // Loads a string resource of the executable. The resource is UTF-16; it
    // is converted to code page 932. A missing resource leaves the string
    // empty and returns FALSE.
    BOOL LoadString(UINT nID);

    // The text as UTF-16, for the wide Win32 functions.
    std::wstring ToWide() const;
    static CString FromWide(const wchar_t* text, int length);

private:
    std::string m_text;
};

CString operator+(const CString& left, const CString& right);
CString operator+(const CString& left, const char* right);
CString operator+(const char* left, const CString& right);

bool operator==(const CString& left, const CString& right);
bool operator==(const CString& left, const char* right);
bool operator==(const char* left, const CString& right);
bool operator!=(const CString& left, const CString& right);
bool operator!=(const CString& left, const char* right);
bool operator!=(const char* left, const CString& right);
bool operator<(const CString& left, const CString& right);
