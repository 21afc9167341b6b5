#pragma once
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace ohm::mem {

// Heap array whose elements start on an ALIGN-byte boundary. Resizing keeps the elements that
// remain (moved into the new storage) and default-constructs the new ones. Not for the audio path.
template <typename T, int ALIGN> class DynArray {
public:
   static_assert(ALIGN > 0 && (ALIGN & (ALIGN - 1)) == 0, "alignment must be a power of 2");

   DynArray() = default;
   explicit DynArray(long len) { resize(len); }
   DynArray(const DynArray&) = delete;
   DynArray& operator=(const DynArray&) = delete;
   ~DynArray() { release(_data_ptr, _raw_ptr, _len); }

   long size() const { return _len; }

   void resize(long len) {
      assert(len >= 0);
      if (len == _len)
         return;
      void* raw = nullptr;
      T* data = nullptr;
      if (len > 0) {
         raw = ::operator new(static_cast<size_t>(len) * sizeof(T) + ALIGN - 1);
         const auto addr = reinterpret_cast<uintptr_t>(raw);
         data = reinterpret_cast<T*>((addr + ALIGN - 1) & ~static_cast<uintptr_t>(ALIGN - 1));
         const long kept = len < _len ? len : _len;
         for (long pos = 0; pos < kept; ++pos)
            new (&data[pos]) T(std::move(_data_ptr[pos]));
         for (long pos = kept; pos < len; ++pos)
            new (&data[pos]) T();
      }
      release(_data_ptr, _raw_ptr, _len);
      _data_ptr = data;
      _raw_ptr = raw;
      _len = len;
   }

   T& operator[](long pos) {
      assert(pos >= 0 && pos < _len);
      return _data_ptr[pos];
   }
   const T& operator[](long pos) const {
      assert(pos >= 0 && pos < _len);
      return _data_ptr[pos];
   }

private:
   static void release(T* data, void* raw, long len) {
      for (long pos = 0; pos < len; ++pos)
         data[pos].~T();
      ::operator delete(raw);
   }

   T* _data_ptr = nullptr;
   void* _raw_ptr = nullptr;
   long _len = 0;
};

} // namespace ohm::mem
