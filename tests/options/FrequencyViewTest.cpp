// The Frequency page's list order and the arithmetic of its two sliders.
#include <gtest/gtest.h>

#include <climits>

#include "options/FrequencyView.h"

namespace tessaline {
namespace {

TEST(FrequencyViewTest, MostUsedFirstEqualCountsInWordOrder) {
  AdaptationMap records;
  records[u"beta"].count = 5;
  records[u"alpha"].count = 5;
  records[u"gamma"].count = 9;
  records[u"delta"].count = 1;
  std::vector<WideString> texts;
  for (const FrequencyEntry& e : OrderByCount(records)) texts.push_back(FrequencyEntryText(e));
  EXPECT_EQ(texts,
            (std::vector<WideString>{u"gamma (9)", u"alpha (5)", u"beta (5)", u"delta (1)"}));
  EXPECT_TRUE(OrderByCount({}).empty());
}

TEST(FrequencyViewTest, SlidersForTheStoredNumbers) {
  EXPECT_EQ(RestoreDaysFor(20), 20);
  EXPECT_EQ(SpeedFor(20, 4), 2);
  EXPECT_EQ(RestoreDaysFor(40), 31);
  EXPECT_EQ(RestoreDaysFor(0), 7);
  EXPECT_EQ(SpeedFor(20, 50), 10);  // FreqInc above FreqMax
  EXPECT_EQ(SpeedFor(20, 1), 1);    // 0.5 + 0.5 rounds up to 1
  EXPECT_EQ(SpeedFor(20, 0), 1);
  EXPECT_EQ(SpeedFor(20, -100), 1);
  EXPECT_EQ(SpeedFor(30, 5), 2);  // 1.67 + 0.5 drops to 2
  EXPECT_EQ(SpeedFor(INT_MAX, 1), 1);
  EXPECT_EQ(SpeedFor(1, INT_MAX), 10);
  // FreqMax 0 or below: the language works with FreqMax 1, the fastest speed.
  EXPECT_EQ(SpeedFor(0, 4), 10);
  EXPECT_EQ(SpeedFor(-3, 0), 10);
}

TEST(FrequencyViewTest, FreqIncForTheSliders) {
  EXPECT_EQ(FreqIncFor(20, 2), 4);
  EXPECT_EQ(FreqIncFor(31, 10), 31);
  EXPECT_EQ(FreqIncFor(7, 1), 1);  // 0.7 + 0.5
  EXPECT_EQ(FreqIncFor(20, 10), 20);
  EXPECT_EQ(FreqIncFor(7, 7), 5);  // 4.9 + 0.5
  EXPECT_EQ(FreqIncFor(7, 0), 1);  // never below 1
}

}  // namespace
}  // namespace tessaline
