#pragma once
#include "scorchwire-messages.h"

#include <cstdint>
#include <string>

class Scorchwire;

// The editor's synchronous channel to its instance (main thread). Messages are answered by the
// instance's processMessage; the answers are not passed back.
class PluginWrapper {
public:
   explicit PluginWrapper(Scorchwire* instance) : instance(instance) {}

   // 0.0 without an instance.
   double getParameter(int32_t index) const;
   // The value is rounded to single precision first; false without an instance.
   bool setParameterAutomated(int32_t index, double value);
   std::string getHostName() const { return {}; }

   void sendBinaryMessage(const char* command, const void* data, int64_t size);
   void sendIntMessage(const char* command, int64_t value);
   void sendFloatMessage(const char* command, float value);
   void sendStringMessage(const char* command, const std::string& text);

private:
   Scorchwire* instance;
};
