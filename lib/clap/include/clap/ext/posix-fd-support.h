#pragma once
#include "../plugin.h"

static const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

#ifdef __cplusplus
extern "C" {
#endif

enum {
   CLAP_POSIX_FD_READ = 1 << 0,
   CLAP_POSIX_FD_WRITE = 1 << 1,
   CLAP_POSIX_FD_ERROR = 1 << 2,
};
typedef uint32_t clap_posix_fd_flags_t;

typedef struct clap_plugin_posix_fd_support {
   void (*on_fd)(const clap_plugin_t *plugin, int fd, clap_posix_fd_flags_t flags);
} clap_plugin_posix_fd_support_t;
CLAP_STATIC_ASSERT_SIZE(clap_plugin_posix_fd_support_t, 8);

typedef struct clap_host_posix_fd_support {
   bool (*register_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);
   bool (*modify_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);
   bool (*unregister_fd)(const clap_host_t *host, int fd);
} clap_host_posix_fd_support_t;
CLAP_STATIC_ASSERT_SIZE(clap_host_posix_fd_support_t, 24);

#ifdef __cplusplus
}
#endif
