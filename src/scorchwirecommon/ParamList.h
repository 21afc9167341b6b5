#pragma once
#include <string>
#include <vector>

// How a parameter's value is shown: as a number, or as one entry of a list.
enum class ParameterType {
   Continuous,
   List,
};

// The descriptive record of one parameter: its host name, unit label, the default reported to the
// host and the rule that turns a value into display text. Values live in the engine.
class Param {
public:
   void setType(ParameterType newType) { type = newType; }
   // Appends a list entry; the parameter becomes a list parameter.
   void addString(std::string text);
   // Continuous: "%.3f" of the value. List: the entry roundf(value * (numValues - 1)), "err" outside.
   std::string getDisplay(float value) const;

   std::string name = "Default";
   std::string label;
   double defaultValue = 0.0;
   ParameterType type = ParameterType::Continuous;
   int numValues = 0;
   std::vector<std::string> items;
};

// The seventeen parameter records, built once and read-only afterwards (safe to read from any thread).
class ParamList {
public:
   static constexpr int kNumParams = 17;

   ParamList();
   // The record of a parameter index, or null outside 0..16.
   const Param* getParameter(int index) const;

private:
   Param params[kNumParams];
};
