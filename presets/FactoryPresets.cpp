// Writes the factory presets: each row of the table below becomes a state chunk built by the engine
// itself and is wrapped into a VST3 preset file by the same writer the editor's "Save preset as" uses.
// Run by the build: factory-presets OUTPUT_FOLDER (the folder is emptied and refilled).
#include "ScorchwireFX.h"
#include "scorchwireeditor-presetwriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// Parameter ids (the engine's order).
enum : int {
   kCutoff = 0,
   kResonance = 1,
   kEnvelope = 2,
   kFilterType = 3,
   kType = 4,
   kDrive = 5,
   kSecond = 6, // the type's second control: dry/wet, scream, threshold, gain or tune
   kDarken = 7,
   kPunch = 8,
   kLow = 9,
   kLowMid = 10,
   kHighMid = 11,
   kHigh = 12,
};

// Pre-filter types and distortion types as their normalised values.
constexpr double kNoFilter = 0.0, kLowpass = 0.25, kHipass = 0.5, kBandpass = 0.75;
constexpr double kOverdrive = 0.0 / 8, kClipInferno = 1.0 / 8, kHotValve = 2.0 / 8, kUltracrunch = 3.0 / 8,
                 kBitReducer = 4.0 / 8, kTurboFuzz = 5.0 / 8, kRageClip = 6.0 / 8, kBrutalBill = 7.0 / 8,
                 kQuadrafuzz = 8.0 / 8;

struct FactoryPreset {
   const char* folder;
   const char* name;
   // Only what differs from the engine's initial values.
   std::initializer_list<std::pair<int, double>> values;
};

const FactoryPreset kPresets[] = {
    {"Drive",
     "Warm Overdrive",
     {{kType, kOverdrive}, {kDrive, 0.45}, {kSecond, 0.8}, {kDarken, 0.25}, {kPunch, 0.2}}},
    {"Drive",
     "Tube Glow",
     {{kType, kHotValve}, {kDrive, 0.55}, {kSecond, 0.75}, {kDarken, 0.3}, {kPunch, 0.3}}},
    {"Drive",
     "Screaming Lead",
     {{kType, kClipInferno},
      {kDrive, 0.8},
      {kSecond, 0.7},
      {kFilterType, kHipass},
      {kCutoff, 0.3},
      {kPunch, 0.4}}},
    {"Drive", "Crunch Rhythm", {{kType, kUltracrunch}, {kDrive, 0.6}, {kSecond, 0.45}, {kPunch, 0.5}}},
    {"Fuzz",
     "Wall of Fuzz",
     {{kType, kTurboFuzz}, {kDrive, 0.85}, {kSecond, 0.7}, {kDarken, 0.4}, {kPunch, 0.3}}},
    {"Fuzz", "Rage Saw", {{kType, kRageClip}, {kDrive, 0.9}, {kSecond, 0.4}, {kPunch, 0.2}}},
    {"Fuzz",
     "Brutal Growl",
     {{kType, kBrutalBill},
      {kDrive, 0.7},
      {kSecond, 0.6},
      {kFilterType, kLowpass},
      {kCutoff, 0.4},
      {kResonance, 0.3},
      {kEnvelope, 0.5}}},
    {"Lo-Fi",
     "Crushed Radio",
     {{kType, kBitReducer},
      {kDrive, 0.4},
      {kSecond, 1.0},
      {kFilterType, kBandpass},
      {kCutoff, 0.1},
      {kResonance, 0.3},
      {kPunch, 0.5}}},
    {"Lo-Fi",
     "Dusty Sampler",
     {{kType, kBitReducer},
      {kDrive, 0.5},
      {kSecond, 0.8},
      {kFilterType, kLowpass},
      {kCutoff, 0.3},
      {kDarken, 0.6}}},
    {"Bands",
     "Four-Band Grit",
     {{kType, kQuadrafuzz}, {kDrive, 0.6}, {kLow, 0.3}, {kLowMid, 0.5}, {kHighMid, 0.7}, {kHigh, 0.6}}},
    {"Bands",
     "Scooped Mids",
     {{kType, kQuadrafuzz}, {kDrive, 0.7}, {kLow, 0.8}, {kLowMid, 0.2}, {kHighMid, 0.2}, {kHigh, 0.8}}},
};

// The state chunk of a fresh engine with the preset's values and name.
std::vector<uint8_t> stateChunk(const FactoryPreset& preset) {
   ScorchwireFX engine;
   for (const auto& [id, value] : preset.values)
      engine.setParameter(id, value);
   engine.presetName = preset.name;
   void* block = nullptr;
   const int size = engine.getChunk(&block, true);
   std::vector<uint8_t> chunk;
   if (block && size > 0)
      chunk.assign(static_cast<const uint8_t*>(block), static_cast<const uint8_t*>(block) + size);
   std::free(block);
   return chunk;
}

} // namespace

int main(int argc, char** argv) {
   if (argc != 2) {
      std::fprintf(stderr, "usage: factory-presets OUTPUT_FOLDER\n");
      return 2;
   }
   namespace fs = std::filesystem;
   const fs::path output = argv[1];
   std::error_code error;
   fs::remove_all(output, error);
   for (const FactoryPreset& preset : kPresets) {
      const std::vector<uint8_t> chunk = stateChunk(preset);
      const fs::path folder = output / preset.folder;
      const fs::path file = folder / (std::string(preset.name) + ".vstpreset");
      const std::vector<uint8_t> bytes = vst3PresetBytes(chunk);
      fs::create_directories(folder, error);
      std::ofstream out(file, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (chunk.empty() || !out) {
         std::fprintf(stderr, "factory-presets: could not write %s\n", file.c_str());
         return 1;
      }
   }
   return 0;
}
