#pragma once
// Answers a dialog box that a thread opens modally (a message box, the About
// box): from a thread of its own it waits for a new dialog window of that
// thread, notes what it shows, and clicks one of its buttons.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

class BoxAnswerer {
public:
    // Looks for a dialog of uiThreadId other than the ones listed; runs
    // whileOpen (on the answerer's thread) with it before answering.
    BoxAnswerer(DWORD uiThreadId, std::vector<HWND> known, int buttonId,
                std::function<void(HWND)> whileOpen = nullptr);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Waits for the thread; afterwards the fields below are safe to read.
    void Join();

    bool m_bFound = false;
    HWND m_hOwner = nullptr;
    std::wstring m_caption;
    std::vector<std::wstring> m_texts; // the children's texts, in z-order

private:
    void Answer(DWORD uiThreadId, std::vector<HWND> known, int buttonId, std::function<void(HWND)> whileOpen);
    std::thread m_thread;
};

std::wstring WindowText(HWND hWnd);
// The visible dialog windows (#32770) of a thread.
std::vector<HWND> ThreadDialogs(DWORD threadId);
