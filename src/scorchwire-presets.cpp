#include "scorchwire-presets.h"

#include "scorchwire.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

std::string getBaseName(const std::string& path) {
   const size_t separator = path.find_last_of("/\\");
   std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
   const size_t dot = name.rfind('.');
   if (dot != std::string::npos)
      name.resize(dot);
   return name;
}

void removeForbiddenChar(std::string& text) {
   for (char& c : text)
      if (std::strchr("\"*/:<>?\\|", c) && c != '\0')
         c = ' ';
}

namespace {

struct FileCloser {
   void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The reader's own diagnostic lines on standard output, each flushed.
__attribute__((format(printf, 1, 2))) void printLine(const char* format, ...) {
   va_list args;
   va_start(args, format);
   std::vprintf(format, args);
   va_end(args);
   std::fflush(stdout);
}

// The low 32 bits of a 64-bit field, read as a signed number (how the list's fields are printed).
int32_t low32(int64_t value) {
   return static_cast<int32_t>(value);
}

template <typename T> bool readValue(std::FILE* file, T& value) {
   return std::fread(&value, sizeof(value), 1, file) == 1;
}

// Four bytes as a text: a zero byte ends it. False when fewer than four could be read.
bool readId(std::FILE* file, char (&id)[5]) {
   std::memset(id, 0, sizeof(id));
   return std::fread(id, 1, 4, file) == 4;
}

struct ChunkEntry {
   char id[5];
   int64_t offset;
   int64_t size;
};

// The size of a regular file, or -1 for anything else (a directory, a pipe, a device).
int64_t regularFileSize(std::FILE* file) {
   struct stat status;
   if (::fstat(::fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
      return -1;
   return status.st_size;
}

// Reads the chunk list, printing each field; a list cut short ends with the last whole entry.
std::vector<ChunkEntry> readChunkList(std::FILE* file) {
   std::vector<ChunkEntry> entries;
   char listId[5];
   int32_t count = 0;
   if (!readId(file, listId))
      return entries;
   printLine("ChUnK List : %s \n", listId);
   if (!readValue(file, count))
      return entries;
   printLine("entry count = %d \n", count);
   for (int32_t i = 0; i < count; ++i) {
      printLine("index=%d \n", i);
      ChunkEntry entry;
      if (!readId(file, entry.id))
         break;
      printLine("chunk id = %s \n", entry.id);
      if (!readValue(file, entry.offset))
         break;
      printLine("offset to chunk data = %d \n", low32(entry.offset));
      if (!readValue(file, entry.size))
         break;
      printLine("chunk size = %d\n", low32(entry.size));
      entries.push_back(entry);
   }
   return entries;
}

// The bytes of a chunk that lies wholly inside the file and that setChunk can take; empty otherwise.
std::vector<uint8_t> readChunk(std::FILE* file, int64_t fileSize, const ChunkEntry& entry) {
   if (entry.offset < 0 || entry.size <= 0 || entry.offset > fileSize ||
       entry.size > fileSize - entry.offset || entry.size > INT32_MAX)
      return {};
   std::vector<uint8_t> bytes(static_cast<size_t>(entry.size));
   if (::fseeko(file, entry.offset, SEEK_SET) != 0 ||
       std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
      return {};
   return bytes;
}

// Reads the file's component chunks into the engine, in list order; true when one was applied.
// Never trusts the file: every read is checked, a list entry pointing outside the file is skipped,
// and nothing larger than the file is allocated. The file is closed on every way out.
bool applyComponentChunks(const std::string& path, ScorchwireFX& engine) {
   File file(std::fopen(path.c_str(), "rb"));
   if (!file)
      return false;
   const int64_t fileSize = regularFileSize(file.get());
   if (fileSize < 0)
      return false;

   char headerId[5];
   readId(file.get(), headerId);
   printLine("header ID = %s \n", headerId);
   if (std::strcmp(headerId, vst3preset::kHeaderId) != 0)
      return false;
   int32_t version;
   char classId[32];
   int64_t listOffset;
   if (!readValue(file.get(), version) ||
       std::fread(classId, 1, sizeof(classId), file.get()) != sizeof(classId) ||
       std::memcmp(classId, vst3preset::kClassId, sizeof(classId)) != 0)
      return false;
   if (!readValue(file.get(), listOffset) || listOffset < 0 ||
       ::fseeko(file.get(), listOffset, SEEK_SET) != 0)
      return false;

   bool applied = false;
   for (const ChunkEntry& entry : readChunkList(file.get())) {
      // The controller chunk carries nothing of ours; other ids are not ours either.
      if (std::strcmp(entry.id, vst3preset::kComponentId) != 0)
         continue;
      const std::vector<uint8_t> chunk = readChunk(file.get(), fileSize, entry);
      if (!chunk.empty() && engine.setChunk(chunk.data(), static_cast<int>(chunk.size()), true))
         applied = true;
   }
   return applied;
}

} // namespace

// The preset is named after the file; the editor's controls and the host follow the loaded values.
bool Scorchwire::loadVst3Preset(const std::string& path) noexcept {
   try {
      if (!applyComponentChunks(path, *engine))
         return false;
      EditorInterface* openEditor = editor.load(std::memory_order_relaxed);
      if (openEditor)
         showLoadedValuesInEditor(*openEditor);
      std::string name = getBaseName(path);
      removeForbiddenChar(name);
      if (!name.empty()) {
         engine->presetName = name;
         if (openEditor)
            openEditor->updatePresetName(name);
      }
   } catch (...) {
      // Only memory exhaustion throws here.
      return false;
   }
   _host.paramsRescan(CLAP_PARAM_RESCAN_VALUES);
   return true;
}
