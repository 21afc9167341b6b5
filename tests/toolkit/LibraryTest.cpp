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

TEST(Library, RunsNoCodeWhenLoaded) {
   const std::string sections = run("readelf -SW " VSTGUI_LITE_LIBRARY);
   ASSERT_NE(sections.find(".text"), std::string::npos);
   EXPECT_EQ(sections.find(".init_array"), std::string::npos) << "a static object with a constructor";
   EXPECT_EQ(sections.find(".ctors"), std::string::npos);
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
