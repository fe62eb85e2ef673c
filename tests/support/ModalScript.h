#pragma once
// Drives a dialog that runs modally on the test thread: the script runs on
// a thread of its own once the dialog's window exists, and talks to it with
// sent and posted messages. If the dialog is still open a while after the
// script is done, it is posted kEndMessage, which the dialog answers with
// EndDialog(IDABORT), so a failing test does not hang.
#include <atomic>
#include <functional>
#include <thread>

#include <windows.h>

class ModalScript {
public:
    ModalScript(std::atomic<HWND>& ready, std::function<void(HWND)> script);
    // Waits for the script thread.
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    static constexpr UINT kEndMessage = WM_APP + 0x3F0;

private:
    std::thread m_thread;
};
