#include "Options.h"
#include "Session.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace claphost {

namespace {
// Reads any file libsndfile knows into two float channels (mono is doubled, extra channels dropped).
bool readStereo(const std::string& path, std::vector<float>& left, std::vector<float>& right, double& rate,
                std::string& error) {
   SF_INFO info{};
   SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
   if (!file) {
      error = "cannot read " + path + ": " + sf_strerror(nullptr);
      return false;
   }
   std::vector<float> interleaved(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
   const sf_count_t got = sf_readf_float(file, interleaved.data(), info.frames);
   sf_close(file);
   left.resize(static_cast<size_t>(got));
   right.resize(static_cast<size_t>(got));
   for (sf_count_t i = 0; i < got; ++i) {
      const size_t base = static_cast<size_t>(i) * static_cast<size_t>(info.channels);
      left[static_cast<size_t>(i)] = interleaved[base];
      right[static_cast<size_t>(i)] = interleaved[base + (info.channels > 1 ? 1 : 0)];
   }
   rate = info.samplerate;
   return true;
}

bool writeStereo(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                 double rate, std::string& error) {
   SF_INFO info{};
   info.samplerate = static_cast<int>(rate);
   info.channels = 2;
   info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
   SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
   if (!file) {
      error = "cannot write " + path + ": " + sf_strerror(nullptr);
      return false;
   }
   std::vector<float> interleaved(left.size() * 2);
   for (size_t i = 0; i < left.size(); ++i) {
      interleaved[2 * i] = left[i];
      interleaved[2 * i + 1] = right[i];
   }
   const sf_count_t wrote = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(left.size()));
   sf_close(file);
   if (wrote != static_cast<sf_count_t>(left.size())) {
      error = "short write to " + path;
      return false;
   }
   return true;
}

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
