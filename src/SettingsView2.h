// The settings page: a full-window overlay over the main view with a header (title, help and close
// buttons) and two tabs, "GRAPHICS" with the theme colour chooser and "ABOUT" with the product's name,
// its version and the way to the online manual. The chosen tab is kept in parameter 16, so it travels
// with the host's saved state.
#pragma once

#include "controls/TabView.h"

#include "vstgui/lib/controls/ccolorchooser.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/cviewcontainer.h"

class PushButton;
class ScorchwireEditor;

class SettingsView2 : public VSTGUI::CViewContainer,
                      public VSTGUI::IControlListener,
                      public VSTGUI::IColorChooserDelegate {
public:
   static constexpr int32_t kTabParameter = 16;
   static constexpr const char* kVersion = "1.0.0.334";

   // Builds the whole page; rect is the frame's, the page's origin is the frame's origin.
   SettingsView2(const VSTGUI::CRect& rect, ScorchwireEditor* editor);

   VSTGUI::CViewContainer* createGraphicSettings();
   VSTGUI::CViewContainer* createAboutSettings();

   // The page takes every click it covers, so that none reaches the main view's controls below it.
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

   // The chooser's colour becomes the editor's theme colour at once.
   void colorChanged(VSTGUI::CColorChooser* chooser, const VSTGUI::CColor& color) override;
   void onBeginColorChange(VSTGUI::CColorChooser* chooser) override;
   void onEndColorChange(VSTGUI::CColorChooser* chooser) override;
   void valueChanged(VSTGUI::CControl* control) override;

   ScorchwireEditor* editor;
   int headerHeight = 32;
   PushButton* closeButton = nullptr;
   TabView* tabView = nullptr;
   VSTGUI::CColorChooser* colorChooser = nullptr;
};
