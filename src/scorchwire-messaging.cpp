#include "linux-vstgui-adapter.h"
#include "scorchwire-log.h"
#include "scorchwire.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kParamCount = ParamList::kNumParams;
constexpr uint32_t kDistortionTypeId = 4;
// The only parameter without a control in the editor.
constexpr int32_t kParamWithoutControl = 13;

void pushGesture(const clap_output_events_t* out, uint16_t type, clap_id id) noexcept {
   clap_event_param_gesture_t event{};
   event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
   event.param_id = id;
   out->try_push(out, &event.header);
}

void pushValue(const clap_output_events_t* out, clap_id id, double value) noexcept {
   clap_event_param_value_t event{};
   event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
   event.param_id = id;
   event.cookie = nullptr;
   event.note_id = 0;
   event.port_index = 0;
   event.channel = 0;
   event.key = 0;
   event.value = value;
   out->try_push(out, &event.header);
}

bool is(const char* command, const char* name) {
   return std::strcmp(command, name) == 0;
}

// A byte-block payload as text: its bytes up to the first zero byte.
std::string textOf(const void* data, int64_t size) {
   if (!data || size <= 0)
      return {};
   const auto* bytes = static_cast<const char*>(data);
   return std::string(bytes, std::find(bytes, bytes + size, '\0'));
}

// A state chunk the engine can apply whole: count and every value it announces are present.
bool isWellFormedStateChunk(const void* data, int64_t size) {
   if (!data || size < 8 || size > INT32_MAX)
      return false;
   int32_t count;
   std::memcpy(&count, static_cast<const uint8_t*>(data) + 4, sizeof(count));
   return count >= 0 && 8 + 8 * static_cast<int64_t>(count) <= size;
}

} // namespace

// ---- editor ----

void Scorchwire::attachEditor(std::unique_ptr<EditorInterface> newEditor) noexcept {
   detachEditor();
   editor.store(newEditor.release(), std::memory_order_relaxed);
}

void Scorchwire::detachEditor() noexcept {
   EditorInterface* closing = editor.load(std::memory_order_relaxed);
   if (!closing)
      return;
   // While it closes, the editor may still send messages (its preset index); once its timer has
   // stopped, the toolkit's host registrations leave this instance.
   closing->close();
   removeLinuxVSTGUIPlugin(this);
   writeDeferredLogLines();
   editor.store(nullptr, std::memory_order_relaxed);
   delete closing;
}

EditorLink Scorchwire::editorLink() noexcept {
   return EditorLink{toUIQueue, mainThreadEchoQueue, fromUIQueue, dataCopyForUI,
                     [this] { editorParamsFlush(); }};
}

// Runs on the thread that processes or flushes: no allocation, no lock, no I/O. The refresh's log
// line is left to the main thread.
void Scorchwire::handleEventsFromUIQueue(const clap_output_events_t* out) noexcept {
   const bool canPush = out && out->try_push;
   FromUI record;
   while (fromUIQueue.try_dequeue(record)) {
      switch (record.type) {
      case FromUI::GestureBegin:
         if (canPush)
            pushGesture(out, CLAP_EVENT_PARAM_GESTURE_BEGIN, record.id);
         break;
      case FromUI::GestureEnd:
         if (canPush)
            pushGesture(out, CLAP_EVENT_PARAM_GESTURE_END, record.id);
         break;
      case FromUI::ValueChange:
         if (record.id < static_cast<uint32_t>(kParamCount))
            engine->setParameter(static_cast<int>(record.id), record.value);
         if (canPush)
            pushValue(out, record.id, record.value);
         // The editor re-reads the distortion type once the engine has taken it.
         if (record.id == kDistortionTypeId)
            toUIQueue.try_enqueue(
                ToUI{ToUI::ValueEcho, kDistortionTypeId, engine->getParameter(kDistortionTypeId)});
         break;
      default:
         break;
      }
   }

   // exchange: a state load that lands while the values are posted asks for another refresh.
   if (editor.load(std::memory_order_relaxed) && refreshUIRequested.load() &&
       refreshUIRequested.exchange(false)) {
      refreshLogPending.store(true, std::memory_order_relaxed);
      for (int32_t id = 0; id < kParamCount; ++id)
         toUIQueue.try_enqueue(ToUI{ToUI::ValueEcho, static_cast<uint32_t>(id), engine->getParameter(id)});
   }
}

void Scorchwire::writeDeferredLogLines() noexcept {
   if (refreshLogPending.exchange(false, std::memory_order_relaxed))
      SCORCHWIRE_LOG_AS("handleEventsFromUIQueue", "Pushing a refresh of UI values to the editor");
}

void Scorchwire::showLoadedValuesInEditor(EditorInterface& openEditor) noexcept {
   for (int32_t id = 0; id < kParamCount; ++id)
      if (id != kParamWithoutControl)
         openEditor.setParameter(id, getParameter(id));
}

// ---- synchronous messages (main thread) ----

// Int commands: "getpresetname", "getcurrentpresetindex", "savecurrentpresetindex", "getchunk",
// "linuxtimer" ("beginedit" and "endedit" change nothing). Byte blocks: "changepresetname",
// "loadvst3preset", "setchunkvst2" ("loadpreset" answers false, "setpresetname" changes nothing).
// Anything else, and every float and string message, is accepted with no effect.
bool Scorchwire::processMessage(MessageType type, const char* command, float, int64_t intValue,
                                const void* data) noexcept {
   if (!command)
      return true;
   EditorInterface* openEditor = editor.load(std::memory_order_relaxed);
   try {
      if (type == MessageType::IntMessage) {
         if (is(command, "getpresetname")) {
            if (openEditor && !engine->presetName.empty())
               openEditor->updatePresetName(engine->presetName);
         } else if (is(command, "getcurrentpresetindex")) {
            if (openEditor)
               openEditor->setCurrentPresetIndex(engine->presetIndex);
         } else if (is(command, "savecurrentpresetindex")) {
            engine->presetIndex = static_cast<int32_t>(intValue);
         } else if (is(command, "getchunk")) {
            void* chunk = nullptr;
            const int size = engine->getChunk(&chunk, true);
            if (size <= 0 || !chunk) {
               std::free(chunk);
               return false;
            }
            if (openEditor)
               openEditor->copyComponentChunk(chunk, size);
            std::free(chunk);
         } else if (is(command, "linuxtimer")) {
            onTimer();
         }
      } else if (type == MessageType::BinaryMessage) {
         if (is(command, "changepresetname")) {
            engine->presetName = textOf(data, intValue);
            if (openEditor)
               openEditor->updatePresetName(engine->presetName);
         } else if (is(command, "loadvst3preset")) {
            if (!data || intValue <= 0)
               return false;
            return loadVst3Preset(std::string(static_cast<const char*>(data), static_cast<size_t>(intValue)));
         } else if (is(command, "setchunkvst2")) {
            applyVst2Chunk(data, intValue);
         } else if (is(command, "loadpreset")) {
            return false;
         }
      }
   } catch (...) {
      // Only memory exhaustion throws here; the message then changes what it got to before.
      return false;
   }
   return true;
}

// Older presets carry the state chunk: applied whole or not at all.
void Scorchwire::applyVst2Chunk(const void* data, int64_t size) noexcept {
   if (!isWellFormedStateChunk(data, size) || !engine->setChunk(data, static_cast<int>(size), true))
      return;
   if (EditorInterface* openEditor = editor.load(std::memory_order_relaxed)) {
      showLoadedValuesInEditor(*openEditor);
      if (!engine->presetName.empty())
         openEditor->updatePresetName(engine->presetName);
   }
   _host.paramsRescan(CLAP_PARAM_RESCAN_VALUES);
}

// ---- meters and scope (main thread) ----

void Scorchwire::onTimer() noexcept {
   if (!editor.load(std::memory_order_relaxed))
      return;
   writeDeferredLogLines();
   updateOscilloscope();
   processMasterVumeter();
}

void Scorchwire::updateOscilloscope() noexcept {
   EditorInterface* openEditor = editor.load(std::memory_order_relaxed);
   if (!openEditor)
      return;
   const int count = engine->readScope(scopeBuffer.data());
   openEditor->processOscilloscope(scopeBuffer.data(), count, 0);
}

void Scorchwire::processMasterVumeter() noexcept {
   EditorInterface* openEditor = editor.load(std::memory_order_relaxed);
   if (!openEditor)
      return;
   float peaks[2];
   engine->readPeaks(peaks);
   openEditor->processMasterVumeter(peaks);
}
