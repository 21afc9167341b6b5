#include "AllocationWatch.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

// The process's allocator is replaced here: every entry point counts the call when the calling
// thread is watched, then hands it to the C library's own allocator. Shared objects the process
// loads (the plug-in among them) bind to these definitions as they bind to any malloc.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {
__attribute__((tls_model("initial-exec"))) thread_local bool watched = false;
std::atomic<size_t> watchedCalls{0};

inline void note() {
   if (watched)
      watchedCalls.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

namespace allocationwatch {
Scope::Scope() {
   watched = true;
}
Scope::~Scope() {
   watched = false;
}
size_t calls() {
   return watchedCalls.load(std::memory_order_relaxed);
}
} // namespace allocationwatch

extern "C" {
void* malloc(size_t n) {
   note();
   return __libc_malloc(n);
}
void* calloc(size_t count, size_t n) {
   note();
   return __libc_calloc(count, n);
}
void* realloc(void* p, size_t n) {
   note();
   return __libc_realloc(p, n);
}
void free(void* p) {
   if (p)
      note();
   __libc_free(p);
}
void* memalign(size_t alignment, size_t n) {
   note();
   return __libc_memalign(alignment, n);
}
void* aligned_alloc(size_t alignment, size_t n) {
   note();
   return __libc_memalign(alignment, n);
}
int posix_memalign(void** out, size_t alignment, size_t n) {
   note();
   void* p = __libc_memalign(alignment, n);
   if (!p)
      return ENOMEM;
   *out = p;
   return 0;
}
}

void* operator new(size_t n) {
   void* p = malloc(n ? n : 1);
   if (!p)
      throw std::bad_alloc();
   return p;
}
void* operator new[](size_t n) {
   return operator new(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
   return malloc(n ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
   return malloc(n ? n : 1);
}
void* operator new(size_t n, std::align_val_t a) {
   void* p = memalign(static_cast<size_t>(a), n ? n : 1);
   if (!p)
      throw std::bad_alloc();
   return p;
}
void* operator new[](size_t n, std::align_val_t a) {
   return operator new(n, a);
}
void operator delete(void* p) noexcept {
   free(p);
}
void operator delete[](void* p) noexcept {
   free(p);
}
void operator delete(void* p, size_t) noexcept {
   free(p);
}
void operator delete[](void* p, size_t) noexcept {
   free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
   free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
   free(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept {
   free(p);
}
void operator delete[](void* p, size_t, std::align_val_t) noexcept {
   free(p);
}
