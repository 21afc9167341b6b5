// Drawing without a window: colours and their text, offscreen contexts, paths, bitmaps with several
// resolutions, text placement and the font folders.
#include "CairoBitmap.h"
#include "TestSupport.h"

#include <cairo.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace ToolkitTest {
namespace {

// The pixel of an offscreen bitmap at device coordinates, un-premultiplied.
CColor pixelOf(CBitmap* bitmap, int x, int y, double scaleFactor = 1.) {
   auto platform = bitmap->getBestPlatformBitmapForScaleFactor(scaleFactor);
   auto* pixels = platform.cast<CairoBitmap>();
   cairo_surface_t* surface = pixels->getSurface();
   cairo_surface_flush(surface);
   const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                       y * cairo_image_surface_get_stride(surface));
   const uint32_t p = row[x];
   const uint8_t a = static_cast<uint8_t>(p >> 24);
   const auto channel = [a](uint32_t v) { return static_cast<uint8_t>(a ? (v & 0xff) * 255 / a : 0); };
   return CColor(channel(p >> 16), channel(p >> 8), channel(p), a);
}

void writePNG(const std::string& path, int size, const CColor& color) {
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
   cairo_t* cr = cairo_create(surface);
   cairo_set_source_rgb(cr, color.red / 255., color.green / 255., color.blue / 255.);
   cairo_paint(cr);
   cairo_destroy(cr);
   cairo_surface_write_to_png(surface, path.c_str());
   cairo_surface_destroy(surface);
}

TEST(Color, TextFormIsHashAndFourLowerCaseHexPairs) {
   EXPECT_EQ(CColor(190, 150, 30, 255).toString(), "#be961eff");
   EXPECT_EQ(CColor(0, 1, 2, 3).toString(), "#00010203");
   struct Case {
      const char* text;
      bool accepted;
      CColor expected;
   };
   const CColor unchanged(1, 2, 3, 4);
   for (const Case& c :
        {Case{"#ff0000ff", true, CColor(255, 0, 0, 255)}, Case{"#BE961EFF", true, CColor(190, 150, 30, 255)},
         Case{"#00ff00", true, CColor(0, 255, 0, 255)}, Case{"#12345", false, unchanged},
         Case{"ff0000ff", false, unchanged}, Case{"#gg0000ff", false, unchanged},
         Case{"#ff0000ff00", false, unchanged}, Case{"", false, unchanged},
         Case{nullptr, false, unchanged}}) {
      SCOPED_TRACE(c.text ? c.text : "null");
      CColor color = unchanged;
      EXPECT_EQ(color.fromString(c.text), c.accepted);
      EXPECT_EQ(color, c.expected);
   }
}

TEST(Offscreen, FilledTriangleLandsAtEveryScaleFactor) {
   for (const double scale : {1., 2.}) {
      SCOPED_TRACE(scale);
      auto offscreen = COffscreenContext::create(CPoint(16, 16), scale);
      ASSERT_TRUE(offscreen);
      offscreen->beginDraw();
      offscreen->clearRect(CRect(0, 0, 16, 16));
      offscreen->setDrawMode(kAntiAliasing);
      offscreen->setFillColor(CColor(180, 180, 180, 255));
      offscreen->drawPolygon({CPoint(3, 6), CPoint(8, 10), CPoint(13, 6)}, kDrawFilled);
      offscreen->endDraw();
      CBitmap* bitmap = offscreen->getBitmap();
      EXPECT_EQ(bitmap->getWidth(), 16.);
      EXPECT_EQ(bitmap->getPlatformBitmap()->getSize(), CPoint(16 * scale, 16 * scale));
      const auto at = [&](double x, double y) {
         return pixelOf(bitmap, static_cast<int>(x * scale), static_cast<int>(y * scale), scale);
      };
      EXPECT_EQ(at(8, 7), CColor(180, 180, 180, 255));
      EXPECT_EQ(at(1, 1).alpha, 0);
      EXPECT_EQ(at(8, 12).alpha, 0);
   }
}

TEST(Offscreen, ArcsRectsAndPathsFollowTheirGeometry) {
   auto offscreen = COffscreenContext::create(CPoint(100, 100));
   offscreen->clearRect(CRect(0, 0, 100, 100));
   offscreen->setDrawMode(kAntiAliasing);
   // An arc from 0° (three o'clock) clockwise to 90° (six o'clock), 6 wide, on a circle of radius 40.
   offscreen->setFrameColor(CColor(0, 0, 255));
   offscreen->setLineWidth(6.);
   offscreen->drawArc(CRect(10, 10, 90, 90), 0.f, 90.f, kDrawStroked);
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 78, 78).blue, 255) << "lower right quarter is drawn";
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 21, 21).alpha, 0) << "upper left quarter is not";

   // A closed path: stroke and fill, and its own geometry.
   auto path = owned(offscreen->createGraphicsPath());
   path->beginSubpath(CPoint(10, 50));
   path->addLine(CPoint(50, 90));
   path->addLine(CPoint(90, 50));
   EXPECT_EQ(path->getBoundingBox(), CRect(10, 50, 90, 90));
   EXPECT_TRUE(path->hitTest(CPoint(50, 70)));
   EXPECT_FALSE(path->hitTest(CPoint(15, 85)));
   offscreen->setFillColor(CColor(255, 0, 0, 255));
   offscreen->drawGraphicsPath(path, CDrawContext::kPathFilled);
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 50, 70), CColor(255, 0, 0, 255));

   // Aliased one-pixel frames light whole pixels inside the rectangle's edges.
   offscreen->setDrawMode(kAliasing);
   offscreen->setLineWidth(1.);
   offscreen->setFrameColor(CColor(0, 255, 0));
   offscreen->drawRect(CRect(2, 2, 8, 8), kDrawStroked);
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 2, 5), CColor(0, 255, 0, 255));
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 1, 5).alpha, 0);
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 3, 5).alpha, 0);
}

TEST(Bitmap, PicksTheResolutionThatFitsTheScaleAndToleratesMissingFiles) {
   TempDir resources;
   writePNG(resources.path() + "/one.png", 10, CColor(255, 0, 0));
   writePNG(resources.path() + "/two.png", 20, CColor(0, 0, 255));
   getPlatformFactory().asLinuxFactory()->setResourcePath(resources.path() + "/");

   auto bitmap = makeOwned<CBitmap>(CResourceDescription("one.png"));
   EXPECT_EQ(bitmap->getSize(), CPoint(10, 10));
   {
      CBitmap twice(CResourceDescription("two.png"));
      auto platform = twice.getPlatformBitmap();
      platform->setScaleFactor(platform->getSize().x / bitmap->getWidth());
      EXPECT_TRUE(bitmap->addBitmap(platform));
      EXPECT_FALSE(bitmap->addBitmap(platform)) << "one bitmap per scale factor";
   }
   for (const double scale : {1., 1.25, 2.}) {
      SCOPED_TRACE(scale);
      auto offscreen = COffscreenContext::create(CPoint(10, 10), scale);
      bitmap->draw(offscreen, CRect(0, 0, 10, 10));
      const CColor expected = scale > 1. ? CColor(0, 0, 255) : CColor(255, 0, 0);
      EXPECT_EQ(pixelOf(offscreen->getBitmap(), 5, 5, scale), expected);
   }

   auto missing = makeOwned<CBitmap>(CResourceDescription("none.png"));
   EXPECT_EQ(missing->getWidth(), 0.);
   EXPECT_FALSE(missing->isLoaded());
   auto offscreen = COffscreenContext::create(CPoint(10, 10));
   offscreen->clearRect(CRect(0, 0, 10, 10));
   missing->draw(offscreen, CRect(0, 0, 10, 10));
   EXPECT_EQ(pixelOf(offscreen->getBitmap(), 5, 5).alpha, 0);
}

// The ink of the drawn text: the bounding box of pixels with any alpha.
CRect inkBounds(CBitmap* bitmap, int width, int height) {
   CRect ink(width, height, 0, 0);
   for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
         if (pixelOf(bitmap, x, y).alpha > 64) {
            ink.left = std::min<double>(ink.left, x);
            ink.top = std::min<double>(ink.top, y);
            ink.right = std::max<double>(ink.right, x + 1);
            ink.bottom = std::max<double>(ink.bottom, y + 1);
         }
   return ink;
}

TEST(Text, LabelsAlignTheirTextAndCentreItVertically) {
   for (const CHoriTxtAlign align : {kLeftText, kCenterText, kRightText}) {
      SCOPED_TRACE(align);
      auto offscreen = COffscreenContext::create(CPoint(200, 40));
      offscreen->clearRect(CRect(0, 0, 200, 40));
      auto label = owned(new CTextLabel(CRect(0, 0, 200, 40), "DRIVE"));
      label->setTransparency(true);
      label->setHoriAlign(align);
      label->setFont(kNormalFontBig);
      label->draw(offscreen);
      const CRect ink = inkBounds(offscreen->getBitmap(), 200, 40);
      ASSERT_FALSE(ink.isEmpty());
      EXPECT_NEAR(ink.top + ink.getHeight() / 2., 20., 2.5);
      const double expectedCentre = align == kLeftText     ? ink.getWidth() / 2.
                                    : align == kCenterText ? 100.
                                                           : 200. - ink.getWidth() / 2.;
      EXPECT_NEAR(ink.left + ink.getWidth() / 2., expectedCentre, 3.);
   }
}

// A copy of a system font whose family name is changed in place: a family the system does not have.
void writeRenamedFont(const std::string& path, const std::string& from, const std::string& to) {
   std::ifstream in(TOOLKIT_TEST_FONT, std::ios::binary);
   std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
   ASSERT_FALSE(bytes.empty());
   ASSERT_EQ(from.size(), to.size());
   const auto replaceAll = [&bytes](const std::string& a, const std::string& b) {
      for (size_t at = bytes.find(a); at != std::string::npos; at = bytes.find(a, at + b.size()))
         bytes.replace(at, a.size(), b);
   };
   replaceAll(from, to);
   std::string wideFrom, wideTo; // the UTF-16BE names of the font's name table
   for (size_t i = 0; i < from.size(); ++i) {
      wideFrom += std::string(1, '\0') + from[i];
      wideTo += std::string(1, '\0') + to[i];
   }
   replaceAll(wideFrom, wideTo);
   std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Fonts, TheResourceFontsFolderSuppliesMissingFamiliesAndItsAliases) {
   TempDir bundle;
   const std::string fonts = bundle.path() + "/Fonts";
   std::filesystem::create_directory(fonts);
   writeRenamedFont(fonts + "/Qwertz.ttf", "DejaVu Serif", "Qwertz Serif");
   writeFile(fonts + "/fonts.conf", R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <match target="pattern">
    <test name="family"><string>Headline Face</string></test>
    <edit name="family" mode="assign" binding="strong"><string>Qwertz Serif</string></edit>
  </match>
</fontconfig>
)");
   auto missing = makeOwned<CFontDesc>("Qwertz Serif", 20);
   auto aliased = makeOwned<CFontDesc>("Headline Face", 20);
   EXPECT_NE(missing->getResolvedFamily(), "Qwertz Serif") << "not installed on the system";

   getPlatformFactory().asLinuxFactory()->setResourcePath(bundle.path());
   EXPECT_EQ(missing->getResolvedFamily(), "Qwertz Serif");
   EXPECT_EQ(aliased->getResolvedFamily(), "Qwertz Serif");
   EXPECT_EQ(makeOwned<CFontDesc>("No Such Family", 20)->getResolvedFamily(),
             kNormalFont->getResolvedFamily())
       << "unknown families fall back to the default face";

   // The serif face measures differently from the default sans face.
   auto offscreen = COffscreenContext::create(CPoint(10, 10));
   offscreen->setFont(missing);
   const double serifWidth = offscreen->getStringWidth("Scorching Wire");
   offscreen->setFont(kNormalFont, 20);
   EXPECT_NE(serifWidth, offscreen->getStringWidth("Scorching Wire"));
}

} // namespace
} // namespace ToolkitTest
