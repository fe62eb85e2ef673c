#include "GameHarness.h"

#include "framework/CSingleLock.h"

GameRecorder::GameRecorder(GameWorker& worker, Board& board)
    : m_worker(worker), m_board(board), m_thread([this] { Loop(); })
{
}

GameRecorder::~GameRecorder()
{
    m_quit = true;
    m_thread.join();
}

void GameRecorder::Loop()
{
    std::string message = "\x01";
    std::string status = "\x01";
    while (!m_quit) {
        const std::string nowMessage = m_worker.GetMessage().GetString();
        const std::string nowStatus = m_board.GetStatusText().GetString();
        const DWORD now = GetTickCount();
        std::lock_guard<std::mutex> lock(m_mutex);
        if (nowMessage != message)
            m_messages.push_back({message = nowMessage, now});
        if (nowStatus != status)
            m_statuses.push_back({status = nowStatus, now});
        Sleep(1);
    }
}

std::vector<Shown> GameRecorder::Messages()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

std::vector<Shown> GameRecorder::Statuses()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_statuses;
}

ScriptedPlayer::ScriptedPlayer(GameWorker& worker, Board& board)
    : m_worker(worker), m_board(board), m_thread([this] { Loop(); })
{
}

ScriptedPlayer::~ScriptedPlayer()
{
    m_quit = true;
    m_thread.join();
}

void ScriptedPlayer::Loop()
{
    // Clicks each mole once: again only when the hit count moved or the mole
    // changed place, or as a fallback after a while.
    RECT lastRect = {-1, -1, -1, -1};
    int lastHits = -1;
    DWORD lastClick = 0;
    while (!m_quit) {
        Sleep(2);
        if (!m_playing || m_worker.m_nStatus.load() == WorkerThread::STATUS_IDLE)
            continue;
        const int hits = m_board.m_nHits.load(); // read first: a hit removes the mole before counting
        RECT rect;
        if (!CurrentMoleRect(m_board, &rect))
            continue;
        const bool moved = !EqualRect(&rect, &lastRect);
        if (moved || hits != lastHits || GetTickCount() - lastClick > 400) {
            const POINT c = Centre(rect);
            m_worker.PushClick(new ClickEvent(c.x, c.y));
            m_clicks.fetch_add(1);
            lastRect = rect;
            lastHits = hits;
            lastClick = GetTickCount();
        }
    }
}

std::vector<RECT> PredictMoleSpots(int count)
{
    std::vector<RECT> spots;
    std::thread fresh([&] {
        Board board;
        board.SetPlayArea(kPlayArea);
        for (int i = 0; i < count; ++i) {
            board.Spawn(1);
            spots.push_back(board.GetMole(0)->GetRect());
        }
    });
    fresh.join();
    return spots;
}
