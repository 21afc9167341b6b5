#include "AudioFile.h"

#include <sndfile.h>

namespace claphost {

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
   // No PEAK chunk: it carries a time stamp, and the same render must give the same file.
   sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
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

} // namespace claphost
