#include "DrivenGame.h"

#include "GameHarness.h"
#include "MoleScene.h"

DWORD DrivenClock::Wait(Pause pause, DWORD count, const HANDLE* events, DWORD ms)
{
    const DWORD lasts = script ? script(pause, ms) : ms;
    if (pause == Pause::Sound) {
        soundWaits.push_back(ms);
        return WaitForMultipleObjects(count, events, FALSE, ms);
    }
    m_now += lasts;
    // The stage's stopwatch starts as its banner ends, the mole's as its
    // spawn pause does, with no reading of the clock in between.
    if (pause == Pause::Message)
        m_stageStart = m_now;
    if (pause == Pause::Spawn)
        m_moleStart = m_now;
    return WaitForMultipleObjects(count, events, FALSE, 0);
}

namespace {

// A sound whose thread ends at once, counting the threads started for it.
class CountedSound : public SlowSound<0> {
public:
    explicit CountedSound(std::atomic<int>& starts) : m_starts(starts) {}

protected:
    CWinThread* BeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) override
    {
        m_starts.fetch_add(1);
        return SlowSound<0>::BeginThread(pfnThreadProc, pParam);
    }

private:
    std::atomic<int>& m_starts;
};

} // namespace

std::unique_ptr<SoundWorker> DrivenWorker::CreateSoundWorker()
{
    return std::make_unique<CountedSound>(soundsStarted);
}

DrivenGame::DrivenGame()
{
    board.SetPlayArea(kPlayArea);
    worker.SetOwner(owner.Wnd());
    worker.m_pBoard = &board;
}

bool DrivenGame::Play(Script script)
{
    worker.clock.script = [this, script](GameClock::Pause pause, DWORD ms) {
        if (pause == GameClock::Pause::Message)
            messages.push_back({worker.GetMessage().GetString(), ms, board.MoleCount(),
                                board.GetStatusText().GetString()});
        return script ? script(pause, ms) : ms;
    };
    board.m_bRunning = 1;
    if (worker.Start() != 0)
        return false;
    return worker.WaitForThread(5000) != 0;
}

bool DrivenGame::ClickMole()
{
    RECT mole;
    if (!CurrentMoleRect(board, &mole))
        return false;
    Click(Centre(mole));
    return true;
}

std::vector<std::string> DrivenGame::Texts() const
{
    std::vector<std::string> texts;
    for (const MessageShown& m : messages)
        texts.push_back(m.text);
    return texts;
}
