#include "text/date_text.h"

#include <cstdio>
#include <ctime>

namespace varnel::text {

LocalTime local_now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

Clock system_clock() { return &local_now; }

std::string date_text(const LocalTime& t) {
  return std::to_string(t.year) + "年" + std::to_string(t.month) + "月" + std::to_string(t.day) + "日";
}

std::string time_text(const LocalTime& t) {
  return std::to_string(t.hour) + "时" + std::to_string(t.minute) + "分" + std::to_string(t.second) + "秒";
}

std::string log_timestamp(const LocalTime& t) {
  std::string s = date_text(t);
  if (t.second != 0) return s + time_text(t);
  if (t.minute != 0) return s + std::to_string(t.hour) + "时" + std::to_string(t.minute) + "分";
  if (t.hour != 0) return s + std::to_string(t.hour) + "时";
  return s;
}

std::string iso_date(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
  return buf;
}

}  // namespace varnel::text
