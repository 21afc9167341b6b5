#pragma once
#include <string>
#include <vector>

namespace claphost {

// Reads any file libsndfile knows into two float channels (mono is doubled, extra channels dropped).
bool readStereo(const std::string& path, std::vector<float>& left, std::vector<float>& right, double& rate,
                std::string& error);
// Writes a stereo 32-bit float WAV file.
bool writeStereo(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                 double rate, std::string& error);

} // namespace claphost
