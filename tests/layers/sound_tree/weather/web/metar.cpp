#include "weather/weather_reading.h"
#include "widgets/label.h"
#include "platform/downloader.h"
#include "base/text_encoding.h"
#include <nlohmann/json.hpp>
