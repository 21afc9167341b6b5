#pragma once
#include "../plugin.h"
#include "../string-sizes.h"

static const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
static const char CLAP_PORT_MONO[] = "mono";
static const char CLAP_PORT_STEREO[] = "stereo";

#ifdef __cplusplus
extern "C" {
#endif

enum {
   CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
   CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
   CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
   CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

typedef struct clap_audio_port_info {
   clap_id id;
   char name[CLAP_NAME_SIZE];
   uint32_t flags;
   uint32_t channel_count;
   const char *port_type;
   clap_id in_place_pair;
} clap_audio_port_info_t;
CLAP_STATIC_ASSERT_SIZE(clap_audio_port_info_t, 288);

typedef struct clap_plugin_audio_ports {
   uint32_t (*count)(const clap_plugin_t *plugin, bool is_input);
   bool (*get)(const clap_plugin_t *plugin, uint32_t index, bool is_input, clap_audio_port_info_t *info);
} clap_plugin_audio_ports_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_audio_ports_t, 16);

enum {
   CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0,
   CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1,
   CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2,
   CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3,
   CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4,
   CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5,
};

typedef struct clap_host_audio_ports {
   bool (*is_rescan_flag_supported)(const clap_host_t *host, uint32_t flag);
   void (*rescan)(const clap_host_t *host, uint32_t flags);
} clap_host_audio_ports_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_audio_ports_t, 16);

#ifdef __cplusplus
}
#endif
