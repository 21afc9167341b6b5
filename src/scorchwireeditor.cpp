#include "scorchwireeditor.h"

#include "scorchwire-log.h"

#include <cstdint>
#include <limits>

using namespace VSTGUI;

namespace {

const CColor kFrameBackground(48, 48, 128, 255);

// base x scale, truncated; sizes no window can have end at the largest 32-bit value.
uint32_t scaled(int32_t base, double scale) {
   const double pixels = base * scale;
   if (!(pixels < static_cast<double>(std::numeric_limits<uint32_t>::max())))
      return std::numeric_limits<uint32_t>::max();
   return static_cast<uint32_t>(pixels);
}

bool isParameterTag(int32_t tag) {
   return tag >= 0 && tag < ScorchwireEditor::kParamCount;
}

} // namespace

ScorchwireEditor::ScorchwireEditor(EditorLink link) : link(std::move(link)) {
   initCurrentPresetList();
   frame = new CFrame(CRect(0, 0, kBaseWidth, kBaseHeight), this);
   frame->setBackgroundColor(kFrameBackground);
   frame->setDropTarget(this);
   frame->remember();
}

// The frame is closed before the editor lets go of it, so that no view, pop-up or timer of the frame
// outlives the editor.
ScorchwireEditor::~ScorchwireEditor() {
   SCORCHWIRE_LOG();
   uiReady = false;
   if (idleTimer)
      haltIdleTimer();
   frame->close();
   frame->forget();
   frame = nullptr;
}

// ---- window ----

void ScorchwireEditor::setWrapper(std::unique_ptr<PluginWrapper> newWrapper) {
   wrapper = std::move(newWrapper);
   presetFiles.wrapper = wrapper.get();
}

bool ScorchwireEditor::open(void* parentWindow) {
   if (!frame->open(parentWindow))
      return false;
   setupUI();
   // The preset arrows continue from the preset last chosen in an earlier editor of this instance.
   getCurrentPresetIndex();
   // A scale the host gave before the window existed takes effect now, not only at the host's next
   // size query.
   resize();
   return true;
}

void ScorchwireEditor::setSize(uint32_t width, uint32_t height) {
   if (frame->setSize(width, height))
      resize();
   frame->invalid();
   frame->setDirty(false);
}

void ScorchwireEditor::resize() {
   if (!uiReady)
      return;
   const double zoom = frame->getWidth() / kBaseWidth;
   if (!firstResize) {
      frame->setZoom(zoom);
      return;
   }
   frame->setAutosizingEnabled(false);
   CGraphicsTransform transform = frame->getTransform();
   transform.scale(zoom, zoom);
   frame->setTransform(transform);
   frame->setAutosizingEnabled(true);
   firstResize = false;
}

void ScorchwireEditor::setUIScale(double scale) {
   if (scale > 0.0)
      uiScale = scale;
}

uint32_t ScorchwireEditor::scaledWidth() const {
   return scaled(kBaseWidth, uiScale);
}

uint32_t ScorchwireEditor::scaledHeight() const {
   return scaled(kBaseHeight, uiScale);
}

void ScorchwireEditor::idle() {
   link.drainToUI(*this);
   if (wrapper)
      wrapper->sendIntMessage("linuxtimer", 1);
}

void ScorchwireEditor::haltIdleTimer() {
   if (!idleTimer) {
      SCORCHWIRE_LOG("No Idle Timer present; haltIdleTimer doing nothing");
      return;
   }
   SCORCHWIRE_LOG("Stopping idle timer");
   idleTimer->stop();
   idleTimer->forget();
   idleTimer = nullptr;
}

// What outlives the editor is handed over before the instance deletes it; the host registrations
// of the toolkit are moved by the instance right after.
void ScorchwireEditor::close() {
   writeSettings();
   saveCurrentPresetIndex();
   frame->unregisterMouseObserver(this);
   haltIdleTimer();
}

// ---- presets ----

void ScorchwireEditor::getCurrentPresetIndex() {
   if (wrapper)
      wrapper->sendIntMessage("getcurrentpresetindex", 1);
   if (presetIndex < 0 || static_cast<size_t>(presetIndex) >= presetPaths.size())
      presetIndex = -1;
}

void ScorchwireEditor::saveCurrentPresetIndex() {
   if (wrapper)
      wrapper->sendIntMessage("savecurrentpresetindex", presetIndex);
}

void ScorchwireEditor::copyComponentChunk(const void* data, int32_t size) {
   presetFiles.copyComponentChunk(data, size);
}

// ---- gestures ----

void ScorchwireEditor::beginEdit(int32_t index) {
   if (isParameterTag(index))
      link.post(FromUI::GestureBegin, index, 0.0);
}

void ScorchwireEditor::endEdit(int32_t index) {
   if (isParameterTag(index))
      link.post(FromUI::GestureEnd, index, 0.0);
}

void ScorchwireEditor::controlBeginEdit(CControl* control) {
   if (wrapper)
      wrapper->sendIntMessage("beginedit", control->getTag());
}

void ScorchwireEditor::controlEndEdit(CControl* control) {
   if (wrapper)
      wrapper->sendIntMessage("endedit", control->getTag());
}

// ---- mouse, drags and text fields ----

void ScorchwireEditor::onMouseEntered(CView*, CFrame*) {}

void ScorchwireEditor::onMouseExited(CView*, CFrame*) {}

CMouseEventResult ScorchwireEditor::onMouseMoved(CFrame*, const CPoint&, const CButtonState&) {
   return kMouseEventNotHandled;
}

DragOperation ScorchwireEditor::onDragEnter(DragEventData) {
   return DragOperation::Copy;
}

DragOperation ScorchwireEditor::onDragMove(DragEventData) {
   return DragOperation::Copy;
}

void ScorchwireEditor::onDragLeave(DragEventData) {}

bool ScorchwireEditor::onDrop(DragEventData) {
   return false;
}

void ScorchwireEditor::onTextEditPlatformControlTookFocus(CTextEdit*) {}
