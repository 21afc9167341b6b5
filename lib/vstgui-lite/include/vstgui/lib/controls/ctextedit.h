// A text field. Clicking it, or giving it the frame's focus, starts editing: it takes the keyboard focus
// of its window, selects the whole text and edits with the keys of the current keyboard layout. Return
// or a click elsewhere ends editing and keeps the text; Escape ends it and restores the text.
#pragma once

#include "ctextlabel.h"

#include <string>
#include <vector>

namespace VSTGUI {

class CTextEdit;

class ITextEditListener {
public:
   virtual ~ITextEditListener() noexcept = default;
   virtual void onTextEditPlatformControlTookFocus(CTextEdit* textEdit) = 0;
   virtual void onTextEditPlatformControlLostFocus(CTextEdit* textEdit) = 0;
};

class CTextEdit : public CTextLabel {
public:
   CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt = nullptr,
             CBitmap* background = nullptr, const int32_t style = 0);

   void registerTextEditListener(ITextEditListener* listener);
   void unregisterTextEditListener(ITextEditListener* listener);

   void setText(const UTF8String& txt) override;
   bool isEditingText() const { return editing; }

   bool wantsFocus() const override { return true; }
   void takeFocus() override;
   void looseFocus() override;
   int32_t onKeyDown(VstKeyCode& keyCode) override;
   CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
   CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
   CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
   bool removed(CView* parent) override;
   void draw(CDrawContext* context) override;

private:
   void insertText(const std::string& utf8);
   void deleteSelection();
   void moveCaret(size_t position, bool extend);
   size_t caretFromPoint(CDrawContext* context, const CPoint& where);
   CRect textRect() const;

   std::vector<ITextEditListener*> textEditListeners;
   std::string editText;
   std::string textBeforeEdit;
   size_t caret = 0;
   size_t anchor = 0;
   bool editing = false;
   bool escaped = false;
};

} // namespace VSTGUI
