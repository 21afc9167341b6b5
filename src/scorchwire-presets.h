#pragma once
#include <cstdint>
#include <string>

// VST3 preset container as written and read (little-endian):
//   "VST3", int32 version 1, 32-digit class id, int64 offset of the chunk list,
//   component chunk (the state chunk), controller chunk (int32 3 and 28 zero bytes),
//   "List", int32 entry count, entries of id (4 bytes), int64 offset, int64 size.
namespace vst3preset {
constexpr char kHeaderId[] = "VST3";
constexpr int32_t kHeaderVersion = 1;
// The hexadecimal form of the 16 bytes "VSTscwrScorchwir".
constexpr char kClassId[] = "5653547363777253636F726368776972";
constexpr int64_t kComponentOffset = 48;
constexpr int64_t kControllerChunkSize = 32;
constexpr int32_t kControllerChunkTag = 3;
constexpr char kListId[] = "List";
constexpr char kComponentId[] = "Comp";
constexpr char kControllerId[] = "Cont";
} // namespace vst3preset

// The file name of a path without its directories ("/" or "\") and without the part from its last
// ".": "a/b/Lead.vstpreset" gives "Lead"; a name without "." stays whole.
std::string getBaseName(const std::string& path);
// Each of " * / : < > ? \ | becomes a space, in place.
void removeForbiddenChar(std::string& text);
