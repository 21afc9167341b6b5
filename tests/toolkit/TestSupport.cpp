#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

namespace ToolkitTest {

TempDir::TempDir() {
   std::string pattern = (std::filesystem::temp_directory_path() / "toolkit-test-XXXXXX").string();
   if (!mkdtemp(pattern.data()))
      throw std::runtime_error("mkdtemp failed");
   folder = pattern;
}

TempDir::~TempDir() {
   std::error_code ignored;
   std::filesystem::remove_all(folder, ignored);
}

void writeFile(const std::string& path, const std::string& content, bool executable) {
   std::ofstream(path, std::ios::binary) << content;
   if (executable)
      chmod(path.c_str(), 0755);
}

} // namespace ToolkitTest
