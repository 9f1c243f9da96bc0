#include "platform/desktop.h"

#include <cstdio>

#include "base/date_time.h"

namespace tintal {

std::string FrenchDesktop::shortDate(double dateTime) const {
    const DateTimeFields f = decodeDateTime(dateTime);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", f.day, f.month, f.year);
    return text;
}

std::string FrenchDesktop::longTime(double dateTime) const {
    const DateTimeFields f = decodeDateTime(dateTime);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.hour, f.minute, f.second);
    return text;
}

}  // namespace tintal
