#include "BoxAnswerer.h"

#include <algorithm>

#include "ModalScript.h"
#include "WaitUntil.h"

namespace {

struct Search {
    const std::vector<HWND>* known;
    HWND found;
};

BOOL CALLBACK TakeNewDialog(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    const bool isDialog = wcscmp(className, L"#32770") == 0;
    const bool isKnown = std::find(search->known->begin(), search->known->end(), hWnd) != search->known->end();
    if (isDialog && !isKnown && IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    if (wcscmp(className, L"#32770") == 0 && IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(WindowText(hWnd));
    return TRUE;
}

} // namespace

std::wstring WindowText(HWND hWnd)
{
    wchar_t buffer[256] = {};
    const int length = GetWindowTextW(hWnd, buffer, 256);
    return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

BoxAnswerer::BoxAnswerer(DWORD uiThreadId, std::vector<HWND> known, int buttonId,
                         std::function<void(HWND)> whileOpen)
    : m_thread(&BoxAnswerer::Answer, this, uiThreadId, std::move(known), buttonId, std::move(whileOpen))
{
}

std::vector<HWND> ThreadDialogs(DWORD threadId)
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(threadId, &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

BoxAnswerer::~BoxAnswerer()
{
    Join();
}

void BoxAnswerer::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void BoxAnswerer::Answer(DWORD uiThreadId, std::vector<HWND> known, int buttonId,
                         std::function<void(HWND)> whileOpen)
{
    Search search = {&known, nullptr};
    WaitUntil(
        [&] {
            EnumThreadWindows(uiThreadId, &TakeNewDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        5000);
    if (search.found == nullptr)
        return;
    m_bFound = true;
    m_hOwner = GetWindow(search.found, GW_OWNER);
    m_caption = WindowText(search.found);
    EnumChildWindows(search.found, &CollectText, reinterpret_cast<LPARAM>(&m_texts));
    if (whileOpen)
        whileOpen(search.found);
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, buttonId)));
}
