#include "system/Clock.h"

#include <chrono>
#include <ctime>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaline {
namespace {

std::function<UtcDate()>& DateSource() {
  static std::function<UtcDate()> source;
  return source;
}

std::function<uint32_t()>& MillisecondSourceFn() {
  static std::function<uint32_t()> source;
  return source;
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DayOfYear(int year, int month, int day) {
  static constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  if (month < 1 || month > 12) return 0;
  return kBefore[month - 1] + (month > 2 && IsLeap(year) ? 1 : 0) + day - 1;
}

UtcDate CurrentUtcDate() {
  if (DateSource()) return DateSource()();
  UtcDate date;
#ifdef _WIN32
  SYSTEMTIME now;
  GetSystemTime(&now);
  date.year = now.wYear;
  date.month = now.wMonth;
  date.day = now.wDay;
#else
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&t, &tm);
  date.year = tm.tm_year + 1900;
  date.month = tm.tm_mon + 1;
  date.day = tm.tm_mday;
#endif
  date.dayOfYear = DayOfYear(date.year, date.month, date.day);
  return date;
}

uint32_t MillisecondClock() {
  if (MillisecondSourceFn()) return MillisecondSourceFn()();
#ifdef _WIN32
  return GetTickCount();
#else
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

void SetUtcDateSource(std::function<UtcDate()> source) { DateSource() = std::move(source); }
void SetMillisecondSource(std::function<uint32_t()> source) {
  MillisecondSourceFn() = std::move(source);
}

}  // namespace tessaline
