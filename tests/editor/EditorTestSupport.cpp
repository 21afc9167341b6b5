#include "EditorTestSupport.h"

#include "CaptureOutput.h"

#include "linux-vstgui-adapter.h"
#include "scorchwire.h"
#include "scorchwireeditor.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace editortest {

std::string captureOutput(int fd, const std::function<void()>& fn) {
   const std::string text = testcommon::captureOutput(fd, fn);
   // Shown as well, so that a failing test's log tells what the plug-in said.
   std::fwrite(text.data(), 1, text.size(), fd == 1 ? stdout : stderr);
   return text;
}

namespace {

// "[dudo-rez-evir] file:line (function)" then " : message" or nothing.
bool parseLogLine(const std::string& line, std::string& function, std::string& message) {
   static const std::string prefix = "[dudo-rez-evir] ";
   if (line.rfind(prefix, 0) != 0)
      return false;
   const size_t open = line.find(" (", prefix.size());
   const size_t close = line.find(')', open);
   if (open == std::string::npos || close == std::string::npos)
      return false;
   function = line.substr(open + 2, close - open - 2);
   message = close + 1 < line.size() ? line.substr(close + 4) : "";
   return true;
}

} // namespace

std::vector<std::string> logMessages(const std::string& out, const std::string& function) {
   std::vector<std::string> messages;
   std::istringstream lines(out);
   std::string line, name, message;
   while (std::getline(lines, line))
      if (parseLogLine(line, name, message) && name == function)
         messages.push_back(message);
   return messages;
}

std::vector<std::string> logFunctions(const std::string& out) {
   std::vector<std::string> functions;
   std::istringstream lines(out);
   std::string line, name, message;
   while (std::getline(lines, line))
      if (parseLogLine(line, name, message))
         functions.push_back(name);
   return functions;
}

const host::PluginLibrary& scorchwire() {
   static const std::unique_ptr<host::PluginLibrary> library = [] {
      std::string error;
      auto loaded = host::PluginLibrary::load(SCORCHWIRE_CLAP_PATH, error);
      if (!loaded) {
         std::fprintf(stderr, "%s\n", error.c_str());
         std::abort();
      }
      return loaded;
   }();
   return *library;
}

size_t Image::count(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom, uint32_t rgb) const {
   size_t n = 0;
   for (uint32_t y = top; y < bottom && y < height; ++y)
      for (uint32_t x = left; x < right && x < width; ++x)
         n += at(x, y) == rgb;
   return n;
}

Image readPng(const std::string& path) {
   Image image;
   cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
   if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
      image.width = static_cast<uint32_t>(cairo_image_surface_get_width(surface));
      image.height = static_cast<uint32_t>(cairo_image_surface_get_height(surface));
      const int stride = cairo_image_surface_get_stride(surface);
      const unsigned char* data = cairo_image_surface_get_data(surface);
      image.pixels.resize(static_cast<size_t>(image.width) * image.height);
      for (uint32_t y = 0; y < image.height; ++y)
         for (uint32_t x = 0; x < image.width; ++x)
            image.pixels[static_cast<size_t>(y) * image.width + x] =
                reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x] & 0xffffffu;
   }
   cairo_surface_destroy(surface);
   return image;
}

EditorHost::EditorHost(host::HostOptions options, const host::PluginLibrary& library) : host(options) {
   instance = std::make_unique<host::PluginInstance>(library, host, "com.tonequarry.scorchwire");
   if (!instance->ok())
      ADD_FAILURE() << instance->error();
   gui = instance->gui();
}

EditorHost::EditorHost(host::HostOptions options,
                       const std::function<const clap_plugin_t*(const clap_host_t*)>& create)
    : host(options) {
   instance = std::make_unique<host::PluginInstance>(host, create(host.clapHost()));
   if (!instance->ok())
      ADD_FAILURE() << instance->error();
   gui = instance->gui();
}

EditorHost::~EditorHost() {
   close();
   destroyInstance();
}

bool EditorHost::isApiSupported(const char* api, bool floating) const {
   return gui->is_api_supported(plugin(), api, floating);
}

bool EditorHost::create(const std::function<bool()>& createEditor) {
   created = createEditor ? createEditor() : gui->create(plugin(), CLAP_WINDOW_API_X11, false);
   return created;
}

bool EditorHost::attach(double scale, int16_t x) {
   gui->set_scale(plugin(), scale);
   const auto [width, height] = size();
   window = std::make_unique<host::ParentWindow>(width, height, "editor test", x);
   if (!window->ok())
      return false;
   clap_window_t parent{};
   parent.api = CLAP_WINDOW_API_X11;
   parent.x11 = window->id();
   if (!gui->set_parent(plugin(), &parent))
      return false;
   gui->show(plugin());
   return true;
}

std::pair<uint32_t, uint32_t> EditorHost::resize(uint32_t width, uint32_t height) {
   auto adjusted = adjust(width, height);
   if (gui->set_size(plugin(), adjusted.first, adjusted.second) && window)
      window->resize(adjusted.first, adjusted.second);
   return adjusted;
}

void EditorHost::close() {
   if (!created)
      return;
   gui->hide(plugin());
   gui->destroy(plugin());
   created = false;
}

void EditorHost::destroyInstance() {
   if (instance)
      instance->destroy();
   created = false;
}

std::pair<uint32_t, uint32_t> EditorHost::size() const {
   uint32_t width = 0, height = 0;
   gui->get_size(plugin(), &width, &height);
   return {width, height};
}

std::pair<uint32_t, uint32_t> EditorHost::adjust(uint32_t width, uint32_t height) const {
   gui->adjust_size(plugin(), &width, &height);
   return {width, height};
}

Image EditorHost::capture() const {
   Image image;
   if (window && window->capture(image.pixels)) {
      image.width = window->width();
      image.height = window->height();
   }
   return image;
}

void pump(const std::vector<EditorHost*>& hosts, int ms) {
   std::vector<host::Host*> loops;
   for (EditorHost* h : hosts)
      loops.push_back(&h->host);
   const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
   while (std::chrono::steady_clock::now() < end) {
      host::Host::runLoops(loops, 5);
      for (EditorHost* h : hosts)
         if (h->window)
            h->window->pump();
   }
}

size_t openDescriptorCount() {
   size_t n = 0;
   for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
      ++n;
   return n;
}

void writeSine(const std::string& path, double peak, int seconds) {
   const uint32_t rate = 44100, frames = rate * static_cast<uint32_t>(seconds), bytes = frames * 4;
   std::ofstream out(path, std::ios::binary);
   const auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
   const auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
   out.write("RIFF", 4);
   u32(36 + bytes);
   out.write("WAVEfmt ", 8);
   u32(16), u16(1), u16(2), u32(rate), u32(rate * 4), u16(4), u16(16);
   out.write("data", 4);
   u32(bytes);
   for (uint32_t i = 0; i < frames; ++i) {
      const auto s = static_cast<int16_t>(std::lround(32767. * peak * std::sin(2. * M_PI * 441. * i / rate)));
      u16(static_cast<uint16_t>(s)), u16(static_cast<uint16_t>(s));
   }
}

ScorchwireEditor* createInProcessEditor(Scorchwire* instance) {
   addLinuxVSTGUIPlugin(instance);
   auto created = std::make_unique<ScorchwireEditor>(instance->editorLink());
   ScorchwireEditor* editor = created.get();
   instance->attachEditor(std::move(created));
   editor->setWrapper(std::make_unique<PluginWrapper>(instance));
   return editor;
}

} // namespace editortest
