#include "framework/DialogTemplate.h"

#include <cstring>
#include <cwctype>

namespace {

// Walks the template's words; items start on DWORD boundaries.
class Reader {
public:
    explicit Reader(const BYTE* base) : m_base(base), m_at(base) {}

    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    BYTE Byte() { return Take<BYTE>(); }
    short Short() { return Take<short>(); }

    RECT Units()
    {
        const short x = Short();
        const short y = Short();
        const short cx = Short();
        const short cy = Short();
        return RECT{x, y, x + cx, y + cy};
    }

    std::wstring String()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }

    // A string, an ordinal (0xFFFF then the value) or nothing (a single 0).
    std::wstring StringOrOrdinal(WORD* pOrdinal)
    {
        const WORD first = Take<WORD>(false);
        if (first == 0xFFFF) {
            Word();
            *pOrdinal = Word();
            return std::wstring();
        }
        return String();
    }

    void AlignToDword()
    {
        const size_t offset = static_cast<size_t>(m_at - m_base);
        m_at += (4 - offset % 4) % 4;
    }

    void Skip(size_t bytes) { m_at += bytes; }

private:
    template <class T>
    T Take(bool advance = true)
    {
        T value;
        memcpy(&value, m_at, sizeof(T));
        if (advance)
            m_at += sizeof(T);
        return value;
    }

    const BYTE* m_base;
    const BYTE* m_at;
};

std::wstring ClassName(const std::wstring& name, WORD ordinal)
{
    static const wchar_t* const kAtoms[] = {L"BUTTON", L"EDIT", L"STATIC", L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
    if (name.empty() && ordinal >= 0x80 && ordinal <= 0x85)
        return kAtoms[ordinal - 0x80];
    std::wstring upper = name;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

TemplateItem ReadItem(Reader& reader, bool extended)
{
    TemplateItem item;
    reader.AlignToDword();
    if (extended) {
        reader.Dword(); // help id
        item.exStyle = reader.Dword();
        item.style = reader.Dword();
    } else {
        item.style = reader.Dword();
        item.exStyle = reader.Dword();
    }
    item.units = reader.Units();
    item.id = extended ? static_cast<int>(reader.Dword()) : static_cast<short>(reader.Word());
    WORD classOrdinal = 0;
    const std::wstring className = reader.StringOrOrdinal(&classOrdinal);
    item.className = ClassName(className, classOrdinal);
    item.text = reader.StringOrOrdinal(&item.textOrdinal);
    reader.Skip(reader.Word()); // creation data
    return item;
}

} // namespace

bool LoadDialogTemplate(UINT nID, DialogTemplate* pOut)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(nID), MAKEINTRESOURCEW(5)); // RT_DIALOG
    if (found == nullptr)
        return false;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    Reader reader(data);
    DialogTemplate& dialog = *pOut;
    WORD count = 0;
    dialog.extended = reinterpret_cast<const WORD*>(data)[1] == 0xFFFF;
    if (dialog.extended) {
        reader.Word(); // version
        reader.Word(); // signature
        reader.Dword(); // help id
        dialog.exStyle = reader.Dword();
        dialog.style = reader.Dword();
    } else {
        dialog.style = reader.Dword();
        dialog.exStyle = reader.Dword();
    }
    count = reader.Word();
    dialog.units = reader.Units();
    WORD ignored = 0;
    reader.StringOrOrdinal(&ignored); // menu
    reader.StringOrOrdinal(&ignored); // class
    dialog.caption = reader.String();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = reader.Word();
        if (dialog.extended) {
            dialog.weight = reader.Word();
            dialog.italic = reader.Byte();
            dialog.charset = reader.Byte();
        }
        dialog.face = reader.String();
    }
    for (WORD i = 0; i < count; ++i)
        dialog.items.push_back(ReadItem(reader, dialog.extended));
    return true;
}
