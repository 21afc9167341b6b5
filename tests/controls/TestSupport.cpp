#include "TestSupport.h"

#include <cstdio>
#include <stdexcept>

namespace ControlsTest {

void RecordingEditor::valueChanged(CControl* control) {
   char text[64];
   std::snprintf(text, sizeof text, "value %d %g", control->getTag(), control->getValue());
   log.push_back(text);
}

TestFrame::TestFrame(int width, int height, const CColor& background)
    : frame(new CFrame(CRect(0, 0, width, height), &editor)), host(20, 20, width, height), width(width),
      height(height) {
   frame->setBackgroundColor(background);
   if (!frame->open(host.handle()))
      throw std::runtime_error("the frame did not open");
   window = std::to_string(frame->getX11Window());
   pump();
}

TestFrame::~TestFrame() {
   // Park the pointer outside, so that no press or hover carries over to the next test.
   xdotool({"mousemove", "--window", window, std::to_string(width + 50), std::to_string(height + 50)});
   frame->close();
}

Image TestFrame::capture(const CRect& rect) {
   pump();
   return host.capture(rect);
}

std::vector<std::string> TestFrame::moveTo(double x, double y) const {
   return {"mousemove", "--window", window, std::to_string(static_cast<int>(x)),
           std::to_string(static_cast<int>(y))};
}

void TestFrame::click(double x, double y, int button, const std::string& modifier) {
   xdotool(moveTo(x, y));
   std::vector<std::string> arguments;
   if (!modifier.empty())
      arguments = {"keydown", modifier};
   arguments.insert(arguments.end(), {"click", std::to_string(button)});
   if (!modifier.empty())
      arguments.insert(arguments.end(), {"keyup", modifier});
   xdotool(arguments);
}

} // namespace ControlsTest
