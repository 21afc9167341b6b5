// The preset bar: the scan of the preset folder, the menu that mirrors it, the arrows, the check mark,
// the load and save dialogs, the frame's mouse hook and the rename of the current preset.
#include "scorchwireeditor-presetmenu.h"

#include "controls/TouchDisplay.h"
#include "scorchwire-presets.h"
#include "scorchwire-userfolder.h"
#include "scorchwireeditor.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <optional>

using namespace VSTGUI;

namespace {

constexpr const char* kVst3Extension = "vstpreset";
// A rename keeps at most this many bytes of the typed name.
constexpr size_t kMaxPresetNameBytes = 24;
// Where a right-click opens the load/save pop-up: the left end of the preset bar.
constexpr double kPopupLeft = 300, kPopupRight = 320, kPopupTop = 38, kPopupBottom = 73;

struct FolderEntry {
   std::string name;
   bool isFolder;
};

bool endsWith(const std::string& text, const char* ending) {
   const size_t n = std::strlen(ending);
   return text.size() >= n && text.compare(text.size() - n, n, ending) == 0;
}

bool isPresetFile(const std::string& name) {
   return endsWith(name, ".vstpreset") || endsWith(name, ".fxp");
}

int compareNames(const dirent** a, const dirent** b) {
   return strcasecmp((*a)->d_name, (*b)->d_name);
}

// The entries of folder sorted case-insensitively, without names that begin with "."; nothing when the
// folder cannot be listed. A file system that does not report entry types is asked with stat.
std::vector<FolderEntry> listFolder(const std::string& folder) {
   std::vector<FolderEntry> entries;
   dirent** names = nullptr;
   const int count = scandir(folder.c_str(), &names, nullptr, compareNames);
   for (int i = 0; i < count; ++i) {
      const dirent* entry = names[i];
      if (entry->d_name[0] != '.') {
         bool isFolder = entry->d_type == DT_DIR;
         if (entry->d_type == DT_UNKNOWN) {
            struct stat status;
            const std::string path = folder + "/" + entry->d_name;
            isFolder = ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
         }
         entries.push_back({entry->d_name, isFolder});
      }
      std::free(names[i]);
   }
   std::free(names);
   return entries;
}

void clearCheckStyle(COptionMenu* menu) {
   menu->setStyle(menu->getStyle() & ~kCheckStyle);
   for (int32_t i = 0; i < menu->getNbEntries(); ++i)
      if (COptionMenu* submenu = menu->getSubMenu(i))
         clearCheckStyle(submenu);
}

// Depth-first, in menu order: the first preset entry with path gets the tick.
bool checkFirstItem(COptionMenu* menu, const std::string& path) {
   for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
      CMenuItem* entry = menu->getEntry(i);
      if (COptionMenu* submenu = entry->getSubmenu()) {
         if (checkFirstItem(submenu, path))
            return true;
      } else if (auto* preset = dynamic_cast<MyMenuItem*>(entry); preset && preset->path == path) {
         menu->setStyle(menu->getStyle() | kCheckStyle);
         menu->setCurrent(i);
         return true;
      }
   }
   return false;
}

// A cut inside a multi-byte character would leave a name the display cannot show: the cut moves back to
// the character's start.
void cutToBytes(std::string& text, size_t count) {
   if (text.size() <= count)
      return;
   while (count > 0 && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80)
      --count;
   text.resize(count);
}

// The dialogs open in the preset folder when there is one.
void startInPresetFolder(CNewFileSelector* selector) {
   const std::optional<std::string> folder = presetFolder();
   struct stat status;
   if (folder && ::stat(folder->c_str(), &status) == 0 && S_ISDIR(status.st_mode))
      selector->setInitialDirectory(*folder);
}

} // namespace

// ---- the preset list ----

void ScorchwireEditor::initCurrentPresetList() {
   presetIndex = -1;
   presetPaths.clear();
   if (const std::optional<std::string> folder = presetFolder())
      recurseFirstTime(*folder);
}

void ScorchwireEditor::recurseFirstTime(const std::string& folder) {
   for (const FolderEntry& entry : listFolder(folder)) {
      if (entry.isFolder)
         recurseFirstTime(folder + "/" + entry.name);
      else if (isPresetFile(entry.name))
         presetPaths.push_back(folder + "/" + entry.name);
   }
}

// ---- the menu ----

// Invisible over the down arrow: it draws nothing and opens on the arrow's clicks.
void ScorchwireEditor::createPresetMenu(const CRect& rect) {
   presetMenu =
       new COptionMenu(rect, this, kPresetMenuTag, nullptr, nullptr, kCheckStyle | kNoFrame | kNoTextStyle);
   presetMenu->setTransparency(true);
   presetMenu->setFontColor(CColor(255, 255, 255, 0));
   if (const std::optional<std::string> folder = presetFolder())
      populatePatternMenu(*folder, presetMenu);
   mainContainer->addView(presetMenu);
}

// A folder becomes a sub-menu, unless it is empty or is a "...Default" folder with a single entry (its
// preset stays reachable with the arrows).
void ScorchwireEditor::populatePatternMenu(const std::string& folder, COptionMenu* menu) {
   for (const FolderEntry& entry : listFolder(folder)) {
      const std::string path = folder + "/" + entry.name;
      if (entry.isFolder) {
         auto submenu = makeOwned<COptionMenu>();
         submenu->setStyle(kCheckStyle);
         populatePatternMenu(path, submenu);
         const int32_t count = submenu->getNbEntries();
         if (count > 1 || (count == 1 && !endsWith(path, "Default")))
            menu->addEntry(submenu, entry.name);
      } else if (isPresetFile(entry.name)) {
         menu->addEntry(new MyMenuItem(getBaseName(entry.name), path));
      }
   }
}

void ScorchwireEditor::setPatternFromMenu() {
   int32_t chosenIndex = -1;
   COptionMenu* menu = presetMenu->getLastItemMenu(chosenIndex);
   const auto* item = menu ? dynamic_cast<const MyMenuItem*>(menu->getCurrent()) : nullptr;
   if (!item)
      return;
   const std::string path = item->path;
   presetFiles.loadPreset(path);
   for (size_t i = 0; i < presetPaths.size(); ++i)
      if (presetPaths[i] == path) {
         presetIndex = static_cast<int32_t>(i);
         break;
      }
   checkItemByPath(presetMenu, path);
}

void ScorchwireEditor::nextPattern() {
   if (presetPaths.empty())
      return;
   const auto count = static_cast<int32_t>(presetPaths.size());
   int32_t n = presetIndex + 1;
   if (n < 0 || n >= count)
      n = 0;
   presetIndex = n;
   presetFiles.loadPreset(presetPaths[static_cast<size_t>(n)]);
   checkItemByPath(presetMenu, presetPaths[static_cast<size_t>(n)]);
}

void ScorchwireEditor::previousPattern() {
   if (presetPaths.empty())
      return;
   const auto count = static_cast<int32_t>(presetPaths.size());
   int32_t n = presetIndex - 1;
   if (n < 0 || n >= count)
      n = count - 1;
   presetIndex = n;
   presetFiles.loadPreset(presetPaths[static_cast<size_t>(n)]);
   checkItemByPath(presetMenu, presetPaths[static_cast<size_t>(n)]);
}

void ScorchwireEditor::checkItemByPath(COptionMenu* menu, const std::string& path) {
   if (!menu)
      return;
   clearCheckStyle(menu);
   checkFirstItem(menu, path);
}

// ---- the dialogs ----

void ScorchwireEditor::showLoadPreset() {
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectFile));
   if (!selector)
      return;
   loadSelector = selector;
   selector->setAllowMultiFileSelection(false);
   selector->setTitle("Load preset");
   selector->addFileExtension(CFileExtension("Scorchwire preset", kVst3Extension));
   startInPresetFolder(selector);
   selector->run(this);
}

void ScorchwireEditor::showSaveasPreset() {
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectSaveFile));
   if (!selector)
      return;
   saveSelector = selector;
   selector->setAllowMultiFileSelection(false);
   selector->setTitle("Save preset as");
   selector->addFileExtension(CFileExtension("Scorchwire preset file", kVst3Extension));
   selector->setDefaultSaveName((presetName.empty() ? std::string("Default") : presetName) + "." +
                                kVst3Extension);
   startInPresetFolder(selector);
   selector->run(this);
}

// A load takes only VST3 presets and leaves the index and the tick alone; a save gets the preset
// ending when the chosen name lacks it.
CMessageResult ScorchwireEditor::notify(CBaseObject* sender, IdStringPtr message) {
   if (!message || std::strcmp(message, CNewFileSelector::kSelectEndMessage) != 0)
      return kMessageUnknown;
   auto* selector = static_cast<CNewFileSelector*>(sender);
   if (selector == loadSelector.get() && selector->getNumSelectedFiles() == 1) {
      const std::string path = selector->getSelectedFile(0);
      const size_t dot = path.rfind('.');
      if (dot != std::string::npos && path.compare(dot + 1, std::string::npos, kVst3Extension) == 0)
         presetFiles.loadVST3Preset(path);
   } else if (selector == saveSelector.get() && selector->getNumSelectedFiles() == 1) {
      presetFiles.writeVST3Preset(withVst3PresetEnding(selector->getSelectedFile(0)));
      saveSelector = nullptr;
   }
   return kMessageNotified;
}

// ---- the mouse hook and the rename ----

CMouseEventResult ScorchwireEditor::onMouseDown(CFrame*, const CPoint& where, const CButtonState& buttons) {
   if (!uiReady)
      return kMouseEventHandled;
   // While a rename runs, its field's session decides: a click elsewhere ends it.
   if (renameEdit)
      return kMouseEventNotHandled;
   const bool settingsShown =
       settingsView && settingsView->isVisible() && settingsView->getAlphaValue() > 0.f;
   if (presetNameDisplay) {
      const CRect display = presetNameDisplay->getViewSize();
      const bool onDisplay = where.x >= display.left && where.x < display.right && where.y >= display.top &&
                             where.y < display.bottom;
      if (onDisplay && buttons.isDoubleClick() && !settingsShown) {
         renamePreset();
         return kMouseEventHandled;
      }
   }
   if (buttons.getButtonState() == kRButton && where.x >= kPopupLeft && where.x < kPopupRight &&
       where.y >= kPopupTop && where.y < kPopupBottom && loadSaveMenu) {
      CRect place = loadSaveMenu->getViewSize();
      place.moveTo(where);
      loadSaveMenu->setViewSize(place);
      loadSaveMenu->popup();
      return kMouseEventHandled;
   }
   return kMouseEventNotHandled;
}

void ScorchwireEditor::renamePreset() {
   const CRect display = presetNameDisplay->getViewSize();
   auto* edit =
       new CTextEdit(CRect(display.left, display.top + 2, display.right - 2, display.bottom), nullptr, 0);
   edit->setText(presetName);
   edit->registerTextEditListener(this);
   const std::optional<ModalViewSessionID> session = frame->beginModalViewSession(edit);
   if (!session) {
      edit->forget();
      return;
   }
   renameEdit = edit;
   renameModalId = *session;
}

// The typed name without forbidden characters, or the shown name for an empty one, cut to 24 bytes;
// the instance hears of it only when it differs from the current name.
void ScorchwireEditor::onTextEditPlatformControlLostFocus(CTextEdit* textEdit) {
   if (!textEdit || textEdit != renameEdit)
      return;
   std::string name = textEdit->getText().getString();
   removeForbiddenChar(name);
   if (name.empty() && presetNameDisplay)
      name = presetNameDisplay->getText();
   cutToBytes(name, kMaxPresetNameBytes);
   textEdit->unregisterTextEditListener(this);
   renameEdit = nullptr;
   frame->endModalViewSession(renameModalId);
   if (name != presetName && wrapper)
      wrapper->sendBinaryMessage("changepresetname", name.data(), static_cast<int64_t>(name.size()));
}

// ---- the preset name ----

void ScorchwireEditor::getPresetName() {
   if (wrapper)
      wrapper->sendIntMessage("getpresetname", 1);
   if (uiReady && presetNameDisplay)
      presetNameDisplay->setText(presetName);
}

void ScorchwireEditor::updatePresetName(const std::string& name) {
   if (name == presetName)
      return;
   presetName = name;
   if (uiReady && presetNameDisplay)
      presetNameDisplay->setText(name);
}
