#include "WavFiles.h"

#include <sys/wait.h>

#include <cstdlib>

namespace claphosttest {

bool writeStereoWav(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                    int rate) {
   SF_INFO info{};
   info.samplerate = rate;
   info.channels = 2;
   info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
   SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
   if (!file)
      return false;
   std::vector<float> interleaved;
   for (size_t i = 0; i < left.size() && i < right.size(); ++i) {
      interleaved.push_back(left[i]);
      interleaved.push_back(right[i]);
   }
   const auto frames = static_cast<sf_count_t>(interleaved.size() / 2);
   const bool whole = sf_writef_float(file, interleaved.data(), frames) == frames;
   return sf_close(file) == 0 && whole;
}

bool readWav(const std::string& path, std::vector<float>& interleaved, SF_INFO& info) {
   info = {};
   SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
   if (!file)
      return false;
   interleaved.resize(static_cast<size_t>(info.frames * info.channels));
   sf_readf_float(file, interleaved.data(), info.frames);
   sf_close(file);
   return true;
}

std::vector<float> renderWithClaphost(const std::string& in, const std::string& out,
                                      const std::string& arguments, const std::string& log) {
   const std::string command = std::string(CLAPHOST_PATH) + " render " + SCORCHWIRE_BUNDLE + " " + in + " " +
                               out + " " + arguments + " >/dev/null 2>" + log;
   const int status = std::system(command.c_str());
   std::vector<float> samples;
   SF_INFO info{};
   if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !readWav(out, samples, info))
      return {};
   return samples;
}

} // namespace claphosttest
