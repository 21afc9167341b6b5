#include "SettingsView2.h"

#include "controls/MyBitmap.h"
#include "controls/PushButton.h"
#include "scorchwireeditor.h"

#include "vstgui/lib/controls/ctextlabel.h"

#include <cmath>
#include <string>

using namespace VSTGUI;

namespace {

const CColor kPageBackground(0, 0, 0, 255);
const CColor kHeaderBackground(127, 127, 127, 255);
const CColor kTabViewBackground(48, 48, 48, 255);
const CColor kTabColor(255, 255, 255, 255);
const CColor kTabCaptionColor(164, 164, 164, 255);
const CColor kButtonText(200, 200, 200, 255);
const CColor kManualButtonTextOn(0, 0, 255, 255);

// The two bold faces of the page, shared by every editor of the process.
CFontDesc* headerFont() {
   static const SharedPointer<CFontDesc> font = makeOwned<CFontDesc>("TAHOMA", 23, kBoldFace);
   return font;
}

CFontDesc* aboutFont() {
   static const SharedPointer<CFontDesc> font = makeOwned<CFontDesc>("TAHOMA", 20, kBoldFace);
   return font;
}

CTextLabel* addLabel(CViewContainer* parent, const CRect& rect, const char* text, CHoriTxtAlign align) {
   auto* label = new CTextLabel(rect, text);
   label->setTransparency(true);
   label->setHoriAlign(align);
   parent->addView(label);
   return label;
}

// A tab page: its content starts just below the tabs.
CViewContainer* makePage(double width, double height, double top) {
   auto* page = new CViewContainer(CRect(0, top, width, height));
   page->setTransparency(true);
   return page;
}

} // namespace

SettingsView2::SettingsView2(const CRect& rect, ScorchwireEditor* editor)
    : CViewContainer(rect), editor(editor) {
   const double w = rect.getWidth(), h = rect.getHeight();
   setBackgroundColor(kPageBackground);
   setAlphaValue(0.92f);

   auto* title = new CTextLabel(CRect(0, 0, w, 34), "SETTINGS");
   title->setAlphaValue(0.4f);
   title->setBackColor(kHeaderBackground);
   title->setFont(headerFont());
   title->setHoriAlign(kCenterText);
   addView(title);

   auto quit =
       makeOwned<MyBitmap>("quit.png", std::initializer_list<const char*>{"quit_1.5x.png", "quit_2x.png"});
   auto quitPressed =
       makeOwned<MyBitmap>("quit_pressed.png", std::initializer_list<const char*>{"quit_pressed_1.5x.png",
                                                                                  "quit_pressed_2x.png"});
   const double bw = quit->getWidth(), bh = quit->getHeight();
   if (bw > 0. && bh > 0.) {
      closeButton = new PushButton(CRect(w - 36, 6, w - 36 + bw, 6 + bh), 0);
   } else {
      closeButton = new PushButton(CRect(w - 36, 6, w - 12, 30), 0);
      closeButton->title = "X";
      closeButton->textColor = kButtonText;
   }
   closeButton->setNormalPix(quit);
   closeButton->setPressedPix(quitPressed);
   closeButton->pressedAction = [editor] { editor->hideSettings(); };
   addView(closeButton);

   auto* help = new PushButton(CRect(12, 6, 36, 30), 0);
   help->title = "?";
   help->textColor = kButtonText;
   help->pressedAction = [editor] { editor->openHelpUrl(); };
   addView(help);

   tabView = new TabView(
       CRect(0, headerHeight, w, h),
       [editor](int32_t index, double value) {
          if (PluginWrapper* wrapper = editor->pluginWrapper())
             wrapper->setParameterAutomated(index, value);
       },
       kTabParameter);
   tabView->setBackgroundColor(kTabViewBackground);
   tabView->setAlphaValue(0.9f);
   tabView->setTabColor(kTabColor);
   tabView->setTabHighLightColor(ScorchwireEditor::kDefaultColor);
   tabView->setTabFont(makeOwned<CFontDesc>("Tahoma", 12));
   tabView->setTabFontColor(kTabCaptionColor);
   tabView->layout = TabView::kTop;
   tabView->tabWidth = w * 0.5 + 1.5;
   tabView->tabHeight = headerHeight + 1;
   tabView->addTab(createGraphicSettings(), "GRAPHICS", false);
   tabView->addTab(createAboutSettings(), "ABOUT", false);
   addView(tabView);

   const double stored = editor->pluginWrapper() ? editor->pluginWrapper()->getParameter(kTabParameter) : 0.;
   tabView->selectTab(static_cast<int32_t>(std::lround((tabView->getNbTab() - 1) * stored)));
}

CViewContainer* SettingsView2::createGraphicSettings() {
   auto* page = makePage(getWidth(), getHeight(), headerHeight);
   addLabel(page, CRect(200, 20, 330, 44), "VIEW SIZE:", kLeftText)->setTextInset(CPoint(2, 0));
   addLabel(page, CRect(200, 180, 330, 204), "SET COLOR:", kLeftText)->setTextInset(CPoint(2, 0));

   CColorChooserUISettings look;
   look.font = kNormalFont;
   look.fontColor = kWhiteCColor;
   look.checkerBoardColor1 = kWhiteCColor;
   look.checkerBoardColor2 = kBlackCColor;
   look.margin = CPoint(5, 5);
   look.editFieldsVisible = true;
   colorChooser = new CColorChooser(this, editor->getCurrentColor(), look);
   colorChooser->setViewSize(CRect(300, 180, 600, 360));
   page->addView(colorChooser);

   auto* reset = new PushButton(CRect(375, 380, 525, 412), 0);
   reset->title = "RESET COLOR";
   reset->textColor = kButtonText;
   reset->pressedAction = [this] { editor->resetCurrentColor(); };
   page->addView(reset);
   return page;
}

CViewContainer* SettingsView2::createAboutSettings() {
   auto* page = makePage(getWidth(), getHeight(), headerHeight);
   for (auto [rect, text] : {std::pair{CRect(20, 40, 260, 72), "Scorchwire"},
                             std::pair{CRect(20, 220, 240, 260), "Online Manual:"}}) {
      CTextLabel* label = addLabel(page, rect, text, kLeftText);
      label->setFont(aboutFont());
      label->setFontColor(kWhiteCColor);
   }

   // "nobitmap" names no file: the button is drawn flat.
   auto* manual = new PushButton(CRect(20, 270, 160, 310), 0);
   auto noBitmap = makeOwned<CBitmap>(CResourceDescription("nobitmap"));
   manual->setNormalPix(noBitmap);
   manual->setPressedPix(noBitmap);
   manual->title = "OPEN MANUAL";
   manual->textColor = kWhiteCColor;
   manual->textColorOn = kManualButtonTextOn;
   manual->pressedAction = [this] { editor->openHelpUrl(); };
   page->addView(manual);

   const std::string version = std::string("Scorchwire v") + kVersion;
   addLabel(page, CRect(620, 394, 800, 434), version.c_str(), kCenterText)->setFontColor(kWhiteCColor);
   return page;
}

CMouseEventResult SettingsView2::onMouseDown(CPoint& where, const CButtonState& buttons) {
   const CMouseEventResult result = CViewContainer::onMouseDown(where, buttons);
   return result == kMouseEventNotHandled || result == kMouseEventNotImplemented ? kMouseEventHandled
                                                                                 : result;
}

void SettingsView2::colorChanged(CColorChooser*, const CColor& color) {
   editor->setCurrentColor(color);
}

void SettingsView2::onBeginColorChange(CColorChooser*) {}

void SettingsView2::onEndColorChange(CColorChooser*) {}

void SettingsView2::valueChanged(CControl*) {}
