#pragma once
// The real main dialog for the randomized run: MainDialogProbe asking the
// abort question with the real message box, and besides that
// - a sent message (kSampleMessage) that reads the dialog's state on the
//   dialog's own thread, between two of its messages, where no paint is
//   half done;
// - a record of every game thread the dialog starts, taken after each
//   message it handles (a game thread is only ever started from one), with
//   how each game ended.
#include <atomic>
#include <string>
#include <vector>

#include "MainDialogProbe.h"
#include "SoakGdi.h"

struct SoakSample {
    FrameworkGdi gdi = {0, 0};
    bool backBufferHeld = false;
    int paintDepth = 0;       // WM_PAINT handlers under way on the dialog's thread
    int runningThreads = 0;   // WorkerThread::RunningThreads()
    int moles = 0;
    int boardRunning = 0;
    int status = 0;           // the worker's status word
    bool threadAlive = false; // the worker's current thread
    int gamesAlive = 0;       // of every game thread the dialog has started
    int games = 0;
    int overlaps = 0;
    bool startPending = false;
    bool askingAbort = false;
    bool enabled = false;
    std::string message;      // the worker's message text (code page 932)
};

class SoakDialog : public MainDialogProbe {
public:
    static constexpr UINT kSampleMessage = WM_APP + 0x3E0;

    enum class Outcome { None, Won, Lost, Aborted, Closed };
    struct Game {
        HANDLE thread;      // our own handle, to see whether it has ended
        DWORD id;
        FILETIME created;
        Outcome outcome;
        int stage;          // the highest stage shown in its status line
        int hits;           // moles hit, all stages together
        int lastHits;       // the board's count when last looked at
    };

    SoakDialog();
    ~SoakDialog() override;

    // Fills a sample; only on the dialog's thread (the sent message does that).
    void Sample(SoakSample& sample);
    int AliveGames() const;
    const std::vector<Game>& Games() const { return m_games; }
    // Game threads started while an earlier one of this dialog was alive.
    int Overlaps() const { return m_nOverlaps; }
    int AnsweredOk() const { return m_nAnsweredOk; }
    int AnsweredCancel() const { return m_nAnsweredCancel; }
    // About commands that came while no box was open, so opened one.
    int AboutCommands() const { return m_nAboutCommands; }

    // Set once the dialog has been told to end (OnOK, or its window going).
    std::atomic<bool> m_bEnding{false};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    int AskAbort() override;

private:
    // Notes a game thread the worker has started since the last look, and
    // what the current game shows.
    void NoteGame();
    static void Settle(Game& game, Outcome outcome);

    std::vector<Game> m_games;
    int m_nOverlaps = 0;
    int m_nPaintDepth = 0;
    int m_nAnsweredOk = 0;
    int m_nAnsweredCancel = 0;
    int m_nAboutCommands = 0;
};

const char* OutcomeName(SoakDialog::Outcome outcome);
