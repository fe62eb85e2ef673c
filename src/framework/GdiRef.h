#pragma once
// A borrowed GDI handle: what a device context had selected before, or any
// object someone else owns. It never deletes anything.
#include "framework/AfxCore.h"

template <class THandle>
class CGdiRef {
public:
    CGdiRef() = default;
    explicit CGdiRef(THandle hObject) : m_hObject(hObject) {}
    THandle GetSafeHandle() const { return m_hObject; }

private:
    THandle m_hObject = nullptr;
};

using CPenRef = CGdiRef<HPEN>;
using CBrushRef = CGdiRef<HBRUSH>;
using CFontRef = CGdiRef<HFONT>;
using CBitmapRef = CGdiRef<HBITMAP>;
