// Many instances of the built bundle loaded through host/: 64 instances at 48 kHz in blocks of 128,
// half on each of two threads, 10 s of audio. Each thread's work for one block period is checked
// against that period (a dropout when it takes longer), total CPU time comes from the kernel, and the
// resident memory the instances added is divided among them.
// Usage: many_instances [instances] [seconds]
#include "EventLists.h"
#include "Host.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr uint32_t kBlock = 128;

long residentBytes() {
   long pages = 0, resident = 0;
   std::ifstream("/proc/self/statm") >> pages >> resident;
   return resident * sysconf(_SC_PAGESIZE);
}

double cpuSeconds() {
   rusage usage{};
   getrusage(RUSAGE_SELF, &usage);
   return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
          (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

struct Slot {
   host::Host host;
   std::unique_ptr<host::PluginInstance> plugin;
};

} // namespace

int main(int argc, char** argv) {
   const int count = argc > 1 ? std::atoi(argv[1]) : 64;
   const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
   std::string error;
   auto library = host::PluginLibrary::load(SCORCHWIRE_CLAP_PATH, error);
   if (!library) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
   }
   const long before = residentBytes();
   std::vector<std::unique_ptr<Slot>> slots;
   for (int i = 0; i < count; ++i) {
      auto slot = std::make_unique<Slot>();
      slot->plugin =
          std::make_unique<host::PluginInstance>(*library, slot->host, "com.tonequarry.scorchwire");
      if (!slot->plugin->ok() || !slot->plugin->activate(kRate, 1, kBlock))
         return 1;
      slots.push_back(std::move(slot));
   }
   const long after = residentBytes();

   const uint64_t blocks = static_cast<uint64_t>(seconds * kRate / kBlock);
   const auto period = std::chrono::duration<double>(kBlock / kRate);
   int dropouts[2] = {0, 0};
   const double cpuBefore = cpuSeconds();
   const auto wallBefore = std::chrono::steady_clock::now();
   std::vector<std::thread> threads;
   for (int t = 0; t < 2; ++t)
      threads.emplace_back([&, t] {
         host::AudioThread::Scope audioRole;
         for (int i = t; i < count; i += 2)
            slots[i]->plugin->startProcessing();
         std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
         const float* in[2] = {inL.data(), inR.data()};
         float* out[2] = {outL.data(), outR.data()};
         host::InputEvents events;
         events.push(host::InputEvents::paramValue(4, 0.5));
         events.push(host::InputEvents::paramValue(3, 0.25));
         events.push(host::InputEvents::paramValue(8, 0.5));
         const host::InputEvents none;
         host::OutputEvents outEvents;
         for (uint64_t b = 0; b < blocks; ++b) {
            for (uint32_t i = 0; i < kBlock; ++i) {
               const double x = static_cast<double>(b * kBlock + i);
               inL[i] = static_cast<float>(0.5 * std::sin(x * 0.0576));
               inR[i] = static_cast<float>(0.5 * std::sin(x * 0.0311));
            }
            const auto start = std::chrono::steady_clock::now();
            for (int i = t; i < count; i += 2) {
               outEvents.clear();
               slots[i]->plugin->process(in, out, kBlock, b == 0 ? events : none, outEvents);
            }
            if (std::chrono::steady_clock::now() - start > period)
               ++dropouts[t];
         }
         for (int i = t; i < count; i += 2)
            slots[i]->plugin->stopProcessing();
      });
   for (auto& thread : threads)
      thread.join();
   const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
   const double cpu = cpuSeconds() - cpuBefore;
   for (auto& slot : slots)
      slot->plugin->deactivate();

   std::printf("%d instances, %.0f s of audio at 48 kHz, block %u, 2 threads\n", count, seconds, kBlock);
   std::printf("CPU %.2f s (%.1f %% of one core per second of audio), wall %.2f s\n", cpu,
               100.0 * cpu / seconds, wall);
   std::printf("block periods over budget: %d and %d of %llu per thread\n", dropouts[0], dropouts[1],
               static_cast<unsigned long long>(blocks));
   std::printf("resident memory per instance: %.1f KiB\n",
               static_cast<double>(after - before) / count / 1024.0);
   return dropouts[0] + dropouts[1] == 0 ? 0 : 2;
}
