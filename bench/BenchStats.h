#pragma once
// Samples in microseconds and their summary.
#include <string>
#include <vector>

#include "game/Board.h"

struct Summary {
    double p50 = 0;
    double p95 = 0;
    double p99 = 0;
    double max = 0;
    size_t count = 0;
};

Summary Summarize(std::vector<double> samples);

// A high-resolution clock in microseconds.
double NowMicros();

// "12.3" style formatting for the table.
std::string Fixed(double value, int decimals);

// User plus kernel time a thread has used, in milliseconds.
double ThreadCpuMs(HANDLE thread);

// The centre of the board's mole, read while the list is held; false when
// there is none.
bool MoleCentre(Board& board, POINT* centre);
