// Option menus: pop-up windows with the pointer grabbed, sub-menus, the check style, the choice reported
// through the listener inside one gesture, and pop-ups that outlive nothing.
#include "Probes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace ToolkitTest {
namespace {

// Menu rows are 20 units high below a 2-unit border.
int itemCenterY(const CRect& popup, int index, double scale = 1.) {
   return static_cast<int>(popup.top + (2. + 20. * index + 10.) * scale);
}

void moveRoot(int x, int y) {
   xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

struct MenuFixture : testing::Test {
   void SetUp() override {
      frame = new CFrame(CRect(0, 0, 400, 300), &editor);
      frame->setBackgroundColor(CColor(48, 48, 128));
      menu = new COptionMenu(CRect(50, 40, 170, 60), &editor, 4, nullptr, nullptr, kCheckStyle);
      for (const char* title : {"Overdrive", "Clip", "Valve"})
         menu->addEntry(title);
      auto* sub = new COptionMenu();
      sub->setStyle(kCheckStyle);
      sub->addEntry("Deep A");
      sub->addEntry("Deep B");
      menu->addEntry(sub, "More");
      sub->forget();
      frame->addView(menu);
      ASSERT_TRUE(frame->open(host.handle()));
      pump(100);
   }
   void TearDown() override {
      if (frame)
         frame->close();
      moveRoot(1000, 1000);
   }
   // Clicks the menu open and answers the pop-up's rectangle on the screen.
   CRect openMenu() {
      clickAt(frame->getX11Window(), 60, 50);
      const auto popups = host.mappedPopups();
      EXPECT_EQ(popups.size(), 1u);
      return popups.empty() ? CRect() : host.geometry(popups[0]);
   }

   HostWindow host{20, 20, 400, 300};
   RecordingEditor editor;
   CFrame* frame = nullptr;
   COptionMenu* menu = nullptr;
};

TEST_F(MenuFixture, ClickOpensAPopupBelowTheMenuAndChoosingReportsInOneGesture) {
   const CRect popup = openMenu();
   EXPECT_EQ(popup.left, 20 + 50);
   EXPECT_EQ(popup.top, 20 + 60);
   EXPECT_GE(popup.getWidth(), 120.);
   EXPECT_EQ(popup.getHeight(), 4 * 20 + 4);
   EXPECT_TRUE(menu->isPopupOpen());
   EXPECT_TRUE(editor.log.empty()) << "opening reports nothing";

   moveRoot(static_cast<int>(popup.left) + 40, itemCenterY(popup, 2));
   Image shown = host.captureRoot(popup);
   keepScreenshot(shown, "menu-open");
   // The hovered row is highlighted; the current entry (the first) carries the tick.
   EXPECT_EQ(shown.at(5, 2 + 40 + 10), CColor(64, 110, 180));
   EXPECT_GT(shown.count(CRect(2, 2, 22, 22), CColor(235, 235, 235)), 5) << "tick on the current entry";
   EXPECT_EQ(shown.count(CRect(2, 22, 22, 42), CColor(235, 235, 235)), 0) << "no tick elsewhere";

   xdotool({"click", "1"});
   EXPECT_TRUE(host.mappedPopups().empty());
   EXPECT_FALSE(menu->isPopupOpen());
   EXPECT_EQ(editor.log, (std::vector<std::string>{"begin 4", "value 4 2.000000", "end 4"}));
   EXPECT_EQ(menu->getCurrentIndex(), 2);
   EXPECT_FLOAT_EQ(menu->getValueNormalized(), 2.f / 3.f);
   int32_t index = -1;
   EXPECT_EQ(menu->getLastItemMenu(index), menu);
   EXPECT_EQ(index, 2);
}

TEST_F(MenuFixture, HoveringASubmenuOpensItAndItsEntryIsReportedWithItsMenu) {
   const CRect popup = openMenu();
   moveRoot(static_cast<int>(popup.left) + 40, itemCenterY(popup, 3));
   auto popups = host.mappedPopups();
   ASSERT_EQ(popups.size(), 2u);
   const CRect sub = host.geometry(popups[0]) == popup ? host.geometry(popups[1]) : host.geometry(popups[0]);
   EXPECT_EQ(sub.left, popup.right);
   moveRoot(static_cast<int>(sub.left) + 20, itemCenterY(sub, 1));
   xdotool({"click", "1"});
   EXPECT_TRUE(host.mappedPopups().empty());
   int32_t index = -1;
   COptionMenu* chosenIn = menu->getLastItemMenu(index);
   EXPECT_EQ(chosenIn, menu->getSubMenu(3));
   EXPECT_EQ(index, 1);
   EXPECT_EQ(chosenIn->getCurrent()->getTitle(), "Deep B");
   EXPECT_EQ(menu->getCurrentIndex(), 0) << "the top menu's own entry is unchanged";
   EXPECT_EQ(editor.log.size(), 3u);
}

TEST_F(MenuFixture, ClickOutsideOrEscapeClosesWithoutAChoice) {
   openMenu();
   clickAt(host.id(), 350, 280);
   EXPECT_TRUE(host.mappedPopups().empty());
   EXPECT_FALSE(menu->isPopupOpen());
   openMenu();
   xdotool({"key", "Escape"});
   EXPECT_TRUE(host.mappedPopups().empty());
   // Keys move through the entries; Return chooses.
   openMenu();
   xdotool({"key", "Down", "Down", "Return"});
   EXPECT_TRUE(host.mappedPopups().empty());
   EXPECT_EQ(editor.log, (std::vector<std::string>{"begin 4", "value 4 1.000000", "end 4"}));
}

TEST_F(MenuFixture, ClosingTheFrameWithThePopupOpenDestroysItQuietly) {
   openMenu();
   const auto popups = host.mappedPopups();
   ASSERT_EQ(popups.size(), 1u);
   frame->close();
   frame = nullptr;
   pump(100);
   EXPECT_FALSE(host.windowExists(popups[0]));
   EXPECT_TRUE(editor.log.empty());
   // The pointer grab is gone: another frame gets clicks.
   auto* other = new CFrame(CRect(0, 0, 400, 300), nullptr);
   auto* probe = new ProbeView(CRect(0, 0, 400, 300), CColor(1, 2, 3));
   other->addView(probe);
   ASSERT_TRUE(other->open(host.handle()));
   pump(50);
   clickAt(other->getX11Window(), 200, 150);
   EXPECT_EQ(probe->of("down").size(), 1u);
   other->close();
}

TEST_F(MenuFixture, AHiddenMenuPopsUpWhereItIsMovedAndZoomScalesThePopup) {
   auto* hidden =
       new COptionMenu(CRect(0, 0, 200, 0), &editor, 16385, nullptr, nullptr, kNoTextStyle | kNoFrame);
   hidden->addEntry("Load preset");
   hidden->addEntry("Save preset as");
   hidden->setVisible(false);
   frame->addView(hidden);
   ASSERT_TRUE(frame->setZoom(2.0));
   hidden->setViewSize(CRect(CPoint(30, 25), CPoint(200, 0)));
   ASSERT_TRUE(hidden->popup());
   pump(100);
   const auto popups = host.mappedPopups();
   ASSERT_EQ(popups.size(), 1u);
   const CRect popup = host.geometry(popups[0]);
   EXPECT_EQ(popup.left, 20 + 60);
   EXPECT_EQ(popup.top, 20 + 50);
   EXPECT_EQ(popup.getHeight(), 2 * (2 * 20 + 4));
   moveRoot(static_cast<int>(popup.left) + 40, itemCenterY(popup, 1, 2.));
   xdotool({"click", "1"});
   EXPECT_EQ(editor.log, (std::vector<std::string>{"begin 16385", "value 16385 1.000000", "end 16385"}));
   EXPECT_EQ(hidden->getCurrent()->getTitle(), "Save preset as");
}

TEST(Menu, EntriesAndCheckMarksWithoutAScreen) {
   auto menu = owned(new COptionMenu(CRect(0, 0, 100, 20), nullptr, 3));
   EXPECT_EQ(menu->getCurrent(), nullptr);
   for (const char* title : {"No Filter", "Lowpass", "-", "Hipass", "Bandpass"})
      menu->addEntry(title);
   EXPECT_EQ(menu->getNbEntries(), 5);
   EXPECT_TRUE(menu->getEntry(2)->isSeparator());
   menu->setValueNormalized(0.75f);
   EXPECT_EQ(menu->getCurrentIndex(), 3);
   EXPECT_FALSE(menu->setCurrent(9));
   EXPECT_TRUE(menu->checkEntryAlone(1));
   EXPECT_TRUE(menu->isCheckEntry(1));
   EXPECT_FALSE(menu->isCheckEntry(3));
   EXPECT_FALSE(menu->popup()) << "a menu outside an open frame cannot pop up";
   EXPECT_TRUE(menu->removeEntry(0));
   EXPECT_EQ(menu->getEntry(0)->getTitle(), "Lowpass");
}

} // namespace
} // namespace ToolkitTest
