#pragma once
#include <cstdint>
#include <vector>

// The bytes of a VST3 preset file around a component chunk (the state chunk): header, the chunk, the
// controller chunk and the chunk list. Used by the editor's "Save preset as" and by the build's
// factory presets, so that both write the same files.
std::vector<uint8_t> vst3PresetBytes(const std::vector<uint8_t>& componentChunk);
