#pragma once
// Common C headers and the export macro of the CLAP C ABI.
#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#else
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#endif

#define CLAP_EXPORT __attribute__((visibility("default")))
#define CLAP_ABI

#ifdef __cplusplus
#define CLAP_CONSTEXPR constexpr
#else
#define CLAP_CONSTEXPR
#endif

#define CLAP_STATIC_ASSERT_SIZE(type, bytes) \
   _Static_assert(sizeof(type) == (bytes), #type " has the wrong size")
#ifdef __cplusplus
#undef CLAP_STATIC_ASSERT_SIZE
#define CLAP_STATIC_ASSERT_SIZE(type, bytes) static_assert(sizeof(type) == (bytes), #type " has the wrong size")
#endif
