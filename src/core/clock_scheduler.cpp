#include "core/clock_scheduler.h"

#include <cmath>
#include <string>

#include "base/date_time.h"
#include "core/tform1.h"

namespace tintal {

namespace {

// The clock's fields show their text after a space. Built by appending: GCC 12 reports a false
// -Wrestrict on `" " + std::string`.
std::string afterSpace(const std::string& text) {
    std::string shown(1, ' ');
    shown += text;
    return shown;
}

}  // namespace

int ClockScheduler::msToNextTick(double localNow) {
    const double msOfDay = (localNow - std::floor(localNow)) * kMsPerDay;
    const double msInSecond = msOfDay - 1000.0 * std::floor(msOfDay / 1000.0);
    double delay = kTickOffsetMs - msInSecond;
    while (delay < 1.0) delay += 1000.0;
    // A day count holds the time to about a microsecond: do not round that noise up to a millisecond.
    return static_cast<int>(std::ceil(delay - 0.001));
}

void ClockScheduler::alignTick() {
    Timer& timer = form_.TimerSeconde;
    if (!timer.enabled()) return;  // the start-up routine ended the program
    timer.stop();
    timer.setInterval(msToNextTick(form_.loop.localNow()));
    timer.start();
}

void ClockScheduler::TimerSecondeTimer() {
    if (form_.ConfigPending) form_.LoadConfig();
    alignTick();
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
    previousTickStamp_ = tickStamp_;
    previousTickMonoMs_ = tickMonoMs_;
    tickStamp_ = static_cast<std::int64_t>(std::floor(fields_.now * 1440.0 + 1e-9));
    tickMonoMs_ = form_.loop.monotonicMs();
    form_.EditTime.setText(afterSpace(form_.desktop.longTime(fields_.now)));
    form_.EditDate.setText(afterSpace(form_.desktop.shortDate(fields_.now)));
}

bool ClockScheduler::hourInWindow(int hour) const {
    if (windowStartHour == windowEndHour) return false;
    if (windowStartHour < windowEndHour) return windowStartHour <= hour && hour < windowEndHour;
    return hour >= windowStartHour || hour < windowEndHour;
}

bool ClockScheduler::scheduled(int hour, int minute) const {
    if (form_.UpDownPeriode.value() == 0 || !hourInWindow(hour)) return false;
    const int period = form_.periodMinutes();
    return minute == 0 || (period > 0 && minute % period == 0);
}

bool ClockScheduler::jumpedOverScheduledMinute(std::int64_t stamp) const {
    if (previousTickStamp_ < 0 || stamp - previousTickStamp_ < 2 || stamp - previousTickStamp_ > kMaxCatchUpMinutes) {
        return false;
    }
    // A tick that comes a minute or more after the last one was held up, not moved by a clock change.
    if (tickMonoMs_ - previousTickMonoMs_ >= 60000) return false;
    for (std::int64_t missed = previousTickStamp_ + 1; missed < stamp; ++missed) {
        const auto minuteOfDay = static_cast<int>(((missed % 1440) + 1440) % 1440);
        if (scheduled(minuteOfDay / 60, minuteOfDay % 60)) return true;
    }
    return false;
}

bool ClockScheduler::schedule() {
    if (form_.UpDownPeriode.value() == 0 || !hourInWindow(fields_.hour)) return false;
    if (announcedThisMinute || form_.announcing) return true;
    const bool due = scheduled(fields_.hour, fields_.minute) || jumpedOverScheduledMinute(tickStamp_);
    if (!due) return false;
    if (scheduledOnce_ && form_.loop.monotonicMs() - scheduledMonoMs_ < kMinScheduledSpacingMs) {
        // The wall clock went back over a minute announced moments ago: that minute is done.
        announcedThisMinute = true;
        lastAnnouncedMinute = fields_.minute;
        return true;
    }
    announce();
    return true;
}

void ClockScheduler::announce() {
    scheduledOnce_ = true;
    scheduledMonoMs_ = form_.loop.monotonicMs();
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
