#include "core/clip_catalogue.h"
