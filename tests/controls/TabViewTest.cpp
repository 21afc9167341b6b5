// Tabs: where addTab places them, what selecting shows and hides, and what a real click on a tab stores in
// the bound parameter.
#include "controls/TabView.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace ControlsTest {
namespace {

CViewContainer* page(const CRect& size) {
   auto* p = new CViewContainer(size);
   p->setTransparency(true);
   return p;
}

TEST(TabView, TabsArePlacedByLayoutAndOverlapByTwoPixels) {
   struct Case {
      int layout;
      std::vector<CRect> expected;
   };
   // A 300 x 200 view with tabs of 100 x 30.
   for (const Case& c :
        {Case{TabView::kTop, {CRect(0, 0, 100, 30), CRect(98, 0, 198, 30), CRect(196, 0, 296, 30)}},
         Case{TabView::kBottom,
              {CRect(0, 170, 100, 200), CRect(98, 170, 198, 200), CRect(196, 170, 296, 200)}},
         Case{TabView::kRight, {CRect(200, 0, 300, 30), CRect(200, 30, 300, 60), CRect(200, 60, 300, 90)}}}) {
      SCOPED_TRACE(c.layout);
      auto tabs = makeOwned<TabView>(CRect(0, 0, 300, 200), nullptr, -1);
      tabs->layout = c.layout;
      tabs->tabWidth = 100.;
      tabs->tabHeight = 30.;
      for (int i = 0; i < 3; ++i)
         tabs->addTab(page(CRect(0, 30, 300, 200)), "T", false);
      ASSERT_EQ(tabs->getNbTab(), 3);
      for (int i = 0; i < 3; ++i)
         EXPECT_EQ(tabs->getTab(i)->getViewSize(), c.expected[static_cast<size_t>(i)]) << i;
   }
   // Fractions are cut: tab width 401.5 puts the second tab at 399.
   auto wide = makeOwned<TabView>(CRect(0, 0, 800, 400), nullptr, -1);
   wide->layout = TabView::kTop;
   wide->tabWidth = 401.5;
   wide->addTab(page(CRect()), "A", false);
   wide->addTab(page(CRect()), "B", false);
   EXPECT_EQ(wide->getTab(1)->getViewSize().left, 399.);
}

struct TabClicks : testing::Test {
   void SetUp() override {
      tabs = new TabView(
          CRect(0, 0, 300, 150), [this](int32_t index, double value) { writes.emplace_back(index, value); },
          16);
      tabs->setTransparency(true);
      tabs->layout = TabView::kTop;
      tabs->tabWidth = 100.;
      tabs->tabHeight = 30.;
      tabs->setTabHighLightColor(CColor(190, 150, 30, 255));
      for (const char* title : {"GRAPHICS", "ABOUT", "MORE"}) {
         pages.push_back(page(CRect(0, 30, 300, 150)));
         tabs->addTab(pages.back(), title, false);
      }
      tabs->selectTab(0);
      test.add(tabs);
   }
   // The middle of tab i's frame, left of its caption.
   CColor tabColour(int i) { return test.capture().at(100 * i + 6, 15); }

   TestFrame test{300, 150};
   TabView* tabs = nullptr;
   std::vector<CViewContainer*> pages;
   std::vector<std::pair<int32_t, double>> writes;
};

TEST_F(TabClicks, ClickShowsThePageAndStoresTabOverCountMinusOne) {
   const CColor selected(190, 150, 30, 255);
   const CColor faint = over(CColor(190, 150, 30), 32. / 255.); // not selected: the frame at alpha 32
   EXPECT_EQ(tabColour(0), selected);
   EXPECT_TRUE(near(tabColour(1), faint));

   test.click(250, 15); // "MORE"
   EXPECT_EQ(writes, (std::vector<std::pair<int32_t, double>>{{16, 1.0}}));
   EXPECT_EQ(tabs->getSelectedTab(), 2);
   EXPECT_FALSE(pages[0]->isVisible());
   EXPECT_TRUE(pages[2]->isVisible());
   EXPECT_TRUE(near(tabColour(0), faint));
   EXPECT_EQ(tabColour(2), selected);

   pump(450);
   test.click(150, 15); // "ABOUT"
   EXPECT_EQ(writes.back(), (std::pair<int32_t, double>{16, 0.5}));
   EXPECT_TRUE(pages[1]->isVisible());
   EXPECT_FALSE(pages[2]->isVisible());
}

TEST_F(TabClicks, ClickingTheSelectedTabChangesAndStoresNothing) {
   test.click(50, 15);
   pump(450);
   test.click(50, 15);
   EXPECT_TRUE(writes.empty());
   EXPECT_EQ(tabs->getSelectedTab(), 0);
   EXPECT_TRUE(tabs->getTab(0)->isSelected());
   EXPECT_EQ(tabColour(0), CColor(190, 150, 30, 255)) << "still drawn selected";
   tabs->selectTab(0);
   tabs->selectTab(7);
   tabs->selectTab(-1);
   EXPECT_EQ(tabs->getSelectedTab(), 0);
   EXPECT_TRUE(writes.empty()) << "selecting in code stores nothing";
}

TEST_F(TabClicks, NewHighlightColourReachesExistingTabs) {
   tabs->setTabHighLightColor(CColor(0, 200, 120, 255));
   EXPECT_EQ(tabColour(0), CColor(0, 200, 120, 255));
   EXPECT_TRUE(near(tabColour(1), over(CColor(0, 200, 120), 32. / 255.)));
}

TEST(TabView, UnboundOrSingleTabViewStoresNothing) {
   TestFrame test(200, 60);
   std::vector<double> writes;
   auto* single = test.add(new TabView(
       CRect(0, 0, 200, 60), [&](int32_t, double v) { writes.push_back(v); }, 16));
   single->layout = TabView::kTop;
   single->addTab(page(CRect(0, 20, 200, 60)), "ONLY", false);
   test.click(30, 10);
   EXPECT_EQ(single->getSelectedTab(), 0) << "the click selects";
   EXPECT_TRUE(writes.empty()) << "one tab has nothing to store";
}

} // namespace
} // namespace ControlsTest
