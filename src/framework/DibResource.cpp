#include "framework/DibResource.h"

#include <cstdlib>

DibResource::DibResource(UINT nIDResource)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HRSRC hResource = FindResourceW(hInst, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(2));
    if (hResource == nullptr)
        return;
    const DWORD size = SizeofResource(hInst, hResource);
    HGLOBAL hData = LoadResource(hInst, hResource);
    const auto* info = static_cast<const BITMAPINFO*>(hData != nullptr ? LockResource(hData) : nullptr);
    if (info == nullptr || size < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return;

    // The pixels follow the header, the colour masks of a BI_BITFIELDS
    // picture and the colour table (all 2^bits entries when biClrUsed is 0).
    const BITMAPINFOHEADER& header = info->bmiHeader;
    DWORD colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8)
        colours = 1u << header.biBitCount;
    DWORD offset = header.biSize + colours * sizeof(RGBQUAD);
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * sizeof(DWORD);
    const DWORD stride = ((static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const DWORD pixels = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS
                             ? stride * static_cast<DWORD>(std::abs(header.biHeight))
                             : header.biSizeImage;
    if (header.biWidth <= 0 || offset > size || pixels > size - offset)
        return;
    m_pInfo = info;
    m_pBits = reinterpret_cast<const BYTE*>(info) + offset;
}

int DibResource::Height() const
{
    return std::abs(m_pInfo->bmiHeader.biHeight);
}
