// The clocks the input method reads, replaceable by tests.
#pragma once

#include <cstdint>
#include <functional>

namespace tessaline {

struct UtcDate {
  int year = 1970;
  int month = 1;      // 1..12
  int day = 1;        // 1..31
  int dayOfYear = 0;  // 0..365, 0 for 1 January
};

// The current date in UTC (GetSystemTime under Win32).
UtcDate CurrentUtcDate();

// Day of the year, counted from 0 for 1 January, of a calendar date.
int DayOfYear(int year, int month, int day);

// Milliseconds since an arbitrary start (timeGetTime under Win32), wrapping at 2^32.
uint32_t MillisecondClock();

// Tests replace the clocks; an empty function restores the real one.
void SetUtcDateSource(std::function<UtcDate()> source);
void SetMillisecondSource(std::function<uint32_t()> source);

}  // namespace tessaline
