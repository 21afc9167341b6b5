#pragma once
#include "scorchwire-editor-interface.h"
#include "scorchwire-messages.h"
#include "scorchwire-wrapper.h"
#include "scorchwireeditor-presets.h"

#include "vstgui/vstgui.h"

class Knob;
class Oscilloscope;
class TouchDisplay;
class Vumeter;

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The plug-in's editor: a toolkit frame embedded in the host's window, laid out at a base size of
// 800 x 494 and zoomed uniformly to the window the host grants. Built and torn down by the
// instance's GUI callbacks (scorchwire-gui.cpp); talks to the instance only through its queues and
// the PluginWrapper. Main thread only.
//
// Files: scorchwireeditor.cpp (window, zoom, idle tick, gestures, teardown),
// scorchwireeditor-mainview.cpp (the views), scorchwireeditor-settings.cpp (the theme colour, its
// settings file and the settings page) and scorchwireeditor-presetmenu.cpp (the preset bar).
class ScorchwireEditor : public VSTGUI::VSTGUIEditorInterface,
                         public VSTGUI::IControlListener,
                         public VSTGUI::IMouseObserver,
                         public VSTGUI::IDropTarget,
                         public VSTGUI::ITextEditListener,
                         public VSTGUI::CBaseObject,
                         public EditorInterface {
public:
   static constexpr int32_t kBaseWidth = 800;
   static constexpr int32_t kBaseHeight = 494;
   static constexpr uint32_t kIdleTimerInterval = 33;
   static constexpr int32_t kParamCount = 17;
   // Tags of the preset folder's menu and of the load/save pop-up.
   static constexpr int32_t kPresetMenuTag = 16384;
   static constexpr int32_t kLoadSaveMenuTag = 16385;
   static constexpr VSTGUI::CColor kDefaultColor{190, 150, 30, 255};

   explicit ScorchwireEditor(EditorLink link);
   ~ScorchwireEditor() override;

   // ---- window (scorchwireeditor.cpp) ----
   void setWrapper(std::unique_ptr<PluginWrapper> newWrapper);
   // Opens the frame inside the host's X11 window and builds the main view; false when the window
   // cannot be created.
   bool open(void* parentWindow);
   // The host's new window size; the content follows once the main view exists.
   void setSize(uint32_t width, uint32_t height);
   // Derives the zoom from the frame's width.
   void resize();
   // Keeps a scale above 0.
   void setUIScale(double scale);
   double getUIScale() const { return uiScale; }
   // The base size at the current scale, in whole pixels.
   uint32_t scaledWidth() const;
   uint32_t scaledHeight() const;
   // The idle tick: values from the instance into the controls, then the meters' turn.
   void idle();
   void haltIdleTimer();

   // ---- main view (scorchwireeditor-mainview.cpp) ----
   void setupUI();
   // Shows the caption of parameter 6 and the band knobs that go with the distortion type value.
   void switchDistoParam(double value);
   // The group of the four band knobs, added to mainContainer hidden.
   void createQuadrafuzzView();

   // ---- settings (scorchwireeditor-settings.cpp) ----
   // Takes the theme colour from the settings file, when there is one with a readable colour.
   void readSettings();
   // Stores the theme colour in the settings file, keeping everything else in it.
   void writeSettings();
   // The theme colour for the meters, the scope, the knobs, the page's tab highlight and chooser.
   void setCurrentColor(const VSTGUI::CColor& color);
   void resetCurrentColor();
   const VSTGUI::CColor& getCurrentColor() const { return currentColor; }
   // The settings page: created hidden over the main view, shown by the three-bar button.
   void createSettingsView();
   void showSettings();
   void hideSettings();
   // Opens the online manual in the desktop's browser, when the desktop has a way to.
   void openHelpUrl();
   PluginWrapper* pluginWrapper() const { return wrapper.get(); }

   // ---- presets ----
   // Asks the instance for the preset index it kept; an index outside the preset list gives -1.
   void getCurrentPresetIndex();
   // Hands the preset index to the instance, which keeps it for the next editor.
   void saveCurrentPresetIndex();

   // ---- preset menu and browsing (scorchwireeditor-presetmenu.cpp) ----
   // Scans the preset folder into presetPaths (at construction); the index starts at -1.
   void initCurrentPresetList();
   // Appends the preset files of folder, sorted case-insensitively, sub-folders in place.
   void recurseFirstTime(const std::string& folder);
   // The invisible menu over the preset bar's down arrow, mirroring the preset folder.
   void createPresetMenu(const VSTGUI::CRect& rect);
   void populatePatternMenu(const std::string& folder, VSTGUI::COptionMenu* menu);
   // A preset menu entry was chosen: loads it and ticks it.
   void setPatternFromMenu();
   // The arrows: the next / previous preset of presetPaths, wrapping around at either end.
   void nextPattern();
   void previousPattern();
   // Ticks the entry of path, and only that one; no tick when no entry has that path.
   void checkItemByPath(VSTGUI::COptionMenu* menu, const std::string& path);
   // The file dialogs of the load/save pop-up; their answer arrives through notify.
   void showLoadPreset();
   void showSaveasPreset();
   // A text field over the preset name, taking all input until it loses focus.
   void renamePreset();
   // Asks the instance for its preset name (while the main view is built).
   void getPresetName();
   const std::vector<std::string>& getPresetPaths() const { return presetPaths; }

   // ---- VSTGUIEditorInterface: gestures of tagged controls ----
   void beginEdit(int32_t index) override;
   void endEdit(int32_t index) override;

   // ---- IControlListener ----
   void valueChanged(VSTGUI::CControl* control) override;
   void controlBeginEdit(VSTGUI::CControl* control) override;
   void controlEndEdit(VSTGUI::CControl* control) override;

   // ---- IMouseObserver ----
   void onMouseEntered(VSTGUI::CView* view, VSTGUI::CFrame* frame) override;
   void onMouseExited(VSTGUI::CView* view, VSTGUI::CFrame* frame) override;
   VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CFrame* frame, const VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
   // Swallows clicks before the view exists; double-click on the preset name renames it; a right-click
   // over the previous-preset arrow opens the load/save pop-up.
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CFrame* frame, const VSTGUI::CPoint& where,
                                         const VSTGUI::CButtonState& buttons) override;

   // ---- IDropTarget: drags are accepted, drops ignored ----
   VSTGUI::DragOperation onDragEnter(VSTGUI::DragEventData data) override;
   VSTGUI::DragOperation onDragMove(VSTGUI::DragEventData data) override;
   void onDragLeave(VSTGUI::DragEventData data) override;
   bool onDrop(VSTGUI::DragEventData data) override;

   // ---- ITextEditListener ----
   void onTextEditPlatformControlTookFocus(VSTGUI::CTextEdit* textEdit) override;
   void onTextEditPlatformControlLostFocus(VSTGUI::CTextEdit* textEdit) override;

   // ---- CBaseObject: the file dialogs' answers ----
   VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;

   // ---- EditorInterface (what the instance calls) ----
   void setParameter(int32_t index, double value) override;
   void updatePresetName(const std::string& name) override;
   void copyComponentChunk(const void* data, int32_t size) override;
   int32_t currentPresetIndex() const override { return presetIndex; }
   void setCurrentPresetIndex(int32_t index) override { presetIndex = index; }
   void processOscilloscope(char* data, int count, int flag) override;
   void processMasterVumeter(float* peaks) override;
   void close() override;

   // The control that shows parameter i, for i = 0 to 16 (filled by the main view).
   std::array<VSTGUI::CControl*, kParamCount> controlsByParam{};
   // The container of every view of the main view; child of the frame.
   VSTGUI::CViewContainer* mainContainer = nullptr;
   // Views of the main view the editor talks to after the build (owned by mainContainer).
   Oscilloscope* oscilloscope = nullptr;
   Vumeter* meterLeft = nullptr;
   Vumeter* meterRight = nullptr;
   TouchDisplay* presetNameDisplay = nullptr;
   // The caption under the knob of parameter 6; its text follows the distortion type.
   VSTGUI::CTextLabel* mixLabel = nullptr;
   VSTGUI::CViewContainer* quadrafuzzPanel = nullptr;
   // The settings page over the main view; created hidden with the main view.
   VSTGUI::CViewContainer* settingsView = nullptr;
   // The preset folder's menu (tag 16384) and the load/save pop-up (tag 16385).
   VSTGUI::COptionMenu* presetMenu = nullptr;
   VSTGUI::COptionMenu* loadSaveMenu = nullptr;
   // The field of a rename in progress, owned by the frame's modal session; null otherwise.
   VSTGUI::CTextEdit* renameEdit = nullptr;

private:
   EditorLink link;
   std::unique_ptr<PluginWrapper> wrapper;
   PresetFiles presetFiles;

   // The scale the host gave last.
   double uiScale = 1.0;
   // True once the main view exists.
   bool uiReady = false;
   // The next zoom multiplies the frame's transform instead of going through setZoom.
   bool firstResize = true;
   VSTGUI::CVSTGUITimer* idleTimer = nullptr;

   // Full paths of the preset files, in scan order.
   std::vector<std::string> presetPaths;
   // Position in presetPaths of the preset last chosen in the editor, -1 for none. (Named apart from
   // EditorInterface::currentPresetIndex, which reads it.)
   int32_t presetIndex = -1;
   // The name shown in the preset display.
   std::string presetName;
   // The dialog last opened for loading / saving.
   VSTGUI::SharedPointer<VSTGUI::CNewFileSelector> loadSelector;
   VSTGUI::SharedPointer<VSTGUI::CNewFileSelector> saveSelector;
   VSTGUI::ModalViewSessionID renameModalId = 0;
   // The theme colour: knob arcs and pointers, meters, scope, the settings page's tab highlight.
   VSTGUI::CColor currentColor{kDefaultColor};

   // A knob of the main view bound to its parameter, added to parent.
   Knob* addKnob(VSTGUI::CViewContainer* parent, const VSTGUI::CRect& rect, int32_t tag);
   // Enters a control under its tag and shows the instance's current value.
   void bindControl(VSTGUI::CControl* control);
};
