#pragma once
// From a thread of its own, drives the real main dialog (running modally on
// the test's thread) with random posted input from a seeded generator,
// answers the abort question and closes the About box after random
// delays, and checks the dialog and the game threads all along:
// - the dialog answers a WM_NULL within a second at every probe, except
//   once it has been told to end (closing waits for the game's thread);
// - never more than two worker threads inside their run (the game's and a
//   hit sound's), never a second game thread while one is alive, never
//   more than one mole on the board (the thread count and the moles are
//   also watched every millisecond or so by SoakMonitor);
// - the framework's GDI objects and device contexts are back at their
//   baseline whenever no game thread is alive and no paint is under way.
// The seed fixes the driver's choices, not the timing of the threads, so
// two runs with one seed are alike but not the same.
#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "SoakDialog.h"

struct SoakSettings {
    unsigned seed;
    int seconds;
    bool seedFromEnvironment;
    bool secondsFromEnvironment;
};

// DUNKO_SOAK_SEED and DUNKO_SOAK_SECONDS, or the defaults (a fixed seed, 30 s).
SoakSettings ReadSoakSettings();

// Collects broken invariants from any thread. They are printed as they
// come (a hang may end the run before the test reports), the first few of
// each kind only, as one that holds on would repeat at every check.
class SoakFailures {
public:
    void Add(const std::string& kind, const std::string& detail);
    int Count() const;
    // Each kind with how often it was seen and the first detail of it.
    std::string Summary() const;

private:
    struct Kind {
        int count;
        std::string first;
    };
    mutable std::mutex m_mutex;
    std::map<std::string, Kind> m_kinds;
    int m_count = 0;
};

class SoakDriver {
public:
    enum Kind {
        Move,
        ReleaseAnywhere,
        ReleaseStart,
        ReleaseExit,
        ReleaseMole,
        EscapeCommand,
        EscapeKey,
        About,
        kKinds
    };

    SoakDriver(const SoakSettings& settings, SoakFailures& failures);

    // Drives one opened dialog until its window is gone. When the time is
    // up it ends the dialog with the OK command (and closes the boxes);
    // before that, a release on the exit area may end it.
    void RunSession(SoakDialog& dialog, FrameworkGdi baseline);
    bool TimeUp() const;
    double ElapsedSeconds() const;
    std::string Report() const;
    int AbortBoxesSeen() const { return m_abortBoxes; }
    int AboutBoxesSeen() const { return m_aboutBoxes; }

private:
    enum class Mood { Player, Idle, Chaos };
    // How the last dialog is ended: the boxes closed first, the OK command
    // at once whatever is open, or the About box opened and OK given over it.
    enum class Ending { BoxesFirst, AtOnce, OverAboutBox };
    enum class BoxKind { Abort, About, Other };
    struct Box {
        BoxKind kind;
        std::chrono::steady_clock::time_point due;
        int answer;
        bool answered;
        std::chrono::steady_clock::time_point answeredAt;
    };

    // True while the dialog answers; false once its window is gone.
    bool Probe(SoakDialog& dialog, HWND hWnd);
    void Check(const SoakSample& sample, FrameworkGdi baseline);
    // Finds the boxes of the dialog's thread, answers the ones that are due.
    int ServiceBoxes(HWND hWnd, DWORD uiThread, bool hurry);
    void PostRandomInput(SoakDialog& dialog, HWND hWnd);
    void Post(SoakDialog& dialog, HWND hWnd, Kind kind);
    void PickMood();
    int Delay();
    int Between(int low, int high);
    double Chance();
    std::chrono::milliseconds AnswerDelay(BoxKind kind, bool hurry);
    std::string Describe(const SoakSample& sample) const;

    SoakSettings m_settings;
    SoakFailures& m_failures;
    std::mt19937 m_random;
    std::chrono::steady_clock::time_point m_begin;
    std::chrono::steady_clock::time_point m_moodEnds;
    Mood m_mood = Mood::Idle;
    std::map<HWND, Box> m_boxes;
    SoakSample m_last;

    // Counts for the report.
    std::array<int, kKinds> m_posted = {};
    int m_skippedWhileDisabled = 0;
    int m_bursts = 0;
    std::array<int, 3> m_moods = {};
    int m_probes = 0;
    int m_missedProbes = 0; // in a row
    double m_longestProbeMs = 0;
    int m_samples = 0;
    int m_quietChecks = 0;
    int m_abortBoxes = 0;
    int m_answeredOk = 0;
    int m_answeredCancel = 0;
    int m_aboutBoxes = 0;
    int m_aboutClosed = 0;
    int m_endedByOk = 0;
    int m_okWithBoxesOpen = 0;
    int m_endedOtherwise = 0;
    int m_maxRunningThreads = 0;
};

// Watches the board from a thread of its own, every couple of milliseconds,
// for as long as it exists.
class SoakMonitor {
public:
    SoakMonitor(SoakDialog& dialog, SoakFailures& failures);
    ~SoakMonitor();
    SoakMonitor(const SoakMonitor&) = delete;
    SoakMonitor& operator=(const SoakMonitor&) = delete;

    long Checks() const { return m_checks.load(); }
    int MaxMoles() const { return m_maxMoles.load(); }

private:
    void Loop();

    SoakDialog& m_dialog;
    SoakFailures& m_failures;
    std::atomic<bool> m_quit{false};
    std::atomic<long> m_checks{0};
    std::atomic<int> m_maxMoles{0};
    std::thread m_thread;
};
