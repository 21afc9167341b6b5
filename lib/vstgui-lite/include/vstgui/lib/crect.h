// An axis-aligned rectangle: left and top inclusive, right and bottom exclusive.
#pragma once

#include "cpoint.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

struct CRect {
   constexpr CRect() = default;
   constexpr CRect(CCoord left, CCoord top, CCoord right, CCoord bottom)
       : left(left), top(top), right(right), bottom(bottom) {}
   constexpr CRect(const CPoint& origin, const CPoint& size)
       : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

   constexpr CCoord getWidth() const { return right - left; }
   constexpr CCoord getHeight() const { return bottom - top; }
   CRect& setWidth(CCoord width) {
      right = left + width;
      return *this;
   }
   CRect& setHeight(CCoord height) {
      bottom = top + height;
      return *this;
   }
   constexpr CPoint getTopLeft() const { return {left, top}; }
   constexpr CPoint getTopRight() const { return {right, top}; }
   constexpr CPoint getBottomLeft() const { return {left, bottom}; }
   constexpr CPoint getBottomRight() const { return {right, bottom}; }
   constexpr CPoint getCenter() const { return {left + getWidth() / 2., top + getHeight() / 2.}; }
   constexpr CPoint getSize() const { return {getWidth(), getHeight()}; }
   CRect& setSize(const CPoint& size) {
      right = left + size.x;
      bottom = top + size.y;
      return *this;
   }
   CRect& setTopLeft(const CPoint& p) {
      left = p.x;
      top = p.y;
      return *this;
   }
   CRect& setBottomRight(const CPoint& p) {
      right = p.x;
      bottom = p.y;
      return *this;
   }

   CRect& offset(CCoord dx, CCoord dy) {
      left += dx;
      right += dx;
      top += dy;
      bottom += dy;
      return *this;
   }
   CRect& offset(const CPoint& delta) { return offset(delta.x, delta.y); }
   CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
   CRect& moveTo(const CPoint& p) { return moveTo(p.x, p.y); }
   CRect& inset(CCoord dx, CCoord dy) {
      left += dx;
      right -= dx;
      top += dy;
      bottom -= dy;
      return *this;
   }
   CRect& inset(const CPoint& delta) { return inset(delta.x, delta.y); }
   CRect& extend(CCoord dx, CCoord dy) { return inset(-dx, -dy); }
   // Moves the rectangle so that its top-left corner is at (0, 0).
   CRect& originize() { return offset(-left, -top); }
   CRect& normalize() {
      if (left > right)
         std::swap(left, right);
      if (top > bottom)
         std::swap(top, bottom);
      return *this;
   }
   // Rounds every edge to the nearest whole pixel.
   CRect& makeIntegral() {
      left = std::round(left);
      top = std::round(top);
      right = std::round(right);
      bottom = std::round(bottom);
      return *this;
   }
   // Grows the rectangle to whole pixels that cover it.
   CRect& makeIntegralOutward() {
      left = std::floor(left);
      top = std::floor(top);
      right = std::ceil(right);
      bottom = std::ceil(bottom);
      return *this;
   }

   constexpr bool isEmpty() const { return right <= left || bottom <= top; }
   constexpr bool pointInside(const CPoint& p) const {
      return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
   }
   constexpr bool rectOverlap(const CRect& r) const {
      return r.right > left && r.left < right && r.bottom > top && r.top < bottom;
   }
   // Intersects with r (an empty result has zero size).
   CRect& bound(const CRect& r) {
      left = std::max(left, r.left);
      top = std::max(top, r.top);
      right = std::max(left, std::min(right, r.right));
      bottom = std::max(top, std::min(bottom, r.bottom));
      return *this;
   }
   CRect& unite(const CRect& r) {
      if (r.isEmpty())
         return *this;
      if (isEmpty())
         return *this = r;
      left = std::min(left, r.left);
      top = std::min(top, r.top);
      right = std::max(right, r.right);
      bottom = std::max(bottom, r.bottom);
      return *this;
   }

   constexpr bool operator==(const CRect& r) const {
      return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
   }
   constexpr bool operator!=(const CRect& r) const { return !(*this == r); }

   CCoord left = 0.;
   CCoord top = 0.;
   CCoord right = 0.;
   CCoord bottom = 0.;
};

} // namespace VSTGUI
