#include "platform/clip_store.h"

#include "core/clip_catalogue.h"
