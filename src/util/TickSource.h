#pragma once
// Where a stopwatch reads the time: a count of milliseconds that only moves
// forward. The game reads the system's steady tick count; a test stands in
// a count it moves by hand.
#include <cstdint>

class TickSource {
public:
    virtual uint64_t NowMs() = 0;

protected:
    ~TickSource() = default;
};
