#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

// GCC's ThreadSanitizer does not model the queue's standalone fences; the queue's own annotations
// (which tell it what the fences order) are switched on only where clang's feature test exists.
#if defined(__SANITIZE_THREAD__) && !defined(AE_TSAN_ANNOTATE_RELEASE)
namespace moodycamel {
inline int ae_tsan_global;
}
extern "C" void AnnotateHappensBefore(const char*, int, void*);
extern "C" void AnnotateHappensAfter(const char*, int, void*);
#define AE_TSAN_ANNOTATE_RELEASE()                                                                           \
   AnnotateHappensBefore(__FILE__, __LINE__, static_cast<void*>(&::moodycamel::ae_tsan_global))
#define AE_TSAN_ANNOTATE_ACQUIRE()                                                                           \
   AnnotateHappensAfter(__FILE__, __LINE__, static_cast<void*>(&::moodycamel::ae_tsan_global))
#endif
#include <readerwriterqueue/readerwriterqueue.h>

class EditorInterface;

// Queue records between the editor and the instance: a kind, a parameter id 0..16 and a normalised
// value (0.0 where the kind has none).
struct ToUI {
   enum Type : uint32_t { ValueEcho = 0x31 };
   uint32_t type;
   uint32_t id;
   double value;
};
struct FromUI {
   enum Type : uint32_t { GestureBegin = 0xF9, GestureEnd = 0xFA, ValueChange = 0xFB };
   uint32_t type;
   uint32_t id;
   double value;
};
static_assert(sizeof(ToUI) == 16 && sizeof(FromUI) == 16);

// Single-producer single-consumer queues of one 128-slot ring (127 records): built with an initial
// size of 78 under a block size of 4096, and posted to with try_enqueue only, so they never grow.
constexpr size_t kQueueBlockSize = 4096;
constexpr size_t kQueueInitialSize = 78;
constexpr size_t kQueueCapacity = 127;
using ToUIQueue = moodycamel::ReaderWriterQueue<ToUI, kQueueBlockSize>;
using FromUIQueue = moodycamel::ReaderWriterQueue<FromUI, kQueueBlockSize>;

// Shared read-only with the editor: whether the host is processing, and a counter bumped on every
// start and stop of processing. Sequentially consistent atomics.
struct DataCopyForUI {
   std::atomic<uint32_t> updateCount{0};
   std::atomic<bool> isProcessing{false};
};

// The kind of a synchronous message from the editor (Scorchwire::processMessage).
enum class MessageType : int32_t { FloatMessage = 0, IntMessage = 1, BinaryMessage = 2, StringMessage = 3 };

// What an editor is given to talk with its instance. Producers and consumers:
//   toUIQueue: posted by the thread that processes or flushes, taken by the editor's idle tick;
//   mainThreadEchoQueue: posted by setParameterAutomated on the main thread, taken by the same tick;
//   fromUIQueue: posted by the editor, taken by the drain of the processing or flushing thread.
struct EditorLink {
   ToUIQueue& toUIQueue;
   ToUIQueue& mainThreadEchoQueue;
   FromUIQueue& fromUIQueue;
   const DataCopyForUI& dataCopyForUI;
   // Asks the host to flush parameters, so that a posted record is drained promptly.
   std::function<void()> flushCallback;

   // A gesture or value of the control tagged tag: posted when the tag is a parameter id, then the
   // host is asked to flush even if the full queue dropped the record. Other tags do nothing.
   // Returns whether the record was queued.
   bool post(FromUI::Type type, int32_t tag, double value) const;

   // The idle tick's first step: every record of toUIQueue, then of mainThreadEchoQueue, in queue
   // order; each ValueEcho moves the editor's control, other kinds are discarded.
   void drainToUI(EditorInterface& editor) const;
};
