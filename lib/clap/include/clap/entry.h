#pragma once
#include "version.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_plugin_entry {
   clap_version_t clap_version;
   bool (*init)(const char *plugin_path);
   void (*deinit)(void);
   const void *(*get_factory)(const char *factory_id);
} clap_plugin_entry_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_entry_t, 40);

#ifdef __cplusplus
}
#endif
