#include "MessagingFixture.h"


#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace messagingtest {

void PrintTo(const Echo& echo, std::ostream* os) {
   *os << "(" << echo.id << ", " << echo.value << ")";
}

StereoBlock::StereoBlock(uint32_t n, uint32_t seed)
    : frames(n), inL(n + 1), inR(n + 1), outL(n + 1), outR(n + 1) {
   uint32_t state = seed * 2654435761u + 1;
   for (uint32_t i = 0; i < n; ++i) {
      state = state * 1664525u + 1013904223u;
      const float noise = static_cast<float>(state >> 8) / static_cast<float>(1u << 24) - 0.5f;
      const float sine = 0.5f * std::sin(0.05f * static_cast<float>(i));
      inL[i] = sine + 0.25f * noise;
      inR[i] = -0.5f * sine + 0.25f * noise;
   }
   in[0] = inL.data();
   in[1] = inR.data();
   out[0] = outL.data();
   out[1] = outR.data();
}

Rig::Rig(host::HostOptions options) : host(options) {
   instance = new Scorchwire(host.clapHost());
   plugin = std::make_unique<host::PluginInstance>(host, instance->clapPlugin());
   if (!plugin->ok())
      ADD_FAILURE() << plugin->error();
}

Rig::~Rig() {
   if (processing_)
      stopProcessing();
   plugin.reset();
}

FakeEditor& Rig::openEditor() {
   auto created = std::make_unique<FakeEditor>(instance->editorLink(), instance, record);
   editor = created.get();
   instance->attachEditor(std::move(created));
   return *editor;
}

void Rig::closeEditor() {
   instance->detachEditor();
   editor = nullptr;
}

void Rig::startProcessing(double rate, uint32_t maxFrames) {
   ASSERT_TRUE(plugin->activate(rate, 1, maxFrames));
   bool started = false;
   audio.run([&] { started = plugin->startProcessing(); });
   ASSERT_TRUE(started);
   processing_ = true;
}

void Rig::stopProcessing() {
   audio.run([&] { plugin->stopProcessing(); });
   plugin->deactivate();
   processing_ = false;
}

host::OutputEvents Rig::process(uint32_t frames, const host::InputEvents& events) {
   lastBlock = std::make_unique<StereoBlock>(frames);
   host::OutputEvents out;
   clap_process_status status = CLAP_PROCESS_ERROR;
   audio.run([&] { status = plugin->process(lastBlock->in, lastBlock->out, frames, events, out); });
   EXPECT_EQ(status, CLAP_PROCESS_CONTINUE);
   return out;
}

host::OutputEvents Rig::flush(const host::InputEvents& events) {
   host::OutputEvents out;
   if (processing_)
      audio.run([&] { plugin->flush(events, out); });
   else
      plugin->flush(events, out);
   return out;
}

std::vector<Echo> Rig::takeEchoes() {
   EditorRecord scratch;
   FakeEditor probe(instance->editorLink(), nullptr, scratch);
   probe.link.drainToUI(probe);
   return scratch.parameters;
}

std::vector<double> Rig::values() const {
   std::vector<double> v;
   for (int i = 0; i < kParamCount; ++i)
      v.push_back(plugin->paramValue(static_cast<clap_id>(i)));
   return v;
}

void Rig::setValues(const std::vector<double>& values) {
   host::InputEvents events;
   for (size_t i = 0; i < values.size(); ++i)
      events.push(host::InputEvents::paramValue(static_cast<clap_id>(i), values[i]));
   flush(events);
}

std::vector<uint8_t> Rig::state() const {
   std::vector<uint8_t> bytes;
   EXPECT_TRUE(plugin->saveState(bytes));
   return bytes;
}

TempDir::TempDir() {
   std::string pattern = (std::filesystem::temp_directory_path() / "scorchwire-messaging-XXXXXX").string();
   if (!::mkdtemp(pattern.data()))
      ADD_FAILURE() << "mkdtemp failed";
   path = pattern;
}

TempDir::~TempDir() {
   std::error_code ignored;
   std::filesystem::remove_all(path, ignored);
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
   std::ofstream out(path, std::ios::binary | std::ios::trunc);
   out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
   if (!out)
      ADD_FAILURE() << "cannot write " << path;
}

std::vector<uint8_t> readFile(const std::string& path) {
   std::ifstream in(path, std::ios::binary);
   return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<double> distinctValues(double offset) {
   std::vector<double> v;
   for (int i = 0; i < kParamCount; ++i)
      v.push_back(static_cast<double>(static_cast<float>(0.03125 * (i + 1) + offset)));
   return v;
}

} // namespace messagingtest
