// The colour chooser driven with the mouse and the keyboard.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace ToolkitTest {
namespace {

struct Delegate : IColorChooserDelegate {
   void colorChanged(CColorChooser*, const CColor& color) override { colors.push_back(color); }
   void onBeginColorChange(CColorChooser*) override { log += "begin "; }
   void onEndColorChange(CColorChooser*) override { log += "end "; }
   std::vector<CColor> colors;
   std::string log;
};

// The frame's editor must hear nothing of the chooser's inner controls: they are nobody's parameters.
struct Editor : VSTGUIEditorInterface {
   void beginEdit(int32_t index) override { gestures.push_back(index); }
   void endEdit(int32_t index) override { gestures.push_back(index); }
   std::vector<int32_t> gestures;
};

struct ChooserFixture : testing::Test {
   void SetUp() override {
      frame = new CFrame(CRect(0, 0, 400, 240), &editor);
      frame->setBackgroundColor(kBlackCColor);
      CColorChooserUISettings settings;
      settings.font = kNormalFont;
      chooser = new CColorChooser(&delegate, CColor(190, 150, 30, 255), settings);
      chooser->setViewSize(CRect(50, 30, 350, 210));
      chooser->setMouseableArea(chooser->getViewSize());
      frame->addView(chooser);
      ASSERT_TRUE(frame->open(host.handle()));
      pump(100);
      window = std::to_string(frame->getX11Window());
   }
   void TearDown() override { frame->close(); }
   // The centre of a child of the chooser, in frame coordinates.
   CPoint centreOf(CView* view) const {
      CPoint p = view->getViewSize().getCenter();
      return p.offset(50, 30);
   }

   HostWindow host{20, 20, 400, 240};
   Editor editor;
   Delegate delegate;
   CFrame* frame = nullptr;
   CColorChooser* chooser = nullptr;
   std::string window;
};

TEST_F(ChooserFixture, DraggingTheRedSliderChangesTheColourInOneEdit) {
   CView* red = chooser->getSlider(CColorChooser::kRed);
   const CRect r = red->getViewSize();
   const int y = static_cast<int>(centreOf(red).y);
   xdotool({"mousemove", "--window", window, std::to_string(static_cast<int>(50 + r.left + 10)),
            std::to_string(y)});
   xdotool({"mousedown", "1", "mousemove", "--window", window,
            std::to_string(static_cast<int>(50 + r.right + 30)), std::to_string(y), "mouseup", "1"});
   ASSERT_FALSE(delegate.colors.empty());
   EXPECT_EQ(delegate.colors.back(), CColor(255, 150, 30, 255)) << "dragged past the end: full red";
   EXPECT_EQ(delegate.log, "begin end ");
   EXPECT_TRUE(editor.gestures.empty());
   EXPECT_EQ(chooser->getColor(), CColor(255, 150, 30, 255));
   EXPECT_EQ(chooser->getEditField(CColorChooser::kRed)->getText(), "255");

   const Image image = host.capture();
   keepScreenshot(image, "color-chooser");
   EXPECT_EQ(image.at(50 + 5 + 20, 30 + 90), CColor(255, 150, 30)) << "the preview shows the colour";
}

TEST_F(ChooserFixture, TypingIntoAFieldSetsThatChannel) {
   const CPoint field = centreOf(chooser->getEditField(CColorChooser::kGreen));
   clickAt(frame->getX11Window(), static_cast<int>(field.x), static_cast<int>(field.y));
   xdotool({"type", "--delay", "20", "64"});
   xdotool({"key", "Return"});
   ASSERT_FALSE(delegate.colors.empty());
   EXPECT_EQ(delegate.colors.back(), CColor(190, 64, 30, 255));
   EXPECT_EQ(delegate.log, "begin end ");
}

TEST_F(ChooserFixture, SettingTheColourShowsItWithoutTellingTheDelegate) {
   chooser->setColor(CColor(255, 0, 0, 128));
   EXPECT_TRUE(delegate.colors.empty());
   EXPECT_FLOAT_EQ(chooser->getSlider(CColorChooser::kHue)->getValue(), 0.f);
   EXPECT_FLOAT_EQ(chooser->getSlider(CColorChooser::kSaturation)->getValue(), 1.f);
   EXPECT_EQ(chooser->getEditField(CColorChooser::kAlpha)->getText(), "128");
   EXPECT_EQ(chooser->getEditField(CColorChooser::kLightness)->getText(), "50");
}

} // namespace
} // namespace ToolkitTest
