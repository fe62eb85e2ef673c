// Entry point of every test program.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "GdiProbe.h"
#include "framework/AfxCore.h"

namespace {

// A crash on any thread fails the run. Left to Wine, the debugger it starts
// for an unhandled exception often ends the process with exit code 0, and
// CTest would count the crashed test as passed. No locks are taken here:
// the crash may have come while one was held.
LONG WINAPI FailTheRun(EXCEPTION_POINTERS* info)
{
    char text[96];
    const int length = std::snprintf(text, sizeof text, "\nunhandled exception 0x%08lx at %p: the run fails\n",
                                     info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv)
{
    // Plain "\n" line ends on the pipes CTest reads, also under Wine.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A crash ends the process instead of opening an error box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(FailTheRun);
    testing::InitGoogleTest(&argc, argv);
    // Whether GDI draws here, before any test has drawn or made windows; the
    // tests that need drawing skip themselves when it does not and the run
    // allows it, and fail otherwise.
    const GdiDrawing& gdi = ProbeGdiDrawing();
    if (!gdi.works && !GTEST_FLAG_GET(list_tests))
        std::printf("%s: the tests that draw are %s\n", gdi.reason.c_str(),
                    gdi.mayFail.empty() ? "failed" : ("skipped in " + gdi.mayFail).c_str());
    return RUN_ALL_TESTS();
}
