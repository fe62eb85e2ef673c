#include "game/GameWorker.h"

namespace {

// The game's sound worker for the length of Run. On every way out, a stop
// included, it goes to SoundWorker::Release: the game's end never waits for
// a sound thread that is stuck in the platform's call.
class GameSound {
public:
    explicit GameSound(std::unique_ptr<SoundWorker> worker) : m_worker(std::move(worker)) {}
    ~GameSound() { SoundWorker::Release(std::move(m_worker)); }
    GameSound(const GameSound&) = delete;
    GameSound& operator=(const GameSound&) = delete;

    SoundWorker& operator*() const { return *m_worker; }
    SoundWorker* operator->() const { return m_worker.get(); }

private:
    std::unique_ptr<SoundWorker> m_worker;
};

} // namespace

GameWorker::~GameWorker()
{
    StopAndWait();
}

std::unique_ptr<SoundWorker> GameWorker::CreateSoundWorker()
{
    return std::make_unique<SoundWorker>();
}

GameClock& GameWorker::Clock()
{
    static GameClock clock;
    return clock;
}

void GameWorker::InvalidateOwner()
{
    CWnd* owner = GetOwner();
    if (owner != nullptr)
        owner->InvalidateRect(nullptr, FALSE);
}

void GameWorker::ShowMessage(CString text, int milliseconds)
{
    SetMessage(text);
    InvalidateOwner();
    PauseUnlessStopped(GameClock::Pause::Message, milliseconds);
    SetMessage(CString(""));
    InvalidateOwner();
}

void GameWorker::ShowStageBanner(int stageIndex, int stageCount)
{
    CString banner;
    if (stageIndex == stageCount - 1)
        banner.Format("%s", "ファイナルステージ");
    else
        banner.Format("ステージ%d", stageIndex + 1);
    ShowMessage(banner, kMessageMs);
    // A stop during the banner ends the game here, before the stage begins.
    StopIfRequested();
}

void GameWorker::UpdateStatus(double seconds)
{
    CString status;
    status.Format("Stage:%d  Dunko：%d/%d 匹 Time:%.1lf", m_nStage + 1, m_pBoard->m_nHits.load(),
                  GetQuota(), seconds);
    m_pBoard->SetStatusText(status);
}

int GameWorker::Run()
{
    // Released on every way out, a stop included, without waiting for a
    // sound thread still in its call.
    const GameSound sound(CreateSoundWorker());
    sound->SetPath(GetCurrentDirPrefix() + L"data\\piko1.wav");

    int stage = 0;
    while (stage < kStageCount) {
        m_nStage = stage;
        ShowStageBanner(stage, kStageCount);
        if (!PlayStage(*sound))
            break;
        m_pBoard->RemoveAllMoles();
        CheckPoint();
        ++stage;
    }

    ShowMessage(stage == kStageCount ? "Perfect!!" : "Game Over!!", kMessageMs);
    m_pBoard->m_bRunning.store(0);
    InvalidateOwner();
    return 0;
}

bool GameWorker::PlayStage(SoundWorker& sound)
{
    m_pBoard->m_nHits.store(0);
    Stopwatch stageWatch(Clock());
    stageWatch.Start();
    UpdateStatus(stageWatch.GetElapsedSec());

    for (;;) {
        Stopwatch moleWatch(Clock());
        SpawnMole(moleWatch);
        // Take clicks until the mole is hit or its second is over.
        while (m_pBoard->MoleCount() > 0) {
            const Wait wait = WaitForClick(moleWatch, stageWatch);
            if (wait == Wait::TimeUp)
                return false;
            if (wait == Wait::MoleExpired)
                break;
            std::unique_ptr<ClickEvent> click(m_clickQueue.RemoveHead());
            if (click)
                HandleClick(sound, std::move(click), stageWatch);
        }
        if (m_pBoard->m_nHits.load() >= GetQuota())
            return true;
    }
}

void GameWorker::SpawnMole(Stopwatch& moleWatch)
{
    m_pBoard->Spawn(1);
    PauseUnlessStopped(GameClock::Pause::Spawn, kSpawnPauseMs);
    StopIfRequested();
    InvalidateOwner();
    moleWatch.Start();
}

GameWorker::Wait GameWorker::WaitForClick(Stopwatch& moleWatch, Stopwatch& stageWatch)
{
    // A queued click is taken before the clocks are looked at, so a hit that
    // completes the quota counts even just after the stage's time is up.
    for (;;) {
        if (m_clickQueue.GetCount() != 0) {
            // A game asked to stop takes no more clicks: they may be meant
            // for the next one.
            StopIfRequested();
            return Wait::ClickQueued;
        }
        if (moleWatch.GetElapsedMs() > kMoleLifeMs)
            return Wait::MoleExpired;
        // The picture changes on a wait pass only when the status line does
        // (its time shows tenths): repainting the whole window 50 times a
        // second for nothing was most of the game's processor time.
        const CString shown = m_pBoard->GetStatusText();
        UpdateStatus(stageWatch.GetElapsedSec());
        if (m_pBoard->GetStatusText() != shown)
            InvalidateOwner();
        if (stageWatch.GetElapsedSec() > kStageSeconds)
            return Wait::TimeUp;
        PausePoll();
        CheckPoint();
    }
}

void GameWorker::PausePoll()
{
    const HANDLE wakers[] = {ClickSignal(), StopEvent()};
    Clock().Wait(GameClock::Pause::Poll, 2, wakers, PollMs());
}

void GameWorker::PauseUnlessStopped(GameClock::Pause pause, int milliseconds)
{
    const HANDLE stop = StopEvent();
    Clock().Wait(pause, 1, &stop, static_cast<DWORD>(milliseconds));
}

void GameWorker::WaitForSound(SoundWorker& sound)
{
    const HANDLE thread = sound.GetThreadHandle();
    if (thread != nullptr)
        Clock().Wait(GameClock::Pause::Sound, 1, &thread, kSoundWaitMs);
}

void GameWorker::HandleClick(SoundWorker& sound, std::unique_ptr<ClickEvent> click, Stopwatch& stageWatch)
{
    const POINT point = {click->m_nX, click->m_nY};
    bool hit = false;
    for (int i = 0; i < m_pBoard->MoleCount(); ++i) {
        Mole* mole = m_pBoard->GetMole(i);
        if (mole == nullptr || !mole->HitTest(point))
            continue;
        // One sound at a time. The previous hit's sound thread lives only for
        // its call to the platform and has normally ended long before; if
        // it is still in that call, wait for it on its handle, for one poll
        // at most. Should it still be there (a sound system that hangs),
        // this hit is counted all the same and goes without its sound:
        // Start refuses while that thread lives. A stop meanwhile drops
        // this click and leaves the mole uncounted.
        WaitForSound(sound);
        StopIfRequested();
        m_pBoard->RemoveMole(i);
        m_pBoard->m_nHits.fetch_add(1);
        hit = true;
    }
    UpdateStatus(stageWatch.GetElapsedSec());
    InvalidateOwner();
    // The sound's thread is started once the hit is on its way to the screen:
    // a new thread's start-up takes a millisecond or more of processor time,
    // which the repaint would otherwise wait behind. It does not start while
    // the previous one is still in its call.
    if (hit)
        sound.Start();
}
