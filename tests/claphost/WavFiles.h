// Stereo WAV files for the tests that run claphost on the built bundle, and its render command.
#pragma once
#include <sndfile.h>

#include <string>
#include <vector>

namespace claphosttest {

// A 32-bit float stereo WAV; false when it cannot be written whole.
bool writeStereoWav(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                    int rate);
// The file's samples, interleaved, and its format; false when it cannot be read.
bool readWav(const std::string& path, std::vector<float>& interleaved, SF_INFO& info);
// `claphost render` on the built bundle from in to out with the extra arguments (standard error into
// log); the interleaved output, empty when claphost fails or writes nothing readable.
std::vector<float> renderWithClaphost(const std::string& in, const std::string& out,
                                      const std::string& arguments, const std::string& log = "/dev/null");

} // namespace claphosttest
