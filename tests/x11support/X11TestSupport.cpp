#include "X11TestSupport.h"

#include <algorithm>
#include <cairo.h>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace X11Test {

using Clock = std::chrono::steady_clock;

bool TestRunLoop::registerEventHandler(int fd, X11::IEventHandler* handler) {
   handlers.push_back({fd, handler});
   return true;
}

bool TestRunLoop::unregisterEventHandler(X11::IEventHandler* handler) {
   auto it =
       std::find_if(handlers.begin(), handlers.end(), [&](const Handler& h) { return h.handler == handler; });
   if (it == handlers.end())
      return false;
   handlers.erase(it);
   return true;
}

bool TestRunLoop::registerTimer(uint64_t interval, X11::ITimerHandler* handler) {
   timers.push_back({interval, handler, Clock::now() + std::chrono::milliseconds(interval)});
   return true;
}

bool TestRunLoop::unregisterTimer(X11::ITimerHandler* handler) {
   auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
   if (it == timers.end())
      return false;
   timers.erase(it);
   return true;
}

bool TestRunLoop::hasTimer(X11::ITimerHandler* handler) const {
   return std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
}

bool TestRunLoop::registered(X11::IEventHandler* handler) const {
   return std::any_of(handlers.begin(), handlers.end(),
                      [&](const Handler& h) { return h.handler == handler; });
}

void TestRunLoop::pump(std::chrono::milliseconds duration) {
   pumpUntil([] { return false; }, duration);
}

bool TestRunLoop::pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
   const auto deadline = Clock::now() + timeout;
   while (true) {
      if (condition())
         return true;
      const auto now = Clock::now();
      if (now >= deadline)
         return false;
      auto wake = deadline;
      for (const auto& t : timers)
         wake = std::min(wake, t.due);
      const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
      std::vector<pollfd> fds;
      for (const auto& h : handlers)
         fds.push_back({h.fd, POLLIN, 0});
      poll(fds.data(), fds.size(), static_cast<int>(std::max<long>(0, std::min<long>(wait, 20))));
      // Handlers may unregister themselves or others while called; each is looked up again.
      const auto snapshot = handlers;
      for (size_t i = 0; i < fds.size(); ++i)
         if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) && registered(snapshot[i].handler))
            snapshot[i].handler->onEvent();
      const auto due = Clock::now();
      std::vector<X11::ITimerHandler*> fire;
      for (auto& t : timers)
         if (t.due <= due) {
            fire.push_back(t.handler);
            t.due = due + std::chrono::milliseconds(t.interval);
         }
      for (auto* handler : fire)
         if (hasTimer(handler))
            handler->onTimer();
   }
}

TestRunLoop& runLoop() {
   static TestRunLoop* loop = [] {
      auto* l = new TestRunLoop();
      X11::RunLoop::init(l);
      l->forget();
      return l;
   }();
   return *loop;
}

void pumpFor(int milliseconds) {
   runLoop().pump(std::chrono::milliseconds(milliseconds));
}

CColor Image::at(int x, int y) const {
   if (x < 0 || y < 0 || x >= width || y >= height)
      return CColor(0, 0, 0, 0);
   const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
   return CColor(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p), 255);
}

int Image::count(const CRect& rect, const CColor& color) const {
   int n = 0;
   for (int y = static_cast<int>(rect.top); y < static_cast<int>(rect.bottom); ++y)
      for (int x = static_cast<int>(rect.left); x < static_cast<int>(rect.right); ++x) {
         const CColor c = at(x, y);
         n += c.red == color.red && c.green == color.green && c.blue == color.blue;
      }
   return n;
}

int Image::countNear(const CRect& rect, const CColor& color, int tol) const {
   int n = 0;
   for (int y = static_cast<int>(rect.top); y < static_cast<int>(rect.bottom); ++y)
      for (int x = static_cast<int>(rect.left); x < static_cast<int>(rect.right); ++x)
         n += near(at(x, y), color, tol);
   return n;
}

void Image::savePNG(const std::string& path) const {
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
   auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
   const int stride = cairo_image_surface_get_stride(surface) / 4;
   for (int y = 0; y < height; ++y)
      std::memcpy(data + y * stride, pixels.data() + y * width, static_cast<size_t>(width) * 4);
   cairo_surface_mark_dirty(surface);
   cairo_surface_write_to_png(surface, path.c_str());
   cairo_surface_destroy(surface);
}

bool near(const CColor& a, const CColor& b, int tol) {
   return std::abs(a.red - b.red) <= tol && std::abs(a.green - b.green) <= tol &&
          std::abs(a.blue - b.blue) <= tol;
}

CColor over(const CColor& c, double alpha) {
   return CColor(static_cast<uint8_t>(c.red * alpha + 0.5), static_cast<uint8_t>(c.green * alpha + 0.5),
                 static_cast<uint8_t>(c.blue * alpha + 0.5), 255);
}

HostWindow::HostWindow(int x, int y, int width, int height)
    : left(x), top(y), widthPx(width), heightPx(height) {
   int screenNumber = 0;
   connection = xcb_connect(nullptr, &screenNumber);
   if (xcb_connection_has_error(connection))
      throw std::runtime_error("no X server (run the tests under xvfb-run)");
   auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
   for (int i = 0; i < screenNumber; ++i)
      xcb_screen_next(&it);
   screen = it.data;
   window = xcb_generate_id(connection);
   const uint32_t values[] = {0x202020, 1};
   xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<int16_t>(x),
                     static_cast<int16_t>(y), static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                     XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                     XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
   xcb_map_window(connection, window);
   std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

HostWindow::~HostWindow() {
   destroy();
   xcb_disconnect(connection);
}

void HostWindow::destroy() {
   if (window == XCB_WINDOW_NONE)
      return;
   xcb_destroy_window(connection, window);
   std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
   window = XCB_WINDOW_NONE;
}

Image HostWindow::captureRoot(const CRect& rect) const {
   Image image;
   image.width = static_cast<int>(rect.getWidth());
   image.height = static_cast<int>(rect.getHeight());
   auto* reply = xcb_get_image_reply(
       connection,
       xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(rect.left),
                     static_cast<int16_t>(rect.top), static_cast<uint16_t>(image.width),
                     static_cast<uint16_t>(image.height), ~0u),
       nullptr);
   if (!reply)
      return image;
   const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply));
   image.pixels.assign(data, data + static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
   std::free(reply);
   return image;
}

Image HostWindow::capture() const {
   return capture(CRect(0, 0, widthPx, heightPx));
}

Image HostWindow::capture(const CRect& rect) const {
   CRect onScreen(rect);
   return captureRoot(onScreen.offset(left, top));
}

xcb_window_t HostWindow::firstChild() const {
   auto* reply = xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
   if (!reply)
      return XCB_WINDOW_NONE;
   const xcb_window_t child = xcb_query_tree_children_length(reply) > 0
                                  ? xcb_query_tree_children(reply)[0]
                                  : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
   std::free(reply);
   return child;
}

std::vector<uint32_t> HostWindow::property(xcb_window_t w, const char* name) const {
   auto* atom = xcb_intern_atom_reply(
       connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
   if (!atom)
      return {};
   auto* reply = xcb_get_property_reply(
       connection, xcb_get_property(connection, 0, w, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 16), nullptr);
   std::free(atom);
   std::vector<uint32_t> values;
   if (reply && reply->format == 32) {
      const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
      values.assign(data, data + xcb_get_property_value_length(reply) / 4);
   }
   std::free(reply);
   return values;
}

bool HostWindow::isViewable(xcb_window_t w) const {
   auto* reply =
       xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, w), nullptr);
   const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
   std::free(reply);
   return viewable;
}

bool HostWindow::windowExists(xcb_window_t w) const {
   auto* reply =
       xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, w), nullptr);
   std::free(reply);
   return reply != nullptr;
}

std::vector<xcb_window_t> HostWindow::mappedPopups() const {
   std::vector<xcb_window_t> popups;
   auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr);
   if (!tree)
      return popups;
   const xcb_window_t* children = xcb_query_tree_children(tree);
   for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
      auto* attributes = xcb_get_window_attributes_reply(
          connection, xcb_get_window_attributes(connection, children[i]), nullptr);
      if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
          children[i] != window && attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT)
         popups.push_back(children[i]);
      std::free(attributes);
   }
   std::free(tree);
   return popups;
}

CRect HostWindow::geometry(xcb_window_t w) const {
   auto* g = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, w), nullptr);
   if (!g)
      return {};
   auto* t = xcb_translate_coordinates_reply(
       connection, xcb_translate_coordinates(connection, w, screen->root, 0, 0), nullptr);
   CRect r(0, 0, g->width, g->height);
   if (t)
      r.offset(t->dst_x, t->dst_y);
   std::free(g);
   std::free(t);
   return r;
}

void xdotool(const std::vector<std::string>& arguments) {
   std::vector<std::string> all{"xdotool"};
   all.insert(all.end(), arguments.begin(), arguments.end());
   std::vector<char*> argv;
   for (auto& a : all)
      argv.push_back(a.data());
   argv.push_back(nullptr);
   pid_t pid = 0;
   if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("xdotool missing");
   int status = 0;
   runLoop().pumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(20));
   pumpFor(120);
}

void clickAt(xcb_window_t window, int x, int y, int button) {
   xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y)});
   xdotool({"click", std::to_string(button)});
}

void keepScreenshot(const Image& image, const std::string& name, const char* folderVariable) {
   if (const char* folder = std::getenv(folderVariable); folder && *folder)
      image.savePNG(std::string(folder) + "/" + name + ".png");
}

} // namespace X11Test
