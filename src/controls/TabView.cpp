#include "controls/TabView.h"

using namespace VSTGUI;

TabView::TabView(const CRect& size, ParameterWriter writeParameter, int32_t paramIndex)
    : CViewContainer(size), writeParameter(std::move(writeParameter)), paramIndex(paramIndex) {}

void TabView::addTab(CViewContainer* page, const std::string& title, bool indicator) {
   const int n = getNbTab();
   const double overlap = n == 0 ? 0. : -2.; // neighbouring tabs share their touching frame lines
   double x = static_cast<int>((tabWidth + overlap) * n);
   double y = 0.;
   if (layout == kBottom) {
      y = static_cast<int>(getHeight() - tabHeight);
   } else if (layout == kRight) {
      x = static_cast<int>(getWidth() - tabWidth);
      y = static_cast<int>(n * tabHeight);
   }
   auto* tab = new TabButton(CRect(x, y, x + tabWidth, y + tabHeight), this, n);
   tab->indicator = indicator;
   tab->font = tabFont;
   tab->fontColor = tabFontColor;
   tab->tabColor = tabColor;
   tab->highlightColor = highlightColor;
   tab->title = title;
   tab->setDirty(true);
   addView(tab);
   addView(page);
   tabs.push_back(tab);
   pages.push_back(page);
}

void TabView::selectTab(int32_t index) {
   if (index < 0 || index >= getNbTab() || index == selectedTab)
      return;
   for (int32_t k = 0; k < getNbTab(); ++k) {
      tabs[static_cast<size_t>(k)]->setValue(k == index ? 1.f : 0.f);
      pages[static_cast<size_t>(k)]->setVisible(k == index);
   }
   selectedTab = index;
}

void TabView::setTabHighLightColor(const CColor& color) {
   highlightColor = color;
   for (TabButton* tab : tabs) {
      tab->highlightColor = color;
      tab->invalid();
   }
}

void TabView::setTabFont(CFontDesc* font) {
   tabFont = font;
   for (TabButton* tab : tabs) {
      tab->font = font;
      tab->invalid();
   }
}

void TabView::valueChanged(CControl* control) {
   if (control->getValue() == 1.f) {
      selectTab(control->getTag());
      if (paramIndex != -1 && getNbTab() >= 2 && writeParameter)
         writeParameter(paramIndex, static_cast<double>(control->getTag()) / (getNbTab() - 1));
   }
   invalid();
}
