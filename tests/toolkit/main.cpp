// The toolkit tests run as one host process: the toolkit is initialised once and the test run loop is
// installed for the whole run, like a host that keeps its editors' run loop until it quits.
#include "TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
   testing::InitGoogleTest(&argc, argv);
   VSTGUI::init(nullptr);
   ToolkitTest::runLoop();
   const int result = RUN_ALL_TESTS();
   VSTGUI::X11::RunLoop::exit();
   VSTGUI::exit();
   return result;
}
