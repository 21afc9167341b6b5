#include "scorchwireeditor-presetwriter.h"

#include "scorchwire-presets.h"

#include <cstring>

namespace {

template <typename T> void append(std::vector<uint8_t>& out, T value) {
   const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
   out.insert(out.end(), bytes, bytes + sizeof(value));
}
void appendText(std::vector<uint8_t>& out, const char* text) {
   out.insert(out.end(), text, text + std::strlen(text));
}

} // namespace

std::vector<uint8_t> vst3PresetBytes(const std::vector<uint8_t>& componentChunk) {
   using namespace vst3preset;
   const auto chunkSize = static_cast<int64_t>(componentChunk.size());
   std::vector<uint8_t> bytes;
   appendText(bytes, kHeaderId);
   append<int32_t>(bytes, kHeaderVersion);
   appendText(bytes, kClassId);
   append<int64_t>(bytes, kComponentOffset + chunkSize + kControllerChunkSize);
   bytes.insert(bytes.end(), componentChunk.begin(), componentChunk.end());
   append<int32_t>(bytes, kControllerChunkTag);
   bytes.resize(bytes.size() + kControllerChunkSize - sizeof(int32_t), 0);
   appendText(bytes, kListId);
   append<int32_t>(bytes, 2);
   appendText(bytes, kComponentId);
   append<int64_t>(bytes, kComponentOffset);
   append<int64_t>(bytes, chunkSize);
   appendText(bytes, kControllerId);
   append<int64_t>(bytes, kComponentOffset + chunkSize);
   append<int64_t>(bytes, kControllerChunkSize);
   return bytes;
}
