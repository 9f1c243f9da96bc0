#pragma once
#include <string>
#include "base/numbers.h"
#include "widgets/label.h"
