#include "scorchwireeditor-presets.h"

#include "scorchwire-presets.h"
#include "scorchwire-wrapper.h"
#include "scorchwireeditor-presetwriter.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr char kVst3Ending[] = "vstpreset";
constexpr char kVst2PluginId[] = "scwr";
// The program name of a program file, the reserved area of a bank file.
constexpr long kProgramSkip = 28;
constexpr long kBankSkip = 128;

struct FileCloser {
   void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool endsWith(const std::string& text, const char* ending) {
   const size_t n = std::strlen(ending);
   return text.size() >= n && text.compare(text.size() - n, n, ending) == 0;
}

// Four bytes of a VST 2 file; false when fewer could be read.
bool readFour(std::FILE* file, uint8_t (&bytes)[4]) {
   return std::fread(bytes, 1, 4, file) == 4;
}
int32_t bigEndian(const uint8_t (&bytes)[4]) {
   return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                               static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]));
}
bool is(const uint8_t (&bytes)[4], const char* text) {
   return std::memcmp(bytes, text, 4) == 0;
}

} // namespace

void PresetFiles::copyComponentChunk(const void* data, int32_t size) {
   const auto* bytes = static_cast<const uint8_t*>(data);
   if (bytes && size > 0)
      componentChunk.assign(bytes, bytes + size);
   else
      componentChunk.clear();
}

bool PresetFiles::writeVST3Preset(const std::string& path) {
   if (path.empty())
      return false;
   File file(std::fopen(path.c_str(), "wb"));
   if (!file)
      return false;
   if (wrapper)
      wrapper->sendIntMessage("getchunk", 1);

   const std::vector<uint8_t> bytes = vst3PresetBytes(componentChunk);

   // A full disk shows at the latest when the buffered rest is written out on closing.
   const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
   return std::fclose(file.release()) == 0 && written;
}

void PresetFiles::loadPreset(const std::string& path) {
   if (path.empty())
      return;
   if (endsWith(path, kVst3Ending))
      loadVST3Preset(path);
   if (endsWith(path, "fxp") || endsWith(path, "fxb"))
      loadVST2Preset(path, getBaseName(path));
}

void PresetFiles::loadVST3Preset(const std::string& path) {
   if (wrapper)
      wrapper->sendBinaryMessage("loadvst3preset", path.data(), static_cast<int64_t>(path.size()));
}

// Big-endian fxProgram / fxBank of the opaque-chunk kinds: magic, byte size, kind, format version,
// plug-in id, plug-in version, program count, program name (28) or reserved area (128), chunk size,
// chunk. A chunk size past the end of the file refuses the file before anything is allocated.
bool PresetFiles::loadVST2Preset(const std::string& path, const std::string&) {
   if (path.empty())
      return false;
   File file(std::fopen(path.c_str(), "rb"));
   if (!file)
      return false;
   struct stat status;
   if (::fstat(::fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0)
      return false;

   uint8_t magic[4], byteSize[4], kind[4], version[4], pluginId[4], pluginVersion[4], programCount[4];
   if (!readFour(file.get(), magic) || !readFour(file.get(), byteSize) || !readFour(file.get(), kind))
      return false;
   long skip;
   if (is(kind, "FBCh"))
      skip = kBankSkip;
   else if (is(kind, "FPCh"))
      skip = kProgramSkip;
   else
      return false;
   if (!readFour(file.get(), version) || !readFour(file.get(), pluginId) || !is(pluginId, kVst2PluginId))
      return false;
   if (!readFour(file.get(), pluginVersion) || !readFour(file.get(), programCount))
      return false;
   uint8_t sizeField[4];
   if (std::fseek(file.get(), skip, SEEK_CUR) != 0 || !readFour(file.get(), sizeField))
      return false;
   const int32_t chunkSize = bigEndian(sizeField);
   const int64_t position = ::ftello(file.get());
   if (chunkSize < 0 || position < 0 || chunkSize > status.st_size - position)
      return false;
   std::vector<uint8_t> chunk(static_cast<size_t>(chunkSize));
   if (std::fread(chunk.data(), 1, chunk.size(), file.get()) != chunk.size())
      return false;
   file.reset();
   if (!wrapper)
      return false;
   wrapper->sendBinaryMessage("setchunkvst2", chunk.data(), chunkSize);
   return true;
}

std::string withVst3PresetEnding(const std::string& name) {
   return endsWith(name, kVst3Ending) ? name : name + "." + kVst3Ending;
}
