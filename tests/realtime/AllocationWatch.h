#pragma once
#include <cstddef>

// Counts heap calls (malloc, calloc, realloc, free and the aligned forms, and with them every
// operator new and delete) made by the calling thread while it is watched.
namespace allocationwatch {

class Scope {
public:
   Scope();
   ~Scope();
   Scope(const Scope&) = delete;
   Scope& operator=(const Scope&) = delete;
};

// Heap calls made under a Scope since the process started, on any thread.
size_t calls();

} // namespace allocationwatch
