// Date-times: days since 1899-12-30 in local time, file dates, the clock and the date text.
#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/text.h"

namespace vaq {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 1899-12-30 to 1970-01-01.
constexpr std::int64_t kUnixEpochDays = 25'569;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Seconds east of UTC of local time at the UTC instant `utc_seconds`.
std::int64_t LocalOffsetSeconds(std::int64_t utc_seconds) {
  const std::time_t t = static_cast<std::time_t>(utc_seconds);
  std::tm local{};
  localtime_r(&t, &local);
  return local.tm_gmtoff;
}

TDateTime UtcMsToDateTime(std::int64_t utc_ms) {
  const std::int64_t local_ms = utc_ms + LocalOffsetSeconds(FloorDiv(utc_ms, 1000)) * 1000;
  return static_cast<double>(local_ms + kUnixEpochDays * kMsPerDay) / static_cast<double>(kMsPerDay);
}

std::int64_t DateTimeToUtcMs(TDateTime date) {
  const std::int64_t local_ms =
      std::llround(date * static_cast<double>(kMsPerDay)) - kUnixEpochDays * kMsPerDay;
  // The offset depends on the instant we are looking for; two rounds settle it outside DST gaps.
  std::int64_t utc_ms = local_ms - LocalOffsetSeconds(FloorDiv(local_ms, 1000)) * 1000;
  utc_ms = local_ms - LocalOffsetSeconds(FloorDiv(utc_ms, 1000)) * 1000;
  return utc_ms;
}

std::mutex& ClockMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<TDateTime()>& Clock() {
  static std::function<TDateTime()> clock;
  return clock;
}

bool ReadNumber(std::string_view& text, std::size_t digits, int& value) {
  if (text.size() < digits) return false;
  value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  text.remove_prefix(digits);
  return true;
}

bool ReadChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

TDateTime VaqNow() {
  {
    std::lock_guard lock(ClockMutex());
    if (Clock()) return Clock()();
  }
  const auto now = std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::system_clock::now());
  return UtcMsToDateTime(now.time_since_epoch().count());
}

void SetVaqClock(std::function<TDateTime()> clock) {
  std::lock_guard lock(ClockMutex());
  Clock() = std::move(clock);
}

TDateTime DateOfFile(const std::string& name) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return -1.0;
  const std::int64_t utc_ms =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
  return UtcMsToDateTime(utc_ms);
}

namespace {

// The modification time of `date`, the access time left alone.
void DateTimes(TDateTime date, timespec (&times)[2]) {
  const std::int64_t utc_ms = DateTimeToUtcMs(date);
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(FloorDiv(utc_ms, 1000));
  times[1].tv_nsec = static_cast<long>((utc_ms - FloorDiv(utc_ms, 1000) * 1000) * 1'000'000);
}

}  // namespace

void SetDateOfFile(const std::string& name, TDateTime date) {
  timespec times[2];
  DateTimes(date, times);
  if (::utimensat(AT_FDCWD, name.c_str(), times, 0) != 0) {
    throw EFileError(Format("Cannot set the date of %s", {name}));
  }
}

void SetDateOfFd(int fd, TDateTime date, const std::string& name) {
  timespec times[2];
  DateTimes(date, times);
  if (::futimens(fd, times) != 0) throw EFileError(Format("Cannot set the date of %s", {name}));
}

std::string VaqDateTimeToStr(TDateTime value) {
  using namespace std::chrono;
  const std::int64_t ms = std::llround(value * static_cast<double>(kMsPerDay));
  const std::int64_t day = FloorDiv(ms, kMsPerDay);
  std::int64_t rest = ms - day * kMsPerDay;
  const year_month_day ymd{sys_days{1899y / December / 30} + days{day}};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02lld:%02lld:%02lld.%03lld",
                static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()), static_cast<long long>(rest / 3'600'000),
                static_cast<long long>(rest / 60'000 % 60), static_cast<long long>(rest / 1000 % 60),
                static_cast<long long>(rest % 1000));
  return buffer;
}

TDateTime VaqStrToDateTime(std::string_view text) {
  using namespace std::chrono;
  std::string_view rest = text;
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0, zzz = 0;
  bool ok = ReadNumber(rest, 4, y) && ReadChar(rest, '-') && ReadNumber(rest, 2, m) && ReadChar(rest, '-') &&
            ReadNumber(rest, 2, d);
  if (ok && !rest.empty()) {
    ok = (ReadChar(rest, ' ') || ReadChar(rest, 'T')) && ReadNumber(rest, 2, hh) && ReadChar(rest, ':') &&
         ReadNumber(rest, 2, nn);
    if (ok && ReadChar(rest, ':')) {
      ok = ReadNumber(rest, 2, ss);
      if (ok && ReadChar(rest, '.')) ok = ReadNumber(rest, 3, zzz);
    }
    ok = ok && rest.empty();
  }
  const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!ok || !ymd.ok() || hh > 23 || nn > 59 || ss > 59) {
    throw EConvertError(Format("'%s' is not a valid date and time", {text}));
  }
  const std::int64_t day_number = (sys_days{ymd} - sys_days{1899y / December / 30}).count();
  const std::int64_t ms = day_number * kMsPerDay + ((hh * 60 + nn) * 60 + ss) * 1000LL + zzz;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

}  // namespace vaq
