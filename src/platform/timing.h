#pragma once

#include <chrono>

// The waits of the clock exchange, in one table so that tests that do not test timing may shorten them.
struct ExchangeTimings {
    std::chrono::milliseconds drain{125};
    std::chrono::milliseconds firstCharacter{2500};
    std::chrono::milliseconds settle{100};
    std::chrono::milliseconds endOfText{5000};
};

using MonotonicClock = std::chrono::steady_clock;
