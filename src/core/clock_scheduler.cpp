#include "core/clock_scheduler.h"

#include "base/date_time.h"
#include "core/tform1.h"

namespace tintal {

void ClockScheduler::TimerSecondeTimer() {
    if (form_.ConfigPending) form_.LoadConfig();
    if (!form_.sound.volumeBusy) form_.sound.ReadDeviceVolume();
    readClock();
    if (fields_.minute != lastAnnouncedMinute) {
        announcedThisMinute = false;
        lastAnnouncedMinute = -1;
    }
    const int stamp = fields_.hour * 100 + fields_.minute;
    if (fields_.minute == 0 && stamp != lastMonLogStamp && form_.hooks.hourlyLogWanted()) {
        form_.hooks.writeHourlyLog();
        lastMonLogStamp = stamp;
    }
    if (schedule()) return;
    if (form_.hooks.serialPortOpen() && !form_.announcing) form_.hooks.pollLines();
}

void ClockScheduler::readClock() {
    fields_.now = form_.loop.localNow();
    const DateTimeFields f = decodeDateTime(fields_.now);
    fields_.dayOfWeek = f.dayOfWeek;
    fields_.hour = f.hour;
    fields_.minute = f.minute;
    fields_.day = f.day;
    fields_.month = f.month;
    fields_.year = f.year;
    form_.EditTime.setText(" " + form_.desktop.longTime(fields_.now));
    form_.EditDate.setText(" " + form_.desktop.shortDate(fields_.now));
}

bool ClockScheduler::hourInWindow(int hour) const {
    if (windowStartHour == windowEndHour) return false;
    if (windowStartHour < windowEndHour) return windowStartHour <= hour && hour < windowEndHour;
    return hour >= windowStartHour || hour < windowEndHour;
}

bool ClockScheduler::schedule() {
    if (form_.UpDownPeriode.value() == 0 || !hourInWindow(fields_.hour)) return false;
    if (announcedThisMinute || form_.announcing) return true;
    if (fields_.minute == 0) {
        announce();
        return true;
    }
    const int period = form_.periodMinutes();
    if (period > 0 && fields_.minute % period == 0) {
        announce();
        return true;
    }
    return false;
}

void ClockScheduler::announce() {
    announcedThisMinute = true;
    lastAnnouncedMinute = fields_.minute;
    form_.Button1.click();
}

void ClockScheduler::hourItemClicked(MenuItem& item, char prefix, int& hourField, MenuItem& parent,
                                     const char* captionStart) {
    const std::string& name = item.name();
    if (name.size() != 3 || name[0] != prefix || item.checked()) return;
    const std::string digits = name.substr(1);
    item.setChecked(true);
    hourField = (digits[0] - '0') * 10 + (digits[1] - '0');
    parent.setCaption(captionStart + digits + "h)");
}

void ClockScheduler::D00Click(MenuItem& item) {
    hourItemClicked(item, 'D', windowStartHour, form_.MenuDebutPlageHoraire, "Heure début (");
}

void ClockScheduler::F00Click(MenuItem& item) {
    hourItemClicked(item, 'F', windowEndHour, form_.MenuFinPlageHoraire, "Heure fin (");
}

}  // namespace tintal
