// Many instances of the built bundle loaded through host/: 64 instances at 48 kHz in blocks of 128,
// half on each of two threads, 10 s of audio in a real-time schedule: each thread wakes at the start
// of every block period, as a sound card's interrupt would wake it, processes its instances, and is
// late when it finishes after the period's end. A late period is a dropout of ours when the thread's
// own CPU time for the period's work exceeds the period; otherwise the machine woke or preempted the
// thread late (on a virtual machine this happens a few times a minute) and it is counted apart. The
// threads ask for real-time priority as DAWs do (and run without it where the system refuses).
// Total CPU time comes from the kernel; the resident memory the instances added is divided among
// them.
// Usage: many_instances [instances] [seconds]
#include "EventLists.h"
#include "Host.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
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

// CPU time of the calling thread: what its work cost, whatever the scheduler did meanwhile.
std::chrono::nanoseconds threadCpuTime() {
   timespec now{};
   clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
   return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

double cpuSeconds() {
   rusage usage{};
   getrusage(RUSAGE_SELF, &usage);
   return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
          (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Real-time priority for the calling thread; false where the system does not grant it.
bool askForRealtimePriority() {
   sched_param param{};
   param.sched_priority = 70;
   return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
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
   int dropouts[2] = {0, 0}, latePeriods[2] = {0, 0};
   // Each period's work in thread CPU time (ms), per thread, stored before the threads start.
   std::vector<double> work[2] = {std::vector<double>(blocks), std::vector<double>(blocks)};
   bool realtime[2] = {false, false};
   const double cpuBefore = cpuSeconds();
   const auto wallBefore = std::chrono::steady_clock::now();
   std::vector<std::thread> threads;
   for (int t = 0; t < 2; ++t)
      threads.emplace_back([&, t] {
         host::AudioThread::Scope audioRole;
         realtime[t] = askForRealtimePriority();
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
         auto periodStart = std::chrono::steady_clock::now();
         for (uint64_t b = 0; b < blocks; ++b) {
            std::this_thread::sleep_until(periodStart);
            const auto workStart = threadCpuTime();
            for (uint32_t i = 0; i < kBlock; ++i) {
               const double x = static_cast<double>(b * kBlock + i);
               inL[i] = static_cast<float>(0.5 * std::sin(x * 0.0576));
               inR[i] = static_cast<float>(0.5 * std::sin(x * 0.0311));
            }
            for (int i = t; i < count; i += 2) {
               outEvents.clear();
               slots[i]->plugin->process(in, out, kBlock, b == 0 ? events : none, outEvents);
            }
            const auto periodEnd =
                periodStart + std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
            work[t][b] = std::chrono::duration<double, std::milli>(threadCpuTime() - workStart).count();
            if (std::chrono::steady_clock::now() > periodEnd) {
               ++latePeriods[t];
               if (work[t][b] > std::chrono::duration<double, std::milli>(period).count())
                  ++dropouts[t];
            }
            periodStart = periodEnd;
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

   std::printf("%d instances, %.0f s of audio at 48 kHz, block %u, 2 threads (real-time priority: %s)\n",
               count, seconds, kBlock, realtime[0] && realtime[1] ? "yes" : "no");
   std::printf("CPU %.2f s (%.1f %% of one core per second of audio), wall %.2f s\n", cpu,
               100.0 * cpu / seconds, wall);
   std::printf("dropouts (work over the period's budget): %d and %d of %llu per thread\n", dropouts[0],
               dropouts[1], static_cast<unsigned long long>(blocks));
   std::printf("periods finished late because the machine woke or preempted the thread late: %d and %d\n",
               latePeriods[0] - dropouts[0], latePeriods[1] - dropouts[1]);
   const double budget = 1000.0 * kBlock / kRate;
   double p999 = 0;
   for (auto& w : work) {
      std::sort(w.begin(), w.end());
      std::printf("work per period (ms): median %.3f, 99.9th percentile %.3f, worst %.3f (budget %.3f)\n",
                  w[w.size() / 2], w[w.size() * 999 / 1000], w.back(), budget);
      p999 = std::max(p999, w[w.size() * 999 / 1000]);
   }
   const double perInstance = static_cast<double>(after - before) / count;
   std::printf("resident memory per instance: %.1f KiB\n", perInstance / 1024.0);
   // Fails when the work of one period in a thousand does not fit the period, or above 1 MiB
   // resident per instance. Single late periods are reported, not failed: a virtual machine's stalls
   // inflate a thread's CPU time now and then whatever it runs.
   return p999 < budget && perInstance < 1024.0 * 1024.0 ? 0 : 2;
}
