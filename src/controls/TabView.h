// Pages with a row (or column) of tabs: choosing a tab shows its page and hides the others, and, when the
// view is bound to a parameter, stores the choice there as tab / (tab count − 1).
#pragma once

#include "controls/TabButton.h"

#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/cviewcontainer.h"

#include <functional>
#include <string>
#include <vector>

class TabView : public VSTGUI::CViewContainer, public VSTGUI::IControlListener {
public:
   // Writes a parameter on the editor's behalf (parameter index, normalised value).
   using ParameterWriter = std::function<void(int32_t index, double value)>;
   enum Layout { kTop = 0, kBottom = 1, kRight = 3 };

   // paramIndex −1 binds the view to no parameter.
   TabView(const VSTGUI::CRect& size, ParameterWriter writeParameter, int32_t paramIndex);

   // Adds a tab and its page; the page keeps its own rectangle.
   void addTab(VSTGUI::CViewContainer* page, const std::string& title, bool indicator);
   void selectTab(int32_t index);
   int32_t getNbTab() const { return static_cast<int32_t>(tabs.size()); }
   int32_t getSelectedTab() const { return selectedTab; }
   TabButton* getTab(int32_t index) const { return tabs.at(static_cast<size_t>(index)); }

   // Only tabs added afterwards take these two.
   void setTabColor(const VSTGUI::CColor& color) { tabColor = color; }
   void setTabFontColor(const VSTGUI::CColor& color) { tabFontColor = color; }
   // These reach existing tabs as well.
   void setTabHighLightColor(const VSTGUI::CColor& color);
   void setTabFont(VSTGUI::CFontDesc* font);

   void valueChanged(VSTGUI::CControl* control) override;

   double tabWidth = 64.;
   double tabHeight = 20.;
   int layout = kBottom;

private:
   ParameterWriter writeParameter;
   int32_t paramIndex;
   int32_t selectedTab = -1;
   VSTGUI::CColor tabColor{176, 176, 176, 255};
   VSTGUI::CColor highlightColor{0, 143, 214, 254};
   VSTGUI::CColor tabFontColor{255, 255, 255, 255};
   VSTGUI::SharedPointer<VSTGUI::CFontDesc> tabFont;
   std::vector<TabButton*> tabs;               // owned as children
   std::vector<VSTGUI::CViewContainer*> pages; // owned as children
};
