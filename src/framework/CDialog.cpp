#include "framework/CDialog.h"

#include "framework/CWinApp.h"

namespace {

// Messages whose result the dialog procedure returns itself; for all others
// the result goes to DWLP_MSGRESULT and the procedure returns TRUE.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORMSGBOX:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

HWND CDialog::ParentHwnd() const
{
    return m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
}

HWND CDialog::ModalOwner() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    // No parent given: the application's main window owns the dialog, or
    // else this thread's active window, so that window is disabled while
    // the dialog runs and the dialog stays above it.
    HWND owner = nullptr;
    const CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this)
        owner = app->m_pMainWnd->m_hWnd;
    if (owner == nullptr || !::IsWindow(owner))
        owner = ::GetActiveWindow();
    // A popup cannot be owned by a child window.
    while (owner != nullptr && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) != 0)
        owner = ::GetParent(owner);
    // Above whatever popup of that window was last in front (another box).
    return owner != nullptr ? ::GetLastActivePopup(owner) : nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_nModalResult = -1;
    return ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), ModalOwner(),
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create()
{
    m_nModalResult = -1;
    const HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                           ParentHwnd(), &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

BOOL CDialog::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    // TRUE: the dialog manager gives the focus to the first tab stop.
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND) {
        const UINT nID = LOWORD(wParam);
        if (nID == IDOK) {
            OnOK();
            return 0;
        }
        if (nID == IDCANCEL) {
            OnCancel();
            return 0;
        }
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->OnCmdMsg(nID))
            return 0;
    }
    return Default();
}

LRESULT CDialog::Default()
{
    if (m_pHandled != nullptr)
        *m_pHandled = false;
    return 0;
}

INT_PTR CDialog::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = true;
    bool* outer = m_pHandled;
    m_pHandled = &handled;
    LRESULT result = 0;
    // No exception may unwind into the system's frames that called the
    // dialog procedure (on 32-bit Windows that ends the process): a handler
    // that fails (out of memory for a click, say) leaves its message to the
    // dialog manager and the dialog goes on.
    try {
        result = message == WM_INITDIALOG ? OnInitDialog() : WindowProc(message, wParam, lParam);
    } catch (...) {
        // A dialog whose initialisation failed is half made (its owner, its
        // model or its timers may be missing): running it would fail later
        // and worse, so the program ends here, saying why.
        if (message == WM_INITDIALOG)
            EndProgramAfterFailedInit();
        handled = false;
    }
    m_pHandled = outer;
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void CDialog::EndProgramAfterFailedInit()
{
    ::MessageBoxW(nullptr, kInitFailedText, nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ::ExitProcess(kInitFailedExitCode);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    } else {
        dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) find no object yet.
    if (dialog == nullptr)
        return FALSE;
    const INT_PTR answer = dialog->Route(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return answer;
}
