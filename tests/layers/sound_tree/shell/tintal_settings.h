#pragma once
#include "config/key_table.h"
#include "core/tform1.h"
#include "radio/tform_com.h"
