#include "scorchwire-log.h"

#include <cstdio>

namespace scorchwire::log {

void write(const char* file, int line, const char* function, std::initializer_list<std::string_view> pieces) {
   std::string text = "[dudo-rez-evir] ";
   text += file;
   text += ':';
   text += std::to_string(line);
   text += " (";
   text += function;
   text += ')';
   if (pieces.size() > 0) {
      text += " : ";
      for (std::string_view piece : pieces)
         text += piece;
   }
   text += '\n';
   std::fwrite(text.data(), 1, text.size(), stdout);
   std::fflush(stdout);
}

} // namespace scorchwire::log
