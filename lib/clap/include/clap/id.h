#pragma once
#include "private/std.h"

typedef uint32_t clap_id;
static const clap_id CLAP_INVALID_ID = UINT32_MAX;
