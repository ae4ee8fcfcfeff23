// A whole MIME message.
#include "web/MimeMessage.h"

#include <cstdio>
#include <cstdlib>

CMimeMessage::~CMimeMessage() = default;

void CMimeMessage::SetDate(const QDateTime& when) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime at = when.isValid() ? when : QDateTime::currentDateTime();
    const QDate date = at.date();
    const QTime time = at.time();
    const int offsetMinutes = at.offsetFromUtc() / 60;
    const int offset = std::abs(offsetMinutes);
    char text[40];
    std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d %c%02d%02d",
                  kDays[date.dayOfWeek() % 7], date.day(), kMonths[date.month() - 1], date.year(),
                  time.hour(), time.minute(), time.second(), offsetMinutes < 0 ? '-' : '+',
                  offset / 60, offset % 60);
    PutField(CMimeHeaderLine("Date", text));
}
