// What the settings tests share: a home folder of their own, files in and out of it, and where the
// main view shows the theme colour.
#pragma once
#include "EditorTestSupport.h"

#include <filesystem>
#include <optional>
#include <string>

namespace settingstest {

namespace fs = std::filesystem;

constexpr uint32_t kDefaultTheme = 0xbe961e; // (190, 150, 30)

// A fresh folder under the temporary directory, removed with the object.
class TempFolder {
public:
   explicit TempFolder(const std::string& name);
   ~TempFolder();
   const fs::path& path() const { return folder; }

private:
   fs::path folder;
};

// HOME set to a path for the object's life, the previous value restored afterwards.
class ScopedHome {
public:
   explicit ScopedHome(const fs::path& home);
   ~ScopedHome();

private:
   std::optional<std::string> previous;
};

inline fs::path settingsFile(const fs::path& home) {
   return home / ".tonequarry" / "Scorchwire" / "Scorchwire.conf";
}
std::string readText(const fs::path& path);
void writeText(const fs::path& path, const std::string& text);

// Writes the pixels as a PNG.
bool writePng(const editortest::Image& image, const std::string& path);
// Copies a picture into the folder SETTINGS_TEST_SCREENSHOTS names, when it is set.
void keepScreenshot(const fs::path& png);

// Largest channel difference of two 0xRRGGBB colours.
int distance(uint32_t a, uint32_t b);

// Where the main view shows the theme colour at 1x: points on the drive knob's arc (the knob at 0.75),
// the start of both meters (with sound playing), and the scope's trace, whose line the translucent
// fill below it tints (pixels near the colour).
struct ThemeShown {
   int arcPoints = 0;   // of 3
   int meterPoints = 0; // of 2
   size_t scopePixels = 0;
};
ThemeShown themeShown(const editortest::Image& image, uint32_t rgb);

} // namespace settingstest
