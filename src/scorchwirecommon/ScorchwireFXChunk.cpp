#include "ScorchwireFX.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// The state chunk, little-endian:
//   int32 version (1, never examined), int32 count n (17),
//   n doubles (parameter values in id order), int8 name length N (0..127), N name bytes.
namespace {

constexpr int kMaxNameLength = 127;

void insert_bytes(std::vector<uint8_t>& out, const void* data, size_t size) {
   const auto* bytes = static_cast<const uint8_t*>(data);
   out.insert(out.end(), bytes, bytes + size);
}
void insert_int(std::vector<uint8_t>& out, int32_t value) {
   insert_bytes(out, &value, sizeof(value));
}
void insert_double(std::vector<uint8_t>& out, double value) {
   insert_bytes(out, &value, sizeof(value));
}
void insert_string(std::vector<uint8_t>& out, const std::string& text) {
   insert_bytes(out, text.data(), text.size());
}

int32_t read_int(const uint8_t* at) {
   int32_t value;
   std::memcpy(&value, at, sizeof(value));
   return value;
}
double read_double(const uint8_t* at) {
   double value;
   std::memcpy(&value, at, sizeof(value));
   return value;
}

} // namespace

int ScorchwireFX::getChunk(void** data, bool) {
   std::vector<uint8_t> chunk;
   insert_int(chunk, 1);
   insert_int(chunk, kNumParams);
   for (int i = 0; i < kNumParams; ++i)
      insert_double(chunk, getParameter(i));
   if (presetName.size() > kMaxNameLength)
      presetName.resize(kMaxNameLength);
   chunk.push_back(static_cast<uint8_t>(presetName.size()));
   if (!presetName.empty())
      insert_string(chunk, presetName);

   void* block = std::malloc(chunk.size());
   if (!block) {
      *data = nullptr;
      return 0;
   }
   std::memcpy(block, chunk.data(), chunk.size());
   *data = block;
   return static_cast<int>(chunk.size());
}

// Never reads outside [data, data + size): a block shorter than it announces applies only its complete
// values and the name bytes it holds. Too short to hold the count, it changes nothing and fails.
int ScorchwireFX::setChunk(const void* data, int size, bool) {
   if (!data || size < 8)
      return 0;
   const auto* bytes = static_cast<const uint8_t*>(data);
   const size_t length = static_cast<size_t>(size);

   const int32_t count = read_int(bytes + 4);
   size_t nameOffset = 8;
   if (count > 0) {
      const int applied = std::min<int32_t>(count, kNumParams);
      for (int i = 0; i < applied; ++i) {
         const size_t offset = 8 + 8 * static_cast<size_t>(i);
         if (offset + 8 > length)
            break;
         setParameter(i, read_double(bytes + offset));
      }
      nameOffset = 8 + 8 * static_cast<size_t>(applied);
   }

   if (nameOffset < length) {
      const auto nameLength = static_cast<int8_t>(bytes[nameOffset]);
      const size_t present =
          nameLength > 0 ? std::min<size_t>(static_cast<size_t>(nameLength), length - nameOffset - 1) : 0;
      if (present > 0) {
         const auto* name = bytes + nameOffset + 1;
         // The text ends at a zero byte; the remaining positions stay zero bytes.
         const size_t textLength = std::find(name, name + present, uint8_t{0}) - name;
         presetName.assign(reinterpret_cast<const char*>(name), textLength);
         presetName.resize(present, '\0');
      }
   }
   return 1;
}
