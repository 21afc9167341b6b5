#include "scorchwire.h"

#include <cstdlib>
#include <vector>

namespace {

// A stream that keeps accepting nothing would hold the save forever: give up after this many
// zero-byte writes in a row.
constexpr int kMaxEmptyWrites = 64;
constexpr uint64_t kReadPiece = 256;
// Far more than any chunk (at most 272 bytes when written by the plug-in); guards against a stream
// that never ends.
constexpr size_t kMaxStateBytes = 1 << 20;

bool writeAll(const clap_ostream_t* stream, const uint8_t* data, size_t size) {
   size_t written = 0;
   int emptyWrites = 0;
   while (written < size) {
      const int64_t n = stream->write(stream, data + written, size - written);
      if (n < 0 || static_cast<uint64_t>(n) > size - written)
         return false;
      if (n == 0 && ++emptyWrites >= kMaxEmptyWrites)
         return false;
      if (n > 0)
         emptyWrites = 0;
      written += static_cast<size_t>(n);
   }
   return true;
}

// Reads to the end of the stream (or an error); what arrived before either is the result.
std::vector<uint8_t> readAll(const clap_istream_t* stream) {
   std::vector<uint8_t> bytes;
   while (bytes.size() < kMaxStateBytes) {
      const size_t at = bytes.size();
      bytes.resize(at + kReadPiece);
      const int64_t n = stream->read(stream, bytes.data() + at, kReadPiece);
      if (n <= 0 || static_cast<uint64_t>(n) > kReadPiece) {
         bytes.resize(at);
         break;
      }
      bytes.resize(at + static_cast<size_t>(n));
   }
   return bytes;
}

} // namespace

// ---- state ----

bool Scorchwire::stateSave(const clap_ostream_t* stream) noexcept {
   void* chunk = nullptr;
   int size = 0;
   try {
      size = engine->getChunk(&chunk, true);
   } catch (...) {
      return false;
   }
   if (size <= 0 || !chunk)
      return false;
   const bool saved = writeAll(stream, static_cast<const uint8_t*>(chunk), static_cast<size_t>(size));
   std::free(chunk);
   return saved;
}

bool Scorchwire::stateLoad(const clap_istream_t* stream) noexcept {
   try {
      const std::vector<uint8_t> bytes = readAll(stream);
      if (!engine->setChunk(bytes.data(), static_cast<int>(bytes.size()), true))
         return false;
   } catch (...) {
      return false;
   }
   refreshUIRequested.store(true);
   // The host's own display and automation must follow the new values.
   _host.paramsRescan(CLAP_PARAM_RESCAN_VALUES);
   return true;
}
