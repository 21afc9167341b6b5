// The X11 side of a CFrame: its child window in the host's window, input translation, keyboard focus,
// and the pop-up menu and file dialogs the frame has open.
#pragma once

#include "Window.h"

#include "vstgui/lib/cframe.h"

#include <memory>
#include <vector>

namespace VSTGUI {
class CNewFileSelector;
}

namespace VSTGUI::X11 {

class PopupChain;

class FrameWindow final : public Window {
public:
   explicit FrameWindow(CFrame* frame);
   ~FrameWindow() override;

   bool open(xcb_window_t parent, const CRect& pixels);
   // Ends everything the frame has open (pop-ups, dialogs, keyboard focus) and destroys the window.
   void shutdown();

   // Takes the keyboard focus of the display for this window (a text field starts editing) and gives it
   // back to the window that had it.
   void grabKeyboardFocus();
   void releaseKeyboardFocus();

   // The window's origin in root coordinates (asks the server).
   CPoint rootOrigin();
   void setCursor(xcb_cursor_t cursor);

   // The open pop-up menu (one at a time).
   void setPopup(std::unique_ptr<PopupChain> chain);
   PopupChain* getPopup() const { return popup.get(); }
   // Hands the chain over for deletion once nothing of it runs any more.
   void releasePopup();

   // File dialogs running for this frame; while any runs, the frame ignores input.
   void addDialog(CNewFileSelector* selector);
   void removeDialog(CNewFileSelector* selector);
   bool dialogRunning() const { return !dialogs.empty(); }

protected:
   void paint(cairo_t* cr, const Region& region) override;
   void handleInput(const xcb_generic_event_t* event) override;
   void serverDestroyed() override;

private:
   CFrame* frame;
   std::unique_ptr<PopupChain> popup;
   std::vector<CNewFileSelector*> dialogs;
   xcb_window_t previousFocus = XCB_WINDOW_NONE;
   bool hasKeyboardFocus = false;
   // double-click detection
   xcb_timestamp_t lastPressTime = 0;
   CPoint lastPressPoint;
   uint8_t lastPressButton = 0;
   bool lastPressWasDouble = false;
};

} // namespace VSTGUI::X11
