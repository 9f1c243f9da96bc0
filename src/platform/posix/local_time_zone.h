#pragma once

namespace tintal {

// Minutes from local time to UTC now, as the Windows time-zone information gives them (UTC+1: -60).
int localBiasMinutes();

}  // namespace tintal
