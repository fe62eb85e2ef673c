#pragma once
// The game's application object: runs the main dialog once, then ends.
#include "framework/CWinApp.h"

class GameApp : public CWinApp {
public:
    BOOL InitInstance() override;
    BOOL OnCmdMsg(UINT nID) override;

    void OnHelp();
};

extern GameApp theApp;
