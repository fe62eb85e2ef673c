#include "SoakDialog.h"

#include <algorithm>
#include <cstdio>

#include "ModalScript.h"
#include "resource.h"

namespace {

bool Alive(HANDLE thread)
{
    return WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
}

} // namespace

SoakDialog::SoakDialog()
{
    m_bRealAbortBox = true;
}

SoakDialog::~SoakDialog()
{
    for (const Game& game : m_games)
        CloseHandle(game.thread);
}

LRESULT SoakDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSampleMessage) {
        Sample(*reinterpret_cast<SoakSample*>(lParam));
        return 1;
    }
    // Only a command that finds no box open opens one.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == IDM_ABOUTBOX && !m_bAskingAbort && !m_bAboutOpen)
        ++m_nAboutCommands;
    if (message == WM_DESTROY || message == ModalScript::kEndMessage) {
        m_bEnding.store(true);
        NoteGame();
        if (!m_games.empty() && Alive(m_games.back().thread))
            Settle(m_games.back(), Outcome::Closed);
    }
    const bool paint = message == WM_PAINT;
    if (paint)
        ++m_nPaintDepth;
    const LRESULT result = MainDialogProbe::WindowProc(message, wParam, lParam);
    if (paint)
        --m_nPaintDepth;
    NoteGame();
    return result;
}

void SoakDialog::OnOK()
{
    m_bEnding.store(true);
    MainDialogProbe::OnOK();
}

int SoakDialog::AskAbort()
{
    const int answer = MainDialogProbe::AskAbort();
    if (answer == IDOK) {
        ++m_nAnsweredOk;
        NoteGame();
        if (!m_games.empty() && Alive(m_games.back().thread))
            Settle(m_games.back(), Outcome::Aborted);
    } else {
        ++m_nAnsweredCancel;
    }
    return answer;
}

int SoakDialog::AliveGames() const
{
    return static_cast<int>(
        std::count_if(m_games.begin(), m_games.end(), [](const Game& game) { return Alive(game.thread); }));
}

void SoakDialog::Settle(Game& game, Outcome outcome)
{
    if (game.outcome == Outcome::None)
        game.outcome = outcome;
}

void SoakDialog::NoteGame()
{
    const HANDLE current = m_worker.GetThreadHandle();
    if (current != nullptr) {
        // Thread ids and handle values are both reused; with the creation
        // time a thread is told apart from its successor.
        const DWORD id = GetThreadId(current);
        FILETIME created = {}, exited = {}, kernel = {}, user = {};
        GetThreadTimes(current, &created, &exited, &kernel, &user);
        const bool known = !m_games.empty() && m_games.back().id == id &&
                           CompareFileTime(&m_games.back().created, &created) == 0;
        if (!known) {
            if (AliveGames() > 0)
                ++m_nOverlaps;
            HANDLE own = nullptr;
            DuplicateHandle(GetCurrentProcess(), current, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS);
            m_games.push_back(Game{own, id, created, Outcome::None, 0, 0, 0});
        }
    }
    if (m_games.empty() || !Alive(m_games.back().thread))
        return;
    Game& game = m_games.back();
    const CString text = m_worker.GetMessage();
    if (text == "Game Over!!")
        Settle(game, Outcome::Lost);
    else if (text == "Perfect!!")
        Settle(game, Outcome::Won);
    int stage = 0;
    if (std::sscanf(m_board.GetStatusText().GetString(), "Stage:%d", &stage) == 1)
        game.stage = std::max(game.stage, stage);
    // The board counts the current stage's hits; a new stage starts again at 0.
    const int hits = m_board.m_nHits.load();
    if (hits > game.lastHits)
        game.hits += hits - game.lastHits;
    game.lastHits = hits;
}

void SoakDialog::Sample(SoakSample& sample)
{
    NoteGame();
    sample.gdi = CountFrameworkGdi();
    sample.backBufferHeld = BackBufferHeld();
    sample.paintDepth = m_nPaintDepth;
    sample.runningThreads = WorkerThread::RunningThreads();
    sample.moles = m_board.MoleCount();
    sample.boardRunning = m_board.m_bRunning.load();
    sample.status = m_worker.m_nStatus.load();
    sample.threadAlive = m_worker.IsThreadAlive() != FALSE;
    sample.gamesAlive = AliveGames();
    sample.games = static_cast<int>(m_games.size());
    sample.overlaps = m_nOverlaps;
    sample.startPending = m_bStartPending;
    sample.askingAbort = m_bAskingAbort;
    sample.enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    sample.message = m_worker.GetMessage().GetString();
}

const char* OutcomeName(SoakDialog::Outcome outcome)
{
    switch (outcome) {
    case SoakDialog::Outcome::Won:
        return "won";
    case SoakDialog::Outcome::Lost:
        return "lost";
    case SoakDialog::Outcome::Aborted:
        return "aborted";
    case SoakDialog::Outcome::Closed:
        return "closed mid-game";
    case SoakDialog::Outcome::None:
        break;
    }
    return "none";
}
