// The library must be safe to link into a plug-in: nothing runs when it is loaded, nothing is exported.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>

namespace {

std::string run(const std::string& command) {
   std::string output;
   std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
   std::array<char, 4096> buffer{};
   while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
      output += buffer.data();
   return output;
}

// Section names of every object in the archive. (Sanitizer builds add their own module constructors in
// numbered ".init_array.NNNNN" sections; a static object of ours would land in ".init_array" itself.)
TEST(Library, RunsNoCodeWhenLoaded) {
   std::istringstream sections(run("readelf -SW " VSTGUI_LITE_LIBRARY));
   std::string line;
   int textSections = 0;
   std::string constructors;
   while (std::getline(sections, line)) {
      const size_t bracket = line.find("] ");
      if (bracket == std::string::npos)
         continue;
      std::istringstream fields(line.substr(bracket + 2));
      std::string name;
      fields >> name;
      textSections += name == ".text";
      if (name == ".init_array" || name == ".ctors" || name == ".preinit_array")
         constructors += line + "\n";
   }
   EXPECT_GT(textSections, 10);
   EXPECT_EQ(constructors, "") << "a static object with a constructor";
}

TEST(Library, ExportsNoSymbolOfItsOwn) {
   std::istringstream symbols(run("readelf -sW --demangle " VSTGUI_LITE_LIBRARY));
   std::string line, exported;
   int defined = 0;
   while (std::getline(symbols, line)) {
      std::istringstream fields(line);
      std::string num, value, size, type, bind, visibility, index, name;
      if (!(fields >> num >> value >> size >> type >> bind >> visibility >> index) || index == "UND" ||
          (bind != "GLOBAL" && bind != "WEAK"))
         continue;
      std::getline(fields, name);
      if (name.find("VSTGUI") == std::string::npos)
         continue;
      ++defined;
      if (visibility == "DEFAULT")
         exported += name + "\n";
   }
   EXPECT_GT(defined, 100);
   EXPECT_EQ(exported, "");
}

} // namespace
