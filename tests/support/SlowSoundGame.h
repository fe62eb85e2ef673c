#pragma once
// A game whose hit sound keeps its thread for kMs milliseconds, as a slow
// sound service would: a hit that comes meanwhile finds it still in its
// call. Header only, so the benchmark can use it too.
#include <memory>

#include "game/GameWorker.h"

template <DWORD kMs>
class SlowSound : public SoundWorker {
public:
    ~SlowSound() override { StopAndWait(); }
    int Run() override
    {
        Sleep(kMs);
        return 0;
    }
};

template <DWORD kMs>
class SlowSoundGameOf : public GameWorker {
public:
    ~SlowSoundGameOf() override { StopAndWait(); }

protected:
    std::unique_ptr<SoundWorker> CreateSoundWorker() override { return std::make_unique<SlowSound<kMs>>(); }
};
