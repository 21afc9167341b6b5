// The settings page as a user meets it: opened with the three-bar button, tabs chosen and the page
// closed with real clicks (xdotool) in the built bundle, the chosen tab carried by the host's saved
// state into a new instance; and, with the instance linked into this process, the colour chooser
// dragged and reset while every themed view is watched.
#include "SettingsTestSupport.h"

#include "SettingsView2.h"
#include "controls/Knob.h"
#include "controls/Oscilloscope.h"
#include "controls/Vumeter.h"
#include "scorchwire.h"
#include "scorchwireeditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

using namespace editortest;
using namespace settingstest;
using namespace VSTGUI;

namespace {

constexpr int kBurgerX = 729, kBurgerY = 55;
constexpr int kCloseX = 776, kCloseY = 18;
// The tabs lie in a row just below the header; "GRAPHICS" on the left half, "ABOUT" on the right.
constexpr int kGraphicsTabX = 200, kAboutTabX = 600, kTabY = 48;

void xdotool(EditorHost& daw, const std::string& arguments) {
   const std::string command = "xdotool " + arguments;
   ASSERT_EQ(std::system(command.c_str()), 0) << command;
   pump({&daw}, 150);
}

std::string moveTo(const EditorHost& daw, int x, int y) {
   return "mousemove --window " + std::to_string(daw.window->id()) + " " + std::to_string(x) + " " +
          std::to_string(y);
}

void click(EditorHost& daw, int x, int y) {
   xdotool(daw, moveTo(daw, x, y) + " click 1");
}

// Pixels bright in every channel: the page's white texts (nothing of the main view shows that bright
// through the page). The rectangle is in base pixels, the image at zoom.
size_t brightPixels(const Image& image, int zoom, uint32_t left, uint32_t top, uint32_t right,
                    uint32_t bottom) {
   size_t n = 0;
   for (uint32_t y = top * zoom; y < bottom * zoom; ++y)
      for (uint32_t x = left * zoom; x < right * zoom; ++x)
         n += distance(image.at(x, y), 0xffffff) < 60;
   return n / static_cast<size_t>(zoom * zoom);
}

enum class Shown { MainView, Graphics, About };

// Which of the page's tabs the window shows, told apart by their texts: "Scorchwire" on "ABOUT",
// "SET COLOR:" on "GRAPHICS"; the main view has neither.
Shown whatIsShown(const Image& image, int zoom) {
   const bool about = brightPixels(image, zoom, 20, 104, 190, 136) > 80;
   const bool graphics = brightPixels(image, zoom, 200, 244, 330, 268) > 40;
   if (about == graphics)
      return Shown::MainView;
   return about ? Shown::About : Shown::Graphics;
}

std::string name(Shown shown) {
   return shown == Shown::MainView ? "main view" : shown == Shown::Graphics ? "GRAPHICS" : "ABOUT";
}

// A window of the built bundle at a zoom, driven by clicks at base coordinates.
struct BundleWindow {
   explicit BundleWindow(int zoom) : zoom(zoom) {}
   bool open() {
      if (!daw.open(zoom))
         return false;
      pump({&daw}, 200);
      return true;
   }
   void clickAt(int x, int y) { click(daw, x * zoom, y * zoom); }
   void expectShown(Shown expected) { EXPECT_EQ(name(whatIsShown(daw.capture(), zoom)), name(expected)); }
   // Keeps a picture of the window as name, when SETTINGS_TEST_SCREENSHOTS names a folder.
   void screenshot(const TempFolder& dir, const std::string& name) {
      const fs::path png = dir.path() / name;
      ASSERT_TRUE(writePng(daw.capture(), png.string()));
      keepScreenshot(png);
   }
   // What the host reads of parameter 16 after the flush the editor asked for.
   double storedTab() {
      host::OutputEvents ignored;
      daw.instance->flush({}, ignored);
      return daw.instance->paramValue(SettingsView2::kTabParameter);
   }

   int zoom;
   EditorHost daw;
};

// The built bundle at 1x and 2x: page opened, tabs switched, page closed; the "ABOUT" tab saved with
// the project comes back in a new instance.
TEST(SettingsPageInTheBundle, ChosenTabTravelsWithTheProjectState) {
   TempFolder home("settings-page-home"), dir("settings-page");
   ScopedHome scopedHome(home.path());
   for (const int zoom : {1, 2}) {
      SCOPED_TRACE(zoom);
      const std::string suffix = zoom == 1 ? ".png" : "-2x.png";
      std::vector<uint8_t> project;
      {
         BundleWindow window(zoom);
         ASSERT_TRUE(window.open());
         window.expectShown(Shown::MainView);
         window.clickAt(kBurgerX, kBurgerY);
         window.expectShown(Shown::Graphics);
         window.screenshot(dir, "settings-graphics" + suffix);

         window.clickAt(kAboutTabX, kTabY);
         window.expectShown(Shown::About);
         EXPECT_EQ(window.storedTab(), 1.0);
         window.screenshot(dir, "settings-about" + suffix);
         window.clickAt(kGraphicsTabX, kTabY);
         window.expectShown(Shown::Graphics);
         EXPECT_EQ(window.storedTab(), 0.0);
         window.clickAt(kAboutTabX, kTabY);
         EXPECT_EQ(window.storedTab(), 1.0);

         window.clickAt(kCloseX, kCloseY);
         window.expectShown(Shown::MainView);
         ASSERT_TRUE(window.daw.instance->saveState(project));
         window.daw.close();
         window.daw.destroyInstance();
      }
      BundleWindow reopened(zoom);
      ASSERT_TRUE(reopened.daw.instance->loadState(project));
      ASSERT_TRUE(reopened.open());
      reopened.expectShown(Shown::MainView);
      reopened.clickAt(kBurgerX, kBurgerY);
      reopened.expectShown(Shown::About);
   }
}

// The instance linked into this process, with the editor its GUI would make.
class SettingsPage : public ::testing::Test {
protected:
   // Opens the editor with the drive knob at 0.75, so that its arc shows.
   bool open() {
      host::InputEvents drive;
      drive.push(host::InputEvents::paramValue(5, 0.75));
      host::OutputEvents ignored;
      daw.instance->flush(drive, ignored);
      const bool created = daw.create([this] {
         editor = createInProcessEditor(instance);
         return true;
      });
      if (!created || !daw.attach(1.0))
         return false;
      pump({&daw}, 150);
      page = static_cast<SettingsView2*>(editor->settingsView);
      return true;
   }

   // Every view that wears the theme colour, with the colour it wears.
   void expectThemeEverywhere(const CColor& color) {
      EXPECT_EQ(editor->getCurrentColor(), color);
      EXPECT_EQ(editor->meterLeft->color, color);
      EXPECT_EQ(editor->meterRight->color, color);
      EXPECT_EQ(editor->oscilloscope->color, color);
      for (const int tag : {0, 5, 7, 9, 12}) {
         const auto* knob = dynamic_cast<Knob*>(editor->controlsByParam[tag]);
         ASSERT_NE(knob, nullptr) << tag;
         EXPECT_EQ(knob->arcColor, color) << tag;
         EXPECT_EQ(knob->pointerColor, color) << tag;
      }
      for (int tab = 0; tab < page->tabView->getNbTab(); ++tab)
         EXPECT_EQ(page->tabView->getTab(tab)->highlightColor, color) << tab;
      EXPECT_EQ(page->colorChooser->getColor(), color);
   }

   // The drive knob's arc at 160°, just past its start, as the window shows it.
   uint32_t driveArcPixel() {
      const Image image = daw.capture();
      const double a = 160. * M_PI / 180.;
      return image.at(static_cast<uint32_t>(400 + 71.5 * std::cos(a)),
                      static_cast<uint32_t>(256 + 71.5 * std::sin(a)));
   }

   static uint32_t rgb(const CColor& c) {
      return (static_cast<uint32_t>(c.red) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.blue;
   }

   TempFolder home{"settings-inprocess-home"};
   ScopedHome scopedHome{home.path()};
   Scorchwire* instance = nullptr;
   EditorHost daw{{}, [this](const clap_host_t* host) {
                     instance = new Scorchwire(host);
                     return instance->clapPlugin();
                  }};
   ScorchwireEditor* editor = nullptr;
   SettingsView2* page = nullptr;
};

// A drag along the chooser's red slider recolours the knobs (of the main view and of the Quadrafuzz
// group), meters, scope and tab highlight at once; "RESET COLOR" brings them all back.
TEST_F(SettingsPage, ChosenColourReachesEveryThemedViewAndResetBringsItBack) {
   ASSERT_TRUE(open());
   const CColor start = ScorchwireEditor::kDefaultColor;
   expectThemeEverywhere(start);
   EXPECT_FALSE(page->isVisible());
   click(daw, kBurgerX, kBurgerY);
   ASSERT_TRUE(page->isVisible());

   // The chooser lies at (300, 180) on the "GRAPHICS" page, which starts 32 pixels into the tab view,
   // itself 32 pixels below the page's top.
   const CRect red = page->colorChooser->getSlider(CColorChooser::kRed)->getViewSize();
   const auto sliderX = [&](double value) {
      return static_cast<int>(300 + red.left + value * (red.getWidth() - 1.));
   };
   const int y = static_cast<int>(180 + 64 + red.getCenter().y);
   xdotool(daw, moveTo(daw, sliderX(0.5), y) + " mousedown 1");
   xdotool(daw, moveTo(daw, sliderX(0.3), y));
   xdotool(daw, moveTo(daw, sliderX(0.1), y) + " mouseup 1");
   const CColor chosen = editor->getCurrentColor();
   EXPECT_NEAR(chosen.red, 26, 2);
   EXPECT_EQ(chosen.green, start.green);
   EXPECT_EQ(chosen.blue, start.blue);
   expectThemeEverywhere(chosen);

   click(daw, kCloseX, kCloseY);
   ASSERT_FALSE(page->isVisible());
   EXPECT_EQ(driveArcPixel(), rgb(chosen));

   click(daw, kBurgerX, kBurgerY);
   // "RESET COLOR" at (375, 380, 525, 412) on the page.
   click(daw, 450, 380 + 64 + 16);
   expectThemeEverywhere(start);
   click(daw, kCloseX, kCloseY);
   EXPECT_EQ(driveArcPixel(), rgb(start));
}

// The open page covers the main view: a drag where the page shows nothing, over the drive knob,
// reaches no control below it.
TEST_F(SettingsPage, OpenPageKeepsClicksFromTheMainView) {
   ASSERT_TRUE(open());
   click(daw, kBurgerX, kBurgerY);
   ASSERT_TRUE(page->isVisible());
   xdotool(daw, moveTo(daw, 400, 230) + " mousedown 1");
   for (int step = 1; step <= 4; ++step)
      xdotool(daw, moveTo(daw, 400, 230 - 8 * step));
   xdotool(daw, "mouseup 1");
   host::OutputEvents out;
   daw.instance->flush({}, out);
   EXPECT_EQ(out.size(), 0u);
   EXPECT_DOUBLE_EQ(instance->getParameter(5), 0.75);
}
} // namespace
