#pragma once
#include "../plugin.h"

static const char CLAP_EXT_LOG[] = "clap.log";

#ifdef __cplusplus
extern "C" {
#endif

// Severity: a signed 32-bit integer, not an enum.
typedef int32_t clap_log_severity;
enum {
   CLAP_LOG_DEBUG = 0,
   CLAP_LOG_INFO = 1,
   CLAP_LOG_WARNING = 2,
   CLAP_LOG_ERROR = 3,
   CLAP_LOG_FATAL = 4,
   CLAP_LOG_HOST_MISBEHAVING = 5,
   CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

typedef struct clap_host_log {
   void (*log)(const clap_host_t *host, clap_log_severity severity, const char *msg);
} clap_host_log_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_log_t, 8);

#ifdef __cplusplus
}
#endif
