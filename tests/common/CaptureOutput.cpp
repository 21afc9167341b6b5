#include "CaptureOutput.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace testcommon {

std::string captureOutput(int fd, const std::function<void()>& fn) {
   std::cout.flush();
   std::fflush(nullptr);
   FILE* capture = std::tmpfile();
   const int saved = ::dup(fd);
   ::dup2(::fileno(capture), fd);
   fn();
   std::cout.flush();
   std::fflush(nullptr);
   ::dup2(saved, fd);
   ::close(saved);

   std::string text;
   std::rewind(capture);
   char buffer[4096];
   size_t n;
   while ((n = std::fread(buffer, 1, sizeof(buffer), capture)) > 0)
      text.append(buffer, n);
   std::fclose(capture);
   return text;
}

} // namespace testcommon
