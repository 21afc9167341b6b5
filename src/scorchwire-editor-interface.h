#pragma once
#include <cstdint>
#include <string>

// What the instance calls on its open editor, all on the main thread. The instance owns the editor
// from attachEditor to detachEditor; ScorchwireEditor implements this.
class EditorInterface {
public:
   virtual ~EditorInterface() = default;

   // Moves the control of a parameter; ids above 16 are ignored.
   virtual void setParameter(int32_t index, double value) = 0;
   virtual void updatePresetName(const std::string& name) = 0;
   // Keeps a copy of a state chunk fetched with "getchunk" (for writing a preset file).
   virtual void copyComponentChunk(const void* data, int32_t size) = 0;
   // The position of the preset last chosen in the editor's preset list, -1 for none.
   virtual int32_t currentPresetIndex() const = 0;
   virtual void setCurrentPresetIndex(int32_t index) = 0;
   // Scope samples gathered since the last tick (flag 0 from the instance), and the two peaks.
   virtual void processOscilloscope(char* data, int count, int flag) = 0;
   virtual void processMasterVumeter(float* peaks) = 0;
   // The instance is about to delete the editor: it keeps what outlives it (settings file, preset
   // index handed to the instance) and stops its timer.
   virtual void close() = 0;
};
