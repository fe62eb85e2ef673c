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
