#include "vstgui/lib/controls/ctextedit.h"

#include "x11/FrameWindow.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/lib/coffscreencontext.h"

#include <algorithm>

namespace VSTGUI {

namespace {

constexpr CColor selectionColor(60, 110, 200, 160);

bool isContinuationByte(char c) {
   return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t previousCharacter(const std::string& text, size_t position) {
   if (position == 0)
      return 0;
   --position;
   while (position > 0 && isContinuationByte(text[position]))
      --position;
   return position;
}

size_t nextCharacter(const std::string& text, size_t position) {
   if (position >= text.size())
      return text.size();
   ++position;
   while (position < text.size() && isContinuationByte(text[position]))
      ++position;
   return position;
}

std::string utf8(int32_t codePoint) {
   std::string out;
   const auto c = static_cast<uint32_t>(codePoint);
   if (c < 0x80) {
      out += static_cast<char>(c);
   } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
   } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
   } else if (c < 0x110000) {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
   }
   return out;
}

} // namespace

CTextEdit::CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt,
                     CBitmap* background, const int32_t style)
    : CTextLabel(size, txt, background, style) {
   this->listener = listener;
   this->tag = tag;
}

void CTextEdit::registerTextEditListener(ITextEditListener* l) {
   if (l && std::find(textEditListeners.begin(), textEditListeners.end(), l) == textEditListeners.end())
      textEditListeners.push_back(l);
}

void CTextEdit::unregisterTextEditListener(ITextEditListener* l) {
   textEditListeners.erase(std::remove(textEditListeners.begin(), textEditListeners.end(), l),
                           textEditListeners.end());
}

void CTextEdit::setText(const UTF8String& txt) {
   CTextLabel::setText(txt);
   if (editing) {
      editText = txt.getString();
      anchor = 0;
      caret = editText.size();
      invalid();
   }
}

void CTextEdit::takeFocus() {
   if (editing || !isAttached())
      return;
   SharedPointer<CTextEdit> guard(this);
   editing = true;
   escaped = false;
   textBeforeEdit = getText().getString();
   editText = textBeforeEdit;
   anchor = 0;
   caret = editText.size();
   if (auto* window = getFrame()->getPlatformFrame())
      window->grabKeyboardFocus();
   invalid();
   for (auto* l : std::vector<ITextEditListener*>(textEditListeners))
      l->onTextEditPlatformControlTookFocus(this);
}

void CTextEdit::looseFocus() {
   if (!editing)
      return;
   SharedPointer<CTextEdit> guard(this);
   editing = false;
   if (CFrame* frame = getFrame())
      if (auto* window = frame->getPlatformFrame())
         window->releaseKeyboardFocus();
   const std::string result = escaped ? textBeforeEdit : editText;
   CTextLabel::setText(UTF8String(result));
   invalid();
   if (result != textBeforeEdit)
      valueChanged();
   for (auto* l : std::vector<ITextEditListener*>(textEditListeners))
      l->onTextEditPlatformControlLostFocus(this);
}

bool CTextEdit::removed(CView* parent) {
   // Taken out of the tree while editing: editing stops without telling anybody.
   if (editing) {
      editing = false;
      if (auto* window = getFrame() ? getFrame()->getPlatformFrame() : nullptr)
         window->releaseKeyboardFocus();
   }
   return CTextLabel::removed(parent);
}

void CTextEdit::deleteSelection() {
   const size_t from = std::min(anchor, caret), to = std::max(anchor, caret);
   editText.erase(from, to - from);
   anchor = caret = from;
}

void CTextEdit::insertText(const std::string& text) {
   deleteSelection();
   editText.insert(caret, text);
   caret += text.size();
   anchor = caret;
}

void CTextEdit::moveCaret(size_t position, bool extend) {
   caret = std::min(position, editText.size());
   if (!extend)
      anchor = caret;
}

int32_t CTextEdit::onKeyDown(VstKeyCode& key) {
   if (!editing)
      return -1;
   SharedPointer<CTextEdit> guard(this);
   const bool shift = key.modifier & MODIFIER_SHIFT;
   const bool control = key.modifier & MODIFIER_CONTROL;
   switch (key.virt) {
   case VKEY_RETURN:
   case VKEY_ENTER:
   case VKEY_TAB:
      getFrame()->setFocusView(nullptr);
      return 1;
   case VKEY_ESCAPE:
      escaped = true;
      getFrame()->setFocusView(nullptr);
      return 1;
   case VKEY_BACK:
      if (anchor == caret)
         anchor = previousCharacter(editText, caret);
      deleteSelection();
      break;
   case VKEY_DELETE:
      if (anchor == caret)
         anchor = nextCharacter(editText, caret);
      deleteSelection();
      break;
   case VKEY_LEFT:
      moveCaret(previousCharacter(editText, caret), shift);
      break;
   case VKEY_RIGHT:
      moveCaret(nextCharacter(editText, caret), shift);
      break;
   case VKEY_HOME:
      moveCaret(0, shift);
      break;
   case VKEY_END:
      moveCaret(editText.size(), shift);
      break;
   default:
      if (control && (key.character == 'a' || key.character == 'A')) {
         anchor = 0;
         caret = editText.size();
      } else if (key.character != 0 && !control && !(key.modifier & MODIFIER_ALTERNATE)) {
         insertText(utf8(key.character));
      }
      break;
   }
   // While editing, the field keeps every key to itself.
   invalid();
   return 1;
}

CRect CTextEdit::textRect() const {
   CRect r(size);
   return r.inset(getTextInset().x, getTextInset().y);
}

size_t CTextEdit::caretFromPoint(CDrawContext* context, const CPoint& where) {
   context->setFont(getFont());
   const CRect r = textRect();
   const double full = context->getStringWidth(editText.c_str());
   double x = r.left;
   if (getHoriAlign() == kCenterText)
      x = r.left + (r.getWidth() - full) / 2.;
   else if (getHoriAlign() == kRightText)
      x = r.right - full;
   size_t best = 0;
   double bestDistance = std::abs(where.x - x);
   for (size_t p = 0; p < editText.size();) {
      p = nextCharacter(editText, p);
      const double distance =
          std::abs(where.x - (x + context->getStringWidth(editText.substr(0, p).c_str())));
      if (distance < bestDistance) {
         bestDistance = distance;
         best = p;
      }
   }
   return best;
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons) {
   if (!(buttons & kLButton))
      return kMouseEventNotHandled;
   if (editing) {
      if (auto measure = COffscreenContext::create(CPoint(1, 1)))
         moveCaret(caretFromPoint(measure, where), buttons & kShift);
      invalid();
   }
   // The frame gives the field the focus (and so starts editing) after this click.
   return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CTextEdit::onMouseEntered(CPoint&, const CButtonState&) {
   if (CFrame* frame = getFrame())
      frame->setCursor(kCursorIBeam);
   return kMouseEventHandled;
}

CMouseEventResult CTextEdit::onMouseExited(CPoint&, const CButtonState&) {
   if (CFrame* frame = getFrame())
      frame->setCursor(kCursorDefault);
   return kMouseEventHandled;
}

void CTextEdit::draw(CDrawContext* context) {
   if (!editing) {
      CTextLabel::draw(context);
      return;
   }
   drawBack(context);
   context->saveGlobalState();
   context->setFont(getFont());
   const CRect r = textRect();
   const double full = context->getStringWidth(editText.c_str());
   double x = r.left;
   if (getHoriAlign() == kCenterText)
      x = r.left + (r.getWidth() - full) / 2.;
   else if (getHoriAlign() == kRightText)
      x = r.right - full;
   const auto offsetOf = [&](size_t position) {
      return x + context->getStringWidth(editText.substr(0, position).c_str());
   };
   const double lineHeight = getFont() ? getFont()->getSize() + 4. : 16.;
   const double top = r.top + (r.getHeight() - lineHeight) / 2.;
   if (anchor != caret) {
      context->setFillColor(selectionColor);
      context->drawRect(
          CRect(offsetOf(std::min(anchor, caret)), top, offsetOf(std::max(anchor, caret)), top + lineHeight),
          kDrawFilled);
   }
   context->restoreGlobalState();
   drawPlatformText(context, editText.c_str(), size);
   context->saveGlobalState();
   context->setDrawMode(kAliasing);
   context->setLineWidth(1.);
   context->setFrameColor(getFontColor());
   const double caretX = std::round(offsetOf(caret));
   context->drawLine(CPoint(caretX, top), CPoint(caretX, top + lineHeight));
   context->restoreGlobalState();
   setDirty(false);
}

} // namespace VSTGUI
