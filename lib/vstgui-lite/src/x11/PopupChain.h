// An open option menu: one override-redirect top-level window per open menu level (the menu and the
// sub-menus opened from it), with the pointer and keyboard grabbed while open. A click outside closes
// everything; choosing an entry closes everything and then reports to the menu that was opened.
#pragma once

#include "Window.h"

#include "vstgui/lib/controls/coptionmenu.h"

#include <memory>
#include <vector>

namespace VSTGUI::X11 {

class FrameWindow;
class PopupWindow;

class PopupChain final : public Disposable {
public:
   // rootPosition: where the menu's top-left corner goes, in root pixels; scale: pixels per menu unit
   // (the frame's zoom); minWidth: in menu units.
   PopupChain(FrameWindow* owner, COptionMenu* menu, const CPoint& rootPosition, double scale,
              double minWidth);
   ~PopupChain() override;

   bool open();
   // Closes every window without reporting anything (the frame is closing).
   void dismiss();

   void handle(const xcb_generic_event_t* event);
   void paintLevel(size_t level, cairo_t* cr, const Region& region);

private:
   struct Level;
   void openLevel(COptionMenu* menu, const CPoint& rootAnchor, const CRect& avoid, bool isSubmenu);
   void closeLevelsAbove(size_t level);
   void pointerAt(const CPoint& root, bool pressed, bool released);
   void key(const xcb_key_press_event_t* event);
   void activate(size_t level, int item);
   void choose(size_t level, int item);
   void cancel();
   void closeWindows();
   int itemAt(const Level& level, const CPoint& root) const;
   // Highlights an entry; with openSubmenus, an entry with a sub-menu opens it (pointer hover).
   void setHover(size_t level, int item, bool openSubmenus);
   void openSubmenu(size_t level, int item);

   FrameWindow* owner;
   SharedPointer<COptionMenu> menu;
   CPoint origin;
   double scale;
   double minWidth;
   std::vector<std::unique_ptr<Level>> levels;
   CPoint openPoint;
   bool pointerKnown = false;
   bool armed = false;
   bool closed = false;
};

} // namespace VSTGUI::X11
