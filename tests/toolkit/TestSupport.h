// What the toolkit tests need beyond the shared X11 host pieces: temporary folders and files.
#pragma once

#include "X11TestSupport.h"

#include <string>

namespace ToolkitTest {

using namespace X11Test;

inline void pump(int milliseconds = 50) {
   pumpFor(milliseconds);
}

// Saves the image as name.png into the folder TOOLKIT_TEST_SCREENSHOTS names, when it is set.
inline void keepScreenshot(const Image& image, const std::string& name) {
   X11Test::keepScreenshot(image, name, "TOOLKIT_TEST_SCREENSHOTS");
}

// A fresh temporary folder, removed with the object.
class TempDir {
public:
   TempDir();
   ~TempDir();
   const std::string& path() const { return folder; }

private:
   std::string folder;
};

void writeFile(const std::string& path, const std::string& content, bool executable = false);

} // namespace ToolkitTest
