#pragma once
#include "private/std.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct clap_version {
   uint32_t major;
   uint32_t minor;
   uint32_t revision;
} clap_version_t;
CLAP_STATIC_ASSERT_SIZE(clap_version_t, 12);

#define CLAP_VERSION_MAJOR 1
#define CLAP_VERSION_MINOR 2
#define CLAP_VERSION_REVISION 0
#define CLAP_VERSION_INIT {(uint32_t)CLAP_VERSION_MAJOR, (uint32_t)CLAP_VERSION_MINOR, (uint32_t)CLAP_VERSION_REVISION}

static inline bool clap_version_is_compatible(const clap_version_t v) { return v.major >= 1; }

#ifdef __cplusplus
}
#endif
