// The rules a player meets, each at its boundary, on a clock the test
// drives: a whole game runs in a moment of real time.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "DrivenGame.h"
#include "GameHarness.h"
#include "framework/TextCodec.h"

namespace {

using Pause = GameClock::Pause;
const std::string kStage[] = {"ステージ1", "ステージ2", "ステージ3", "ステージ4", "ファイナルステージ"};
const std::string kPerfect = "Perfect!!";
const std::string kOver = "Game Over!!";

// The texts one after another, in UTF-8 so a failure reads as the player saw them.
std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& t : texts) {
        const std::wstring wide = TextCodec::Cp932ToWide(t);
        char utf8[256] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
        all += (all.empty() ? "" : " | ") + std::string(utf8);
    }
    return all;
}

// The status line without its time.
std::string Score(const std::string& status) { return status.substr(0, status.find(" Time:")); }
std::string Score(int stage, int hits, int quota)
{
    CString s;
    s.Format("Stage:%d  Dunko：%d/%d 匹", stage, hits, quota);
    return s.GetString();
}

// A point of the first mole that the second one does not cover, so a click
// there tells which of the two it was tested against.
POINT OnlyInTheFirstMole()
{
    const std::vector<RECT> spots = PredictMoleSpots(2);
    const RECT& r = spots[0];
    for (const POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                          POINT{r.right - 1, r.bottom - 1}})
        if (!PtInRect(&spots[1], p))
            return p;
    ADD_FAILURE() << "the second mole covers the first";
    return POINT{-1, -1};
}

} // namespace

TEST(GameRules, EachStageIsClearedByItsQuotaAndLostOneHitShortOfIt)
{
    struct Case { std::vector<int> hits; size_t stagesShown; std::string end; };
    for (const Case& c : {Case{{9}, 1, kOver}, {{10, 11}, 2, kOver}, {{10, 12, 13}, 3, kOver},
                          {{10, 12, 14, 15}, 4, kOver}, {{10, 12, 14, 16, 17}, 5, kOver},
                          {{10, 12, 14, 16, 18}, 5, kPerfect}}) {
        DrivenGame game;
        int clicks[5] = {};
        ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) {
            const int stage = game.worker.m_nStage;
            if (pause == Pause::Poll && clicks[stage] < c.hits[stage] && game.ClickMole())
                ++clicks[stage];
            return ms;
        }));
        std::vector<std::string> wanted(kStage, kStage + c.stagesShown);
        wanted.push_back(c.end);
        EXPECT_TRUE(Joined(wanted) == Joined(game.Texts()))
            << "shown: " << Joined(game.Texts()) << "; wanted: " << Joined(wanted) << "; hitting " << c.hits.back() << " moles in stage "
                                                       << c.hits.size();
    }
}

TEST(GameRules, APerfectGameShowsEachBannerAndItsEndTextForTwoSecondsOnAnEmptyBoard)
{
    DrivenGame game;
    ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) {
        if (pause == Pause::Poll)
            game.ClickMole();
        return ms;
    }));
    // Each text with what the board showed under it: the previous stage's
    // score and no mole, a cleared stage's last mole being gone.
    const std::string shown[][2] = {{kStage[0], ""}, {kStage[1], Score(1, 10, 10)}, {kStage[2], Score(2, 12, 12)},
                                    {kStage[3], Score(3, 14, 14)}, {kStage[4], Score(4, 16, 16)},
                                    {kPerfect, Score(5, 18, 18)}};
    ASSERT_EQ(6u, game.messages.size()) << Joined(game.Texts());
    for (size_t i = 0; i < 6; ++i) {
        const MessageShown& m = game.messages[i];
        EXPECT_EQ(shown[i][0], m.text);
        EXPECT_EQ(2000u, m.ms) << "ms of " << m.text;
        EXPECT_EQ(0, m.moles) << "moles under " << m.text;
        EXPECT_EQ(shown[i][1], Score(m.status)) << "score under " << m.text;
    }
    EXPECT_EQ(0, game.board.m_bRunning.load()) << "the title screen comes back";
    EXPECT_EQ(0, game.board.MoleCount());
    EXPECT_EQ("", std::string(game.worker.GetMessage().GetString()));
    // Every hit but the first waits for the previous sound thread, one poll at most.
    EXPECT_EQ(std::vector<DWORD>(69, 20), game.worker.clock.soundWaits) << "the ms each hit's sound wait asked for";
}

TEST(GameRules, AtGameOverTheWorkerLeavesTheLastMoleAndScoreOnTheBoardForTheWindowToClear)
{
    DrivenGame game;
    std::string first;
    ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) {
        if (pause == Pause::Spawn && first.empty())
            first = game.board.GetStatusText().GetString();
        return ms;
    }));
    EXPECT_EQ(Score(1, 0, 10) + " Time:0.0", first) << "the first status line";
    ASSERT_EQ(2u, game.messages.size()) << Joined(game.Texts());
    EXPECT_EQ(kOver, game.messages[1].text);
    EXPECT_EQ(2000u, game.messages[1].ms);
    EXPECT_EQ(1, game.messages[1].moles) << "the mole up at the loss shows under the end text";
    const std::string lost = game.messages[1].status;
    EXPECT_EQ(Score(1, 0, 10) + " Time:10.0", lost);
    EXPECT_EQ(0, game.board.m_bRunning.load()) << "the title screen comes back";
    EXPECT_EQ(1, game.board.MoleCount());

    // Clearing them is the window's part before it starts the next game:
    // the worker started again on this board begins with them still there.
    game.messages.clear();
    ASSERT_TRUE(game.Play());
    ASSERT_FALSE(game.messages.empty());
    EXPECT_EQ(1, game.messages[0].moles) << "moles under the worker's next first banner";
    EXPECT_EQ(lost, game.messages[0].status) << "score under the worker's next first banner";
}

TEST(GameRules, TheStageIsLostOnlyWhenItsClockReadsMoreThanTenSecondsWithNoClickQueued)
{
    // Nine hits early; the stage's clock then goes on a millisecond per poll
    // and the tenth hit comes at its boundary.
    struct Case { uint64_t atMs; bool queuedBeforeThatPass; bool cleared; };
    for (const Case& c : {Case{9999, false, true}, {10000, false, true}, {10001, false, false}, {10001, true, true}}) {
        DrivenGame game;
        ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) -> DWORD {
            if (game.worker.m_nStage != 0)
                return ms;
            if (game.board.m_nHits.load() < 9) {
                if (pause == Pause::Poll)
                    game.ClickMole();
                return ms;
            }
            if (pause == Pause::Spawn)
                return 0; // every millisecond of the stage gets a pass that looks at its clock
            const uint64_t clickAt = c.queuedBeforeThatPass ? c.atMs - 1 : c.atMs;
            if (pause == Pause::Poll && game.worker.clock.StageMs() == clickAt)
                game.ClickMole();
            return 1;
        }));
        const std::string next = Joined({c.cleared ? kStage[1] : kOver});
        EXPECT_TRUE(next == Joined({game.Texts().at(1)}))
            << "shown " << Joined({game.Texts().at(1)}) << ", wanted " << next << ", with the tenth hit queued " << (c.queuedBeforeThatPass ? "before" : "after") << " the pass at "
            << c.atMs << " ms";
    }
}

TEST(GameRules, AMoleCanBeHitFromThePauseBeforeItShowsToItsThousandthMillisecond)
{
    const POINT first = OnlyInTheFirstMole();
    // When the click on the first mole is queued: in the banner, in
    // the pause after the mole is placed and before it shows, or in the
    // pause after the pass at which the mole's stopwatch read moleMs.
    enum When { Banner, SpawnPause, AfterPass };
    struct Case { When when; uint64_t moleMs; int hits; };
    for (const Case& c : {Case{Banner, 0, 1}, {SpawnPause, 0, 1}, {AfterPass, 999, 1}, {AfterPass, 1000, 1},
                          {AfterPass, 1001, 0}}) {
        DrivenGame game;
        bool clicked = false;
        bool atPass = false;
        ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) -> DWORD {
            if (clicked)
                return ms;
            if ((c.when == Banner && pause == Pause::Message) || (c.when == SpawnPause && pause == Pause::Spawn) ||
                atPass) {
                game.Click(first);
                clicked = true;
            } else if (c.when == AfterPass && pause == Pause::Poll) {
                atPass = true;
                return static_cast<DWORD>(c.moleMs); // the first poll after the mole's start
            }
            return ms;
        }));
        EXPECT_EQ(c.hits, game.board.m_nHits.load())
            << "hits for a click queued " << (c.when == Banner ? "in the banner" : c.when == SpawnPause ? "in the spawn pause" : "after the pass at ")
            << (c.when == AfterPass ? std::to_string(c.moleMs) + " ms of the mole" : "");
    }
}

TEST(GameRules, AClickCountsOnceOnTheMoleUnderItAndAMissChangesNothing)
{
    // Clicks queued together in the first mole's first poll; the second of
    // two on one mole is tested against the next mole, placed elsewhere.
    const POINT on = OnlyInTheFirstMole();
    const POINT miss = {1, 1};
    struct Case { std::vector<POINT> clicks; int hits; };
    for (const Case& c : {Case{{on}, 1}, {{on, on}, 1}, {{miss}, 0}, {{miss, on}, 1}}) {
        DrivenGame game;
        bool clicked = false;
        ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) {
            if (pause == Pause::Poll && !clicked) {
                for (const POINT p : c.clicks)
                    game.Click(p);
                clicked = true;
            }
            return ms;
        }));
        const std::string what = std::to_string(c.clicks.size()) + " clicks, the first at " +
                                 std::to_string(c.clicks[0].x) + "," + std::to_string(c.clicks[0].y);
        EXPECT_EQ(c.hits, game.board.m_nHits.load()) << "hits for " << what;
        EXPECT_EQ(c.hits, game.worker.soundsStarted.load()) << "sounds for " << what << ": a hit's, never a miss's";
        EXPECT_EQ(0, game.worker.m_clickQueue.GetCount()) << "every click is taken";
    }
}

TEST(GameRules, AStopInAnyPauseEndsTheGameThereAndASuspensionThereChangesNothing)
{
    // A mole is clicked in every poll until two are hit; the stop or the
    // suspension (lifted 30 ms later from another thread) comes in the
    // first pause of its kind, or as from the window just after the
    // checkpoint that follows the first poll. The second hit is the first
    // to wait for a sound thread: a stop then leaves it uncounted.
    enum Action { Stop, StopAfterCheckPoint, Suspend };
    struct Case { Pause at; Action action; int hits; int queued; std::vector<std::string> texts; };
    const char* pauses[] = {"message", "spawn", "poll", "sound"};
    for (const Case& c : {Case{Pause::Message, Stop, 0, 0, {kStage[0]}}, {Pause::Spawn, Stop, 0, 0, {kStage[0]}},
                          {Pause::Poll, Stop, 0, 1, {kStage[0]}}, {Pause::Poll, StopAfterCheckPoint, 0, 1, {kStage[0]}},
                          {Pause::Sound, Stop, 1, 0, {kStage[0]}}, {Pause::Message, Suspend, 2, 0, {kStage[0], kOver}},
                          {Pause::Spawn, Suspend, 2, 0, {kStage[0], kOver}}, {Pause::Poll, Suspend, 2, 0, {kStage[0], kOver}},
                          {Pause::Sound, Suspend, 2, 0, {kStage[0], kOver}}}) {
        const std::string what = std::string(c.action == Suspend ? "a suspension" : "a stop") + " in the first " +
                                 pauses[static_cast<int>(c.at)] + " pause" +
                                 (c.action == StopAfterCheckPoint ? ", after its checkpoint" : "");
        DrivenGame game;
        std::thread resumer;
        bool acted = false;
        ASSERT_TRUE(game.Play([&](Pause pause, DWORD ms) {
            if (pause == Pause::Poll && game.board.m_nHits.load() < 2)
                game.ClickMole();
            if (pause != c.at || std::exchange(acted, true))
                return ms;
            if (c.action == Stop)
                game.worker.RequestStop();
            if (c.action == StopAfterCheckPoint)
                game.worker.afterCheckPoint = [&] { game.worker.RequestStop(); };
            if (c.action == Suspend) {
                game.worker.Suspend();
                resumer = std::thread([&] { Sleep(30); game.worker.Resume(); });
            }
            return ms;
        })) << what;
        if (resumer.joinable())
            resumer.join();
        EXPECT_EQ(c.hits, game.board.m_nHits.load()) << "hits after " << what;
        EXPECT_EQ(c.queued, game.worker.m_clickQueue.GetCount()) << "clicks left queued after " << what;
        EXPECT_TRUE(Joined(c.texts) == Joined(game.Texts()))
            << "shown after " << what << ": " << Joined(game.Texts()) << "; wanted: " << Joined(c.texts);
        EXPECT_EQ(WorkerThread::STATUS_IDLE, game.worker.m_nStatus.load()) << "status after " << what;
    }
}
