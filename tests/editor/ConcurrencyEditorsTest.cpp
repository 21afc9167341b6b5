// Several instances of the bundle, each processing on an audio thread of its own, while one main
// thread opens, drives and closes their editors with real input. Run under ThreadSanitizer in CI.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace editortest;

namespace {

constexpr int kInstances = 3;
constexpr uint32_t kBlock = 128;
constexpr clap_id kDrive = 5;
constexpr clap_id kDistortionType = 4;

// Processes blocks of noise until told to stop, with host automation of the distortion type now and
// then, as a DAW's audio thread does; remembers whether any output was not finite.
class ProcessingThread {
public:
   explicit ProcessingThread(host::PluginInstance& instance, unsigned seed)
       : thread([this, &instance, seed] { run(instance, seed); }) {}
   ~ProcessingThread() {
      stop.store(true, std::memory_order_relaxed);
      thread.join();
   }
   std::atomic<bool> stop{false};
   std::atomic<bool> nonFinite{false};
   std::atomic<int> blocks{0};

private:
   void run(host::PluginInstance& instance, unsigned seed) {
      const host::AudioThread::Scope audioThread;
      if (!instance.startProcessing())
         return;
      std::mt19937 random(seed);
      std::uniform_real_distribution<float> noise(-1.f, 1.f);
      std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
      const float* inputs[2] = {inL.data(), inR.data()};
      float* outputs[2] = {outL.data(), outR.data()};
      host::InputEvents events;
      host::OutputEvents outEvents;
      for (int block = 0; !stop.load(std::memory_order_relaxed); ++block) {
         for (uint32_t i = 0; i < kBlock; ++i) {
            inL[i] = noise(random);
            inR[i] = noise(random);
         }
         events.clear();
         if (block % 16 == 0)
            events.push(host::InputEvents::paramValue(kDistortionType, (block / 16 % 9) / 8.0));
         outEvents.clear();
         instance.process(inputs, outputs, kBlock, events, outEvents);
         for (uint32_t i = 0; i < kBlock; ++i)
            if (!std::isfinite(outL[i]) || !std::isfinite(outR[i]))
               nonFinite.store(true, std::memory_order_relaxed);
         blocks.fetch_add(1, std::memory_order_relaxed);
         std::this_thread::sleep_for(std::chrono::microseconds(500));
      }
      instance.stopProcessing();
   }
   std::thread thread;
};

void xdotool(const std::string& arguments) {
   const std::string command = "xdotool " + arguments;
   ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace

TEST(ConcurrencyEditors, InstancesProcessOnTheirThreadsWhileOneMainThreadDrivesTheirEditors) {
   std::vector<std::unique_ptr<EditorHost>> daws;
   std::vector<EditorHost*> loops;
   std::vector<double> driveBefore;
   for (int i = 0; i < kInstances; ++i) {
      daws.push_back(std::make_unique<EditorHost>());
      loops.push_back(daws.back().get());
      ASSERT_TRUE(daws.back()->instance->activate(48000.0, 1, kBlock));
      driveBefore.push_back(daws.back()->instance->paramValue(kDrive));
   }
   {
      std::vector<std::unique_ptr<ProcessingThread>> audio;
      for (int i = 0; i < kInstances; ++i)
         audio.push_back(std::make_unique<ProcessingThread>(*daws[i]->instance, 17u + i));

      for (int round = 0; round < 2; ++round) {
         for (int i = 0; i < kInstances; ++i)
            ASSERT_TRUE(daws[i]->open(1.0, static_cast<int16_t>(i * 820))) << i;
         pump(loops, 200);
         // Each editor's drive knob is dragged 32 pixels up while every instance processes.
         for (int i = 0; i < kInstances; ++i) {
            const std::string window = "--window " + std::to_string(daws[i]->window->id());
            xdotool("mousemove " + window + " 400 300 mousedown 1");
            pump(loops, 60);
            for (int step = 1; step <= 4; ++step) {
               xdotool("mousemove " + window + " 400 " + std::to_string(300 - 8 * step));
               pump(loops, 60);
            }
            xdotool("mouseup 1");
            pump(loops, 100);
         }
         for (auto& daw : daws)
            daw->close();
         pump(loops, 50);
      }
      for (int i = 0; i < kInstances; ++i) {
         EXPECT_GT(audio[i]->blocks.load(), 100) << i;
         EXPECT_FALSE(audio[i]->nonFinite.load()) << i;
      }
   }
   // Two drags of a quarter each reached each instance through the queues while it processed.
   for (int i = 0; i < kInstances; ++i) {
      EXPECT_NEAR(daws[i]->instance->paramValue(kDrive), std::min(1.0, driveBefore[i] + 0.5), 1e-6) << i;
      daws[i]->instance->deactivate();
   }
}
