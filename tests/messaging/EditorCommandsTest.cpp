#include "MessagingFixture.h"

#include <cmath>
#include <cstring>

using namespace messagingtest;

namespace {

std::vector<uint8_t> stateChunk(int32_t count, const std::vector<double>& values, const std::string& name) {
   std::vector<uint8_t> bytes(8);
   const int32_t version = 1;
   std::memcpy(bytes.data(), &version, 4);
   std::memcpy(bytes.data() + 4, &count, 4);
   for (double v : values) {
      const auto* p = reinterpret_cast<const uint8_t*>(&v);
      bytes.insert(bytes.end(), p, p + 8);
   }
   bytes.push_back(static_cast<uint8_t>(name.size()));
   bytes.insert(bytes.end(), name.begin(), name.end());
   return bytes;
}

std::string nameInState(const std::vector<uint8_t>& state) {
   const size_t at = 8 + 8 * kParamCount;
   EXPECT_EQ(state.at(at), state.size() - at - 1) << "length byte";
   return std::string(state.begin() + at + 1, state.end());
}

} // namespace

class EditorCommands : public MessagingTest {
protected:
   bool send(MessageType type, const char* command, int64_t intValue = 0, const void* data = nullptr) {
      return rig.instance->processMessage(type, command, 0.0f, intValue, data);
   }
   bool sendBytes(const char* command, const std::string& bytes) {
      return send(MessageType::BinaryMessage, command, static_cast<int64_t>(bytes.size()), bytes.data());
   }
};

TEST_F(EditorCommands, PresetNameIsFetchedAndChangedAndTheNextStateChunkCarriesIt) {
   FakeEditor& editor = rig.openEditor();
   EXPECT_TRUE(send(MessageType::IntMessage, "getpresetname", 1));
   EXPECT_EQ(rig.record.presetNames, std::vector<std::string>{"Default"});

   EXPECT_TRUE(sendBytes("changepresetname", "Lead5"));
   EXPECT_EQ(rig.record.presetNames.back(), "Lead5");
   const std::vector<uint8_t> state = rig.state();
   EXPECT_EQ(state.at(8 + 8 * kParamCount), 5);
   EXPECT_EQ(nameInState(state), "Lead5");

   // A zero byte ends the name.
   EXPECT_TRUE(sendBytes("changepresetname", std::string("ab\0cd", 5)));
   EXPECT_EQ(nameInState(rig.state()), "ab");

   // An empty name is stored, and then there is nothing to fetch.
   EXPECT_TRUE(sendBytes("changepresetname", ""));
   rig.record.presetNames.clear();
   editor.wrapper.sendIntMessage("getpresetname", 1);
   EXPECT_TRUE(rig.record.presetNames.empty());
   EXPECT_EQ(nameInState(rig.state()), "");
}

TEST_F(EditorCommands, PresetIndexIsKeptByTheInstanceAsA32BitNumber) {
   FakeEditor& editor = rig.openEditor();
   const std::pair<int64_t, int32_t> cases[] = {
       {7, 7}, {-2, -2}, {(int64_t{1} << 32) + 3, 3}, {0xFFFFFFFFll, -1}};
   for (const auto& [sent, kept] : cases) {
      SCOPED_TRACE(sent);
      rig.record.currentPresetIndex = 1234;
      EXPECT_TRUE(send(MessageType::IntMessage, "savecurrentpresetindex", sent));
      editor.wrapper.sendIntMessage("getcurrentpresetindex", 1);
      EXPECT_EQ(rig.record.currentPresetIndex, kept);
   }
}

TEST_F(EditorCommands, GetChunkHandsTheEditorTheCurrentStateChunk) {
   FakeEditor& editor = rig.openEditor();
   EXPECT_TRUE(send(MessageType::IntMessage, "getchunk", 1));
   EXPECT_EQ(editor.presets.componentChunk.size(), 152u);
   EXPECT_EQ(editor.presets.componentChunk, rig.state());

   rig.setValues(distinctValues());
   editor.wrapper.sendIntMessage("getchunk", 1);
   EXPECT_EQ(editor.presets.componentChunk, rig.state());
}

TEST_F(EditorCommands, LinuxTimerHandsTheScopeAndThePeaksToAnOpenEditor) {
   rig.startProcessing();
   rig.process(512);
   EXPECT_TRUE(send(MessageType::IntMessage, "linuxtimer", 1)) << "no editor: nothing read";

   FakeEditor& editor = rig.openEditor();
   editor.idle();
   const StereoBlock& block = *rig.lastBlock;
   ASSERT_EQ(rig.record.scopes.size(), 1u);
   ASSERT_EQ(rig.record.scopes[0].size(), 512u) << "the samples fed while no editor was open";
   for (uint32_t i = 0; i < 512; ++i) {
      const float s = (block.outL[i] + block.outR[i]) * 0.5f * 127.0f;
      ASSERT_EQ(rig.record.scopes[0][i], static_cast<char>(static_cast<int>(s))) << "frame " << i;
   }
   EXPECT_EQ(rig.record.scopeFlags[0], 0);
   float peakL = 0, peakR = 0;
   for (uint32_t i = 0; i < 512; ++i) {
      peakL = std::max(peakL, std::fabs(block.outL[i]));
      peakR = std::max(peakR, std::fabs(block.outR[i]));
   }
   ASSERT_EQ(rig.record.peaks.size(), 1u);
   EXPECT_EQ(rig.record.peaks[0], (std::array<float, 2>{peakL, peakR}));
   EXPECT_GT(peakL, 0.0f);

   editor.idle();
   ASSERT_EQ(rig.record.scopes.size(), 2u);
   EXPECT_TRUE(rig.record.scopes[1].empty()) << "nothing new since the last tick";
}

TEST_F(EditorCommands, UnhandledCommandsAreAnsweredAsAgreedAndChangeNothing) {
   FakeEditor& editor = rig.openEditor();
   rig.startProcessing();
   const std::vector<uint8_t> stateBefore = rig.state();
   const std::string payload = "Other";
   struct Case {
      MessageType type;
      const char* command;
      bool answer;
   };
   const Case cases[] = {
       {MessageType::IntMessage, "beginedit", true},
       {MessageType::IntMessage, "endedit", true},
       {MessageType::IntMessage, "nosuchcommand", true},
       {MessageType::IntMessage, "changepresetname", true},
       {MessageType::BinaryMessage, "loadpreset", false},
       {MessageType::BinaryMessage, "setpresetname", true},
       {MessageType::BinaryMessage, "getchunk", true},
       {MessageType::BinaryMessage, "nosuchcommand", true},
       {MessageType::FloatMessage, "getchunk", true},
       {MessageType::FloatMessage, "changepresetname", true},
       {MessageType::StringMessage, "changepresetname", true},
       {MessageType::StringMessage, "savecurrentpresetindex", true},
       {MessageType::IntMessage, nullptr, true},
   };
   for (const Case& c : cases) {
      SCOPED_TRACE(c.command ? c.command : "(null)");
      EXPECT_EQ(rig.instance->processMessage(c.type, c.command, 0.5f, 5, payload.data()), c.answer);
   }
   editor.wrapper.sendFloatMessage("linuxtimer", 1.0f);
   editor.wrapper.sendStringMessage("changepresetname", "Renamed");

   EXPECT_EQ(rig.state(), stateBefore);
   EXPECT_TRUE(rig.record.presetNames.empty());
   EXPECT_TRUE(rig.record.scopes.empty());
   EXPECT_TRUE(editor.presets.componentChunk.empty());
   EXPECT_EQ(rig.record.currentPresetIndex, -1);
   EXPECT_EQ(rig.flush().size(), 0u) << "only the queues make host events";
   EXPECT_EQ(rig.process().size(), 0u);
}

// Older presets carry the state chunk: one that holds all it announces is applied, anything else not.
TEST_F(EditorCommands, Vst2ChunksThatAreWholeStateChunksAreApplied) {
   FakeEditor& editor = rig.openEditor();
   const std::vector<double> values = distinctValues();
   const std::vector<uint8_t> whole = stateChunk(17, values, "Old one");
   std::vector<uint8_t> missingValue =
       stateChunk(17, std::vector<double>(values.begin(), values.end() - 1), "");
   missingValue.pop_back(); // no name-length byte either: 8 + 16 values
   const std::vector<uint8_t> negativeCount = stateChunk(-1, {}, "Neg");
   const std::vector<uint8_t> fourBytes = {1, 0, 0, 0};

   const std::vector<double> before = rig.values();
   for (const std::vector<uint8_t>& refused : {missingValue, negativeCount, fourBytes}) {
      EXPECT_TRUE(send(MessageType::BinaryMessage, "setchunkvst2", static_cast<int64_t>(refused.size()),
                       refused.data()));
      EXPECT_EQ(rig.values(), before);
   }
   EXPECT_TRUE(send(MessageType::BinaryMessage, "setchunkvst2", -5, whole.data()));
   EXPECT_TRUE(send(MessageType::BinaryMessage, "setchunkvst2", 152, nullptr));
   EXPECT_EQ(rig.values(), before);
   EXPECT_TRUE(rig.record.parameters.empty());
   EXPECT_EQ(rig.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 0);

   editor.wrapper.sendBinaryMessage("setchunkvst2", whole.data(), static_cast<int64_t>(whole.size()));
   EXPECT_EQ(rig.values(), values);
   EXPECT_EQ(nameInState(rig.state()), "Old one");
   EXPECT_EQ(rig.record.presetNames, std::vector<std::string>{"Old one"});
   EXPECT_EQ(rig.record.parameters.size(), 16u) << "every control, parameter 13 has none";
   EXPECT_EQ(rig.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 1);

   // A count of 0 is whole too: it sets nothing.
   const std::vector<uint8_t> empty = stateChunk(0, {}, "");
   editor.wrapper.sendBinaryMessage("setchunkvst2", empty.data(), static_cast<int64_t>(empty.size()));
   EXPECT_EQ(rig.values(), values);
}
