// Resource and control ids of the game.
#pragma once

#define IDD_ABOUTBOX      100
#define IDS_ABOUTBOX      101
#define IDD_MAIN_DIALOG   102
#define IDR_MAINFRAME     128
#define IDB_MOLE          129

#define IDC_PLAYFIELD     1000
#define IDC_START         1001
#define IDC_STOP          1002
#define IDC_NOP           1004
#define IDC_EXIT          1006
#define IDC_TITLE         1010

// System-menu command of the About item (system commands keep the low four
// bits clear).
#define IDM_ABOUTBOX      0x0010

#ifndef IDC_STATIC
#define IDC_STATIC        (-1)
#endif
