#include "options/FrequencyView.h"

#include <algorithm>
#include <string>

namespace tessaline {
namespace {

// Adds 0.5 and drops the fraction, in single precision, for a value already within the int
// range the callers keep it to.
int RoundSingle(float value) { return static_cast<int>(value + 0.5f); }

}  // namespace

std::vector<FrequencyEntry> OrderByCount(const AdaptationMap& records) {
  std::vector<FrequencyEntry> entries;
  entries.reserve(records.size());
  for (const auto& [word, record] : records) entries.push_back({word, record.count});
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const FrequencyEntry& a, const FrequencyEntry& b) { return a.count > b.count; });
  return entries;
}

WideString FrequencyEntryText(const FrequencyEntry& entry) {
  const std::string count = std::to_string(entry.count);
  return entry.word + u" (" + WideString(count.begin(), count.end()) + u")";
}

int RestoreDaysFor(int32_t freqMax) {
  return std::clamp<int32_t>(freqMax, kRestoreDaysMin, kRestoreDaysMax);
}

int SpeedFor(int32_t freqMax, int32_t freqInc) {
  if (freqMax <= 0) return kSpeedMax;
  const float ratio = static_cast<float>(freqInc) / static_cast<float>(freqMax) * 10.0f;
  // The slider keeps its position within 1 to 10; keeping the ratio there first also keeps the
  // conversion to int defined for any stored numbers.
  const float within =
      std::clamp(ratio, static_cast<float>(kSpeedMin) - 0.5f, static_cast<float>(kSpeedMax));
  return std::clamp(RoundSingle(within), kSpeedMin, kSpeedMax);
}

int32_t FreqIncFor(int restoreDays, int speed) {
  const float product = static_cast<float>(restoreDays) * static_cast<float>(speed) * 0.1f;
  return std::max(RoundSingle(std::clamp(product, -1.0f, 1.0e9f)), 1);
}

}  // namespace tessaline
