#include "MessagingFixture.h"

#include "scorchwire-presets.h"

#include <cstring>
#include <filesystem>

using namespace messagingtest;

namespace {

template <typename T> T fieldAt(const std::vector<uint8_t>& bytes, size_t offset) {
   T value;
   std::memcpy(&value, bytes.data() + offset, sizeof(value));
   return value;
}
std::string textAt(const std::vector<uint8_t>& bytes, size_t offset, size_t length) {
   return std::string(bytes.begin() + offset, bytes.begin() + offset + length);
}
template <typename T> void putAt(std::vector<uint8_t>& bytes, size_t offset, T value) {
   std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

const char kLoadLines[] = "header ID = VST3 \n"
                          "ChUnK List : List \n"
                          "entry count = 2 \n"
                          "index=0 \n"
                          "chunk id = Comp \n"
                          "offset to chunk data = 48 \n"
                          "chunk size = 152\n"
                          "index=1 \n"
                          "chunk id = Cont \n"
                          "offset to chunk data = 200 \n"
                          "chunk size = 32\n";

// A VST 2 file of ours: big-endian, opaque chunk after the 28-byte program name or the bank's 128
// reserved bytes.
std::vector<uint8_t> vst2File(const char* kind, const char* pluginId, const std::vector<uint8_t>& chunk,
                              int32_t announcedSize) {
   std::vector<uint8_t> bytes;
   const auto text = [&](const char* t) {
      for (int i = 0; i < 4; ++i)
         bytes.push_back(static_cast<uint8_t>(t[i]));
   };
   const auto be32 = [&](int32_t v) {
      const auto u = static_cast<uint32_t>(v);
      bytes.insert(bytes.end(), {uint8_t(u >> 24), uint8_t(u >> 16), uint8_t(u >> 8), uint8_t(u)});
   };
   text("CcnK");
   be32(0);
   text(kind);
   be32(1);
   text(pluginId);
   be32(1);
   be32(1);
   bytes.resize(bytes.size() + (std::strcmp(kind, "FBCh") == 0 ? 128 : 28), 0);
   be32(announcedSize);
   bytes.insert(bytes.end(), chunk.begin(), chunk.end());
   return bytes;
}

} // namespace

class PresetFileIO : public MessagingTest {
protected:
   // A preset written from rig's instance with the given values, and its bytes.
   std::string writePreset(const std::string& name, const std::vector<double>& values) {
      rig.setValues(values);
      FakeEditor& editor = rig.editor ? *rig.editor : rig.openEditor();
      const std::string path = dir.file(name);
      EXPECT_TRUE(editor.presets.writeVST3Preset(path));
      return path;
   }
   TempDir dir;
};

TEST_F(PresetFileIO, AFreshInstanceWritesA280ByteFileLaidOutAsTheContainerWants) {
   FakeEditor& editor = rig.openEditor();
   const std::string path = dir.file("Fresh.vstpreset");
   ASSERT_TRUE(editor.presets.writeVST3Preset(path));
   const std::vector<uint8_t> file = readFile(path);
   ASSERT_EQ(file.size(), 280u);
   EXPECT_EQ(textAt(file, 0, 4), "VST3");
   EXPECT_EQ(fieldAt<int32_t>(file, 4), 1);
   EXPECT_EQ(textAt(file, 8, 32), "5653547363777253636F726368776972");
   EXPECT_EQ(fieldAt<int64_t>(file, 40), 232);
   EXPECT_EQ(std::vector<uint8_t>(file.begin() + 48, file.begin() + 200), rig.state());
   EXPECT_EQ(fieldAt<int32_t>(file, 200), 3);
   EXPECT_EQ(std::vector<uint8_t>(file.begin() + 204, file.begin() + 232), std::vector<uint8_t>(28, 0));
   EXPECT_EQ(textAt(file, 232, 4), "List");
   EXPECT_EQ(fieldAt<int32_t>(file, 236), 2);
   EXPECT_EQ(textAt(file, 240, 4), "Comp");
   EXPECT_EQ(fieldAt<int64_t>(file, 244), 48);
   EXPECT_EQ(fieldAt<int64_t>(file, 252), 152);
   EXPECT_EQ(textAt(file, 260, 4), "Cont");
   EXPECT_EQ(fieldAt<int64_t>(file, 264), 200);
   EXPECT_EQ(fieldAt<int64_t>(file, 272), 32);
}

TEST_F(PresetFileIO, AWrittenPresetReadIntoAnotherInstanceRestoresEveryValueAndTakesTheFileStemAsName) {
   const std::vector<double> values = distinctValues();
   const std::string path = writePreset("Lead: why?.vstpreset", values);

   Rig other;
   FakeEditor& editor = other.openEditor();
   other.startProcessing();
   const std::string printed = captureStdout([&] { editor.presets.loadPreset(path); });
   EXPECT_EQ(printed, kLoadLines);
   EXPECT_EQ(other.values(), values);

   std::vector<Echo> controls;
   for (int id = 0; id < kParamCount; ++id)
      if (id != 13)
         controls.push_back({id, values[id]});
   EXPECT_EQ(other.record.parameters, controls);
   EXPECT_EQ(other.record.presetNames, std::vector<std::string>{"Lead  why "});
   const std::vector<uint8_t> state = other.state();
   EXPECT_EQ(std::string(state.end() - 10, state.end()), "Lead  why ");
   EXPECT_EQ(other.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 1);

   // The message answers with the loader's result.
   captureStdout([&] {
      EXPECT_TRUE(other.instance->processMessage(MessageType::BinaryMessage, "loadvst3preset", 0.0f,
                                                 static_cast<int64_t>(path.size()), path.data()));
   });
}

TEST_F(PresetFileIO, RefusedVst3FilesChangeNothing) {
   const std::vector<uint8_t> valid = readFile(writePreset("Valid.vstpreset", distinctValues()));
   struct Case {
      const char* name;
      std::function<void(std::vector<uint8_t>&)> damage;
      const char* printed;
   };
   const Case cases[] = {
       {"lower-case class id",
        [](std::vector<uint8_t>& b) {
           const char lower[] = "5653547363777253636f726368776972";
           std::memcpy(b.data() + 8, lower, 32);
        },
        "header ID = VST3 \n"},
       {"wrong magic", [](std::vector<uint8_t>& b) { b[3] = '2'; }, "header ID = VST2 \n"},
       {"only a Cont entry",
        [](std::vector<uint8_t>& b) {
           putAt<int32_t>(b, 236, 1);
           std::memcpy(b.data() + 240, b.data() + 260, 20);
           b.resize(260);
        },
        "header ID = VST3 \nChUnK List : List \nentry count = 1 \nindex=0 \nchunk id = Cont \n"
        "offset to chunk data = 200 \nchunk size = 32\n"},
       {"no entries", [](std::vector<uint8_t>& b) { putAt<int32_t>(b, 236, 0); },
        "header ID = VST3 \nChUnK List : List \nentry count = 0 \n"},
   };
   Rig other;
   other.openEditor();
   const std::vector<uint8_t> before = other.state();
   for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      std::vector<uint8_t> bytes = valid;
      c.damage(bytes);
      const std::string path = dir.file(std::string(c.name) + ".vstpreset");
      writeFile(path, bytes);
      bool answer = true;
      const std::string printed = captureStdout([&] {
         answer = other.instance->processMessage(MessageType::BinaryMessage, "loadvst3preset", 0.0f,
                                                 static_cast<int64_t>(path.size()), path.data());
      });
      EXPECT_FALSE(answer);
      EXPECT_EQ(printed, c.printed);
   }
   for (const std::string& path : {dir.file("missing.vstpreset"), dir.path, std::string()})
      EXPECT_FALSE(other.instance->processMessage(MessageType::BinaryMessage, "loadvst3preset", 0.0f,
                                                  static_cast<int64_t>(path.size()), path.data()));
   EXPECT_EQ(other.state(), before);
   EXPECT_TRUE(other.record.parameters.empty());
   EXPECT_TRUE(other.record.presetNames.empty());
   EXPECT_EQ(other.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 0);
}

TEST_F(PresetFileIO, LoadPresetChoosesTheReaderByTheExactEndingOfThePath) {
   const std::vector<uint8_t> valid = readFile(writePreset("Valid.vstpreset", distinctValues()));
   const std::vector<uint8_t> chunk = rig.state();
   const std::vector<uint8_t> vst2 = vst2File("FPCh", "scwr", chunk, static_cast<int32_t>(chunk.size()));
   Rig other;
   FakeEditor& editor = other.openEditor();
   const std::vector<double> defaults = other.values();
   struct Case {
      const char* name;
      const std::vector<uint8_t>& bytes;
      bool loads;
   };
   const Case cases[] = {
       {"Caps.VSTPRESET", valid, false}, {"Caps.Vstpreset", valid, false}, {"NoDotvstpreset", valid, true},
       {"Caps.FXB", vst2, false},        {"Bank.fxb", vst2, true},         {"Program.fxp", vst2, true},
   };
   for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      other.setValues(defaults);
      const std::string path = dir.file(c.name);
      writeFile(path, c.bytes);
      captureStdout([&] { editor.presets.loadPreset(path); });
      EXPECT_EQ(other.values() != defaults, c.loads);
   }
   editor.presets.loadPreset("");
}

TEST_F(PresetFileIO, Vst2OpaqueChunkFilesOfOursAreForwardedAndOthersRefused) {
   Rig source;
   source.setValues(distinctValues());
   const std::vector<uint8_t> stateChunk = source.state();
   const std::vector<uint8_t> notAState = {1, 2, 3};
   const auto size = [](const std::vector<uint8_t>& c) { return static_cast<int32_t>(c.size()); };
   struct Case {
      const char* name;
      std::vector<uint8_t> bytes;
      bool forwarded;
      bool applied;
   };
   std::vector<uint8_t> shortChunk = vst2File("FPCh", "scwr", stateChunk, size(stateChunk));
   shortChunk.pop_back();
   const Case cases[] = {
       {"program.fxp", vst2File("FPCh", "scwr", stateChunk, size(stateChunk)), true, true},
       {"bank.fxb", vst2File("FBCh", "scwr", stateChunk, size(stateChunk)), true, true},
       {"foreign chunk.fxp", vst2File("FPCh", "scwr", notAState, size(notAState)), true, false},
       {"parameter list.fxp", vst2File("FxCk", "scwr", stateChunk, size(stateChunk)), false, false},
       {"parameter bank.fxb", vst2File("FxBk", "scwr", stateChunk, size(stateChunk)), false, false},
       {"other plug-in.fxp", vst2File("FPCh", "abcd", stateChunk, size(stateChunk)), false, false},
       {"negative size.fxp", vst2File("FPCh", "scwr", stateChunk, -1), false, false},
       {"size past the end.fxp", shortChunk, false, false},
       {"empty.fxp", {}, false, false},
   };
   for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      Rig other;
      FakeEditor& editor = other.openEditor();
      const std::vector<double> before = other.values();
      const std::string path = dir.file(c.name);
      writeFile(path, c.bytes);
      EXPECT_EQ(editor.presets.loadVST2Preset(path, "unused"), c.forwarded);
      EXPECT_EQ(other.values() == source.values(), c.applied);
      if (!c.applied) {
         EXPECT_EQ(other.values(), before);
      }
      other.setValues(before);
      editor.presets.loadPreset(path);
      EXPECT_EQ(other.values() == source.values(), c.applied) << "through loadPreset";
   }
   Rig other;
   FakeEditor& editor = other.openEditor();
   EXPECT_FALSE(editor.presets.loadVST2Preset("", ""));
   EXPECT_FALSE(editor.presets.loadVST2Preset(dir.file("missing.fxp"), ""));
   EXPECT_FALSE(editor.presets.loadVST2Preset(dir.path, ""));
}

TEST_F(PresetFileIO, WritingReportsAnEmptyPathAFileThatCannotBeCreatedAndAFullDisk) {
   FakeEditor& editor = rig.openEditor();
   EXPECT_FALSE(editor.presets.writeVST3Preset(""));
   EXPECT_FALSE(editor.presets.writeVST3Preset(dir.file("no such folder/x.vstpreset")));
   if (std::filesystem::exists("/dev/full")) {
      EXPECT_FALSE(editor.presets.writeVST3Preset("/dev/full"));
   }
}

TEST(PresetNames, BaseNameAndForbiddenCharacters) {
   const std::pair<std::string, std::string> baseNames[] = {
       {"/home/u/Presets/Lead.vstpreset", "Lead"},
       {"C:\\Presets\\Bass.fxp", "Bass"},
       {"dir.v2/Name", "Name"},
       {"a.b.c", "a.b"},
       {"NoDot", "NoDot"},
       {"/folder/.hidden", ""},
       {"", ""},
   };
   for (const auto& [path, base] : baseNames)
      EXPECT_EQ(getBaseName(path), base) << path;

   std::string text = "a\"b*c/d:e<f>g?h\\i|j k";
   removeForbiddenChar(text);
   EXPECT_EQ(text, "a b c d e f g h i j k");

   EXPECT_EQ(withVst3PresetEnding("Lead"), "Lead.vstpreset");
   EXPECT_EQ(withVst3PresetEnding("Lead.vstpreset"), "Lead.vstpreset");
   EXPECT_EQ(withVst3PresetEnding("Lead.VSTPRESET"), "Lead.VSTPRESET.vstpreset");
}
