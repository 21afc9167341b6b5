#include "scorchwire-wrapper.h"

#include "scorchwire.h"

double PluginWrapper::getParameter(int32_t index) const {
   return instance ? instance->getParameter(index) : 0.0;
}

bool PluginWrapper::setParameterAutomated(int32_t index, double value) {
   if (!instance)
      return false;
   instance->setParameterAutomated(index, static_cast<double>(static_cast<float>(value)));
   return true;
}

void PluginWrapper::sendBinaryMessage(const char* command, const void* data, int64_t size) {
   if (instance)
      instance->processMessage(MessageType::BinaryMessage, command, 0.0f, size, data);
}

void PluginWrapper::sendIntMessage(const char* command, int64_t value) {
   if (instance)
      instance->processMessage(MessageType::IntMessage, command, 0.0f, value, nullptr);
}

void PluginWrapper::sendFloatMessage(const char* command, float value) {
   if (instance)
      instance->processMessage(MessageType::FloatMessage, command, value, 0, nullptr);
}

void PluginWrapper::sendStringMessage(const char* command, const std::string& text) {
   if (instance)
      instance->processMessage(MessageType::StringMessage, command, 0.0f, static_cast<int64_t>(text.size()),
                               text.data());
}
