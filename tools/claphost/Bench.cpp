#include "Options.h"
#include "Session.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace claphost {

namespace {
// Deterministic stereo test signal: white noise at -20 dBFS plus a 440 Hz sine at -6 dBFS.
void makeTestSignal(std::vector<float>& left, std::vector<float>& right, double rate) {
   uint32_t seed = 0x12345678u;
   auto noise = [&] {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 2.0f - 1.0f;
   };
   const double amp = std::pow(10.0, -6.0 / 20.0);
   for (size_t i = 0; i < left.size(); ++i) {
      const float sine = static_cast<float>(amp * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / rate));
      left[i] = sine + 0.1f * noise();
      right[i] = sine + 0.1f * noise();
   }
}
} // namespace

int runBench(const Options& opt) {
   const double rate = opt.rate.value_or(48000.0);
   std::string error;
   Session s;
   if (!s.open(opt.plugin, error)) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 1;
   }
   if (!s.instance->activate(rate, 1, opt.block)) {
      std::fprintf(stderr, "claphost: activate failed\n");
      return 1;
   }
   const size_t frames = static_cast<size_t>(opt.seconds * rate);
   std::vector<float> inL(frames), inR(frames), outL(opt.block), outR(opt.block);
   makeTestSignal(inL, inR, rate);

   using clock = std::chrono::steady_clock;
   clock::duration busy{};
   bool started = false;
   host::AudioThread audio;
   audio.run([&] {
      started = s.instance->startProcessing();
      if (!started)
         return;
      host::InputEvents firstEvents, noEvents;
      host::OutputEvents outEvents;
      Session::addSets(opt, firstEvents);
      const auto transport = host::makeTransport();
      for (size_t pos = 0; pos < frames; pos += opt.block) {
         const auto n = static_cast<uint32_t>(std::min<size_t>(opt.block, frames - pos));
         const float* in[2] = {inL.data() + pos, inR.data() + pos};
         float* out[2] = {outL.data(), outR.data()};
         outEvents.clear();
         const auto t0 = clock::now();
         s.instance->process(in, out, n, pos == 0 ? firstEvents : noEvents, outEvents, &transport,
                             static_cast<int64_t>(pos));
         busy += clock::now() - t0;
      }
      s.instance->stopProcessing();
   });
   s.instance->deactivate();
   if (!started) {
      std::fprintf(stderr, "claphost: start_processing failed\n");
      return 1;
   }
   const double seconds = std::chrono::duration<double>(busy).count();
   const double nsPerFrame = seconds * 1e9 / static_cast<double>(frames);
   const double realtime = seconds > 0 ? (static_cast<double>(frames) / rate) / seconds : INFINITY;
   std::printf("%.1f x realtime, %.2f ns/frame\n", realtime, nsPerFrame);
   return 0;
}

} // namespace claphost
