#include "SoakDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "BoxAnswerer.h"
#include "ModalScript.h"
#include "MoleScene.h"
#include "WaitUntil.h"
#include "framework/CSingleLock.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr unsigned kDefaultSeed = 24301;
constexpr int kDefaultSeconds = 30;
// Failures of a kind printed as they happen; later ones of that kind only
// every thousandth.
constexpr int kPrinted = 3;

// How likely each input is in a mood, in the order of SoakDriver::Kind:
// move, release anywhere, on the start area, on the exit area, on the
// mole, Escape as a command, Escape as a key, the About item.
constexpr std::array<double, SoakDriver::kKinds> kPlayerWeights = {20, 3, 8, 0, 60, 0.1, 0.1, 0.1};
constexpr std::array<double, SoakDriver::kKinds> kIdleWeights = {30, 10, 25, 0.5, 10, 4, 4, 2};
constexpr std::array<double, SoakDriver::kKinds> kChaosWeights = {30, 25, 12, 1, 15, 2, 2, 1};

const char* const kKindNames[SoakDriver::kKinds] = {
    "move", "release anywhere", "release on start", "release on exit", "release on the mole",
    "Escape as IDCANCEL", "Escape as a key", "About item"};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string Utf8(const std::wstring& wide)
{
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

// Code page 932 text (the game's) as UTF-8, for the log.
std::string Utf8(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(932, 0, text.data(), length, nullptr, 0)), L'\0');
    MultiByteToWideChar(932, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    return Utf8(wide);
}

struct FoundBoxes {
    HWND main;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND hWnd, LPARAM lParam)
{
    FoundBoxes* found = reinterpret_cast<FoundBoxes*>(lParam);
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    if (hWnd != found->main && wcscmp(className, L"#32770") == 0 && IsWindowVisible(hWnd))
        found->boxes.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(WindowText(hWnd));
    return TRUE;
}

std::vector<std::wstring> ChildTexts(HWND hWnd)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(hWnd, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

} // namespace

SoakSettings ReadSoakSettings()
{
    SoakSettings settings = {kDefaultSeed, kDefaultSeconds, false, false};
    if (const char* seed = std::getenv("DUNKO_SOAK_SEED"); seed != nullptr && *seed != '\0') {
        settings.seed = static_cast<unsigned>(std::strtoul(seed, nullptr, 0));
        settings.seedFromEnvironment = true;
    }
    if (const char* secs = std::getenv("DUNKO_SOAK_SECONDS"); secs != nullptr && *secs != '\0') {
        const int value = std::atoi(secs);
        if (value > 0) {
            settings.seconds = value;
            settings.secondsFromEnvironment = true;
        }
    }
    return settings;
}

void SoakFailures::Add(const std::string& kind, const std::string& detail)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_count;
    Kind& entry = m_kinds.emplace(kind, Kind{0, detail}).first->second;
    ++entry.count;
    if (entry.count <= kPrinted || entry.count % 1000 == 0) {
        std::printf("[soak] broken (%s, #%d): %s\n", kind.c_str(), entry.count, detail.c_str());
        std::fflush(stdout);
    }
}

int SoakFailures::Count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

std::string SoakFailures::Summary() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text;
    for (const auto& [kind, entry] : m_kinds)
        text += "\n  " + kind + ": " + std::to_string(entry.count) + " times; first: " + entry.first;
    return text;
}

SoakDriver::SoakDriver(const SoakSettings& settings, SoakFailures& failures)
    : m_settings(settings), m_failures(failures), m_random(settings.seed), m_begin(Clock::now()),
      m_moodEnds(m_begin)
{
}

bool SoakDriver::TimeUp() const
{
    return Clock::now() - m_begin >= seconds(m_settings.seconds);
}

double SoakDriver::ElapsedSeconds() const
{
    return Ms(Clock::now() - m_begin) / 1000.0;
}

int SoakDriver::Between(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

double SoakDriver::Chance()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
}

void SoakDriver::RunSession(SoakDialog& dialog, FrameworkGdi baseline)
{
    if (!WaitUntil([&] { return dialog.m_hReady.load() != nullptr; }, 10000)) {
        m_failures.Add("dialog did not open", "");
        return;
    }
    const HWND hWnd = dialog.m_hReady.load();
    const DWORD uiThread = GetWindowThreadProcessId(hWnd, nullptr);
    m_boxes.clear();
    m_last = SoakSample();

    bool finishing = false; // the time is up: the dialog gets the OK command
    Ending style = Ending::BoxesFirst;
    int aboutBoxesBefore = 0;
    bool okPosted = false;
    bool ending = false;    // the dialog has been told to end
    bool slowCloseReported = false;
    Clock::time_point finishingSince{};
    Clock::time_point endingSince{};
    Clock::time_point nextInput = Clock::now();

    while (IsWindow(hWnd)) {
        if (!Probe(dialog, hWnd))
            break;
        SoakSample sample;
        DWORD_PTR unused = 0;
        if (SendMessageTimeoutW(hWnd, SoakDialog::kSampleMessage, 0, reinterpret_cast<LPARAM>(&sample),
                                SMTO_ABORTIFHUNG, 1000, &unused) != 0) {
            ++m_samples;
            Check(sample, baseline);
            m_last = sample;
        }
        const bool endingNow = dialog.m_bEnding.load();
        const bool keepAbout = finishing && style == Ending::OverAboutBox && !okPosted;
        const int open = ServiceBoxes(hWnd, uiThread, (finishing && !keepAbout) || endingNow);
        const Clock::time_point now = Clock::now();

        if (endingNow) {
            // No more input: the window is hidden, and closing may wait for
            // the game's thread. Boxes still open are closed, so the nested
            // loops they run can return.
            if (!ending) {
                ending = true;
                endingSince = now;
                if (!okPosted)
                    ++m_endedOtherwise;
            }
            if (!slowCloseReported && now - endingSince > seconds(20)) {
                slowCloseReported = true;
                m_failures.Add("dialog not closed 20 s after being told to end", Describe(m_last));
                PostMessageW(hWnd, ModalScript::kEndMessage, 0, 0);
            }
            if (now - endingSince > seconds(60)) {
                std::printf("[soak] the dialog's thread is stuck closing; ending the process\n");
                std::fflush(stdout);
                std::_Exit(3);
            }
            Sleep(5);
            continue;
        }
        if (!finishing && TimeUp()) {
            finishing = true;
            finishingSince = now;
            style = static_cast<Ending>(Between(0, 2));
            aboutBoxesBefore = m_aboutBoxes;
            if (style == Ending::OverAboutBox && IsWindowEnabled(hWnd))
                Post(dialog, hWnd, About);
        }
        if (finishing) {
            // The OK command, to the enabled dialog: while the abort question
            // is open the dialog cannot be reached, so that is answered first.
            const bool ready = style == Ending::AtOnce || (style == Ending::BoxesFirst && open == 0) ||
                               (style == Ending::OverAboutBox &&
                                (m_aboutBoxes > aboutBoxesBefore || now - finishingSince > seconds(3)));
            if (!okPosted && IsWindowEnabled(hWnd) && ready) {
                PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                okPosted = true;
                ++m_endedByOk;
                if (open > 0)
                    ++m_okWithBoxesOpen;
            }
            if (!okPosted && !slowCloseReported && now - finishingSince > seconds(20)) {
                slowCloseReported = true;
                m_failures.Add("boxes could not be closed at the end", Describe(m_last));
            }
            Sleep(10);
            continue;
        }
        if (now >= nextInput) {
            if (now >= m_moodEnds)
                PickMood();
            // Like a user: nothing reaches the dialog while the abort
            // question has disabled it (input already queued still does).
            if (IsWindowEnabled(hWnd))
                PostRandomInput(dialog, hWnd);
            else
                ++m_skippedWhileDisabled;
            nextInput = Clock::now() + milliseconds(Delay());
        }
        const long long wait = std::chrono::duration_cast<milliseconds>(nextInput - Clock::now()).count();
        Sleep(static_cast<DWORD>(std::clamp<long long>(wait, 1, 20)));
    }
    if (!okPosted && !ending)
        ++m_endedOtherwise;
}

bool SoakDriver::Probe(SoakDialog& dialog, HWND hWnd)
{
    const Clock::time_point begin = Clock::now();
    DWORD_PTR result = 0;
    SetLastError(0);
    const LRESULT answered = SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
    const DWORD error = GetLastError();
    const double ms = Ms(Clock::now() - begin);
    if (answered != 0) {
        m_missedProbes = 0;
        ++m_probes;
        m_longestProbeMs = std::max(m_longestProbeMs, ms);
        return true;
    }
    if (!IsWindow(hWnd))
        return false;
    if (dialog.m_bEnding.load())
        return true;
    std::ostringstream what;
    what << static_cast<int>(ms) << " ms, error " << error << "; last sample " << Describe(m_last);
    m_failures.Add("dialog did not answer WM_NULL within 1 s", what.str());
    if (++m_missedProbes >= 30) {
        std::printf("[soak] the dialog's thread has not answered for 30 probes; ending the process\n");
        std::fflush(stdout);
        std::_Exit(3);
    }
    return true;
}

void SoakDriver::Check(const SoakSample& sample, FrameworkGdi baseline)
{
    m_maxRunningThreads = std::max(m_maxRunningThreads, sample.runningThreads);
    // Worker threads are the game's and its sound threads; the game waits
    // for neither sound thread (a sound system may hold one), so only game
    // threads are bounded here: one at a time.
    if (sample.moles > 1)
        m_failures.Add("more than one mole", Describe(sample));
    if (sample.gamesAlive > 1 || sample.overlaps > 0)
        m_failures.Add("a second game thread", Describe(sample));
    if (!sample.threadAlive && sample.gamesAlive == 0 && sample.paintDepth == 0) {
        ++m_quietChecks;
        if (sample.gdi != WithBackBuffer(baseline, sample.backBufferHeld))
            m_failures.Add("GDI counts off their baseline with no game running",
                           "baseline " + ::Describe(baseline) + "; " + Describe(sample));
    }
}

std::chrono::milliseconds SoakDriver::AnswerDelay(BoxKind kind, bool hurry)
{
    if (hurry)
        return milliseconds(Between(0, 300));
    if (kind == BoxKind::About)
        return milliseconds(Between(0, 2500));
    const double roll = Chance();
    if (roll < 0.2)
        return milliseconds(Between(0, 50));
    if (roll < 0.9)
        return milliseconds(Between(50, 800));
    return milliseconds(Between(800, 3000));
}

int SoakDriver::ServiceBoxes(HWND hWnd, DWORD uiThread, bool hurry)
{
    FoundBoxes found = {hWnd, {}};
    EnumThreadWindows(uiThread, &CollectBox, reinterpret_cast<LPARAM>(&found));
    const Clock::time_point now = Clock::now();

    // Forget boxes that have gone (a new box may get an old one's handle).
    for (auto it = m_boxes.begin(); it != m_boxes.end();) {
        if (std::find(found.boxes.begin(), found.boxes.end(), it->first) == found.boxes.end())
            it = m_boxes.erase(it);
        else
            ++it;
    }
    for (HWND box : found.boxes) {
        if (m_boxes.count(box) != 0)
            continue;
        Box entry = {BoxKind::Other, now, IDCANCEL, false, now};
        const std::vector<std::wstring> texts = ChildTexts(box);
        const bool asksAbort = std::find(texts.begin(), texts.end(), L"中断します") != texts.end();
        if (GetWindow(box, GW_OWNER) == hWnd && asksAbort) {
            entry.kind = BoxKind::Abort;
            entry.answer = Chance() < 0.5 ? IDOK : IDCANCEL;
            ++m_abortBoxes;
        } else if (GetWindow(box, GW_OWNER) == hWnd && WindowText(box) == L"Dunkoのﾊﾞｰｼﾞｮﾝ情報") {
            entry.kind = BoxKind::About;
            entry.answer = IDOK;
            ++m_aboutBoxes;
        } else {
            std::string what = "an unexpected box \"" + Utf8(WindowText(box)) + "\":";
            for (const std::wstring& text : texts)
                what += " [" + Utf8(text) + "]";
            // Whose box it is tells how it came: the dialog's, or one over another box.
            const HWND owner = GetWindow(box, GW_OWNER);
            if (owner == hWnd) {
                what += ", owned by the dialog";
            } else {
                what += ", owned by \"" + Utf8(WindowText(owner)) + "\":";
                for (const std::wstring& text : ChildTexts(owner))
                    what += " [" + Utf8(text) + "]";
            }
            what += "; " + Describe(m_last);
            m_failures.Add("unexpected box", what);
        }
        entry.due = now + AnswerDelay(entry.kind, hurry);
        m_boxes[box] = entry;
    }
    for (auto& [box, entry] : m_boxes) {
        if (!entry.answered) {
            if (hurry && entry.due > now + milliseconds(300))
                entry.due = now + milliseconds(Between(0, 300));
            if (now < entry.due)
                continue;
            if (entry.kind == BoxKind::Other) {
                PostMessageW(box, WM_CLOSE, 0, 0);
            } else {
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(entry.answer, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, entry.answer)));
                if (entry.kind == BoxKind::About)
                    ++m_aboutClosed;
                else if (entry.answer == IDOK)
                    ++m_answeredOk;
                else
                    ++m_answeredCancel;
            }
            entry.answered = true;
            entry.answeredAt = now;
        } else if (now - entry.answeredAt > seconds(10)) {
            m_failures.Add("box still open 10 s after its button was clicked", Describe(m_last));
            entry.answeredAt = now;
        }
    }
    return static_cast<int>(found.boxes.size());
}

void SoakDriver::PickMood()
{
    const double roll = Chance();
    if (roll < 0.4) {
        m_mood = Mood::Player;
        m_moodEnds = Clock::now() + milliseconds(Between(3000, 40000));
    } else if (roll < 0.7) {
        m_mood = Mood::Idle;
        m_moodEnds = Clock::now() + milliseconds(Between(2000, 15000));
    } else {
        m_mood = Mood::Chaos;
        m_moodEnds = Clock::now() + milliseconds(Between(2000, 10000));
    }
    ++m_moods[static_cast<int>(m_mood)];
}

int SoakDriver::Delay()
{
    switch (m_mood) {
    case Mood::Player:
        return Between(15, 70);
    case Mood::Idle:
        return Between(200, 1500);
    case Mood::Chaos:
        break;
    }
    return Chance() < 0.05 ? Between(100, 600) : Between(0, 40);
}

void SoakDriver::PostRandomInput(SoakDialog& dialog, HWND hWnd)
{
    const std::array<double, kKinds>& weights =
        m_mood == Mood::Player ? kPlayerWeights : m_mood == Mood::Idle ? kIdleWeights : kChaosWeights;
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    int count = 1;
    // Several inputs at once, queued before the dialog gets to any of them.
    if (m_mood == Mood::Chaos && Chance() < 0.1) {
        count = Between(2, 6);
        ++m_bursts;
    }
    for (int i = 0; i < count; ++i)
        Post(dialog, hWnd, static_cast<Kind>(pick(m_random)));
}

void SoakDriver::Post(SoakDialog& dialog, HWND hWnd, Kind kind)
{
    Board& board = dialog.GetBoard();
    RECT client = {};
    GetClientRect(hWnd, &client);
    auto inside = [&](const RECT& r) {
        return POINT{Between(r.left, std::max(r.left, r.right - 1)), Between(r.top, std::max(r.top, r.bottom - 1))};
    };
    auto release = [&](POINT p) {
        // A pointer usually moves to where it is released.
        if (Chance() < 0.5) {
            PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
            ++m_posted[Move];
        }
        PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    };
    switch (kind) {
    case Move: {
        const double roll = Chance();
        const POINT p = roll < 0.15 ? inside(board.m_rcStart) : roll < 0.3 ? inside(board.m_rcExit) : inside(client);
        PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        break;
    }
    case ReleaseAnywhere:
        release(inside(client));
        break;
    case ReleaseStart:
        release(inside(board.m_rcStart));
        break;
    case ReleaseExit:
        release(inside(board.m_rcExit));
        break;
    case ReleaseMole: {
        RECT mole;
        release(CurrentMoleRect(board, &mole) ? inside(mole) : inside(client));
        break;
    }
    case EscapeCommand:
        PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        break;
    case EscapeKey:
        // Through the dialog manager of the loop that gets it.
        PostMessageW(hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(hWnd, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
        break;
    case About:
        PostMessageW(hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        break;
    case kKinds:
        return;
    }
    ++m_posted[kind];
}

std::string SoakDriver::Describe(const SoakSample& s) const
{
    std::ostringstream out;
    out << "at " << static_cast<int>(ElapsedSeconds() * 10) / 10.0 << " s: running threads " << s.runningThreads
        << ", moles " << s.moles << ", board running " << s.boardRunning << ", status " << s.status
        << ", thread alive " << s.threadAlive << ", game threads alive " << s.gamesAlive << " of " << s.games
        << ", start pending " << s.startPending << ", asking " << s.askingAbort << ", enabled " << s.enabled
        << ", paint depth " << s.paintDepth << ", framework " << ::Describe(s.gdi) << " (back buffer held " << s.backBufferHeld << "), message \""
        << Utf8(s.message) << "\"";
    return out.str();
}

std::string SoakDriver::Report() const
{
    std::ostringstream out;
    out << "input posted:";
    for (int i = 0; i < kKinds; ++i)
        out << (i == 0 ? " " : ", ") << kKindNames[i] << " " << m_posted[i];
    out << "; bursts " << m_bursts << "; held back while the dialog was disabled " << m_skippedWhileDisabled << "\n";
    out << "moods: player " << m_moods[0] << ", idle " << m_moods[1] << ", chaos " << m_moods[2] << "\n";
    out << "abort questions seen " << m_abortBoxes << " (answered OK " << m_answeredOk << ", Cancel "
        << m_answeredCancel << "); About boxes seen " << m_aboutBoxes << ", closed " << m_aboutClosed << "\n";
    out << "dialogs ended by the OK command " << m_endedByOk << " (with a box open " << m_okWithBoxesOpen
        << "), by the exit area " << m_endedOtherwise << "\n";
    out << "probes " << m_probes << " (longest " << static_cast<int>(m_longestProbeMs) << " ms), samples "
        << m_samples << ", quiet GDI checks " << m_quietChecks << ", most worker threads running "
        << m_maxRunningThreads;
    return out.str();
}

SoakMonitor::SoakMonitor(SoakDialog& dialog, SoakFailures& failures)
    : m_dialog(dialog), m_failures(failures), m_thread([this] { Loop(); })
{
}

SoakMonitor::~SoakMonitor()
{
    m_quit = true;
    m_thread.join();
}

void SoakMonitor::Loop()
{
    while (!m_quit.load()) {
        const int moles = m_dialog.GetBoard().MoleCount();
        if (moles > m_maxMoles.load())
            m_maxMoles.store(moles);
        if (moles > 1)
            m_failures.Add("more than one mole (monitor)", std::to_string(moles));
        m_checks.fetch_add(1);
        Sleep(1);
    }
}
