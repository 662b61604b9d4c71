#pragma once
// The written forms of dates and times: 2024年3月5日, 13时5分9秒, and the log's timestamp.

#include <functional>
#include <string>

namespace varnel::text {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// The local wall clock; passed around as a Clock so tests can set the time.
using Clock = std::function<LocalTime()>;
LocalTime local_now();
Clock system_clock();

std::string date_text(const LocalTime& t);  // 2024年3月5日
std::string time_text(const LocalTime& t);  // 13时5分9秒
// Date text followed by the time part that drops trailing zero fields: 9时5分7秒, 9时5分, 9时, or nothing.
std::string log_timestamp(const LocalTime& t);
// ISO form kept in date columns so that ranges compare: 2024-03-05.
std::string iso_date(const LocalTime& t);

}  // namespace varnel::text
