#pragma once
#include "CaptureOutput.h"
#include "EventLists.h"
#include "Host.h"
#include "PluginInstance.h"

#include "scorchwire-editor-interface.h"
#include "scorchwire-wrapper.h"
#include "scorchwire.h"
#include "scorchwireeditor-presets.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace messagingtest {

constexpr int kParamCount = 17;

struct Echo {
   int32_t id;
   double value;
   bool operator==(const Echo&) const = default;
};
void PrintTo(const Echo& echo, std::ostream* os);

// What a fake editor was told; owned by the test so that it outlives the editor.
struct EditorRecord {
   std::vector<Echo> parameters; // setParameter calls, in order
   std::vector<std::string> presetNames;
   int32_t currentPresetIndex = -1;
   std::vector<std::vector<char>> scopes;
   std::vector<int> scopeFlags;
   std::vector<std::array<float, 2>> peaks;
   // "close", "destroyed", in the order they happened
   std::vector<std::string> lifecycle;
};

// Stands in for ScorchwireEditor: records what the instance calls and talks back through the same
// link, wrapper and preset files the real editor uses.
class FakeEditor : public EditorInterface {
public:
   FakeEditor(EditorLink link, Scorchwire* instance, EditorRecord& record)
       : link(std::move(link)), wrapper(instance), record(record) {}
   ~FakeEditor() override { record.lifecycle.push_back("destroyed"); }

   void setParameter(int32_t index, double value) override { record.parameters.push_back({index, value}); }
   void updatePresetName(const std::string& name) override { record.presetNames.push_back(name); }
   void copyComponentChunk(const void* data, int32_t size) override {
      presets.copyComponentChunk(data, size);
   }
   int32_t currentPresetIndex() const override { return record.currentPresetIndex; }
   void setCurrentPresetIndex(int32_t index) override { record.currentPresetIndex = index; }
   void processOscilloscope(char* data, int count, int flag) override {
      record.scopes.emplace_back(data, data + count);
      record.scopeFlags.push_back(flag);
   }
   void processMasterVumeter(float* peaks) override { record.peaks.push_back({peaks[0], peaks[1]}); }
   // As the real editor closes: its preset index goes to the instance.
   void close() override {
      record.lifecycle.push_back("close");
      wrapper.sendIntMessage("savecurrentpresetindex", record.currentPresetIndex);
   }

   // The real editor's idle tick.
   void idle() {
      link.drainToUI(*this);
      wrapper.sendIntMessage("linuxtimer", 1);
   }

   EditorLink link;
   PluginWrapper wrapper;
   PresetFiles presets{&wrapper};
   EditorRecord& record;
};

// A stereo block with a deterministic test signal on its inputs.
struct StereoBlock {
   explicit StereoBlock(uint32_t frames, uint32_t seed = 1);
   uint32_t frames;
   std::vector<float> inL, inR, outL, outR;
   const float* in[2];
   float* out[2];
};

// What a function printed on standard output (file descriptor 1).
inline std::string captureStdout(const std::function<void()>& fn) {
   return testcommon::captureOutput(1, fn);
}

// One host with one instance linked into this process, driven through host/, plus its audio thread.
class Rig {
public:
   explicit Rig(host::HostOptions options = {});
   ~Rig();

   FakeEditor& openEditor();
   void closeEditor();

   void startProcessing(double rate = 48000.0, uint32_t maxFrames = 4096);
   void stopProcessing();
   bool processing() const { return processing_; }
   // One block on the audio thread; the host's output events come back.
   host::OutputEvents process(uint32_t frames = 64, const host::InputEvents& events = {});
   // A parameter flush, on the audio thread while processing and on the main thread otherwise.
   host::OutputEvents flush(const host::InputEvents& events = {});

   // Every ValueEcho waiting for an editor, taken as the editor's tick takes them.
   std::vector<Echo> takeEchoes();
   std::vector<double> values() const;
   void setValues(const std::vector<double>& values);
   std::vector<uint8_t> state() const;

   host::Host host;
   host::AudioThread audio;
   Scorchwire* instance = nullptr; // owned by plugin
   std::unique_ptr<host::PluginInstance> plugin;
   EditorRecord record;
   FakeEditor* editor = nullptr;
   std::unique_ptr<StereoBlock> lastBlock;

private:
   bool processing_ = false;
};

class MessagingTest : public ::testing::Test {
protected:
   Rig rig;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
   TempDir();
   ~TempDir();
   std::string file(const std::string& name) const { return path + "/" + name; }
   std::string path;
};
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);

// Values every parameter holds exactly in single precision, all different from the defaults.
std::vector<double> distinctValues(double offset = 0.0);

} // namespace messagingtest
