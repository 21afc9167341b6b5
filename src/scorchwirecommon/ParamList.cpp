#include "ParamList.h"

#include <cmath>
#include <cstdio>

void Param::addString(std::string text) {
   items.push_back(std::move(text));
   numValues = static_cast<int>(items.size());
   type = ParameterType::List;
}

std::string Param::getDisplay(float value) const {
   if (type == ParameterType::List) {
      // Range-checked as a float first: converting a NaN or a huge value to int is undefined.
      const float entry = roundf(value * static_cast<float>(numValues - 1));
      if (!(entry >= 0.0f && entry < static_cast<float>(items.size())))
         return "err";
      return items[static_cast<size_t>(entry)];
   }
   char text[64];
   std::snprintf(text, sizeof(text), "%.3f", static_cast<double>(value));
   return text;
}

ParamList::ParamList() {
   params[0].name = "PreFltCut";
   params[1].name = "PreFltQ";
   params[2].name = "PreFltEnv";
   params[3].name = "PrefltTyp";
   params[3].setType(ParameterType::List);
   for (const char* item : {"No Filter", "LP24", "HP24", "BP24", "DoubleLP"})
      params[3].addString(item);
   params[5].name = "DRIVE";
   params[6].name = "DistPrm2";
   params[7].name = "Absorption";
}

const Param* ParamList::getParameter(int index) const {
   if (index < 0 || index >= kNumParams)
      return nullptr;
   return &params[index];
}
