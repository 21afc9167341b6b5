#pragma once
#include <cstdint>
#include <string>
#include <vector>

class PluginWrapper;

// The editor's preset files: writes VST3 presets from the state chunk it fetches from the instance,
// hands VST3 presets to the instance to read, and reads VST 2 program and bank files itself.
// Everything goes through the PluginWrapper; main thread only.
class PresetFiles {
public:
   explicit PresetFiles(PluginWrapper* wrapper = nullptr) : wrapper(wrapper) {}

   // The instance's answer to "getchunk": keeps a copy, replacing the previous one.
   void copyComponentChunk(const void* data, int32_t size);
   // The current state as a VST3 preset file; false for an empty path or a file that cannot be
   // written whole.
   bool writeVST3Preset(const std::string& path);
   // Chooses the reader by the path's ending ("vstpreset", "fxp", "fxb"; case-sensitive).
   void loadPreset(const std::string& path);
   void loadVST3Preset(const std::string& path);
   // Reads an opaque-chunk VST 2 program ("FPCh") or bank ("FBCh") of ours and forwards its chunk
   // with "setchunkvst2"; true when forwarded. The name is not used.
   bool loadVST2Preset(const std::string& path, const std::string& name);

   // The channel to the instance; set once the editor has its wrapper.
   PluginWrapper* wrapper;
   // The state chunk last fetched with "getchunk".
   std::vector<uint8_t> componentChunk;
};

// A save name with the ".vstpreset" ending, appended when the name lacks "vstpreset" at its end.
std::string withVst3PresetEnding(const std::string& name);
