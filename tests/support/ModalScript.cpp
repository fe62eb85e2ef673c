#include "ModalScript.h"
#include "WaitUntil.h"

ModalScript::ModalScript(std::atomic<HWND>& ready, std::function<void(HWND)> script)
    : m_thread([&ready, script] {
          HWND hWnd = nullptr;
          if (!WaitUntil([&] { return (hWnd = ready.load()) != nullptr; }, 10000))
              return;
          script(hWnd);
          // A script that closed the dialog leaves it a moment to go.
          WaitUntil([&] { return !IsWindow(hWnd); }, 5000);
          if (IsWindow(hWnd))
              PostMessageW(hWnd, kEndMessage, 0, 0);
      })
{
}

ModalScript::~ModalScript()
{
    m_thread.join();
}
