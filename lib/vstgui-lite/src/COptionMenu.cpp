#include "vstgui/lib/controls/coptionmenu.h"

#include "x11/FrameWindow.h"
#include "x11/PopupChain.h"

#include "vstgui/lib/cframe.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CMenuItem::CMenuItem(const UTF8String& title, int32_t flags) : title(title), flags(flags) {}

CMenuItem::CMenuItem(const UTF8String& title, COptionMenu* menu) : title(title), flags(kNoFlags) {
   setSubmenu(menu);
}

CMenuItem::~CMenuItem() noexcept {
   if (submenu)
      submenu->forget();
}

void CMenuItem::setTitle(const UTF8String& newTitle) {
   title = newTitle;
}

void CMenuItem::setSubmenu(COptionMenu* menu) {
   if (menu == submenu)
      return;
   if (menu)
      menu->remember();
   if (submenu)
      submenu->forget();
   submenu = menu;
}

void CMenuItem::setFlag(int32_t flag, bool state) {
   flags = state ? (flags | flag) : (flags & ~flag);
}

void CMenuItem::setEnabled(bool state) {
   setFlag(kDisabled, !state);
}

void CMenuItem::setChecked(bool state) {
   setFlag(kChecked, state);
}

void CMenuItem::setIsTitle(bool state) {
   setFlag(kTitle, state);
}

void CMenuItem::setIsSeparator(bool state) {
   setFlag(kSeparator, state);
}

COptionMenu::COptionMenu() : COptionMenu(CRect(), nullptr, -1) {}

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* bgWhenClicked, const int32_t style)
    : CParamDisplay(size, background, style) {
   this->listener = listener;
   this->tag = tag;
   if (bgWhenClicked) {
      bgWhenClicked->remember();
      backgroundWhenClicked = bgWhenClicked;
   }
   currentIndex = 0;
   updateRange();
}

COptionMenu::~COptionMenu() noexcept {
   if (backgroundWhenClicked)
      backgroundWhenClicked->forget();
}

void COptionMenu::updateRange() {
   vmin = 0.f;
   vmax = static_cast<float>(std::max<int32_t>(0, getNbEntries() - 1));
   bounceValue();
}

CMenuItem* COptionMenu::addEntry(CMenuItem* item, int32_t index) {
   if (!item)
      return nullptr;
   if (index < 0 || index >= getNbEntries())
      items.push_back(owned(item));
   else
      items.insert(items.begin() + index, owned(item));
   updateRange();
   return item;
}

CMenuItem* COptionMenu::addEntry(COptionMenu* submenu, const UTF8String& title) {
   return addEntry(new CMenuItem(title, submenu));
}

CMenuItem* COptionMenu::addEntry(const UTF8String& title, int32_t index, int32_t itemFlags) {
   if (title == "-")
      return addSeparator(index);
   return addEntry(new CMenuItem(title, itemFlags), index);
}

CMenuItem* COptionMenu::addSeparator(int32_t index) {
   return addEntry(new CMenuItem("", CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry(int32_t index) {
   if (index < 0 || index >= getNbEntries())
      return false;
   items.erase(items.begin() + index);
   lastMenu = nullptr;
   lastResult = -1;
   if (currentIndex >= getNbEntries())
      currentIndex = std::max<int32_t>(0, getNbEntries() - 1);
   updateRange();
   invalid();
   return true;
}

bool COptionMenu::removeAllEntry() {
   items.clear();
   lastMenu = nullptr;
   lastResult = -1;
   currentIndex = 0;
   updateRange();
   invalid();
   return true;
}

CMenuItem* COptionMenu::getEntry(int32_t index) const {
   return (index >= 0 && index < getNbEntries()) ? items[static_cast<size_t>(index)].get() : nullptr;
}

COptionMenu* COptionMenu::getSubMenu(int32_t index) const {
   CMenuItem* item = getEntry(index);
   return item ? item->getSubmenu() : nullptr;
}

bool COptionMenu::setCurrent(int32_t index) {
   if (index < 0 || index >= getNbEntries())
      return false;
   currentIndex = index;
   CControl::setValue(static_cast<float>(index));
   invalid();
   return true;
}

COptionMenu* COptionMenu::getLastItemMenu(int32_t& idxInMenu) const {
   idxInMenu = lastMenu ? lastResult : -1;
   return lastMenu;
}

bool COptionMenu::checkEntry(int32_t index, bool state) {
   CMenuItem* item = getEntry(index);
   if (!item || item->isSeparator())
      return false;
   item->setChecked(state);
   return true;
}

bool COptionMenu::checkEntryAlone(int32_t index) {
   if (index < 0 || index >= getNbEntries())
      return false;
   for (int32_t i = 0; i < getNbEntries(); ++i)
      items[static_cast<size_t>(i)]->setChecked(i == index);
   return true;
}

bool COptionMenu::isCheckEntry(int32_t index) const {
   CMenuItem* item = getEntry(index);
   return item && item->isChecked();
}

void COptionMenu::setValue(float val) {
   const auto index = static_cast<int32_t>(std::lround(val));
   if (index < 0 || index >= getNbEntries())
      return;
   currentIndex = index;
   CControl::setValue(static_cast<float>(index));
}

UTF8String COptionMenu::getDisplayString() const {
   CMenuItem* item = getCurrent();
   return item ? item->getTitle() : UTF8String();
}

void COptionMenu::draw(CDrawContext* context) {
   if (popupOpen && backgroundWhenClicked) {
      backgroundWhenClicked->draw(context, size);
      if (!(style & kNoTextStyle))
         drawPlatformText(context, getDisplayString(), size);
      setDirty(false);
      return;
   }
   CParamDisplay::draw(context);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
   if (!(buttons & kLButton))
      return kMouseEventNotHandled;
   popup();
   return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::popup() {
   CPoint bottomLeft(size.left, size.bottom);
   localToFrame(bottomLeft);
   return popup(getFrame(), bottomLeft);
}

bool COptionMenu::popup(CFrame* frame, const CPoint& frameLocation) {
   if (!frame || !frame->isOpen() || items.empty() || popupOpen)
      return false;
   auto* window = frame->getPlatformFrame();
   if (window->getPopup() || window->dialogRunning())
      return false;
   const CGraphicsTransform& transform = frame->getTransform();
   const CPoint rootPosition = window->rootOrigin() + transform.transform(frameLocation);
   auto chain =
       std::make_unique<X11::PopupChain>(window, this, rootPosition, transform.getScale(), getWidth());
   if (!chain->open())
      return false;
   window->setPopup(std::move(chain));
   popupOpen = true;
   invalid();
   return true;
}

void COptionMenu::popupClosed() {
   popupOpen = false;
   invalid();
}

void COptionMenu::popupChose(COptionMenu* menu, int32_t index) {
   SharedPointer<COptionMenu> guard(this);
   popupClosed();
   lastMenu = menu;
   lastResult = index;
   menu->setCurrent(index);
   beginEdit();
   valueChanged();
   endEdit();
}

} // namespace VSTGUI
