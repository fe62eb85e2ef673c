#pragma once
// A tick source the test sets by hand, for stopwatches read on one thread.
#include "util/TickSource.h"

class ManualTicks : public TickSource {
public:
    uint64_t NowMs() override { return now; }
    uint64_t now = 0;
};
