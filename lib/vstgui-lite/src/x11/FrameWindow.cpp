#include "FrameWindow.h"

#include "PopupChain.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cfileselector.h"

#include <algorithm>
#include <cstdlib>

namespace VSTGUI::X11 {

namespace {

constexpr uint32_t frameEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                    XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                    XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW |
                                    XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;
constexpr xcb_timestamp_t doubleClickTime = 400; // ms
constexpr double doubleClickDistance = 4.;       // pixels

int32_t modifiersOf(uint16_t state) {
   int32_t bits = 0;
   if (state & XCB_MOD_MASK_SHIFT)
      bits |= kShift;
   if (state & XCB_MOD_MASK_CONTROL)
      bits |= kControl;
   if (state & XCB_MOD_MASK_1)
      bits |= kAlt;
   if (state & XCB_MOD_MASK_4)
      bits |= kApple;
   return bits;
}

int32_t heldButtonsOf(uint16_t state) {
   int32_t bits = 0;
   if (state & XCB_BUTTON_MASK_1)
      bits |= kLButton;
   if (state & XCB_BUTTON_MASK_2)
      bits |= kMButton;
   if (state & XCB_BUTTON_MASK_3)
      bits |= kRButton;
   return bits;
}

// X buttons 4 to 7 are the wheel; 8 and 9 the side buttons.
int32_t buttonBit(xcb_button_t button) {
   switch (button) {
   case 1:
      return kLButton;
   case 2:
      return kMButton;
   case 3:
      return kRButton;
   case 8:
      return kButton4;
   case 9:
      return kButton5;
   default:
      return 0;
   }
}

} // namespace

FrameWindow::FrameWindow(CFrame* frame) : frame(frame) {}

FrameWindow::~FrameWindow() {
   shutdown();
}

bool FrameWindow::open(xcb_window_t parent, const CRect& pixels) {
   Connection* connection = Connection::get();
   if (!connection || connection->isBroken())
      return false;
   xcb_connection_t* x = connection->xcb();
   // The parent must exist; asking for its geometry is the cheapest way to know.
   auto* geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, parent), nullptr);
   connection->afterRoundTrip();
   if (!geometry)
      return false;
   std::free(geometry);
   if (!create(parent, pixels, false, frameEventMask))
      return false;
   // Hosts speaking XEmbed read the protocol version (0) and the "mapped" flag.
   const uint32_t xembedInfo[] = {0, 1};
   const xcb_atom_t atom = connection->atom(Connection::kXEmbedInfo);
   xcb_change_property(x, XCB_PROP_MODE_REPLACE, id(), atom, atom, 32, 2, xembedInfo);
   map();
   connection->flush();
   return true;
}

void FrameWindow::shutdown() {
   if (popup) {
      popup->dismiss();
      releasePopup();
   }
   const auto running = dialogs;
   for (auto* selector : running) {
      SharedPointer<CNewFileSelector> guard(selector);
      selector->cancel();
   }
   dialogs.clear();
   releaseKeyboardFocus();
   destroy();
}

void FrameWindow::setPopup(std::unique_ptr<PopupChain> chain) {
   popup = std::move(chain);
}

void FrameWindow::releasePopup() {
   if (!popup)
      return;
   if (Connection* connection = Connection::get())
      connection->deleteLater(std::move(popup));
   popup.reset();
}

void FrameWindow::addDialog(CNewFileSelector* selector) {
   if (std::find(dialogs.begin(), dialogs.end(), selector) == dialogs.end())
      dialogs.push_back(selector);
}

void FrameWindow::removeDialog(CNewFileSelector* selector) {
   dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), selector), dialogs.end());
}

void FrameWindow::grabKeyboardFocus() {
   Connection* connection = Connection::get();
   if (!connection || !alive())
      return;
   xcb_connection_t* x = connection->xcb();
   if (!hasKeyboardFocus) {
      if (auto* reply = xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)) {
         previousFocus = reply->focus;
         std::free(reply);
      }
      connection->afterRoundTrip();
   }
   xcb_set_input_focus(x, XCB_INPUT_FOCUS_PARENT, id(), XCB_CURRENT_TIME);
   hasKeyboardFocus = true;
   connection->flush();
}

void FrameWindow::releaseKeyboardFocus() {
   if (!hasKeyboardFocus)
      return;
   hasKeyboardFocus = false;
   Connection* connection = Connection::get();
   if (!connection)
      return;
   // The previous focus may be gone meanwhile; the error that causes is counted and harmless.
   if (previousFocus != XCB_WINDOW_NONE && previousFocus != id())
      xcb_set_input_focus(connection->xcb(), XCB_INPUT_FOCUS_PARENT, previousFocus, XCB_CURRENT_TIME);
   previousFocus = XCB_WINDOW_NONE;
   connection->flush();
}

CPoint FrameWindow::rootOrigin() {
   Connection* connection = Connection::get();
   if (!connection || !alive())
      return {};
   xcb_connection_t* x = connection->xcb();
   CPoint origin;
   auto cookie = xcb_translate_coordinates(x, id(), connection->screen()->root, 0, 0);
   if (auto* reply = xcb_translate_coordinates_reply(x, cookie, nullptr)) {
      origin = CPoint(reply->dst_x, reply->dst_y);
      std::free(reply);
   }
   connection->afterRoundTrip();
   return origin;
}

void FrameWindow::setCursor(xcb_cursor_t cursor) {
   Connection* connection = Connection::get();
   if (!connection || !alive())
      return;
   const uint32_t values[] = {cursor};
   xcb_change_window_attributes(connection->xcb(), id(), XCB_CW_CURSOR, values);
   connection->flush();
}

void FrameWindow::paint(cairo_t* cr, const Region& region) {
   CDrawContext context(cr, CRect(0, 0, width(), height()));
   for (const auto& rect : region.getRects())
      frame->platformDrawRect(&context, rect);
}

void FrameWindow::serverDestroyed() {
   // The host destroyed its window (and ours with it) before closing the editor.
   if (popup) {
      popup->dismiss();
      releasePopup();
   }
   hasKeyboardFocus = false;
}

void FrameWindow::handleInput(const xcb_generic_event_t* event) {
   SharedPointer<CFrame> guard(frame);
   switch (event->response_type & ~0x80) {
   case XCB_BUTTON_PRESS: {
      const auto* e = reinterpret_cast<const xcb_button_press_event_t*>(event);
      const int32_t button = buttonBit(e->detail);
      if (!button)
         break;
      const CPoint where(e->event_x, e->event_y);
      CButtonState buttons(button | modifiersOf(e->state));
      const bool isDouble = !lastPressWasDouble && e->detail == lastPressButton &&
                            e->time - lastPressTime <= doubleClickTime &&
                            std::abs(where.x - lastPressPoint.x) <= doubleClickDistance &&
                            std::abs(where.y - lastPressPoint.y) <= doubleClickDistance;
      if (isDouble)
         buttons |= kDoubleClick;
      lastPressWasDouble = isDouble;
      lastPressTime = e->time;
      lastPressPoint = where;
      lastPressButton = e->detail;
      frame->platformOnMouseDown(where, buttons);
      break;
   }
   case XCB_BUTTON_RELEASE: {
      const auto* e = reinterpret_cast<const xcb_button_release_event_t*>(event);
      if (const int32_t button = buttonBit(e->detail))
         frame->platformOnMouseUp(CPoint(e->event_x, e->event_y),
                                  CButtonState(button | modifiersOf(e->state)));
      break;
   }
   case XCB_MOTION_NOTIFY: {
      const auto* e = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
      frame->platformOnMouseMoved(CPoint(e->event_x, e->event_y),
                                  CButtonState(heldButtonsOf(e->state) | modifiersOf(e->state)));
      break;
   }
   case XCB_ENTER_NOTIFY: {
      const auto* e = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
      frame->platformOnMouseMoved(CPoint(e->event_x, e->event_y),
                                  CButtonState(heldButtonsOf(e->state) | modifiersOf(e->state)));
      break;
   }
   case XCB_LEAVE_NOTIFY:
      frame->platformOnMouseExited();
      break;
   case XCB_KEY_PRESS:
   case XCB_KEY_RELEASE: {
      const auto* e = reinterpret_cast<const xcb_key_press_event_t*>(event);
      Connection* connection = Connection::get();
      const Keyboard* keyboard = connection ? connection->keyboard() : nullptr;
      if (!keyboard)
         break;
      VstKeyCode key = keyboard->translate(e->detail, e->state);
      if ((event->response_type & ~0x80) == XCB_KEY_PRESS)
         frame->platformOnKeyDown(key);
      else
         frame->platformOnKeyUp(key);
      break;
   }
   default:
      break;
   }
}

} // namespace VSTGUI::X11
