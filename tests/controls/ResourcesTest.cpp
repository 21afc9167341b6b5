// The bundle's resources as the editor loads them: the images by name from the resource folder, bitmaps
// with further resolutions, and the design's font families mapped onto the fonts shipped in Fonts/.
#include "TestSupport.h"
#include "controls/MyBitmap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace ControlsTest {
namespace {

TEST(Resources, EveryImageIsThereAtItsSize) {
   struct Case {
      const char* name;
      CPoint pixels;
   };
   for (const Case& c :
        {Case{"background.png", CPoint(800, 494)}, Case{"backgroundx2.png", CPoint(1600, 988)},
         Case{"quit.png", CPoint(24, 24)}, Case{"quit_1.5x.png", CPoint(36, 36)},
         Case{"quit_2x.png", CPoint(48, 48)}, Case{"quit_pressed.png", CPoint(24, 24)},
         Case{"quit_pressed_1.5x.png", CPoint(36, 36)}, Case{"quit_pressed_2x.png", CPoint(48, 48)}}) {
      SCOPED_TRACE(c.name);
      auto bitmap = makeOwned<CBitmap>(CResourceDescription(c.name));
      ASSERT_TRUE(bitmap->isLoaded());
      EXPECT_EQ(bitmap->getPlatformBitmap()->getSize(), c.pixels);
   }
}

TEST(MyBitmap, FurtherFilesBecomeResolutionsScaledByTheirWidth) {
   auto background =
       makeOwned<MyBitmap>("background.png", std::initializer_list<const char*>{"backgroundx2.png"});
   EXPECT_EQ(background->getSize(), CPoint(800, 494)) << "view units stay those of the 1x file";
   auto twice = background->getBestPlatformBitmapForScaleFactor(2.);
   EXPECT_EQ(twice->getSize(), CPoint(1600, 988));
   EXPECT_EQ(twice->getScaleFactor(), 2.);

   auto quit = makeOwned<MyBitmap>(
       "quit.png", std::initializer_list<const char*>{"quit_1.5x.png", "missing_3x.png", "quit_2x.png"});
   EXPECT_EQ(quit->getBestPlatformBitmapForScaleFactor(1.5)->getScaleFactor(), 1.5);
   EXPECT_EQ(quit->getBestPlatformBitmapForScaleFactor(2.)->getScaleFactor(), 2.);
   EXPECT_EQ(quit->getBestPlatformBitmapForScaleFactor(3.)->getScaleFactor(), 2.)
       << "the missing file added nothing";

   auto missing = makeOwned<MyBitmap>("nobitmap", std::initializer_list<const char*>{"quit_2x.png"});
   EXPECT_FALSE(missing->isLoaded());
   EXPECT_EQ(missing->getWidth(), 0.);
}

TEST(Fonts, DesignFamiliesResolveToTheShippedFaces) {
   const std::string folder = std::string(CONTROLS_TEST_RESOURCES) + "Fonts/";
   for (const char* file : {"LeagueSpartan-Bold.otf", "BebasNeue-Regular.otf", "OpenSans-Regular.ttf",
                            "OpenSans-Bold.ttf", "fonts.conf"})
      EXPECT_TRUE(std::filesystem::exists(folder + file)) << file;
   struct Case {
      const char* family;
      int32_t style;
      const char* resolved;
   };
   for (const Case& c :
        {Case{"Cubano", kNormalFace, "League Spartan"}, Case{"Monologue DEMO", kNormalFace, "Bebas Neue"},
         Case{"Tahoma", kNormalFace, "Open Sans"}, Case{"TAHOMA", kBoldFace, "Open Sans"}}) {
      SCOPED_TRACE(c.family);
      auto font = makeOwned<CFontDesc>(c.family, 20., c.style);
      EXPECT_EQ(font->getResolvedFamily(), c.resolved);
   }
   // The title face is the heavy cut even when asked for in the normal style (where the system has the
   // lighter cuts too, they measure differently).
   auto context = COffscreenContext::create(CPoint(10, 10));
   const auto width = [&](const char* family, int32_t style) {
      auto font = makeOwned<CFontDesc>(family, 32., style);
      context->setFont(font);
      return context->getStringWidth("SCORCHWIRE");
   };
   EXPECT_EQ(width("Cubano", kNormalFace), width("League Spartan", kBoldFace));
}

// The same look-ups in a process whose fontconfig knows only the DejaVu fonts, like a system without the
// packages: the bundle's Fonts/ folder alone must supply every face.
TEST(Fonts, ShippedFacesServeSystemsWithoutThem) {
   char self[4096] = {};
   ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
   std::string folder = (std::filesystem::temp_directory_path() / "controls-fonts-XXXXXX").string();
   ASSERT_TRUE(mkdtemp(folder.data()));
   std::ofstream(folder + "/bare.conf") << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                        << "<dir>/usr/share/fonts/truetype/dejavu</dir>\n"
                                        << "<cachedir>" << folder << "/cache</cachedir>\n</fontconfig>\n";
   const std::string command = "FONTCONFIG_FILE=" + folder + "/bare.conf " + self +
                               " --gtest_filter=Fonts.DesignFamiliesResolveToTheShippedFaces > " + folder +
                               "/log 2>&1";
   const int status = std::system(command.c_str());
   std::ifstream log(folder + "/log");
   const std::string output((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
   std::filesystem::remove_all(folder);
   EXPECT_EQ(status, 0) << output;
}

} // namespace
} // namespace ControlsTest
