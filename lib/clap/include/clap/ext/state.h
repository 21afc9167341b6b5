#pragma once
#include "../plugin.h"
#include "../stream.h"

static const char CLAP_EXT_STATE[] = "clap.state";

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_plugin_state {
   bool (*save)(const clap_plugin_t *plugin, const clap_ostream_t *stream);
   bool (*load)(const clap_plugin_t *plugin, const clap_istream_t *stream);
} clap_plugin_state_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_state_t, 16);

typedef struct clap_host_state {
   void (*mark_dirty)(const clap_host_t *host);
} clap_host_state_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_state_t, 8);

#ifdef __cplusplus
}
#endif
