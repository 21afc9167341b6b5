// Basic types of the toolkit: coordinates, string pointers, reference counting and the shared pointer.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace VSTGUI {

using CCoord = double;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;

enum CMessageResult { kMessageUnknown = 0, kMessageNotified = 1 };

// Everything the toolkit shares is counted: remember() takes a reference, forget() drops one and deletes
// the object with the last.
class IReference {
public:
   virtual ~IReference() noexcept = default;
   virtual void remember() = 0;
   virtual void forget() = 0;
};

template <typename Counter> class ReferenceCounted : virtual public IReference {
public:
   ReferenceCounted() = default;
   ReferenceCounted(const ReferenceCounted&) {}
   ReferenceCounted& operator=(const ReferenceCounted&) { return *this; }
   ~ReferenceCounted() noexcept override = default;

   void remember() override { ++nbReference; }
   void forget() override {
      if (--nbReference == 0) {
         beforeDelete();
         delete this;
      }
   }
   int32_t getNbReference() const { return nbReference; }

protected:
   // Last chance to act while the object is complete, right before the final delete.
   virtual void beforeDelete() {}

private:
   Counter nbReference{1};
};

using NonAtomicReferenceCounted = ReferenceCounted<int32_t>;
using AtomicReferenceCounted = ReferenceCounted<std::atomic<int32_t>>;

// The base of views, timers, menu items and file selectors: counted, and able to receive messages.
class CBaseObject : public NonAtomicReferenceCounted {
public:
   virtual CMessageResult notify([[maybe_unused]] CBaseObject* sender, [[maybe_unused]] IdStringPtr message) {
      return kMessageUnknown;
   }
};

// Holds one reference to a counted object.
template <class I> class SharedPointer {
public:
   SharedPointer() noexcept = default;
   SharedPointer(I* p, bool rememberIt = true) noexcept : ptr(p) {
      if (ptr && rememberIt)
         ptr->remember();
   }
   SharedPointer(const SharedPointer& other) noexcept : SharedPointer(other.ptr) {}
   SharedPointer(SharedPointer&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
   template <class T, typename = std::enable_if_t<std::is_convertible_v<T*, I*>>>
   SharedPointer(const SharedPointer<T>& other) noexcept : SharedPointer(static_cast<I*>(other.get())) {}
   template <class T, typename = std::enable_if_t<std::is_convertible_v<T*, I*>>>
   SharedPointer(SharedPointer<T>&& other) noexcept : ptr(static_cast<I*>(other.take())) {}
   ~SharedPointer() noexcept {
      if (ptr)
         ptr->forget();
   }

   SharedPointer& operator=(I* p) noexcept {
      if (p != ptr) {
         if (p)
            p->remember();
         if (auto old = std::exchange(ptr, p))
            old->forget();
      }
      return *this;
   }
   SharedPointer& operator=(const SharedPointer& other) noexcept { return *this = other.ptr; }
   SharedPointer& operator=(SharedPointer&& other) noexcept {
      if (this != &other) {
         if (auto old = std::exchange(ptr, std::exchange(other.ptr, nullptr)))
            old->forget();
      }
      return *this;
   }
   SharedPointer& operator=(std::nullptr_t) noexcept { return *this = static_cast<I*>(nullptr); }

   I* get() const noexcept { return ptr; }
   I* operator->() const noexcept { return ptr; }
   operator I*() const noexcept { return ptr; }
   template <class T> T* cast() const { return dynamic_cast<T*>(ptr); }
   // Hands the reference over to the caller.
   I* take() noexcept { return std::exchange(ptr, nullptr); }

private:
   I* ptr = nullptr;
};

// Wraps an object whose creation reference the caller passes on.
template <class I> SharedPointer<I> owned(I* p) noexcept {
   return SharedPointer<I>(p, false);
}

template <class I, typename... Args> SharedPointer<I> makeOwned(Args&&... args) {
   return SharedPointer<I>(new I(std::forward<Args>(args)...), false);
}

} // namespace VSTGUI
