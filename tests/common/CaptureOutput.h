#pragma once
#include <functional>
#include <string>

namespace testcommon {

// What fn wrote on the process's file descriptor fd (1 or 2), the plug-in's writes included.
std::string captureOutput(int fd, const std::function<void()>& fn);

} // namespace testcommon
