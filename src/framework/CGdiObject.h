#pragma once
// An owned GDI object: deleted when the wrapper is destroyed or re-used.
// The number of live owned objects is counted so tests can catch leaks.
#include <atomic>

#include "framework/AfxCore.h"
#include "framework/HandleCount.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership of hObject (a null handle attaches nothing).
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership without deleting.
    HGDIOBJ Detach();
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // GDI objects currently owned by wrappers, in the whole process.
    static long LiveCount() { return s_count.Live(); }
    // How many were ever attached, to see what a drawing creates.
    static long CreatedCount() { return s_count.EverTaken(); }

protected:
    HGDIOBJ m_hObject = nullptr;

private:
    static HandleCount s_count;
};
