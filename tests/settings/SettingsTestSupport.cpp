#include "SettingsTestSupport.h"

#include <cairo.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace settingstest {

TempFolder::TempFolder(const std::string& name)
    : folder(fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
   fs::remove_all(folder);
   fs::create_directories(folder);
}

TempFolder::~TempFolder() {
   std::error_code ignored;
   fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
   fs::remove_all(folder, ignored);
}

ScopedHome::ScopedHome(const fs::path& home) {
   if (const char* old = std::getenv("HOME"))
      previous = old;
   ::setenv("HOME", home.c_str(), 1);
}

ScopedHome::~ScopedHome() {
   if (previous)
      ::setenv("HOME", previous->c_str(), 1);
   else
      ::unsetenv("HOME");
}

std::string readText(const fs::path& path) {
   std::ifstream in(path, std::ios::binary);
   std::stringstream text;
   text << in.rdbuf();
   return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
   fs::create_directories(path.parent_path());
   std::ofstream(path, std::ios::binary) << text;
}

bool writePng(const editortest::Image& image, const std::string& path) {
   if (image.width == 0)
      return false;
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(image.width),
                                                         static_cast<int>(image.height));
   const int stride = cairo_image_surface_get_stride(surface);
   unsigned char* data = cairo_image_surface_get_data(surface);
   for (uint32_t y = 0; y < image.height; ++y)
      for (uint32_t x = 0; x < image.width; ++x)
         reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride))[x] =
             image.at(x, y);
   cairo_surface_mark_dirty(surface);
   const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
   cairo_surface_destroy(surface);
   return written;
}

void keepScreenshot(const fs::path& png) {
   if (const char* keep = std::getenv("SETTINGS_TEST_SCREENSHOTS"))
      fs::copy_file(png, fs::path(keep) / png.filename(), fs::copy_options::overwrite_existing);
}

int distance(uint32_t a, uint32_t b) {
   int d = 0;
   for (int shift : {0, 8, 16})
      d = std::max(d,
                   std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)));
   return d;
}

ThemeShown themeShown(const editortest::Image& image, uint32_t rgb) {
   ThemeShown shown;
   // The drive knob (centre 400, 256, arc radius 71.5) at 0.75: its arc runs from 145° to 332.5°.
   for (const double angle : {160., 250., 325.}) {
      const double a = angle * M_PI / 180.;
      shown.arcPoints += image.at(static_cast<uint32_t>(400 + 71.5 * std::cos(a)),
                                  static_cast<uint32_t>(256 + 71.5 * std::sin(a))) == rgb;
   }
   shown.meterPoints = (image.at(44, 386) == rgb) + (image.at(44, 394) == rgb);
   for (uint32_t y = 415; y < 480; ++y)
      for (uint32_t x = 40; x < 760; ++x)
         shown.scopePixels += distance(image.at(x, y), rgb) <= 45;
   return shown;
}

} // namespace settingstest
