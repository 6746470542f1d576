#pragma once
// Times as subtitle files write them, for messages and round trips.
#include <cstdint>
#include <string>

namespace QuillRender {

/// `milliseconds` (not negative) as "HH:MM:SS" + `decimalSign` + "mmm": "," for SRT,
/// "." for WebVTT. Hours take more digits when they need them.
std::string formatClockTime(std::int64_t milliseconds, char decimalSign);

}  // namespace QuillRender
