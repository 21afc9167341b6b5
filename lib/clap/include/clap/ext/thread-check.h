#pragma once
#include "../plugin.h"

static const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_host_thread_check {
   bool (*is_main_thread)(const clap_host_t *host);
   bool (*is_audio_thread)(const clap_host_t *host);
} clap_host_thread_check_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_thread_check_t, 16);

#ifdef __cplusplus
}
#endif
