#include "platform/posix/local_time_zone.h"

#include <ctime>

namespace tintal {

int localBiasMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int>(-local.tm_gmtoff / 60);
}

}  // namespace tintal
