// What the control tests need beyond the shared X11 host pieces: an editor that records what it hears
// and a frame to put the views under test in.
#pragma once

#include "X11TestSupport.h"

#include <string>
#include <vector>

namespace ControlsTest {

using namespace X11Test;

inline void pump(int milliseconds = 80) {
   pumpFor(milliseconds);
}

// Saves the image as name.png into the folder CONTROLS_TEST_SCREENSHOTS names, when it is set.
inline void keepScreenshot(const Image& image, const std::string& name) {
   X11Test::keepScreenshot(image, name, "CONTROLS_TEST_SCREENSHOTS");
}

// An editor interface and control listener that log what they hear.
class RecordingEditor : public VSTGUIEditorInterface, public IControlListener {
public:
   void beginEdit(int32_t index) override { log.push_back("begin " + std::to_string(index)); }
   void endEdit(int32_t index) override { log.push_back("end " + std::to_string(index)); }
   void valueChanged(CControl* control) override;
   std::vector<std::string> log;
};

// An open frame of the given size in a host window, on a plain background, with the recording editor.
class TestFrame {
public:
   TestFrame(int width, int height, const CColor& background = CColor(0, 0, 0, 255));
   ~TestFrame();
   TestFrame(const TestFrame&) = delete;
   TestFrame& operator=(const TestFrame&) = delete;

   // Adds the view to the frame (taking over the reference) and lets it draw.
   template <typename View> View* add(View* view) {
      frame->addView(view);
      pump();
      return view;
   }
   // The frame's pixels over rect (frame coordinates at zoom 1) after the pending drawing.
   Image capture(const CRect& rect);
   Image capture() { return capture(CRect(0, 0, width, height)); }
   // xdotool arguments that move the pointer to a point of the frame.
   std::vector<std::string> moveTo(double x, double y) const;
   void click(double x, double y, int button = 1, const std::string& modifier = "");

   RecordingEditor editor;
   CFrame* frame;
   HostWindow host;

private:
   int width, height;
   std::string window;
};

} // namespace ControlsTest
