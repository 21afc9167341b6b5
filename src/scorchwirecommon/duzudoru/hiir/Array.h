#pragma once
#include <cassert>

namespace hiir {

// Fixed-length array whose indexing asserts the bounds.
template <typename T, int LEN> class Array {
public:
   static constexpr int NBR_ELT = LEN;

   T& operator[](int pos) {
      assert(pos >= 0 && pos < LEN);
      return _data[pos];
   }
   const T& operator[](int pos) const {
      assert(pos >= 0 && pos < LEN);
      return _data[pos];
   }
   static constexpr int size() { return LEN; }

private:
   T _data[LEN];
};

} // namespace hiir
