// The main view as a user meets it: claphost gui playing a file through the built bundle (the
// picture at 1x and 2x), and the instance driven through host/ with real mouse input: knob drags,
// the selectors' menus and the host's automation travelling back into the view.
#include "EditorTestSupport.h"

#include "controls/Knob.h"
#include "scorchwire.h"
#include "scorchwireeditor.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace editortest;
using namespace VSTGUI;

namespace {
namespace fs = std::filesystem;

// claphost unloads the plug-in before it exits, so fontconfig's once-per-process allocations made
// through the plug-in's font look-up lie in an unloaded module, where the sanitizer's suppression cannot
// name them. The in-process tests keep the plug-in loaded and check its memory.
const std::string kNoLeakCheckForUnloadedFonts = "LSAN_OPTIONS=\"$LSAN_OPTIONS:detect_leaks=0\" ";

constexpr uint32_t kTheme = 0xbe961e; // (190, 150, 30), the default theme colour

int channel(uint32_t rgb, int shift) {
   return static_cast<int>((rgb >> shift) & 0xff);
}
int distance(uint32_t a, uint32_t b) {
   int d = 0;
   for (int shift : {0, 8, 16})
      d = std::max(d, std::abs(channel(a, shift) - channel(b, shift)));
   return d;
}

class MainViewScreenshot : public ::testing::Test {
protected:
   void SetUp() override {
      dir = fs::temp_directory_path() / ("mainview-" + std::to_string(::getpid()));
      fs::create_directories(dir);
   }
   void TearDown() override { fs::remove_all(dir); }
   int run(const std::string& arguments) {
      const std::string command = kNoLeakCheckForUnloadedFonts + std::string(CLAPHOST_PATH) + " gui " +
                                  SCORCHWIRE_BUNDLE_DIR + " " + arguments + " >" +
                                  (dir / "out.txt").string() + " 2>&1";
      const int status = std::system(command.c_str());
      std::ifstream in(dir / "out.txt");
      std::stringstream text;
      text << in.rdbuf();
      out = text.str();
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
   }
   fs::path dir;
   std::string out;
};

// The whole view over the background picture made for the zoom, with the file playing: the drive
// knob's arc, both meters lit at their start, the title, and the background where no view lies.
// MAINVIEW_TEST_SCREENSHOTS names a folder to keep the pictures in.
TEST_F(MainViewScreenshot, AtOneAndTwoTimesWithAudioPlaying) {
   writeSine(dir / "sine.wav", 0.9, 2);
   for (const int zoom : {1, 2}) {
      SCOPED_TRACE(zoom);
      const std::string png = (dir / ("mainview-" + std::to_string(zoom) + "x.png")).string();
      ASSERT_EQ(run("--scale " + std::to_string(zoom) + " --set 5=0.75 --in " + (dir / "sine.wav").string() +
                    " --screenshot " + png + " --after 800"),
                0)
          << out;
      if (const char* keep = std::getenv("MAINVIEW_TEST_SCREENSHOTS"))
         fs::copy_file(png, fs::path(keep) / fs::path(png).filename(), fs::copy_options::overwrite_existing);
      const Image image = readPng(png);
      ASSERT_EQ(image.width, 800u * zoom);
      const auto at = [&](double x, double y) {
         return image.at(static_cast<uint32_t>(x * zoom), static_cast<uint32_t>(y * zoom));
      };
      // The drive knob (centre 400, 256, arc radius 71.5) at 0.75: its arc runs from 145° to 332.5°.
      for (const double angle : {160., 250., 325.}) {
         const double a = angle * M_PI / 180.;
         EXPECT_EQ(at(400 + 71.5 * std::cos(a), 256 + 71.5 * std::sin(a)), kTheme) << angle;
      }
      EXPECT_NE(at(400 + 71.5 * std::cos(0.3), 256 + 71.5 * std::sin(0.3)), kTheme) << "past the value";
      // Both meters show the playing sine.
      EXPECT_EQ(at(44.5, 386.5), kTheme);
      EXPECT_EQ(at(44.5, 394.5), kTheme);
      const Image background = readPng(std::string(SCORCHWIRE_RESOURCES_DIR) +
                                       (zoom == 1 ? "background.png" : "backgroundx2.png"));
      ASSERT_EQ(background.width, image.width);
      for (const auto& [x, y] : {std::pair{11., 11.}, {260., 300.}, {780., 450.}})
         EXPECT_LE(distance(at(x, y),
                            background.at(static_cast<uint32_t>(x * zoom), static_cast<uint32_t>(y * zoom))),
                   1)
             << x << "," << y;
      // Caption text in the caption colour somewhere in the title's box.
      size_t caption = 0;
      for (uint32_t y = 36 * zoom; y < 72u * zoom; ++y)
         for (uint32_t x = 22 * zoom; x < 322u * zoom; ++x)
            caption += distance(image.at(x, y), 0xc0c4c1) <= 8;
      EXPECT_GT(caption, 100u * zoom * zoom);
   }
}

// The instance linked into this process, driven through host/ with the editor the GUI's create makes.
class MainView : public ::testing::Test {
protected:
   bool open() {
      const bool created = daw.create([this] {
         editor = createInProcessEditor(instance);
         return true;
      });
      if (!created || !daw.attach(1.0))
         return false;
      pump({&daw}, 150);
      return true;
   }
   void xdotool(const std::string& arguments) {
      const std::string command = "xdotool " + arguments;
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      pump({&daw}, 120);
   }
   std::string moveTo(int x, int y) const {
      return "mousemove --window " + std::to_string(daw.window->id()) + " " + std::to_string(x) + " " +
             std::to_string(y);
   }
   // A vertical drag from (x, y) by dy pixels, in steps, with keys held.
   void drag(int x, int y, int dy, const std::string& keys = "") {
      if (!keys.empty())
         xdotool("keydown " + keys);
      xdotool(moveTo(x, y) + " mousedown 1");
      for (int step = 1; step <= 4; ++step)
         xdotool(moveTo(x, y + dy * step / 4));
      xdotool("mouseup 1");
      if (!keys.empty())
         xdotool("keyup " + keys);
   }
   // What the editor sent since the last call, as the host's next flush delivers it.
   host::OutputEvents fromEditor() {
      host::OutputEvents out;
      daw.instance->flush(pending, out);
      pending.clear();
      pump({&daw}, 120);
      return out;
   }
   // Opens a selector at (x, y) and clicks its entry.
   void choose(int x, int selectorBottom, int entry) {
      xdotool(moveTo(x, selectorBottom - 10) + " click 1");
      xdotool(moveTo(x, selectorBottom + 2 + 20 * entry + 10) + " click 1");
   }
   std::string mixCaption() const { return editor->mixLabel->getText().getString(); }

   Scorchwire* instance = nullptr;
   EditorHost daw{{}, [this](const clap_host_t* host) {
                     instance = new Scorchwire(host);
                     return instance->clapPlugin();
                  }};
   ScorchwireEditor* editor = nullptr;
   host::InputEvents pending;
};

struct Event {
   uint16_t type;
   double value;
};
std::vector<Event> eventsFor(const host::OutputEvents& out, clap_id param) {
   std::vector<Event> events;
   for (size_t i = 0; i < out.size(); ++i) {
      if (out.at(i).type == CLAP_EVENT_PARAM_VALUE && out.as<clap_event_param_value_t>(i).param_id == param)
         events.push_back({CLAP_EVENT_PARAM_VALUE, out.as<clap_event_param_value_t>(i).value});
      else if ((out.at(i).type == CLAP_EVENT_PARAM_GESTURE_BEGIN ||
                out.at(i).type == CLAP_EVENT_PARAM_GESTURE_END) &&
               out.as<clap_event_param_gesture_t>(i).param_id == param)
         events.push_back({out.at(i).type, 0.});
   }
   return events;
}

// Every knob and selector shows its parameter from the start and is entered under its tag; 13 to 16
// have no control here.
TEST_F(MainView, ControlsAreBoundToTheirParameters) {
   pending.push(host::InputEvents::paramValue(0, 0.3));
   host::OutputEvents ignored;
   daw.instance->flush(pending, ignored);
   pending.clear();
   ASSERT_TRUE(open());
   for (int32_t tag = 0; tag < 17; ++tag) {
      CControl* control = editor->controlsByParam[static_cast<size_t>(tag)];
      if (tag >= 13) {
         EXPECT_EQ(control, nullptr) << tag;
         continue;
      }
      ASSERT_NE(control, nullptr) << tag;
      EXPECT_EQ(control->getTag(), tag);
      EXPECT_NEAR(control->getValueNormalized(), instance->getParameter(tag), 1e-6) << tag;
   }
   EXPECT_NEAR(editor->controlsByParam[0]->getValueNormalized(), 0.3, 1e-6);
   EXPECT_EQ(mixCaption(), "DRY/WET");
   EXPECT_FALSE(editor->quadrafuzzPanel->isVisible());
}

// Drive: 32 pixels up is a quarter of the range, with Shift an eighth of that; Control-click puts
// the default back in one gesture. Each gesture reaches the host framed by begin and end.
TEST_F(MainView, DragsOnTheDriveKnobReachTheHost) {
   ASSERT_TRUE(open());
   const double start = instance->getParameter(5);
   ASSERT_LE(start, 0.6);
   const struct {
      const char* keys;
      int dy;
      double change;
   } drags[] = {{"", -32, 0.25}, {"shift", -32, 0.03125}, {"", 16, -0.125}};
   double expected = start;
   for (const auto& d : drags) {
      SCOPED_TRACE(d.keys);
      drag(400, 300, d.dy, d.keys);
      expected += d.change;
      const auto events = eventsFor(fromEditor(), 5);
      ASSERT_GE(events.size(), 3u);
      EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
      EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
      for (size_t i = 1; i + 1 < events.size(); ++i)
         EXPECT_EQ(events[i].type, CLAP_EVENT_PARAM_VALUE);
      EXPECT_NEAR(events[events.size() - 2].value, expected, 1e-6);
      EXPECT_NEAR(instance->getParameter(5), expected, 1e-6);
   }

   xdotool("keydown ctrl");
   xdotool(moveTo(400, 300) + " click 1");
   xdotool("keyup ctrl");
   const auto reset = eventsFor(fromEditor(), 5);
   ASSERT_EQ(reset.size(), 3u);
   EXPECT_EQ(reset[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
   EXPECT_EQ(reset[1].type, CLAP_EVENT_PARAM_VALUE);
   EXPECT_DOUBLE_EQ(reset[1].value, 0.5);
   EXPECT_EQ(reset[2].type, CLAP_EVENT_PARAM_GESTURE_END);
}

// The distortion menu: the view follows the instance's echo of the choice, not the click itself.
// The pre-filter menu sends its entry over the last entry.
TEST_F(MainView, SelectorsSendTheirEntryAndTheViewFollowsTheEcho) {
   ASSERT_TRUE(open());
   choose(400, 175, 8); // "Quadrafuzz"
   EXPECT_EQ(mixCaption(), "DRY/WET");
   EXPECT_FALSE(editor->quadrafuzzPanel->isVisible());
   auto events = eventsFor(fromEditor(), 4);
   ASSERT_EQ(events.size(), 3u);
   EXPECT_EQ(events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
   EXPECT_DOUBLE_EQ(events[1].value, 1.0);
   EXPECT_EQ(events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
   EXPECT_EQ(mixCaption(), "N/A");
   EXPECT_TRUE(editor->quadrafuzzPanel->isVisible());
   // The band knobs now take the mouse: a drag on "LOW" moves parameter 9.
   const double low = instance->getParameter(9);
   drag(584, 294, -32);
   fromEditor();
   EXPECT_NEAR(instance->getParameter(9), std::min(1.0, low + 0.25), 1e-6);

   choose(400, 175, 5); // "TurboFuzz"
   events = eventsFor(fromEditor(), 4);
   ASSERT_EQ(events.size(), 3u);
   EXPECT_DOUBLE_EQ(events[1].value, 5. / 8.);
   EXPECT_EQ(mixCaption(), "GAIN");
   EXPECT_FALSE(editor->quadrafuzzPanel->isVisible());

   choose(141, 175, 3); // "Bandpass"
   events = eventsFor(fromEditor(), 3);
   ASSERT_EQ(events.size(), 3u);
   EXPECT_DOUBLE_EQ(events[1].value, 0.75);
   EXPECT_DOUBLE_EQ(instance->getParameter(3), 0.75);
}

// The host's automation of the distortion type rewrites the caption (3.5 rounds up to 4) and moves
// the selector; values for parameters without a control change nothing.
TEST_F(MainView, HostAutomationOfTheDistortionType) {
   ASSERT_TRUE(open());
   const struct {
      double value;
      const char* caption;
      int entry;
   } cases[] = {{0.375, "THRSHLD", 3}, {0.4375, "DRY/WET", 4}, {1.0, "N/A", 8}, {0.75, "TUNE", 6}};
   for (const auto& c : cases) {
      pending.push(host::InputEvents::paramValue(4, c.value));
      fromEditor();
      EXPECT_EQ(mixCaption(), c.caption) << c.value;
      EXPECT_EQ(static_cast<COptionMenu*>(editor->controlsByParam[4])->getCurrentIndex(), c.entry);
      EXPECT_EQ(editor->quadrafuzzPanel->isVisible(), c.entry == 8);
   }
   editor->setParameter(13, 0.9);
   editor->setParameter(17, 0.9);
   EXPECT_EQ(mixCaption(), "TUNE");
}

// The scope and the meters take what the instance feeds them: a constant draws a flat line at its
// height, half scale lights the left meter to -6 dB.
TEST_F(MainView, ScopeAndMetersShowWhatTheyAreFed) {
   ASSERT_TRUE(open());
   // Without the idle tick the instance's own (silent) peaks do not follow.
   editor->haltIdleTimer();
   std::vector<char> constant(1024, 64);
   editor->processOscilloscope(constant.data(), static_cast<int>(constant.size()), 0);
   float peaks[2] = {0.5f, 0.f};
   editor->processMasterVumeter(peaks);
   pump({&daw}, 60);
   const Image image = daw.capture();
   // The line: 65 pixels high, 64/127 of the half height below the centre.
   for (const uint32_t x : {100u, 400u, 700u}) {
      uint32_t best = 0;
      int bestDistance = 256;
      for (uint32_t y = 415; y < 480; ++y)
         if (const int d = distance(image.at(x, y), kTheme); d < bestDistance)
            bestDistance = d, best = y;
      EXPECT_NEAR(best, 415 + 65 * 0.5 * 64. / 127. + 32, 1.5) << x;
   }
   // -6 dB of a 30 dB bar lights 573 of its 716 pixels.
   EXPECT_EQ(image.at(41 + 571, 386), kTheme); // between the grid lines, 6 apart
   EXPECT_NE(image.at(41 + 577, 386), kTheme);
   EXPECT_NE(image.at(45, 394), kTheme);
}

} // namespace
