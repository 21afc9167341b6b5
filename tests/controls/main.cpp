// The control tests run as one host process: the toolkit is initialised once, with the bundle's resource
// folder (images and fonts), and the test run loop is installed for the whole run.
#include "TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
   testing::InitGoogleTest(&argc, argv);
   VSTGUI::init(nullptr);
   VSTGUI::getPlatformFactory().asLinuxFactory()->setResourcePath(CONTROLS_TEST_RESOURCES);
   ControlsTest::runLoop();
   const int result = RUN_ALL_TESTS();
   VSTGUI::X11::RunLoop::exit();
   VSTGUI::exit();
   return result;
}
