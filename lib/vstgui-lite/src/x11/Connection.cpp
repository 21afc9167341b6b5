#include "Connection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb_cursor.h>

namespace VSTGUI::X11 {

namespace {

// Plain pointers and counters only: nothing here runs code when the library is loaded.
Connection* theConnection = nullptr;
uint64_t connectionGeneration = 0;
bool closeRequested = false;

xcb_window_t eventWindow(const xcb_generic_event_t* event, uint8_t type) {
   switch (type) {
   case XCB_KEY_PRESS:
   case XCB_KEY_RELEASE:
   case XCB_BUTTON_PRESS:
   case XCB_BUTTON_RELEASE:
   case XCB_MOTION_NOTIFY:
      return reinterpret_cast<const xcb_button_press_event_t*>(event)->event;
   case XCB_ENTER_NOTIFY:
   case XCB_LEAVE_NOTIFY:
      return reinterpret_cast<const xcb_enter_notify_event_t*>(event)->event;
   case XCB_FOCUS_IN:
   case XCB_FOCUS_OUT:
      return reinterpret_cast<const xcb_focus_in_event_t*>(event)->event;
   case XCB_EXPOSE:
      return reinterpret_cast<const xcb_expose_event_t*>(event)->window;
   case XCB_DESTROY_NOTIFY:
      return reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
   case XCB_UNMAP_NOTIFY:
      return reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window;
   case XCB_MAP_NOTIFY:
      return reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
   case XCB_CONFIGURE_NOTIFY:
      return reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window;
   case XCB_REPARENT_NOTIFY:
      return reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window;
   case XCB_CLIENT_MESSAGE:
      return reinterpret_cast<const xcb_client_message_event_t*>(event)->window;
   default:
      return XCB_WINDOW_NONE;
   }
}

} // namespace

Connection* Connection::get() {
   return theConnection;
}

void Connection::open(IRunLoop* runLoop) {
   if (theConnection || !runLoop)
      return;
   auto* connection = new Connection();
   if (!connection->setUp(runLoop)) {
      delete connection;
      return;
   }
   theConnection = connection;
   ++connectionGeneration;
}

void Connection::close() {
   if (!theConnection)
      return;
   if (theConnection->dispatchDepth > 0) {
      closeRequested = true; // finished by the outermost dispatch scope
      return;
   }
   delete theConnection;
   theConnection = nullptr;
   ++connectionGeneration;
}

bool Connection::setUp(IRunLoop* loop) {
   int screenNumber = 0;
   connection = xcb_connect(nullptr, &screenNumber);
   if (!connection || xcb_connection_has_error(connection))
      return false;

   const xcb_setup_t* setup = xcb_get_setup(connection);
   auto screens = xcb_setup_roots_iterator(setup);
   for (int i = 0; screens.rem && i < screenNumber; ++i)
      xcb_screen_next(&screens);
   if (!screens.rem)
      return false;
   screenInfo = screens.data;

   for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
      if (formats.data->depth == screenInfo->root_depth)
         imageFormatOK = formats.data->bits_per_pixel == 32 &&
                         setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST &&
                         (screenInfo->root_depth == 24 || screenInfo->root_depth == 32);
   }
   maxRequest = xcb_get_maximum_request_length(connection) * 4;

   static constexpr const char* atomNames[kNumAtoms] = {
       "_XEMBED_INFO", "_VSTGUI_LITE_WAKE_UP", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_POPUP_MENU"};
   xcb_intern_atom_cookie_t cookies[kNumAtoms];
   for (int i = 0; i < kNumAtoms; ++i)
      cookies[i] =
          xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(atomNames[i])), atomNames[i]);
   for (int i = 0; i < kNumAtoms; ++i) {
      if (auto* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
         atoms[i] = reply->atom;
         std::free(reply);
      }
   }

   wakeWindow = xcb_generate_id(connection);
   xcb_create_window(connection, XCB_COPY_FROM_PARENT, wakeWindow, screenInfo->root, -1, -1, 1, 1, 0,
                     XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
   keyboardReady = keyboardState.setup(connection);

   runLoop = loop;
   registeredWithRunLoop = true;
   runLoop->registerEventHandler(xcb_get_file_descriptor(connection), this);
   xcb_flush(connection);
   return true;
}

Connection::~Connection() {
   graveyard.clear();
   for (auto* event : stash)
      std::free(event);
   if (registeredWithRunLoop && runLoop)
      runLoop->unregisterEventHandler(this);
   if (connection) {
      for (auto& [type, cursor] : cursors)
         if (cursor != XCB_CURSOR_NONE)
            xcb_free_cursor(connection, cursor);
      if (cursorContext)
         xcb_cursor_context_free(cursorContext);
      if (wakeWindow)
         xcb_destroy_window(connection, wakeWindow);
      xcb_disconnect(connection);
   }
}

bool Connection::isBroken() const {
   return broken || xcb_connection_has_error(connection);
}

void Connection::markBroken() {
   if (broken)
      return;
   broken = true;
   // A dead connection reads as end-of-file forever; stop the run loop from calling us for it.
   if (registeredWithRunLoop && runLoop)
      runLoop->unregisterEventHandler(this);
   registeredWithRunLoop = false;
}

xcb_cursor_t Connection::cursor(CCursorType type) {
   if (auto it = cursors.find(type); it != cursors.end())
      return it->second;
   if (!cursorContext &&
       xcb_cursor_context_new(connection, const_cast<xcb_screen_t*>(screenInfo), &cursorContext) < 0) {
      cursorContext = nullptr;
      afterRoundTrip();
      return XCB_CURSOR_NONE;
   }
   const char* name = "left_ptr";
   switch (type) {
   case kCursorWait:
      name = "watch";
      break;
   case kCursorHSize:
      name = "sb_h_double_arrow";
      break;
   case kCursorVSize:
      name = "sb_v_double_arrow";
      break;
   case kCursorSizeAll:
      name = "fleur";
      break;
   case kCursorNESWSize:
      name = "bottom_left_corner";
      break;
   case kCursorNWSESize:
      name = "bottom_right_corner";
      break;
   case kCursorCopy:
      name = "copy";
      break;
   case kCursorNotAllowed:
      name = "crossed_circle";
      break;
   case kCursorHand:
      name = "hand2";
      break;
   case kCursorIBeam:
      name = "xterm";
      break;
   case kCursorDefault:
      break;
   }
   const xcb_cursor_t cursor = xcb_cursor_load_cursor(cursorContext, name);
   cursors[type] = cursor;
   afterRoundTrip();
   return cursor;
}

void Connection::registerWindow(xcb_window_t window, WindowHandler* handler) {
   windows[window] = handler;
}

void Connection::unregisterWindow(xcb_window_t window) {
   if (auto it = windows.find(window); it != windows.end()) {
      forgetPaint(it->second);
      windows.erase(it);
   }
}

void Connection::needsPaint(WindowHandler* handler) {
   if (std::find(pendingPaint.begin(), pendingPaint.end(), handler) == pendingPaint.end())
      pendingPaint.push_back(handler);
   if (dispatchDepth == 0)
      wakeUp();
}

void Connection::forgetPaint(WindowHandler* handler) {
   pendingPaint.erase(std::remove(pendingPaint.begin(), pendingPaint.end(), handler), pendingPaint.end());
}

void Connection::flush() {
   if (broken)
      return;
   xcb_flush(connection);
   collectQueued();
   if (!stash.empty() && dispatchDepth == 0)
      wakeUp();
}

void Connection::collectQueued() {
   while (auto* event = xcb_poll_for_queued_event(connection))
      stash.push_back(event);
}

void Connection::deleteLater(std::unique_ptr<Disposable> object) {
   if (dispatchDepth > 0)
      graveyard.push_back(std::move(object));
}

void Connection::afterRoundTrip() {
   collectQueued();
   if (!stash.empty() && dispatchDepth == 0)
      wakeUp();
}

void Connection::wakeUp() {
   if (wakeUpPosted || broken)
      return;
   xcb_client_message_event_t message{};
   message.response_type = XCB_CLIENT_MESSAGE;
   message.format = 32;
   message.window = wakeWindow;
   message.type = atoms[kWakeUp];
   // With an empty event mask the server hands the event to the window's creator: this connection.
   xcb_send_event(connection, 0, wakeWindow, XCB_EVENT_MASK_NO_EVENT,
                  reinterpret_cast<const char*>(&message));
   wakeUpPosted = true;
   xcb_flush(connection);
   collectQueued();
}

void Connection::onEvent() {
   DispatchScope scope;
   if (broken)
      return;
   dispatchAvailable(true);
   if (xcb_connection_has_error(connection))
      markBroken();
}

void Connection::dispatchAvailable(bool readSocket) {
   const auto next = [&]() -> xcb_generic_event_t* {
      if (!stash.empty()) {
         auto* event = stash.front();
         stash.erase(stash.begin());
         return event;
      }
      return readSocket ? xcb_poll_for_event(connection) : xcb_poll_for_queued_event(connection);
   };
   xcb_generic_event_t* heldMotion = nullptr;
   while (!broken && !closeRequested && theConnection == this) {
      auto* event = next();
      if (!event)
         break;
      const bool isMotion = (event->response_type & ~0x80) == XCB_MOTION_NOTIFY;
      if (heldMotion) {
         const bool sameWindow =
             isMotion && reinterpret_cast<xcb_motion_notify_event_t*>(heldMotion)->event ==
                             reinterpret_cast<xcb_motion_notify_event_t*>(event)->event;
         if (!sameWindow)
            dispatch(heldMotion);
         std::free(heldMotion);
         heldMotion = nullptr;
      }
      if (isMotion) {
         heldMotion = event;
         continue;
      }
      dispatch(event);
      std::free(event);
   }
   if (heldMotion) {
      if (!broken && !closeRequested && theConnection == this)
         dispatch(heldMotion);
      std::free(heldMotion);
   }
}

void Connection::dispatch(const xcb_generic_event_t* event) {
   const uint8_t type = event->response_type & ~0x80;
   if (type == 0) {
      ++errors;
      return;
   }
   if (keyboardReady && type == keyboardState.firstEvent()) {
      keyboardState.handleXkbEvent(event);
      return;
   }
   const xcb_window_t window = eventWindow(event, type);
   if (window == wakeWindow) {
      wakeUpPosted = false;
      return;
   }
   if (auto it = windows.find(window); it != windows.end())
      it->second->handleEvent(event);
}

void Connection::paintAll() {
   auto pending = std::move(pendingPaint);
   pendingPaint.clear();
   for (size_t i = 0; i < pending.size(); ++i) {
      WindowHandler* handler = pending[i];
      // A handler painted earlier in this pass may have destroyed a later one.
      bool alive = false;
      for (auto& [window, h] : windows)
         alive = alive || h == handler;
      if (alive)
         handler->paintPending();
   }
}

Connection::DispatchScope::DispatchScope()
    : generation(connectionGeneration), active(theConnection != nullptr) {
   if (active)
      ++theConnection->dispatchDepth;
}

Connection::DispatchScope::~DispatchScope() {
   Connection* connection = theConnection;
   if (!active || !connection || generation != connectionGeneration)
      return;
   if (connection->dispatchDepth > 1) {
      --connection->dispatchDepth;
      return;
   }
   connection->endDispatch();
}

void Connection::endDispatch() {
   // Painting and flushing may read further events into xcb's queue; they are handled here, a few rounds
   // at most, and any left over bring the run loop back.
   for (int round = 0; round < 4; ++round) {
      if (!closeRequested && !broken)
         dispatchAvailable(false);
      dispatchDepth = 0;
      if (closeRequested) {
         closeRequested = false;
         Connection::close();
         return;
      }
      paintAll();
      if (!broken) {
         xcb_flush(connection);
         collectQueued();
      }
      graveyard.clear();
      if (stash.empty() || broken)
         return;
      dispatchDepth = 1;
   }
   dispatchDepth = 0;
   wakeUp();
}

} // namespace VSTGUI::X11
