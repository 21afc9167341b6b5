// The instance linked into this process and driven through host/, with its editor built as the GUI's
// create builds it, so that a test can place views of its own in the editor: the zoom of the content,
// values travelling into controls, and a real click on a control reaching the host as a gesture.
#include "EditorTestSupport.h"

#include "scorchwire.h"
#include "scorchwireeditor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace editortest;
using namespace VSTGUI;

namespace {

constexpr uint32_t kRed = 0xff0000;

// A solid rectangle, to see where the content lands.
class Swatch : public CView {
public:
   using CView::CView;
   void draw(CDrawContext* context) override {
      context->setFillColor(CColor(255, 0, 0, 255));
      context->drawRect(getViewSize(), kDrawFilled);
      setDirty(false);
   }
};

// A control that sets 0.75 on a click, as a knob's gesture would: begin, value, end.
class ClickControl : public CControl {
public:
   ClickControl(const CRect& size, IControlListener* listener, int32_t tag) : CControl(size, listener, tag) {}
   void draw(CDrawContext* context) override {
      context->setFillColor(CColor(0, 255, 0, 255));
      context->drawRect(getViewSize(), kDrawFilled);
      setDirty(false);
   }
   CMouseEventResult onMouseDown(CPoint&, const CButtonState&) override {
      beginEdit();
      setValue(0.75f);
      valueChanged();
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
      endEdit();
      return kMouseEventHandled;
   }
};

class InProcessEditor : public ::testing::Test {
protected:
   // The editor as the GUI's create makes it; set_parent and everything after go through the GUI
   // extension.
   bool createEditor() {
      editor = createInProcessEditor(instance);
      return true;
   }
   // The main view is emptied to the frame's plain background, so that a test sees only its own views.
   bool open(double scale = 1.0) {
      if (!daw.create([this] { return createEditor(); }) || !daw.attach(scale))
         return false;
      editor->mainContainer->setBackground(nullptr);
      editor->mainContainer->setTransparency(true);
      for (uint32_t i = 0; i < editor->mainContainer->getNbViews(); ++i)
         editor->mainContainer->getView(i)->setVisible(false);
      return true;
   }

   template <typename View> View* add(View* view) {
      editor->mainContainer->addView(view);
      return view;
   }

   Scorchwire* instance = nullptr;
   EditorHost daw{{}, [this](const clap_host_t* host) {
                     instance = new Scorchwire(host);
                     return instance->clapPlugin();
                  }};
   ScorchwireEditor* editor = nullptr;
};

// The resource folder is found from the object that holds the plug-in's code (here the test program):
// three folders up, made canonical.
TEST_F(InProcessEditor, ResourcesAreLookedUpThreeFoldersAboveTheObject) {
   ASSERT_TRUE(daw.create());
   const auto object = std::filesystem::read_symlink("/proc/self/exe");
   const auto bundle = std::filesystem::canonical(object.parent_path().parent_path().parent_path());
   EXPECT_EQ(getPlatformFactory().asLinuxFactory()->getResourcePath(),
             bundle.string() + "/Contents/Resources/");
   daw.close();
}

// Views are laid out at the base size; the whole content is zoomed to the window: at the scale given
// before the window existed, then at each size the host sets.
TEST_F(InProcessEditor, ContentIsZoomedToTheWindow) {
   ASSERT_TRUE(open(2.0));
   add(new Swatch(CRect(100, 100, 200, 148)));
   pump({&daw}, 100);
   Image image = daw.capture();
   ASSERT_EQ(image.width, 1600u);
   EXPECT_EQ(image.count(200, 200, 400, 296, kRed), 200u * 96u);
   EXPECT_EQ(image.count(kRed), 200u * 96u);

   const struct {
      uint32_t width, height;
      uint32_t left, top, right, bottom;
   } sizes[] = {
       {1000, 618, 125, 125, 250, 185}, // zoom 1.25
       {1000, 618, 125, 125, 250, 185}, // the same size again changes nothing
       {800, 494, 100, 100, 200, 148},
   };
   for (const auto& s : sizes) {
      ASSERT_TRUE(daw.gui->set_size(daw.plugin(), s.width, s.height));
      daw.window->resize(s.width, s.height);
      pump({&daw}, 100);
      image = daw.capture();
      const size_t area = (s.right - s.left) * (s.bottom - s.top);
      EXPECT_EQ(image.count(s.left, s.top, s.right, s.bottom, kRed), area) << s.width;
      EXPECT_EQ(image.count(kRed), area) << s.width;
      EXPECT_EQ(image.count(kBackground), image.pixels.size() - area) << s.width;
   }
}

// Opening posts every engine value for the first idle tick; a value the host sends later follows.
TEST_F(InProcessEditor, ValuesFromTheInstanceMoveTheControls) {
   host::InputEvents events;
   host::OutputEvents out;
   events.push(host::InputEvents::paramValue(5, 0.625));
   daw.instance->flush(events, out);

   ASSERT_TRUE(open());
   auto* drive = add(new ClickControl(CRect(0, 0, 10, 10), editor, 5));
   editor->controlsByParam[5] = drive;
   drive->setValue(0.1f);
   pump({&daw}, 100);
   EXPECT_FLOAT_EQ(drive->getValue(), 0.625f);

   events.clear();
   events.push(host::InputEvents::paramValue(5, 0.25));
   daw.instance->flush(events, out);
   pump({&daw}, 100);
   EXPECT_FLOAT_EQ(drive->getValue(), 0.25f);
}

// While the host processes, the editor leaves the values to the audio thread's next drain.
TEST_F(InProcessEditor, OpenedWhileProcessingTheValuesComeWithTheNextBlock) {
   host::AudioThread audio;
   ASSERT_TRUE(daw.instance->activate(48000.0, 1, 256));
   audio.run([&] { ASSERT_TRUE(daw.instance->startProcessing()); });

   ASSERT_TRUE(open());
   auto* drive = add(new ClickControl(CRect(0, 0, 10, 10), editor, 5));
   editor->controlsByParam[5] = drive;
   drive->setValue(0.1f);
   pump({&daw}, 100);
   EXPECT_FLOAT_EQ(drive->getValue(), 0.1f);

   std::vector<float> in(64, 0.f), outL(64), outR(64);
   const float* inputs[2] = {in.data(), in.data()};
   float* outputs[2] = {outL.data(), outR.data()};
   host::OutputEvents outEvents;
   audio.run([&] { daw.instance->process(inputs, outputs, 64, {}, outEvents); });
   const std::string log = captureStdout([&] { pump({&daw}, 100); });
   EXPECT_FLOAT_EQ(drive->getValue(), static_cast<float>(instance->getParameter(5)));
   EXPECT_EQ(logMessages(log, "handleEventsFromUIQueue"),
             std::vector<std::string>{"Pushing a refresh of UI values to the editor"});

   daw.close();
   audio.run([&] { daw.instance->stopProcessing(); });
   daw.instance->deactivate();
}

// A real click: the control's gesture and value go to the host as parameter events. Controls whose
// tag is no parameter (the editor's menus) send nothing.
TEST_F(InProcessEditor, AClickOnAControlReachesTheHostAsAGesture) {
   ASSERT_TRUE(open());
   add(new ClickControl(CRect(300, 300, 400, 350), editor, 5));
   add(new ClickControl(CRect(500, 300, 600, 350), editor, 16384));
   pump({&daw}, 100);

   const auto click = [&](int x, int y) {
      const std::string command = "xdotool mousemove --window " + std::to_string(daw.window->id()) + " " +
                                  std::to_string(x) + " " + std::to_string(y) + " click 1";
      ASSERT_EQ(std::system(command.c_str()), 0);
      pump({&daw}, 150);
   };
   host::OutputEvents out;
   click(550, 325);
   daw.instance->flush({}, out);
   EXPECT_EQ(out.size(), 0u);
   EXPECT_EQ(daw.host.flushRequests(), 0);

   click(350, 325);
   EXPECT_EQ(daw.host.flushRequests(), 3);
   daw.instance->flush({}, out);
   ASSERT_EQ(out.size(), 3u);
   EXPECT_EQ(out.at(0).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
   EXPECT_EQ(out.as<clap_event_param_gesture_t>(0).param_id, 5u);
   ASSERT_EQ(out.at(1).type, CLAP_EVENT_PARAM_VALUE);
   EXPECT_EQ(out.as<clap_event_param_value_t>(1).param_id, 5u);
   EXPECT_DOUBLE_EQ(out.as<clap_event_param_value_t>(1).value, 0.75);
   EXPECT_EQ(out.at(2).type, CLAP_EVENT_PARAM_GESTURE_END);
   EXPECT_DOUBLE_EQ(instance->getParameter(5), 0.75);
}

} // namespace
