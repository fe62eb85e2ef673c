#include "framework/CGdiObject.h"

HandleCount CGdiObject::s_count;

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    DeleteObject();
    if (hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    s_count.Take();
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject != nullptr) {
        m_hObject = nullptr;
        s_count.Release();
    }
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ hObject = Detach();
    return hObject != nullptr ? ::DeleteObject(hObject) : FALSE;
}
