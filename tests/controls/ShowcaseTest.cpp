// Every control on the bundle's background, placed as in the main view, at zoom 1 and zoom 2: the picture
// to look at (saved when CONTROLS_TEST_SCREENSHOTS names a folder) and a few of its pixels checked.
#include "TestSupport.h"
#include "controls/ArrowButton.h"
#include "controls/BurgerButton.h"
#include "controls/Knob.h"
#include "controls/MyBitmap.h"
#include "controls/Oscilloscope.h"
#include "controls/PushButton.h"
#include "controls/TabView.h"
#include "controls/TouchDisplay.h"
#include "controls/UnitContainer.h"
#include "controls/Vumeter.h"

#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>

namespace ControlsTest {
namespace {

constexpr CColor theme(190, 150, 30, 255);
constexpr CColor captionColor(192, 196, 193, 255);

struct MainViewScene {
   explicit MainViewScene(CViewContainer* main) {
      auto title = makeOwned<CFontDesc>("Cubano", 32);
      auto heading = makeOwned<CFontDesc>("Monologue DEMO", 18);
      auto big = makeOwned<CFontDesc>("Monologue DEMO", 28);
      auto small = makeOwned<CFontDesc>("Tahoma", 10);
      auto display = makeOwned<CFontDesc>("Tahoma", 13);
      const auto caption = [&](const CRect& r, const char* text, CFontDesc* font) {
         auto* label = new CTextLabel(r, text);
         label->setTransparency(true);
         label->setFont(font);
         label->setFontColor(captionColor);
         main->addView(label);
         return label;
      };
      const auto panel = [&](const CRect& r) {
         auto* p = new UnitContainer(r);
         p->fillColor = CColor(25, 25, 25, 255);
         p->cornerRadius = 4.;
         main->addView(p);
      };
      const auto knob = [&](CViewContainer* parent, const CRect& r, float value) {
         auto* k = new Knob(r, nullptr, 0);
         k->arcColor = k->pointerColor = theme;
         k->setValue(value);
         parent->addView(k);
         return k;
      };
      const auto selector = [&](const CRect& r, std::initializer_list<const char*> entries, int current) {
         auto* menu = new COptionMenu(r, nullptr, -1);
         menu->setBackColor(CColor(255, 255, 255, 0));
         menu->setFontColor(CColor(200, 200, 200, 255));
         for (const char* e : entries)
            menu->addEntry(e);
         menu->setCurrent(current);
         main->addView(menu);
      };
      auto glyph = COffscreenContext::create(CPoint(16, 16), 2.);
      glyph->clearRect(CRect(0, 0, 16, 16));
      glyph->setDrawMode(kAntiAliasing);
      glyph->setFillColor(CColor(180, 180, 180, 255));
      glyph->drawPolygon({CPoint(3, 6), CPoint(8, 10), CPoint(13, 6)}, kDrawFilled);
      const auto arrowGlyph = [&](const CRect& r) {
         auto* label = new CTextLabel(r, "", glyph->getBitmap());
         label->setTransparency(true);
         main->addView(label);
      };

      scope = new Oscilloscope(CRect(40, 415, 760, 480));
      scope->color = theme;
      main->addView(scope);
      panel(CRect(300, 38, 500, 73));
      auto* name = new TouchDisplay(CRect(326, 38, 484, 73));
      name->font = display;
      name->fontColor = CColor(172, 174, 176, 255);
      name->setText("Factory/Warm Crunch");
      main->addView(name);
      auto* previous = new ArrowButton(CRect(300, 41, 312, 71));
      main->addView(previous);
      auto* next = new ArrowButton(CRect(312, 41, 324, 71));
      next->direction = ArrowButton::kRight;
      main->addView(next);
      auto* menuArrow = new ArrowButton(CRect(481, 42, 499, 68));
      menuArrow->direction = ArrowButton::kDown;
      main->addView(menuArrow);
      panel(CRect(345, 155, 455, 175));
      selector(CRect(345, 155, 455, 175), {"Overdrive", "Clip Inferno", "Hot Valve"}, 1);
      arrowGlyph(CRect(440, 157, 456, 173));
      for (auto** meter : {&meterLeft, &meterRight}) {
         *meter = new Vumeter(meter == &meterLeft ? CRect(41, 384, 757, 390) : CRect(41, 392, 757, 398));
         (*meter)->segmentSpacing = 6;
         (*meter)->color = theme;
         main->addView(*meter);
      }
      main->addView(new BurgerButton(CRect(714, 40, 744, 70)));
      caption(CRect(22, 36, 322, 72), "SCORCHWIRE", title);
      caption(CRect(361, 120, 441, 156), "DISTORTION", heading);
      caption(CRect(365, 325, 435, 361), "DRIVE", big);
      caption(CRect(107, 120, 177, 156), "PRE-FILTER", heading);
      caption(CRect(68, 223, 138, 259), "CUTOFF", small);
      caption(CRect(148, 223, 218, 259), "RES", small);
      caption(CRect(106, 280, 176, 316), "ENV", small);
      caption(CRect(590, 120, 740, 156), "DISTORTION PARAMETERS", heading);
      drive = knob(main, CRect(320, 176, 480, 336), 0.75f);
      knob(main, CRect(555, 180, 615, 240), 0.6f);
      caption(CRect(550, 223, 620, 259), "DRY/WET", small);
      knob(main, CRect(630, 180, 690, 240), 0.35f);
      caption(CRect(625, 223, 695, 259), "PUNCH", small);
      knob(main, CRect(705, 180, 765, 240), 0.5f);
      caption(CRect(700, 223, 770, 259), "FILTER", small);
      auto* bands = new CViewContainer(CRect(550, 260, 770, 340));
      bands->setTransparency(true);
      main->addView(bands);
      int i = 0;
      for (const char* text : {"LOW", "LO MID", "HI MID", "HI"}) {
         const double left = 10. + 50. * i++;
         knob(bands, CRect(left, 10, left + 48, 58), 0.25f * i);
         auto* label = new CTextLabel(CRect(left, 52, left + 48, 70), text);
         label->setTransparency(true);
         label->setFont(small);
         label->setFontColor(captionColor);
         bands->addView(label);
      }
      knob(main, CRect(72, 180, 132, 240), 0.8f);
      knob(main, CRect(152, 180, 212, 240), 0.2f);
      knob(main, CRect(118, 250, 166, 298), 0.f);
      panel(CRect(86, 155, 196, 175));
      selector(CRect(86, 155, 196, 175), {"No Filter", "Lowpass"}, 1);
      arrowGlyph(CRect(181, 157, 197, 173));
   }
   void feed() {
      std::vector<char> wave(1455);
      for (size_t i = 0; i < wave.size(); ++i)
         wave[i] = static_cast<char>(std::lround(90. * std::sin(i * 0.05) * std::exp(-double(i) / 1500.)));
      scope->process(wave.data(), static_cast<int>(wave.size()));
      meterLeft->process(0.5f);
      meterRight->process(0.25f);
   }

   Oscilloscope* scope = nullptr;
   Vumeter* meterLeft = nullptr;
   Vumeter* meterRight = nullptr;
   Knob* drive = nullptr;
};

CColor pngPixel(const std::string& path, int x, int y) {
   cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
   const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(png) +
                                                       y * cairo_image_surface_get_stride(png));
   const uint32_t p = row[x];
   cairo_surface_destroy(png);
   return CColor(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p), 255);
}

TEST(Showcase, MainViewControlsOnTheBackgroundAtZoomOneAndTwo) {
   for (const double zoom : {1., 2.}) {
      SCOPED_TRACE(zoom);
      const int width = static_cast<int>(800 * zoom), height = static_cast<int>(494 * zoom);
      TestFrame test(width, height);
      auto* main = new CViewContainer(CRect(0, 0, 800, 494));
      main->setBackground(owned(new MyBitmap("background.png", {"backgroundx2.png"})));
      MainViewScene scene(main);
      test.frame->addView(main);
      test.frame->setZoom(zoom);
      scene.feed();
      pump(150);
      const Image image = test.capture();
      keepScreenshot(image, zoom == 1. ? "mainview-1x" : "mainview-2x");

      // The drive knob at 0.75: its arc reaches 332.5°, in the theme colour, also between base pixels.
      const auto at = [&](double x, double y) {
         return image.at(static_cast<int>(std::floor(x * zoom)), static_cast<int>(std::floor(y * zoom)));
      };
      for (const double angle : {160., 250., 325.}) {
         const double a = angle * M_PI / 180.;
         EXPECT_EQ(at(400 + 71.5 * std::cos(a), 256 + 71.5 * std::sin(a)), theme) << angle;
      }
      EXPECT_NE(at(400 + 71.5 * std::cos(0.3), 256 + 71.5 * std::sin(0.3)), theme) << "past the value";
      // The left meter at -6 dB lights 573 of its 716 pixels.
      EXPECT_EQ(at(41 + 571.5, 386.5), theme);
      EXPECT_NE(at(41 + 576.5, 386.5), theme);
      // The background comes from the file made for the zoom: pixel for pixel where no view lies.
      const std::string file =
          std::string(CONTROLS_TEST_RESOURCES) + (zoom == 1. ? "background.png" : "backgroundx2.png");
      for (const auto& [bx, by] : {std::pair{11., 11.}, {260., 300.}, {30., 94.5}, {780., 450.}})
         EXPECT_TRUE(near(at(bx, by), pngPixel(file, int(bx * zoom), int(by * zoom)), 1)) << bx << "," << by;
   }
}

TEST(Showcase, SettingsPageButtonsAndTabs) {
   TestFrame test(800, 494);
   auto* page = new CViewContainer(CRect(0, 0, 800, 494));
   page->setBackgroundColor(CColor(0, 0, 0, 255));
   auto* header = new CTextLabel(CRect(0, 0, 800, 34), "SETTINGS");
   header->setBackColor(CColor(127, 127, 127, 255));
   header->setAlphaValue(0.4f);
   header->setFont(owned(new CFontDesc("TAHOMA", 23, kBoldFace)));
   page->addView(header);
   auto* close = new PushButton(CRect(764, 6, 788, 30), 0);
   close->setNormalPix(owned(new MyBitmap("quit.png", {"quit_1.5x.png", "quit_2x.png"})));
   close->setPressedPix(
       owned(new MyBitmap("quit_pressed.png", {"quit_pressed_1.5x.png", "quit_pressed_2x.png"})));
   page->addView(close);
   auto* help = new PushButton(CRect(12, 6, 36, 30), 0);
   help->title = "?";
   help->textColor = CColor(200, 200, 200, 255);
   page->addView(help);
   auto* tabs = new TabView(CRect(0, 32, 800, 494), nullptr, 16);
   tabs->setBackgroundColor(CColor(48, 48, 48, 255));
   tabs->setAlphaValue(0.9f);
   tabs->setTabColor(CColor(255, 255, 255, 255));
   tabs->setTabHighLightColor(theme);
   tabs->setTabFont(owned(new CFontDesc("Tahoma", 12)));
   tabs->setTabFontColor(CColor(164, 164, 164, 255));
   tabs->layout = TabView::kTop;
   tabs->tabWidth = 800 * 0.5 + 1.5;
   tabs->tabHeight = 33;
   for (const char* title : {"GRAPHICS", "ABOUT"}) {
      auto* content = new CViewContainer(CRect(0, 32, 800, 462));
      content->setTransparency(true);
      auto* manual = new PushButton(CRect(20, 270, 160, 310), 0);
      manual->setNormalPix(owned(new MyBitmap("nobitmap", {})));
      manual->title = std::string("OPEN ") + title;
      manual->textColor = CColor(255, 255, 255, 255);
      content->addView(manual);
      tabs->addTab(content, title, false);
   }
   tabs->selectTab(0);
   page->addView(tabs);
   test.add(page);
   const Image image = test.capture();
   keepScreenshot(image, "settings-1x");
   EXPECT_TRUE(near(image.at(776, 18), CColor(200, 200, 200), 12)) << "the close image's cross";
   // The selected tab in the theme colour, through the tab view's 90 % opacity over its grey.
   EXPECT_TRUE(near(image.at(10, 40), CColor(175, 139, 31), 2)) << "the selected tab";
}

} // namespace
} // namespace ControlsTest
