// A point in view coordinates.
#pragma once

#include "vstguibase.h"

#include <cmath>

namespace VSTGUI {

struct CPoint {
   constexpr CPoint() = default;
   constexpr CPoint(CCoord x, CCoord y) : x(x), y(y) {}

   CPoint& offset(CCoord dx, CCoord dy) {
      x += dx;
      y += dy;
      return *this;
   }
   CPoint& offset(const CPoint& delta) { return offset(delta.x, delta.y); }
   CPoint& operator()(CCoord newX, CCoord newY) {
      x = newX;
      y = newY;
      return *this;
   }
   CPoint& makeIntegral() {
      x = std::round(x);
      y = std::round(y);
      return *this;
   }

   constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
   constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
   constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
   constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
   constexpr CPoint operator-() const { return {-x, -y}; }
   CPoint& operator+=(const CPoint& o) { return offset(o.x, o.y); }
   CPoint& operator-=(const CPoint& o) { return offset(-o.x, -o.y); }

   CCoord x = 0.;
   CCoord y = 0.;
};

} // namespace VSTGUI
