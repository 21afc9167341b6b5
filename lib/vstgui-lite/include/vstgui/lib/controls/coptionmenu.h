// Option menus: a control that shows its current entry and opens a pop-up window with its entries when
// clicked. Entries may carry sub-menus; a chosen entry closes every open pop-up and is reported through
// the listener of the menu that was opened (gesture, value change, gesture end).
#pragma once

#include "cparamdisplay.h"

#include <vector>

namespace VSTGUI {

class COptionMenu;

class CMenuItem : public CBaseObject {
public:
   enum Flags { kNoFlags = 0, kDisabled = 1 << 0, kTitle = 1 << 1, kChecked = 1 << 2, kSeparator = 1 << 3 };

   CMenuItem(const UTF8String& title, int32_t flags = kNoFlags);
   // The entry takes its own reference on submenu.
   CMenuItem(const UTF8String& title, COptionMenu* submenu);
   ~CMenuItem() noexcept override;

   virtual void setTitle(const UTF8String& title);
   const UTF8String& getTitle() const { return title; }
   virtual void setSubmenu(COptionMenu* menu);
   COptionMenu* getSubmenu() const { return submenu; }
   bool hasSubmenu() const { return submenu != nullptr; }
   virtual void setEnabled(bool state = true);
   bool isEnabled() const { return !(flags & kDisabled); }
   virtual void setChecked(bool state = true);
   bool isChecked() const { return flags & kChecked; }
   virtual void setIsTitle(bool state = true);
   bool isTitle() const { return flags & kTitle; }
   virtual void setIsSeparator(bool state = true);
   bool isSeparator() const { return flags & kSeparator; }
   void setTag(int32_t t) { tag = t; }
   int32_t getTag() const { return tag; }

private:
   void setFlag(int32_t flag, bool state);

   UTF8String title;
   COptionMenu* submenu = nullptr;
   int32_t flags;
   int32_t tag = -1;
};

using CMenuItemList = std::vector<SharedPointer<CMenuItem>>;

class COptionMenu : public CParamDisplay {
public:
   // A menu that is only used as a sub-menu.
   COptionMenu();
   COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
               CBitmap* backgroundWhenClicked = nullptr, const int32_t style = 0);
   ~COptionMenu() noexcept override;

   // Takes over the caller's reference on item. index −1 appends.
   CMenuItem* addEntry(CMenuItem* item, int32_t index = -1);
   // An entry opening submenu (the entry takes its own reference on it).
   CMenuItem* addEntry(COptionMenu* submenu, const UTF8String& title);
   // A title "-" adds a separator.
   CMenuItem* addEntry(const UTF8String& title, int32_t index = -1, int32_t itemFlags = CMenuItem::kNoFlags);
   CMenuItem* addSeparator(int32_t index = -1);
   bool removeEntry(int32_t index);
   bool removeAllEntry();
   int32_t getNbEntries() const { return static_cast<int32_t>(items.size()); }
   CMenuItem* getEntry(int32_t index) const;
   CMenuItemList* getItems() const { return &items; }
   COptionMenu* getSubMenu(int32_t index) const;

   // The current entry: the one shown in the view and ticked in check style.
   int32_t getCurrentIndex() const { return currentIndex; }
   CMenuItem* getCurrent() const { return getEntry(currentIndex); }
   bool setCurrent(int32_t index);
   // The menu (this one or a sub-menu) that held the entry chosen last, and the entry's index in it.
   COptionMenu* getLastItemMenu(int32_t& idxInMenu) const;
   bool checkEntry(int32_t index, bool state);
   bool checkEntryAlone(int32_t index);
   bool isCheckEntry(int32_t index) const;

   // Opens the pop-up below the view (the view must be in an open frame; it may be hidden).
   bool popup();
   // Opens the pop-up with its top-left corner at a point of the frame.
   bool popup(CFrame* frame, const CPoint& frameLocation);
   bool isPopupOpen() const { return popupOpen; }

   // The value is the current entry's index.
   void setValue(float val) override;
   CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
   void draw(CDrawContext* context) override;

   // The pop-up layer reports the outcome here, on the menu that was opened.
   void popupClosed();
   void popupChose(COptionMenu* menu, int32_t index);

protected:
   UTF8String getDisplayString() const override;

private:
   void updateRange();

   mutable CMenuItemList items;
   int32_t currentIndex = -1;
   COptionMenu* lastMenu = nullptr;
   int32_t lastResult = -1;
   CBitmap* backgroundWhenClicked = nullptr;
   bool popupOpen = false;
};

} // namespace VSTGUI
