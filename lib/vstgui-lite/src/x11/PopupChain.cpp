#include "PopupChain.h"

#include "FrameWindow.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace VSTGUI::X11 {

namespace {

// Geometry in menu units (pixels at zoom 1).
constexpr double itemHeight = 20.;
constexpr double separatorHeight = 7.;
constexpr double border = 2.;
constexpr double checkColumn = 22.;
constexpr double arrowColumn = 22.;
constexpr double armDistance = 3.; // pointer travel (pixels) that makes a button release choose

constexpr CColor backgroundColor(40, 40, 44);
constexpr CColor frameColor(96, 96, 104);
constexpr CColor highlightColor(64, 110, 180);
constexpr CColor textColor(235, 235, 235);
constexpr CColor disabledTextColor(128, 128, 128);
constexpr CColor separatorColor(80, 80, 86);

constexpr uint32_t popupEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                    XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                    XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

bool selectable(const CMenuItem* item) {
   return item && item->isEnabled() && !item->isSeparator() && !item->isTitle();
}

} // namespace

class PopupWindow final : public Window {
public:
   PopupWindow(PopupChain* chain, size_t level) : chain(chain), level(level) {}

protected:
   void paint(cairo_t* cr, const Region& region) override { chain->paintLevel(level, cr, region); }
   void handleInput(const xcb_generic_event_t* event) override { chain->handle(event); }

private:
   PopupChain* chain;
   size_t level;
};

struct PopupChain::Level {
   SharedPointer<COptionMenu> menu;
   std::unique_ptr<PopupWindow> window;
   CRect rootRect;           // pixels
   std::vector<CRect> items; // menu units, in the level's own space
   int hover = -1;
   int openSubmenu = -1; // the entry whose sub-menu is the next level
};

PopupChain::PopupChain(FrameWindow* owner, COptionMenu* menu, const CPoint& rootPosition, double scale,
                       double minWidth)
    : owner(owner), menu(menu), origin(rootPosition), scale(scale > 0. ? scale : 1.), minWidth(minWidth) {}

PopupChain::~PopupChain() {
   closeWindows();
}

bool PopupChain::open() {
   Connection* connection = Connection::get();
   if (!connection || connection->isBroken())
      return false;
   openLevel(menu, origin, CRect(), false);
   if (levels.empty() || !levels.front()->window->alive())
      return false;
   xcb_connection_t* x = connection->xcb();
   const xcb_window_t grabWindow = levels.front()->window->id();
   // Without owner events every pointer and key event comes to the first pop-up, also over the frames of
   // this process; the chain finds the level under the pointer from the root coordinates.
   const uint16_t pointerMask =
       XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
   xcb_discard_reply(x,
                     xcb_grab_pointer(x, 0, grabWindow, pointerMask, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                      XCB_WINDOW_NONE, XCB_CURSOR_NONE, XCB_CURRENT_TIME)
                         .sequence);
   xcb_discard_reply(
       x, xcb_grab_keyboard(x, 0, grabWindow, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)
              .sequence);
   connection->flush();
   return true;
}

void PopupChain::openLevel(COptionMenu* levelMenu, const CPoint& rootAnchor, const CRect& avoid,
                           bool isSubmenu) {
   Connection* connection = Connection::get();
   if (!connection)
      return;
   auto level = std::make_unique<Level>();
   level->menu = levelMenu;

   // Measure the titles with the menu font.
   cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
   cairo_t* scratchCr = cairo_create(scratch);
   double textWidth = 0.;
   {
      CDrawContext measure(scratchCr, CRect(0, 0, 1, 1));
      measure.setFont(kNormalFont);
      for (int32_t i = 0; i < levelMenu->getNbEntries(); ++i)
         textWidth = std::max(textWidth, measure.getStringWidth(levelMenu->getEntry(i)->getTitle()));
   }
   cairo_destroy(scratchCr);
   cairo_surface_destroy(scratch);

   double width = std::ceil(textWidth) + checkColumn + arrowColumn + 2. * border;
   if (!isSubmenu)
      width = std::max(width, minWidth);
   double y = border;
   for (int32_t i = 0; i < levelMenu->getNbEntries(); ++i) {
      const double h = levelMenu->getEntry(i)->isSeparator() ? separatorHeight : itemHeight;
      level->items.emplace_back(border, y, width - border, y + h);
      y += h;
   }
   const double height = y + border;

   const double widthPx = std::ceil(width * scale), heightPx = std::ceil(height * scale);
   const double screenWidth = connection->screen()->width_in_pixels;
   const double screenHeight = connection->screen()->height_in_pixels;
   double left = rootAnchor.x, top = rootAnchor.y;
   if (isSubmenu) {
      left = avoid.right;
      top = rootAnchor.y - border * scale;
      if (left + widthPx > screenWidth)
         left = avoid.left - widthPx;
   } else if (left + widthPx > screenWidth) {
      left = screenWidth - widthPx;
   }
   if (top + heightPx > screenHeight)
      top = screenHeight - heightPx;
   left = std::max(0., std::round(left));
   top = std::max(0., std::round(top));
   level->rootRect = CRect(left, top, left + widthPx, top + heightPx);

   level->window = std::make_unique<PopupWindow>(this, levels.size());
   if (!level->window->create(connection->screen()->root, level->rootRect, true, popupEventMask))
      return;
   const xcb_atom_t popupType = connection->atom(Connection::kNetWmWindowTypePopupMenu);
   xcb_change_property(connection->xcb(), XCB_PROP_MODE_REPLACE, level->window->id(),
                       connection->atom(Connection::kNetWmWindowType), XCB_ATOM_ATOM, 32, 1, &popupType);
   level->window->map();
   levels.push_back(std::move(level));
   connection->flush();
}

void PopupChain::closeLevelsAbove(size_t level) {
   Connection* connection = Connection::get();
   while (levels.size() > level + 1) {
      auto window = std::move(levels.back()->window);
      window->destroy();
      if (connection)
         connection->deleteLater(std::move(window));
      levels.pop_back();
   }
   if (level < levels.size())
      levels[level]->openSubmenu = -1;
}

void PopupChain::closeWindows() {
   if (closed)
      return;
   closed = true;
   Connection* connection = Connection::get();
   if (connection) {
      xcb_ungrab_pointer(connection->xcb(), XCB_CURRENT_TIME);
      xcb_ungrab_keyboard(connection->xcb(), XCB_CURRENT_TIME);
   }
   // A window may be handling the event that closes the chain: its deletion waits for the end of it.
   for (auto& level : levels) {
      level->window->destroy();
      if (connection)
         connection->deleteLater(std::move(level->window));
   }
   levels.clear();
   if (connection)
      connection->flush();
}

void PopupChain::dismiss() {
   closeWindows();
   menu->popupClosed();
}

void PopupChain::cancel() {
   SharedPointer<COptionMenu> root(menu);
   FrameWindow* frameWindow = owner;
   closeWindows();
   frameWindow->releasePopup(); // nothing of this chain may be touched from here on
   root->popupClosed();
}

void PopupChain::choose(size_t level, int item) {
   SharedPointer<COptionMenu> root(menu);
   SharedPointer<COptionMenu> chosen(levels[level]->menu);
   FrameWindow* frameWindow = owner;
   closeWindows();
   frameWindow->releasePopup(); // nothing of this chain may be touched from here on
   root->popupChose(chosen, item);
}

int PopupChain::itemAt(const Level& level, const CPoint& root) const {
   const CPoint local((root.x - level.rootRect.left) / scale, (root.y - level.rootRect.top) / scale);
   for (size_t i = 0; i < level.items.size(); ++i)
      if (level.items[i].pointInside(local))
         return static_cast<int>(i);
   return -1;
}

void PopupChain::setHover(size_t level, int item, bool openSubmenus) {
   Level& l = *levels[level];
   if (l.hover != item) {
      l.hover = item;
      l.window->invalidateAll();
   }
   if (!openSubmenus || (item >= 0 && item == l.openSubmenu))
      return;
   // A hovered entry with a sub-menu opens it; any other closes what was opened from this level.
   closeLevelsAbove(level);
   openSubmenu(level, item);
}

void PopupChain::openSubmenu(size_t level, int item) {
   Level& l = *levels[level];
   CMenuItem* entry = l.menu->getEntry(item);
   COptionMenu* submenu = selectable(entry) ? entry->getSubmenu() : nullptr;
   if (!submenu || submenu->getNbEntries() == 0 || l.openSubmenu == item)
      return;
   closeLevelsAbove(level);
   const double itemTop = l.rootRect.top + l.items[static_cast<size_t>(item)].top * scale;
   l.openSubmenu = item;
   openLevel(submenu, CPoint(l.rootRect.right, itemTop), l.rootRect, true);
}

void PopupChain::activate(size_t level, int item) {
   CMenuItem* entry = levels[level]->menu->getEntry(item);
   if (!selectable(entry))
      return;
   if (entry->hasSubmenu()) {
      openSubmenu(level, item);
      return;
   }
   choose(level, item);
}

void PopupChain::pointerAt(const CPoint& root, bool pressed, bool released) {
   if (!pointerKnown) {
      openPoint = root;
      pointerKnown = true;
   } else if (std::abs(root.x - openPoint.x) > armDistance || std::abs(root.y - openPoint.y) > armDistance) {
      armed = true;
   }
   int found = -1;
   for (int i = static_cast<int>(levels.size()) - 1; i >= 0 && found < 0; --i)
      if (levels[static_cast<size_t>(i)]->rootRect.pointInside(root))
         found = i;
   if (found < 0) {
      if (pressed)
         cancel();
      return;
   }
   if (pressed)
      armed = true;
   const auto level = static_cast<size_t>(found);
   const int item = itemAt(*levels[level], root);
   setHover(level, item, true);
   if (released && armed && item >= 0)
      activate(level, item);
}

void PopupChain::key(const xcb_key_press_event_t* event) {
   Connection* connection = Connection::get();
   const Keyboard* keyboard = connection ? connection->keyboard() : nullptr;
   if (!keyboard || levels.empty())
      return;
   const auto key = keyboard->translate(event->detail, event->state);
   const size_t deepest = levels.size() - 1;
   Level& level = *levels[deepest];
   switch (key.virt) {
   case VKEY_ESCAPE:
      cancel();
      return;
   case VKEY_UP:
   case VKEY_DOWN: {
      const int n = level.menu->getNbEntries();
      const int step = key.virt == VKEY_DOWN ? 1 : -1;
      int item = level.hover;
      for (int tries = 0; tries < n; ++tries) {
         item = item < 0 ? (step > 0 ? 0 : n - 1) : (item + step + n) % n;
         if (selectable(level.menu->getEntry(item)))
            break;
      }
      armed = true;
      setHover(deepest, item, false);
      return;
   }
   case VKEY_RIGHT:
   case VKEY_RETURN:
   case VKEY_ENTER: {
      CMenuItem* entry = level.menu->getEntry(level.hover);
      armed = true;
      if (entry && entry->hasSubmenu()) {
         openSubmenu(deepest, level.hover);
         if (levels.size() > deepest + 1)
            setHover(deepest + 1, 0, false);
      } else if (key.virt != VKEY_RIGHT && level.hover >= 0) {
         activate(deepest, level.hover);
      }
      return;
   }
   case VKEY_LEFT:
      if (deepest > 0)
         closeLevelsAbove(deepest - 1);
      return;
   default:
      return;
   }
}

void PopupChain::handle(const xcb_generic_event_t* event) {
   if (closed)
      return;
   switch (event->response_type & ~0x80) {
   case XCB_MOTION_NOTIFY: {
      const auto* e = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
      pointerAt(CPoint(e->root_x, e->root_y), false, false);
      break;
   }
   case XCB_BUTTON_PRESS:
   case XCB_BUTTON_RELEASE: {
      const auto* e = reinterpret_cast<const xcb_button_press_event_t*>(event);
      if (e->detail < 1 || e->detail > 3)
         break;
      const bool pressed = (event->response_type & ~0x80) == XCB_BUTTON_PRESS;
      pointerAt(CPoint(e->root_x, e->root_y), pressed, !pressed);
      break;
   }
   case XCB_KEY_PRESS:
      key(reinterpret_cast<const xcb_key_press_event_t*>(event));
      break;
   default:
      break;
   }
}

void PopupChain::paintLevel(size_t index, cairo_t* cr, const Region&) {
   if (index >= levels.size())
      return;
   const Level& level = *levels[index];
   const double width = level.rootRect.getWidth() / scale, height = level.rootRect.getHeight() / scale;
   CDrawContext context(cr, CRect(0, 0, level.rootRect.getWidth(), level.rootRect.getHeight()), scale);
   context.setDrawMode(kAliasing);
   context.setFillColor(backgroundColor);
   context.drawRect(CRect(0, 0, width, height), kDrawFilled);
   context.setLineWidth(1.);
   context.setFrameColor(frameColor);
   context.drawRect(CRect(0, 0, width - 1., height - 1.), kDrawStroked);

   const COptionMenu& levelMenu = *level.menu;
   const bool checkStyle = levelMenu.getStyle() & kCheckStyle;
   context.setFont(kNormalFont);
   for (size_t i = 0; i < level.items.size(); ++i) {
      const CRect& r = level.items[i];
      const CMenuItem* entry = levelMenu.getEntry(static_cast<int32_t>(i));
      const double middle = r.top + r.getHeight() / 2.;
      if (entry->isSeparator()) {
         context.setDrawMode(kAliasing);
         context.setFrameColor(separatorColor);
         context.drawLine(CPoint(r.left + 4., std::floor(middle)), CPoint(r.right - 4., std::floor(middle)));
         continue;
      }
      const bool isSelectable = selectable(entry);
      if (static_cast<int>(i) == level.hover && isSelectable) {
         context.setFillColor(highlightColor);
         context.drawRect(r, kDrawFilled);
      }
      context.setFontColor(isSelectable || entry->isTitle() ? textColor : disabledTextColor);
      context.drawString(entry->getTitle(),
                         CRect(r.left + checkColumn, r.top, r.right - arrowColumn, r.bottom), kLeftText);
      context.setDrawMode(kAntiAliasing);
      if (entry->isChecked() || (checkStyle && static_cast<int32_t>(i) == levelMenu.getCurrentIndex())) {
         context.setLineWidth(2.);
         context.setFrameColor(textColor);
         context.drawLines({{CPoint(r.left + 6., middle), CPoint(r.left + 10., middle + 4.)},
                            {CPoint(r.left + 10., middle + 4.), CPoint(r.left + 17., middle - 5.)}});
      }
      if (entry->hasSubmenu()) {
         context.setFillColor(isSelectable ? textColor : disabledTextColor);
         context.drawPolygon({CPoint(r.right - 14., middle - 4.), CPoint(r.right - 9., middle),
                              CPoint(r.right - 14., middle + 4.)},
                             kDrawFilled);
      }
   }
}

} // namespace VSTGUI::X11
