#include "framework/CGdiObject.h"

std::atomic<long> CGdiObject::s_nLive{0};
std::atomic<long> CGdiObject::s_nCreated{0};

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    DeleteObject();
    if (hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    s_nLive.fetch_add(1);
    s_nCreated.fetch_add(1);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject != nullptr) {
        m_hObject = nullptr;
        s_nLive.fetch_sub(1);
    }
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ hObject = Detach();
    return hObject != nullptr ? ::DeleteObject(hObject) : FALSE;
}
