// Drop targets. Views and the frame keep the target they are given; this toolkit does not take part in
// X11 drag and drop, so a target is only ever asked by code that simulates a drag.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"

namespace VSTGUI {

// The dragged data.
class IDataPackage : public AtomicReferenceCounted {
public:
   enum Type { kFilePath = 0, kText, kBinary, kError = -1 };
   virtual uint32_t getCount() const = 0;
   virtual uint32_t getDataSize(uint32_t index) const = 0;
   virtual Type getDataType(uint32_t index) const = 0;
   // Points buffer at the data of entry index and answers its size.
   virtual uint32_t getData(uint32_t index, const void*& buffer, Type& type) const = 0;
};

enum class DragOperation { Copy, Move, None };

struct DragEventData {
   IDataPackage* drag = nullptr;
   CPoint pos;
   CButtonState modifiers;
};

class IDropTarget : virtual public IReference {
public:
   virtual DragOperation onDragEnter(DragEventData data) = 0;
   virtual DragOperation onDragMove(DragEventData data) = 0;
   virtual void onDragLeave(DragEventData data) = 0;
   virtual bool onDrop(DragEventData data) = 0;
};

} // namespace VSTGUI
