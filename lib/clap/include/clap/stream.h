#pragma once
#include "private/std.h"

#ifdef __cplusplus
extern "C" {
#endif

// read/write move up to size bytes and return how many moved: 0 at end of input, -1 on error.
typedef struct clap_istream {
   void *ctx;
   int64_t (*read)(const struct clap_istream *stream, void *buffer, uint64_t size);
} clap_istream_t;
CLAP_STATIC_ASSERT_SIZE(clap_istream_t, 16);

typedef struct clap_ostream {
   void *ctx;
   int64_t (*write)(const struct clap_ostream *stream, const void *buffer, uint64_t size);
} clap_ostream_t;
CLAP_STATIC_ASSERT_SIZE(clap_ostream_t, 16);

#ifdef __cplusplus
}
#endif
