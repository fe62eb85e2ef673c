#include "app/GameApp.h"

#include "app/MainDialog.h"

GameApp theApp;

BOOL GameApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    MainDialog dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // The dialog has closed: FALSE ends the program instead of entering a
    // message loop with no window.
    return FALSE;
}

BOOL GameApp::OnCmdMsg(UINT nID)
{
    if (nID == ID_HELP) {
        OnHelp();
        return TRUE;
    }
    return CWinApp::OnCmdMsg(nID);
}

void GameApp::OnHelp()
{
    // The game ships no help file; the command is taken and ignored.
}
