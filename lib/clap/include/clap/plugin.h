#pragma once
#include "host.h"
#include "process.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_plugin_descriptor {
   clap_version_t clap_version;
   const char *id;
   const char *name;
   const char *vendor;
   const char *url;
   const char *manual_url;
   const char *support_url;
   const char *version;
   const char *description;
   const char *const *features; // ends with a null pointer
} clap_plugin_descriptor_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_descriptor_t, 88);

typedef struct clap_plugin {
   const clap_plugin_descriptor_t *desc;
   void *plugin_data;
   bool (*init)(const struct clap_plugin *plugin);
   void (*destroy)(const struct clap_plugin *plugin);
   bool (*activate)(const struct clap_plugin *plugin, double sample_rate, uint32_t min_frames_count,
                    uint32_t max_frames_count);
   void (*deactivate)(const struct clap_plugin *plugin);
   bool (*start_processing)(const struct clap_plugin *plugin);
   void (*stop_processing)(const struct clap_plugin *plugin);
   void (*reset)(const struct clap_plugin *plugin);
   clap_process_status (*process)(const struct clap_plugin *plugin, const clap_process_t *process);
   const void *(*get_extension)(const struct clap_plugin *plugin, const char *id);
   void (*on_main_thread)(const struct clap_plugin *plugin);
} clap_plugin_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_t, 96);

#ifdef __cplusplus
}
#endif
