#include "MessagingFixture.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

using namespace messagingtest;

// Every operator new of this test process passes here, so that a load can be watched for the
// largest block it asks for.
namespace {
std::atomic<bool> watchingAllocations{false};
std::atomic<size_t> largestAllocation{0};
} // namespace

void* operator new(std::size_t size) {
   if (watchingAllocations.load(std::memory_order_relaxed)) {
      size_t largest = largestAllocation.load(std::memory_order_relaxed);
      while (size > largest &&
             !largestAllocation.compare_exchange_weak(largest, size, std::memory_order_relaxed)) {
      }
   }
   if (void* block = std::malloc(size ? size : 1))
      return block;
   throw std::bad_alloc();
}
// The blocks come from malloc above, which GCC cannot see once it inlines these.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
   std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
   std::free(block);
}
#pragma GCC diagnostic pop

// Files a preset folder may hold after a crash, a bad download or on purpose: read without a crash,
// without reading outside what was allocated (AddressSanitizer in the debug build) and without
// allocating more than the file holds.
namespace {

template <typename T> void putAt(std::vector<uint8_t>& bytes, size_t offset, T value) {
   std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

// Offsets in the file written from a fresh instance (280 bytes).
constexpr size_t kListOffsetField = 40;
constexpr size_t kEntryCountField = 236;
constexpr size_t kCompOffsetField = 244;
constexpr size_t kCompSizeField = 252;
constexpr size_t kContIdField = 260;
constexpr size_t kWholeCompEntry = 260;

// The largest block fn allocated. Blocks that do not depend on the file (the path, the name) stay
// under this size.
constexpr size_t kSmallAllocation = 512;
size_t largestAllocationOf(const std::function<void()>& fn) {
   largestAllocation = 0;
   watchingAllocations = true;
   fn();
   watchingAllocations = false;
   return largestAllocation;
}

} // namespace

class HostilePresetFiles : public MessagingTest {
protected:
   // The file holds values other than the instance's, so that any load shows.
   void SetUp() override {
      editor = &rig.openEditor();
      defaults = rig.values();
      rig.setValues(distinctValues());
      const std::string path = dir.file("valid.vstpreset");
      ASSERT_TRUE(editor->presets.writeVST3Preset(path));
      valid = readFile(path);
      ASSERT_EQ(valid.size(), 280u);
      restore();
      pristine = rig.state();
   }
   void restore() {
      // Cleared, not shrunk: the editor's record does not grow while a load is watched.
      rig.record.parameters.clear();
      rig.record.presetNames.clear();
      rig.setValues(defaults);
      editor->wrapper.sendBinaryMessage("changepresetname", "Untouched", 9);
   }

   bool load(const std::vector<uint8_t>& bytes, const std::string& name = "case.vstpreset") {
      const std::string path = dir.file(name);
      writeFile(path, bytes);
      bool answer = false;
      size_t largest = 0;
      captureStdout([&] {
         largest = largestAllocationOf([&] {
            answer = rig.instance->processMessage(MessageType::BinaryMessage, "loadvst3preset", 0.0f,
                                                  static_cast<int64_t>(path.size()), path.data());
         });
      });
      EXPECT_LE(largest, std::max(bytes.size(), kSmallAllocation)) << "no allocation larger than the file";
      return answer;
   }
   bool untouched() { return rig.state() == pristine; }

   TempDir dir;
   FakeEditor* editor = nullptr;
   std::vector<double> defaults;
   std::vector<uint8_t> valid;
   std::vector<uint8_t> pristine;
};

// Only a file that still holds the whole "Comp" entry loads; every shorter one changes nothing.
TEST_F(HostilePresetFiles, AFileCutShortAtAnyOffsetIsReadSafely) {
   for (size_t length = 0; length < valid.size(); ++length) {
      SCOPED_TRACE(length);
      const bool loads = length >= kWholeCompEntry;
      EXPECT_EQ(load(std::vector<uint8_t>(valid.begin(), valid.begin() + length)), loads);
      EXPECT_EQ(untouched(), !loads);
      restore();
   }
}

TEST_F(HostilePresetFiles, OffsetsAndSizesOutsideTheFileSkipTheirEntry) {
   struct Case {
      const char* name;
      std::function<void(std::vector<uint8_t>&)> damage;
      bool loads;
   };
   const auto secondComp = [](std::vector<uint8_t>& b) {
      // The "Cont" entry becomes a second, valid "Comp" entry.
      std::memcpy(b.data() + kContIdField, "Comp", 4);
      putAt<int64_t>(b, kContIdField + 4, 48);
      putAt<int64_t>(b, kContIdField + 12, 152);
   };
   const Case cases[] = {
       {"list offset past the end", [](auto& b) { putAt<int64_t>(b, kListOffsetField, 281); }, false},
       {"list offset far past the end", [](auto& b) { putAt<int64_t>(b, kListOffsetField, INT64_MAX); },
        false},
       {"negative list offset", [](auto& b) { putAt<int64_t>(b, kListOffsetField, -8); }, false},
       {"list offset inside the chunk", [](auto& b) { putAt<int64_t>(b, kListOffsetField, 60); }, false},
       {"chunk offset at the end", [](auto& b) { putAt<int64_t>(b, kCompOffsetField, 280); }, false},
       {"chunk offset past the end", [](auto& b) { putAt<int64_t>(b, kCompOffsetField, 1 << 20); }, false},
       {"negative chunk offset", [](auto& b) { putAt<int64_t>(b, kCompOffsetField, -48); }, false},
       {"chunk offset whose low 32 bits fit",
        [](auto& b) { putAt<int64_t>(b, kCompOffsetField, (1ll << 32) + 48); }, false},
       {"chunk one byte past the end", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 280 - 48 + 1); },
        false},
       {"chunk to the end of the file", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 280 - 48); }, true},
       {"negative chunk size", [](auto& b) { putAt<int64_t>(b, kCompSizeField, -152); }, false},
       {"2 GiB chunk size", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 1ll << 31); }, false},
       {"chunk size just under 2 GiB", [](auto& b) { putAt<int64_t>(b, kCompSizeField, INT32_MAX); }, false},
       {"chunk size of 1 MiB", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 1 << 20); }, false},
       {"offset plus size overflowing",
        [](auto& b) {
           putAt<int64_t>(b, kCompOffsetField, INT64_MAX - 8);
           putAt<int64_t>(b, kCompSizeField, 152);
        },
        false},
       {"empty chunk", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 0); }, false},
       {"chunk too short to hold a count", [](auto& b) { putAt<int64_t>(b, kCompSizeField, 7); }, false},
       {"negative entry count", [](auto& b) { putAt<int32_t>(b, kEntryCountField, -1); }, false},
       {"entry count far beyond the list", [](auto& b) { putAt<int32_t>(b, kEntryCountField, INT32_MAX); },
        true},
       {"bad chunk then a good one",
        [&](auto& b) {
           secondComp(b);
           putAt<int64_t>(b, kCompSizeField, 1ll << 31);
        },
        true},
       {"good chunk then a bad one",
        [&](auto& b) {
           secondComp(b);
           putAt<int64_t>(b, kContIdField + 12, -1);
        },
        true},
   };
   for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      std::vector<uint8_t> bytes = valid;
      c.damage(bytes);
      EXPECT_EQ(load(bytes), c.loads);
      EXPECT_EQ(untouched(), !c.loads);
      restore();
   }
}

// The chunk inside may lie: it is applied only as far as the bytes it has (values, then name).
TEST_F(HostilePresetFiles, AChunkThatClaimsMoreThanItHoldsIsAppliedAsFarAsItGoes) {
   std::vector<uint8_t> bytes = valid;
   putAt<int32_t>(bytes, 48 + 4, INT32_MAX); // value count
   bytes[48 + 8 + 8 * 17] = 127;             // name length far beyond the 7 bytes of "Default"
   EXPECT_TRUE(load(bytes, "Liar.vstpreset"));
   EXPECT_EQ(rig.values(), distinctValues());
   EXPECT_EQ(rig.record.presetNames.back(), "Liar");
}

TEST_F(HostilePresetFiles, AVst2FileCutShortOrClaimingAHugeChunkIsRefused) {
   std::vector<uint8_t> file = {'C', 'c', 'n', 'K', 0,   0,   0, 0, 'F', 'P', 'C', 'h', 0, 0,
                                0,   1,   's', 'c', 'w', 'r', 0, 0, 0,   1,   0,   0,   0, 1};
   file.resize(file.size() + 28, 0);
   const size_t sizeField = file.size();
   const std::vector<uint8_t> chunk = rig.state();
   const auto size = static_cast<uint32_t>(chunk.size());
   file.insert(file.end(), {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)});
   file.insert(file.end(), chunk.begin(), chunk.end());

   const auto read = [&](const std::vector<uint8_t>& bytes) {
      const std::string path = dir.file("case.fxp");
      writeFile(path, bytes);
      bool forwarded = false;
      EXPECT_LE(largestAllocationOf([&] { forwarded = editor->presets.loadVST2Preset(path, ""); }),
                std::max(bytes.size(), kSmallAllocation));
      return forwarded;
   };
   for (size_t length = 0; length <= file.size(); ++length) {
      SCOPED_TRACE(length);
      EXPECT_EQ(read(std::vector<uint8_t>(file.begin(), file.begin() + length)), length == file.size());
   }
   for (uint8_t top : {0x7F, 0x80}) {
      SCOPED_TRACE(top);
      std::vector<uint8_t> huge = file;
      std::fill(huge.begin() + sizeField, huge.begin() + sizeField + 4, 0xFF);
      huge[sizeField] = top;
      EXPECT_FALSE(read(huge));
   }
}
