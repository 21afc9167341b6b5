#include "scorchwire.h"

#include <cstring>
#include <string>

namespace {
constexpr uint32_t kParamCount = ParamList::kNumParams;
}

// ---- params ----

uint32_t Scorchwire::paramsCount() const noexcept {
   return kParamCount;
}

bool Scorchwire::isValidParamId(clap_id paramId) const noexcept {
   return paramId < kParamCount;
}

// Every parameter is a continuous, automatable 0..1 value, lists included.
bool Scorchwire::paramsInfo(uint32_t paramIndex, clap_param_info_t* info) const noexcept {
   const Param* param =
       paramIndex < kParamCount ? paramList->getParameter(static_cast<int>(paramIndex)) : nullptr;
   if (!param)
      return false;
   *info = {};
   info->id = paramIndex;
   info->flags = CLAP_PARAM_IS_AUTOMATABLE;
   info->cookie = nullptr;
   std::strncpy(info->name, param->name.c_str(), sizeof(info->name) - 1);
   info->min_value = 0.0;
   info->max_value = 1.0;
   info->default_value = param->defaultValue;
   return true;
}

bool Scorchwire::paramsValue(clap_id paramId, double* value) noexcept {
   *value = paramId < kParamCount ? engine->getParameter(static_cast<int>(paramId)) : 0.0;
   return true;
}

// The display text of the value at single precision, then the label, cut to fit the buffer.
bool Scorchwire::paramsValueToText(clap_id paramId, double value, char* display, uint32_t size) noexcept {
   const Param* param = paramId < kParamCount ? paramList->getParameter(static_cast<int>(paramId)) : nullptr;
   if (!param || size == 0)
      return false;
   try {
      const std::string text = param->getDisplay(static_cast<float>(value)) + param->label;
      std::strncpy(display, text.c_str(), size);
      display[size - 1] = '\0';
   } catch (...) {
      return false;
   }
   return true;
}

bool Scorchwire::paramsTextToValue(clap_id, const char*, double*) noexcept {
   return false;
}

void Scorchwire::paramsFlush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept {
   engine->startProcessMIDI();
   dispatchInputEvents(in);
   engine->endProcessMIDI();
   handleEventsFromUIQueue(out);
}

// ---- parameters from the editor (main thread) ----

double Scorchwire::getParameter(int32_t index) const noexcept {
   return index >= 0 && index < static_cast<int32_t>(kParamCount) ? engine->getParameter(index) : 0.0;
}

// The echo goes to the main thread's own queue: toUIQueue may be in the audio thread's hands.
void Scorchwire::setParameterAutomated(int32_t index, double value) noexcept {
   if (index < 0 || index >= static_cast<int32_t>(kParamCount))
      return;
   engine->setParameter(index, value);
   mainThreadEchoQueue.try_enqueue(ToUI{ToUI::ValueEcho, static_cast<uint32_t>(index), getParameter(index)});
   _host.paramsRescan(CLAP_PARAM_RESCAN_VALUES);
}

void Scorchwire::editorParamsFlush() noexcept {
   if (_host.canUseParams())
      _host.paramsRequestFlush();
}
