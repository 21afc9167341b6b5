#pragma once
#include "private/std.h"

// Beat and second positions are signed 64-bit fixed point with 31 fractional bits.
static const int64_t CLAP_BEATTIME_FACTOR = 1LL << 31;
static const int64_t CLAP_SECTIME_FACTOR = 1LL << 31;

typedef int64_t clap_beattime;
typedef int64_t clap_sectime;
