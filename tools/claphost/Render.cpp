#include "Options.h"
#include "Session.h"

#include "AudioFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace claphost {

namespace {
class Progress {
public:
   explicit Progress(size_t total) : total_(total), enabled_(::isatty(STDERR_FILENO) == 1) {}
   void update(size_t done) {
      if (!enabled_ || total_ == 0)
         return;
      const int percent = static_cast<int>(100 * done / total_);
      if (percent == last_)
         return;
      last_ = percent;
      const int bar = percent * 40 / 100;
      std::fprintf(stderr, "\r[%.*s%*s] %3d%%", bar, "########################################", 40 - bar, "", percent);
      if (done >= total_)
         std::fputc('\n', stderr);
   }

private:
   size_t total_;
   bool enabled_;
   int last_ = -1;
};
} // namespace

int runRender(const Options& opt) {
   if (opt.positional.size() != 2) {
      std::fprintf(stderr, "claphost: render takes IN.wav OUT.wav\n");
      return 1;
   }
   std::string error;
   std::vector<float> inL, inR;
   double fileRate = 0;
   if (!readStereo(opt.positional[0], inL, inR, fileRate, error)) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 1;
   }
   const double rate = opt.rate.value_or(fileRate);

   Session s;
   if (!s.open(opt.plugin, error) || (!opt.loadState.empty() && !s.loadStateFile(opt.loadState, error))) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 1;
   }
   if (!s.instance->activate(rate, 1, opt.block)) {
      std::fprintf(stderr, "claphost: activate failed\n");
      return 1;
   }

   std::vector<float> outL(inL.size()), outR(inR.size());
   host::AudioThread audio;
   bool started = false;
   audio.run([&] {
      started = s.instance->startProcessing();
      if (!started)
         return;
      host::InputEvents firstEvents, noEvents;
      host::OutputEvents outEvents;
      Session::addSets(opt, firstEvents);
      Progress progress(inL.size());
      const auto transport = host::makeTransport();
      for (size_t pos = 0; pos < inL.size(); pos += opt.block) {
         const auto n = static_cast<uint32_t>(std::min<size_t>(opt.block, inL.size() - pos));
         const float* in[2] = {inL.data() + pos, inR.data() + pos};
         float* out[2] = {outL.data() + pos, outR.data() + pos};
         outEvents.clear();
         s.instance->process(in, out, n, pos == 0 ? firstEvents : noEvents, outEvents, &transport,
                             static_cast<int64_t>(pos));
         progress.update(pos + n);
      }
      s.instance->stopProcessing();
   });
   s.instance->deactivate();
   if (!started) {
      std::fprintf(stderr, "claphost: start_processing failed\n");
      return 1;
   }
   if (!writeStereo(opt.positional[1], outL, outR, rate, error) ||
       (!opt.saveState.empty() && !s.saveStateFile(opt.saveState, error))) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 1;
   }
   return 0;
}

} // namespace claphost
