#pragma once

#include <cstdint>
#include <functional>

// Polls `done` every 10 ms, waking the section loader before each poll,
// until it answers true (result true) or `limitMs` have passed (false).
bool WaitForLoading(const std::function<bool()>& done, uint32_t limitMs);
