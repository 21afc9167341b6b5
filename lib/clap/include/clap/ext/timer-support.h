#pragma once
#include "../plugin.h"

static const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_plugin_timer_support {
   void (*on_timer)(const clap_plugin_t *plugin, clap_id timer_id);
} clap_plugin_timer_support_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_timer_support_t, 8);

typedef struct clap_host_timer_support {
   bool (*register_timer)(const clap_host_t *host, uint32_t period_ms, clap_id *timer_id);
   bool (*unregister_timer)(const clap_host_t *host, clap_id timer_id);
} clap_host_timer_support_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_timer_support_t, 16);

#ifdef __cplusplus
}
#endif
