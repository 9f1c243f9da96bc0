#include "app/posix_announcing_player.h"

#include <cstdio>

#include "base/date_time.h"

namespace tintal {

void printClip(EventLoop& loop, const std::string& clip) {
    const DateTimeFields t = decodeDateTime(loop.localNow());
    std::printf("%02d:%02d:%02d %s\n", t.hour, t.minute, t.second, clip.c_str());
    std::fflush(stdout);
}

}  // namespace tintal
