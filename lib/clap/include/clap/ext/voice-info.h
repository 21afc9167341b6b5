#pragma once
#include "../plugin.h"

static const char CLAP_EXT_VOICE_INFO[] = "clap.voice-info";

#ifdef __cplusplus
extern "C" {
#endif

enum {
   CLAP_VOICE_INFO_SUPPORTS_OVERLAPPING_NOTES = 1 << 0,
};

typedef struct clap_voice_info {
   uint32_t voice_count;
   uint32_t voice_capacity;
   uint64_t flags;
} clap_voice_info_t;
CLAP_STATIC_ASSERT_SIZE(clap_voice_info_t, 16);

typedef struct clap_plugin_voice_info {
   bool (*get)(const clap_plugin_t *plugin, clap_voice_info_t *info);
} clap_plugin_voice_info_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_voice_info_t, 8);

typedef struct clap_host_voice_info {
   void (*changed)(const clap_host_t *host);
} clap_host_voice_info_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_voice_info_t, 8);

#ifdef __cplusplus
}
#endif
