// A whole MIME message: the top body of the tree, with a date setter.
#pragma once

#include "web/MimeBody.h"

#include <QDateTime>

class CMimeMessage : public CMimeBody {
public:
    explicit CMimeMessage(const CMimeCoderRegistry& registry) : CMimeBody(registry) {}
    ~CMimeMessage() override;

    // Sets the field "Date" to the time given (an invalid one: now), in its own zone, as "Sun, 6
    // Mar 2011 09:05:07 +0100": day name, day, month name, year, time and the offset from UTC.
    void SetDate(const QDateTime& when = QDateTime::currentDateTime());
};
