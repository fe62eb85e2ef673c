#pragma once
// The application object. The program defines exactly one, as a global;
// the framework's WinMain runs it: InitInstance, then (only when that
// returns TRUE) a message loop, then ExitInstance.
#include "framework/CWnd.h"

// Command id of the Help command (F1 in a framework application).
constexpr UINT ID_HELP = 0xE146;

class CWinApp {
public:
    // Registers this object as the application; constructing a second one
    // replaces the first.
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // Commands a window did not handle itself; TRUE when handled here.
    virtual BOOL OnCmdMsg(UINT nID);

    // Controls have drawn themselves in 3-D since Windows 95; kept for the
    // start-up sequence, does nothing.
    BOOL Enable3dControls() { return TRUE; }

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
};

// The registered application object, null when there is none.
CWinApp* AfxGetApp();

// The game hosts no ActiveX controls; kept for the start-up sequence.
inline void AfxEnableControlContainer() {}
