#pragma once
// A dialog made from a dialog template resource. One static dialog procedure
// routes every message after WM_INITDIALOG to the object's WindowProc; a
// handler that wants the dialog manager's own processing of its message
// calls Default(), which makes the procedure answer FALSE for it.
#include "framework/CWnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Destroys a window that is still open (a modeless one), without
    // routing its last messages to a half-destroyed object.
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // dialog cannot be created. Its owner (the parent, or else the
    // application's main window) is disabled meanwhile.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless instead: the caller's thread pumps its
    // messages and destroys it with DestroyWindow.
    BOOL Create();
    BOOL DestroyWindow();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // What the program says, and the code it ends with, when a dialog's
    // OnInitDialog throws.
    static constexpr const wchar_t* kInitFailedText = L"ウィンドウを初期化できなかったため、プログラムを終了します。";
    static constexpr UINT kInitFailedExitCode = 3;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    // The value given to EndDialog; -1 until the dialog has been ended.
    int m_nModalResult = -1;

protected:
    // Every message after WM_INITDIALOG. The base ends the dialog on IDOK and
    // IDCANCEL, offers other commands to the application object and leaves
    // everything else to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Marks the message being handled as not handled, so the dialog manager
    // processes it after the handler returns.
    LRESULT Default();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);
    // Shows kInitFailedText and ends the process with kInitFailedExitCode.
    [[noreturn]] static void EndProgramAfterFailedInit();
    HWND ParentHwnd() const;
    // The window that owns the dialog while it runs modally.
    HWND ModalOwner() const;

    // The handled flag of the innermost message being routed; handlers can
    // send messages to their own window, so each routing keeps its own.
    bool* m_pHandled = nullptr;
};
