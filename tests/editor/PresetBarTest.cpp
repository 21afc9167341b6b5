// The preset bar in a real X server with real input: a preset folder tree in a temporary home, the
// menu that mirrors it, the arrows, the tick, the rename field, the right-click pop-up and the file
// dialogs (their program replaced by a script that answers a path). The instance is linked into this
// process so that the test can look into the editor; the host sees what it would see from the bundle.
#include "EditorTestSupport.h"

#include "ScorchwireFX.h"
#include "controls/TouchDisplay.h"
#include "scorchwire.h"
#include "scorchwireeditor-presetmenu.h"
#include "scorchwireeditor-presetwriter.h"
#include "scorchwireeditor.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace editortest;
using namespace VSTGUI;
namespace fs = std::filesystem;

namespace {

constexpr int32_t kDrive = 5;
constexpr uint32_t kPopupBackground = 0x28282c; // the toolkit's menu colour (40, 40, 44)

// Points of the preset bar, in the window at scale 1.
constexpr int kPreviousX = 306, kNextX = 318, kMenuArrowX = 490, kBarY = 56, kNameX = 400;

// The screen's pixels over (0, 0, width, height): the editor's window, which sits at the origin, and
// the pop-up windows over it.
Image captureScreen(uint32_t width, uint32_t height) {
   Image image;
   int screenNumber = 0;
   xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
   auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
   for (int i = 0; i < screenNumber; ++i)
      xcb_screen_next(&it);
   auto* reply =
       xcb_get_image_reply(connection,
                           xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, it.data->root, 0, 0,
                                         static_cast<uint16_t>(width), static_cast<uint16_t>(height), ~0u),
                           nullptr);
   if (reply && xcb_get_image_data_length(reply) >= static_cast<int>(width * height * 4)) {
      const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply));
      image.width = width;
      image.height = height;
      for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
         image.pixels.push_back(data[i] & 0xffffffu);
   }
   std::free(reply);
   xcb_disconnect(connection);
   return image;
}

void savePng(const Image& image, const std::string& path) {
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(image.width),
                                                         static_cast<int>(image.height));
   cairo_surface_flush(surface);
   const int stride = cairo_image_surface_get_stride(surface);
   for (uint32_t y = 0; y < image.height; ++y)
      std::memcpy(cairo_image_surface_get_data(surface) +
                      static_cast<size_t>(y) * static_cast<size_t>(stride),
                  &image.pixels[static_cast<size_t>(y) * image.width], image.width * 4);
   cairo_surface_mark_dirty(surface);
   cairo_surface_write_to_png(surface, path.c_str());
   cairo_surface_destroy(surface);
}

// All menus of the preset menu's tree, depth-first, the root first.
void allMenus(COptionMenu* menu, std::vector<COptionMenu*>& out) {
   out.push_back(menu);
   for (int32_t i = 0; i < menu->getNbEntries(); ++i)
      if (COptionMenu* submenu = menu->getSubMenu(i))
         allMenus(submenu, out);
}

// The menu's tree as text: "title" for a preset (with its path after "="), "title[...]" for a sub-menu.
std::string describe(COptionMenu* menu, const fs::path& root) {
   std::string out;
   for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
      CMenuItem* entry = menu->getEntry(i);
      out += (out.empty() ? "" : " ") + entry->getTitle().getString();
      if (COptionMenu* submenu = entry->getSubmenu())
         out += "[" + describe(submenu, root) + "]";
      else if (auto* preset = dynamic_cast<MyMenuItem*>(entry))
         out += "=" + fs::relative(preset->path, root).string();
   }
   return out;
}

class PresetBar : public ::testing::Test {
protected:
   void SetUp() override {
      previousHome = std::getenv("HOME");
      home = fs::temp_directory_path() / ("scorchwire-presetbar-" + std::to_string(::getpid()));
      fs::remove_all(home);
      presets = home / ".tonequarry/Scorchwire/Presets";
      fs::create_directories(presets);
      ::setenv("HOME", home.c_str(), 1);
   }
   void TearDown() override {
      // Park the pointer outside, so that no hover carries over to the next test.
      std::system("xdotool mousemove 1500 1100");
      sessions.clear();
      ::setenv("HOME", previousHome.c_str(), 1);
      ::unsetenv("VSTGUI_LITE_FILE_DIALOG");
      fs::remove_all(home);
   }

   // A preset file whose state sets the drive to value; its stem becomes the preset's name.
   void writePreset(const std::string& relative, double drive) const {
      ScorchwireFX engine;
      engine.setParameter(kDrive, drive);
      void* block = nullptr;
      const int size = engine.getChunk(&block, true);
      const std::vector<uint8_t> chunk(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + size);
      std::free(block);
      writeFile(relative, vst3PresetBytes(chunk));
   }
   void writeFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
      const fs::path file = presets / relative;
      fs::create_directories(file.parent_path());
      std::ofstream(file, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
   }

   // One DAW with the instance linked in, its editor built as the GUI's create builds it.
   struct Session {
      Scorchwire* instance = nullptr;
      ScorchwireEditor* editor = nullptr;
      EditorHost daw{{}, [this](const clap_host_t* host) {
                        instance = new Scorchwire(host);
                        return instance->clapPlugin();
                     }};

      bool open() {
         return daw.create([this] {
            editor = createInProcessEditor(instance);
            getPlatformFactory().asLinuxFactory()->setResourcePath(SCORCHWIRE_BUNDLE_DIR
                                                                   "/Contents/Resources/");
            return true;
         }) && daw.attach();
      }
      void close() {
         daw.close();
         editor = nullptr;
      }
      // The drive as the host reads it.
      double drive() const { return daw.instance->paramValue(kDrive); }
      // The preset name the instance keeps, as the host saves it.
      std::string savedName() const {
         std::vector<uint8_t> state;
         daw.instance->saveState(state);
         return state.size() > 145 ? std::string(state.begin() + 145, state.end()) : "";
      }
   };
   Session& openSession() {
      sessions.push_back(std::make_unique<Session>());
      Session& s = *sessions.back();
      EXPECT_TRUE(s.open());
      pump({&s.daw}, 150);
      return s;
   }

   // Real input through xdotool, at window points (the window sits at the screen's origin).
   void input(Session& s, const std::string& arguments, int ms = 150) {
      const std::string command = "xdotool " + arguments;
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      pump({&s.daw}, ms);
   }
   void click(Session& s, int x, int y, int button = 1) {
      input(s,
            "mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " + std::to_string(button));
   }
   void doubleClick(Session& s, int x, int y) {
      input(s, "mousemove " + std::to_string(x) + " " + std::to_string(y) + " click --repeat 2 --delay 60 1");
   }

   // The dialog program: logs its arguments, answers with the text of the file "answer".
   fs::path installDialog() const {
      const fs::path script = home / "dialog";
      std::ofstream(script) << "#!/bin/sh\n"
                            << "printf '%s\\n' \"$@\" > '" << (home / "dialog-args").string() << "'\n"
                            << "cat '" << (home / "answer").string() << "'\n";
      fs::permissions(script, fs::perms::owner_all);
      ::setenv("VSTGUI_LITE_FILE_DIALOG", script.c_str(), 1);
      return script;
   }
   void answerDialog(const std::string& path) const { std::ofstream(home / "answer") << path << "\n"; }
   std::string dialogArguments() const {
      std::ifstream in(home / "dialog-args");
      return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
   }
   // Opens the right-click pop-up and chooses its entry (0 load, 1 save); waits for the dialog.
   void chooseFromLoadSavePopup(Session& s, int entry) {
      click(s, 305, 50, 3);
      ASSERT_TRUE(s.editor->loadSaveMenu->isPopupOpen());
      click(s, 340, 50 + 2 + 20 * entry + 10, 1);
      pump({&s.daw}, 400);
   }

   std::string previousHome;
   fs::path home, presets;
   std::vector<std::unique_ptr<Session>> sessions;
};

// The folder is listed case-insensitively, other files and dot-names skipped, sub-folders in place;
// the menu mirrors the list, a sub-folder as a sub-menu, and opens on the arrow.
TEST_F(PresetBar, ListAndMenuFollowTheFolderTreeInCaseInsensitiveOrder) {
   writePreset("b.vstpreset", 0.1);
   writeFile("A.fxp", {0});
   writeFile("c.txt", {0});
   writePreset("Bass/x.vstpreset", 0.2);
   writePreset(".hidden.vstpreset", 0.3);
   writePreset(".cache/y.vstpreset", 0.3);
   writePreset("Empty Folder/z.VSTPRESET", 0.3);
   Session& s = openSession();

   const std::vector<std::string> expected{(presets / "A.fxp").string(), (presets / "b.vstpreset").string(),
                                           (presets / "Bass/x.vstpreset").string()};
   EXPECT_EQ(s.editor->getPresetPaths(), expected);
   EXPECT_EQ(describe(s.editor->presetMenu, presets), "A=A.fxp b=b.vstpreset Bass[x=Bass/x.vstpreset]");
   EXPECT_EQ(s.editor->currentPresetIndex(), -1);

   // Before any choice every menu ticks its first entry.
   std::vector<COptionMenu*> menus;
   allMenus(s.editor->presetMenu, menus);
   for (COptionMenu* menu : menus) {
      EXPECT_TRUE(menu->getStyle() & kCheckStyle);
      EXPECT_EQ(menu->getCurrentIndex(), 0);
   }

   click(s, kMenuArrowX, kBarY);
   EXPECT_TRUE(s.editor->presetMenu->isPopupOpen());
   EXPECT_GT(captureScreen(800, 494).count(481, 70, 500, 130, kPopupBackground), 0u)
       << "the menu shows below the arrow";
   input(s, "key Escape");
   EXPECT_FALSE(s.editor->presetMenu->isPopupOpen());
}

// A "...Default" folder with a single preset stays out of the menu, but the arrows reach its preset;
// with two presets, or under another name, a folder is a sub-menu; an empty folder is not.
TEST_F(PresetBar, ASingleEntryDefaultFolderIsHiddenFromTheMenuButReachedByTheArrows) {
   writePreset("a.vstpreset", 0.1);
   writePreset("Factory Default/init.vstpreset", 0.2);
   writePreset("Other Default/p.vstpreset", 0.3);
   writePreset("Other Default/q.vstpreset", 0.4);
   writePreset("Solo/s.vstpreset", 0.5);
   fs::create_directories(presets / "Void");
   Session& s = openSession();

   EXPECT_EQ(describe(s.editor->presetMenu, presets),
             "a=a.vstpreset Other Default[p=Other Default/p.vstpreset q=Other Default/q.vstpreset] "
             "Solo[s=Solo/s.vstpreset]");
   EXPECT_EQ(s.editor->getPresetPaths().size(), 5u);

   click(s, kNextX, kBarY);
   click(s, kNextX, kBarY);
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.2f) << "the hidden folder's preset";
   EXPECT_EQ(s.editor->presetNameDisplay->getText(), "init");
   std::vector<COptionMenu*> menus;
   allMenus(s.editor->presetMenu, menus);
   for (COptionMenu* menu : menus)
      EXPECT_FALSE(menu->getStyle() & kCheckStyle) << "no visible entry to tick";
}

// A fresh editor of a fresh instance starts before the first preset: "next" loads the first, the
// arrows wrap at both ends, and "previous" on a fresh editor loads the last. The host hears of every
// load (a rescan of the values) and reads the preset's values.
TEST_F(PresetBar, ArrowsStepThroughThePresetsAndWrapAround) {
   writePreset("one.vstpreset", 0.1);
   writePreset("two.vstpreset", 0.2);
   writePreset("three.vstpreset", 0.3);
   // Sorted: one, three, two.
   const float first = 0.1f, second = 0.3f, third = 0.2f;

   Session& s = openSession();
   const int rescansBefore = s.daw.host.rescanCount(CLAP_PARAM_RESCAN_VALUES);
   const struct {
      int x;
      float drive;
      const char* name;
   } steps[] = {{kNextX, first, "one"}, {kNextX, second, "three"},  {kNextX, third, "two"},
                {kNextX, first, "one"}, {kPreviousX, third, "two"}, {kPreviousX, second, "three"}};
   int n = 0;
   for (const auto& step : steps) {
      SCOPED_TRACE(n);
      click(s, step.x, kBarY);
      EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), step.drive);
      EXPECT_EQ(s.editor->presetNameDisplay->getText(), step.name);
      EXPECT_EQ(s.daw.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), rescansBefore + ++n);
      EXPECT_EQ(s.editor->presetMenu->getCurrent()->getTitle(), step.name) << "the tick follows";
   }

   // The instance keeps the position for the next editor it opens.
   s.close();
   ASSERT_TRUE(s.open());
   pump({&s.daw}, 150);
   click(s, kNextX, kBarY);
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), third);

   s.close();
   Session& fresh = openSession();
   click(fresh, kPreviousX, kBarY);
   EXPECT_FLOAT_EQ(static_cast<float>(fresh.drive()), third) << "previous on a fresh editor loads the last";
}

// Choosing in a sub-menu after a choice at the top level leaves one tick, in the sub-menu; both
// choices load their preset into the instance.
TEST_F(PresetBar, AChoiceInASubMenuMovesTheOnlyTickThere) {
   writePreset("A.vstpreset", 0.1);
   writePreset("b.vstpreset", 0.2);
   writePreset("Bass/x.vstpreset", 0.7);
   Session& s = openSession();
   COptionMenu* bass = s.editor->presetMenu->getSubMenu(2);
   ASSERT_NE(bass, nullptr);
   const auto ticked = [&] {
      std::vector<COptionMenu*> menus, withTick;
      allMenus(s.editor->presetMenu, menus);
      for (COptionMenu* menu : menus)
         if (menu->getStyle() & kCheckStyle)
            withTick.push_back(menu);
      return withTick;
   };

   click(s, kMenuArrowX, kBarY);
   click(s, 520, 70 + 2 + 20 * 1 + 10); // "b"
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.2f);
   EXPECT_EQ(ticked(), std::vector<COptionMenu*>{s.editor->presetMenu});
   EXPECT_EQ(s.editor->presetMenu->getCurrentIndex(), 1);
   EXPECT_EQ(s.editor->currentPresetIndex(), 1);

   click(s, kMenuArrowX, kBarY);
   input(s, "key Down Down Down Right Return"); // "Bass", into its sub-menu, "x"
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.7f);
   EXPECT_EQ(ticked(), std::vector<COptionMenu*>{bass});
   EXPECT_EQ(bass->getCurrentIndex(), 0);
   EXPECT_EQ(s.editor->currentPresetIndex(), 2);
   EXPECT_EQ(s.editor->presetNameDisplay->getText(), "x");
}

// A double-click on the name opens a field over it; what the field holds when it loses focus goes
// to the instance without forbidden characters and cut to 24 bytes, and only when it differs from
// the current name.
TEST_F(PresetBar, RenameSanitisesCutsAndSendsOnlyAChange) {
   Session& s = openSession();
   const struct {
      const char* keys;
      std::string saved;
   } cases[] = {
       {"type --delay 20 'a/b:c'", "a b c"},
       {"type --delay 20 'abcdefghijklmnopqrstuvwxyz0123'", "abcdefghijklmnopqrstuvwx"},
       {"type --delay 20 'Crunchy'", "Crunchy"},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.keys);
      doubleClick(s, kNameX, kBarY);
      ASSERT_NE(s.editor->renameEdit, nullptr);
      input(s, c.keys);
      input(s, "key Return");
      EXPECT_EQ(s.editor->renameEdit, nullptr) << "the field is gone";
      EXPECT_EQ(s.savedName(), c.saved);
      EXPECT_EQ(s.editor->presetNameDisplay->getText(), c.saved);
   }

   // The host restores a state named otherwise; the editor still shows "Crunchy". Emptying the field,
   // or leaving it with Escape, sends nothing: the instance keeps the restored name.
   std::vector<uint8_t> state;
   ASSERT_TRUE(s.daw.instance->saveState(state));
   state.resize(144);
   state.push_back(5);
   for (char ch : std::string("Other"))
      state.push_back(static_cast<uint8_t>(ch));
   ASSERT_TRUE(s.daw.instance->loadState(state));
   for (const auto& keys : {std::pair{"key BackSpace", "key Return"}, {"type 'changed'", "key Escape"}}) {
      SCOPED_TRACE(keys.first);
      doubleClick(s, kNameX, kBarY);
      ASSERT_NE(s.editor->renameEdit, nullptr);
      input(s, keys.first);
      input(s, keys.second);
      EXPECT_EQ(s.editor->renameEdit, nullptr);
      EXPECT_EQ(s.savedName(), "Other");
      EXPECT_EQ(s.editor->presetNameDisplay->getText(), "Crunchy");
   }

   // A click elsewhere also ends the rename, and keeps what was typed.
   doubleClick(s, kNameX, kBarY);
   input(s, "type --delay 20 'Lead'");
   click(s, 600, 450);
   EXPECT_EQ(s.editor->renameEdit, nullptr);
   EXPECT_EQ(s.savedName(), "Lead");
}

// While the settings page covers the main view, a double-click on the name starts no rename; a page
// that is visible but fully transparent does not block it.
TEST_F(PresetBar, NoRenameWhileTheSettingsPageIsOpen) {
   Session& s = openSession();
   if (!s.editor->settingsView) {
      s.editor->settingsView = new CViewContainer(CRect(0, 0, 800, 494));
      s.editor->settingsView->setVisible(false);
      s.editor->getFrame()->addView(s.editor->settingsView);
   }
   CViewContainer* page = s.editor->settingsView;
   const float alpha = page->getAlphaValue() > 0.f ? page->getAlphaValue() : 1.f;
   const struct {
      bool visible;
      float alpha;
      bool renames;
   } cases[] = {{true, alpha, false}, {true, 0.f, true}, {false, alpha, true}};
   for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(c.visible) + " " + std::to_string(c.alpha));
      page->setVisible(c.visible);
      page->setAlphaValue(c.alpha);
      pump({&s.daw}, 50);
      doubleClick(s, kNameX, kBarY);
      EXPECT_EQ(s.editor->renameEdit != nullptr, c.renames);
      if (s.editor->renameEdit)
         input(s, "key Escape");
   }
}

// A right-click over the previous arrow opens the load/save pop-up at the point; elsewhere on the bar
// it does nothing of the kind.
TEST_F(PresetBar, RightClickOverThePreviousArrowOpensTheLoadSavePopupThere) {
   writePreset("one.vstpreset", 0.1);
   Session& s = openSession();
   click(s, 330, 50, 3);
   EXPECT_FALSE(s.editor->loadSaveMenu->isPopupOpen());
   EXPECT_EQ(captureScreen(800, 494).count(300, 50, 500, 100, kPopupBackground), 0u);

   click(s, 305, 50, 3);
   EXPECT_TRUE(s.editor->loadSaveMenu->isPopupOpen());
   EXPECT_EQ(s.editor->loadSaveMenu->getViewSize().getTopLeft(), CPoint(305, 50));
   const Image image = captureScreen(800, 494);
   EXPECT_EQ(image.at(305 + 4, 50 + 4), kPopupBackground);
   EXPECT_NE(image.at(303, 48), kPopupBackground);
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.f) << "the arrow under the point did not act";
   input(s, "key Escape");
   EXPECT_FALSE(s.editor->loadSaveMenu->isPopupOpen());
}

// "Save preset as" proposes the preset's name, or "Default" without one, in the preset folder; the
// file it writes loads back through "Load preset" with the same values. Neither changes the list.
TEST_F(PresetBar, SavedPresetLoadsBackTheSameValues) {
   installDialog();
   Session& s = openSession();

   s.instance->processMessage(MessageType::BinaryMessage, "changepresetname", 0.f, 0, "");
   ASSERT_EQ(s.editor->presetNameDisplay->getText(), "");
   answerDialog("");
   chooseFromLoadSavePopup(s, 1);
   EXPECT_NE(dialogArguments().find("--filename=" + presets.string() + "/Default.vstpreset\n"),
             std::string::npos)
       << dialogArguments();
   EXPECT_NE(dialogArguments().find("--title=Save preset as\n"), std::string::npos);

   host::InputEvents events;
   host::OutputEvents out;
   events.push(host::InputEvents::paramValue(kDrive, 0.625));
   events.push(host::InputEvents::paramValue(4, 0.375));
   s.daw.instance->flush(events, out);
   s.instance->processMessage(MessageType::BinaryMessage, "changepresetname", 0.f, 7, "Crunchy");
   const fs::path saved = home / "Crunchy Saved";
   answerDialog(saved.string());
   chooseFromLoadSavePopup(s, 1);
   EXPECT_NE(dialogArguments().find("/Crunchy.vstpreset\n"), std::string::npos) << dialogArguments();
   ASSERT_TRUE(fs::exists(saved.string() + ".vstpreset")) << "the preset ending is added";
   EXPECT_TRUE(s.editor->getPresetPaths().empty());

   events.clear();
   events.push(host::InputEvents::paramValue(kDrive, 0.0));
   events.push(host::InputEvents::paramValue(4, 0.0));
   s.daw.instance->flush(events, out);
   answerDialog(saved.string() + ".vstpreset");
   chooseFromLoadSavePopup(s, 0);
   EXPECT_NE(dialogArguments().find("--title=Load preset\n"), std::string::npos);
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.625f);
   EXPECT_FLOAT_EQ(static_cast<float>(s.daw.instance->paramValue(4)), 0.375f);
   EXPECT_EQ(s.editor->presetNameDisplay->getText(), "Crunchy Saved");
   EXPECT_EQ(s.editor->currentPresetIndex(), -1) << "a dialog load leaves the index alone";

   // A file of another kind is not loaded.
   events.clear();
   events.push(host::InputEvents::paramValue(kDrive, 0.25));
   s.daw.instance->flush(events, out);
   fs::copy_file(saved.string() + ".vstpreset", home / "renamed.fxp");
   answerDialog((home / "renamed.fxp").string());
   chooseFromLoadSavePopup(s, 0);
   EXPECT_FLOAT_EQ(static_cast<float>(s.drive()), 0.25f);
}

// The factory presets in the menu, with a preset chosen and its folder's sub-menu open. Saved as
// presetmenu.png when EDITOR_TEST_SCREENSHOTS names a folder.
TEST_F(PresetBar, ScreenshotOfTheOpenMenu) {
   fs::copy(FACTORY_PRESETS, presets, fs::copy_options::recursive);
   Session& s = openSession();
   click(s, kNextX, kBarY); // Bands/Four-Band Grit
   click(s, kNextX, kBarY); // Bands/Scooped Mids
   click(s, kMenuArrowX, kBarY);
   input(s, "key Down Right", 300);
   const Image image = captureScreen(800, 494);
   EXPECT_GT(image.count(481, 70, 800, 200, kPopupBackground), 2000u) << "menu and sub-menu open";
   if (const char* folder = std::getenv("EDITOR_TEST_SCREENSHOTS"); folder && *folder)
      savePng(image, std::string(folder) + "/presetmenu.png");
   input(s, "key Escape");
}

} // namespace
