// What the Frequency page shows and stores: the adaptation records most used first, and the two
// sliders that stand for FreqMax ("Restore days", 7 to 31) and FreqInc ("Remember speed", 1 to
// 10, the share of FreqMax that one commit adds, in tenths).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/UserDictionary.h"
#include "system/WideText.h"

namespace tessaline {

constexpr int kRestoreDaysMin = 7;
constexpr int kRestoreDaysMax = 31;
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 10;

struct FrequencyEntry {
  WideString word;
  int count = 0;
};

// The records by count, highest first; equal counts keep the map's order (that of their words).
std::vector<FrequencyEntry> OrderByCount(const AdaptationMap& records);
// "word (count)".
WideString FrequencyEntryText(const FrequencyEntry& entry);

// The restore slider's position for FreqMax: FreqMax kept within 7 to 31.
int RestoreDaysFor(int32_t freqMax);
// The speed slider's position: FreqInc / FreqMax * 10, rounded (add 0.5, drop the fraction) in
// single precision, kept within 1 to 10. FreqMax 0 or below has no ratio; the language then
// works with FreqMax 1 (and FreqInc at least 1), where one commit gives the full bonus, so the
// slider shows the fastest speed, 10.
int SpeedFor(int32_t freqMax, int32_t freqInc);
// FreqInc for the sliders' positions: FreqMax * speed * 0.1, rounded in single precision, at
// least 1.
int32_t FreqIncFor(int restoreDays, int speed);

}  // namespace tessaline
