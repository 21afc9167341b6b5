#pragma once
#include "../plugin.h"

static const char CLAP_EXT_LATENCY[] = "clap.latency";

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_plugin_latency {
   uint32_t (*get)(const clap_plugin_t *plugin);
} clap_plugin_latency_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_latency_t, 8);

typedef struct clap_host_latency {
   void (*changed)(const clap_host_t *host);
} clap_host_latency_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_latency_t, 8);

#ifdef __cplusplus
}
#endif
