#include "ModalScript.h"

ModalScript::ModalScript(std::atomic<HWND>& ready, std::function<void(HWND)> script)
    : m_thread([&ready, script] {
          HWND hWnd = nullptr;
          if (!WaitFor([&] { return (hWnd = ready.load()) != nullptr; }, 10000))
              return;
          script(hWnd);
          // A script that closed the dialog leaves it a moment to go.
          WaitFor([&] { return !IsWindow(hWnd); }, 5000);
          if (IsWindow(hWnd))
              PostMessageW(hWnd, kEndMessage, 0, 0);
      })
{
}

ModalScript::~ModalScript()
{
    m_thread.join();
}

bool ModalScript::WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(2);
    }
    return true;
}
