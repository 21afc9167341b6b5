#pragma once
#include "private/std.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_audio_buffer {
   float **data32;
   double **data64;
   uint32_t channel_count;
   uint32_t latency;
   uint64_t constant_mask;
} clap_audio_buffer_t;
CLAP_STATIC_ASSERT_SIZE(clap_audio_buffer_t, 32);

#ifdef __cplusplus
}
#endif
