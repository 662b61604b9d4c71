#include <gtest/gtest.h>

#include "text/date_text.h"

using namespace varnel::text;

TEST(DateText, WrittenForms) {
  LocalTime t{2024, 3, 5, 13, 5, 9};
  EXPECT_EQ(date_text(t), "2024年3月5日");
  EXPECT_EQ(time_text(t), "13时5分9秒");
  EXPECT_EQ(iso_date(t), "2024-03-05");
  EXPECT_EQ(time_text(LocalTime{2024, 3, 5, 0, 0, 0}), "0时0分0秒");
}

TEST(DateText, LogTimestampDropsTrailingZeroFields) {
  struct Case {
    LocalTime t;
    const char* expected;
  } cases[] = {
      {{2012, 3, 4, 9, 5, 7}, "2012年3月4日9时5分7秒"},
      {{2012, 3, 4, 9, 0, 7}, "2012年3月4日9时0分7秒"},
      {{2012, 3, 4, 9, 5, 0}, "2012年3月4日9时5分"},
      {{2012, 3, 4, 0, 5, 0}, "2012年3月4日0时5分"},
      {{2012, 3, 4, 9, 0, 0}, "2012年3月4日9时"},
      {{2012, 3, 4, 0, 0, 0}, "2012年3月4日"},
      {{2012, 12, 31, 23, 59, 59}, "2012年12月31日23时59分59秒"},
  };
  for (const auto& c : cases) EXPECT_EQ(log_timestamp(c.t), c.expected);
}
