#include "scorchwire-messages.h"

#include "scorchwire-editor-interface.h"

namespace {
constexpr int32_t kParamCount = 17;

void applyEchoes(ToUIQueue& queue, EditorInterface& editor) {
   ToUI record;
   while (queue.try_dequeue(record))
      if (record.type == ToUI::ValueEcho)
         editor.setParameter(static_cast<int32_t>(record.id), record.value);
}
} // namespace

bool EditorLink::post(FromUI::Type type, int32_t tag, double value) const {
   if (tag < 0 || tag >= kParamCount)
      return false;
   const bool queued = fromUIQueue.try_enqueue(FromUI{type, static_cast<uint32_t>(tag), value});
   if (flushCallback)
      flushCallback();
   return queued;
}

void EditorLink::drainToUI(EditorInterface& editor) const {
   applyEchoes(toUIQueue, editor);
   applyEchoes(mainThreadEchoQueue, editor);
}
