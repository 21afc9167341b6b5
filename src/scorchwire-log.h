#pragma once
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

// Diagnostic lines on standard output, one per event, flushed at the end of the line:
//   "[dudo-rez-evir] " file ":" line " (" function ")" [" : " message and values]
// A value reads " [name=value] ", pointers in hexadecimal. A line without message or values is a
// marker and ends after the closing parenthesis.
namespace scorchwire::log {

void write(const char* file, int line, const char* function, std::initializer_list<std::string_view> pieces);

template <typename T> std::string value(const char* name, const T& v) {
   std::ostringstream text;
   text << " [" << name << "=";
   if constexpr (std::is_pointer_v<T> && !std::is_same_v<std::decay_t<T>, const char*> &&
                 !std::is_same_v<std::decay_t<T>, char*>)
      text << static_cast<const void*>(v);
   else
      text << v;
   text << "] ";
   return text.str();
}

} // namespace scorchwire::log

// SCORCHWIRE_LOG("message", SCORCHWIRE_VALUE(x), " more text", ...); with no argument, a marker line.
#define SCORCHWIRE_LOG(...) ::scorchwire::log::write(__FILE__, __LINE__, __func__, {__VA_ARGS__})
// The same under a function name of the caller's choosing.
#define SCORCHWIRE_LOG_AS(function, ...) ::scorchwire::log::write(__FILE__, __LINE__, function, {__VA_ARGS__})
#define SCORCHWIRE_VALUE(v) ::scorchwire::log::value(#v, v)
