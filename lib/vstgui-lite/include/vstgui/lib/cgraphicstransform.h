// A 2D affine transform: x' = m11 x + m12 y + dx, y' = m21 x + m22 y + dy.
#pragma once

#include "crect.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

struct CGraphicsTransform {
   constexpr CGraphicsTransform() = default;
   constexpr CGraphicsTransform(double m11, double m12, double m21, double m22, double dx, double dy)
       : m11(m11), m12(m12), m21(m21), m22(m22), dx(dx), dy(dy) {}

   // The operations below apply after what the transform already does.
   CGraphicsTransform& translate(double tx, double ty) {
      dx += tx;
      dy += ty;
      return *this;
   }
   CGraphicsTransform& translate(const CPoint& p) { return translate(p.x, p.y); }
   CGraphicsTransform& scale(double sx, double sy) {
      m11 *= sx;
      m12 *= sx;
      dx *= sx;
      m21 *= sy;
      m22 *= sy;
      dy *= sy;
      return *this;
   }
   CGraphicsTransform& rotate(double degrees) {
      const double r = degrees * M_PI / 180.;
      const double c = std::cos(r), s = std::sin(r);
      return *this = CGraphicsTransform(c, -s, s, c, 0., 0.) * *this;
   }

   // (a * b) applies b first, then a.
   constexpr CGraphicsTransform operator*(const CGraphicsTransform& b) const {
      return {m11 * b.m11 + m12 * b.m21, m11 * b.m12 + m12 * b.m22,    m21 * b.m11 + m22 * b.m21,
              m21 * b.m12 + m22 * b.m22, m11 * b.dx + m12 * b.dy + dx, m21 * b.dx + m22 * b.dy + dy};
   }
   constexpr bool operator==(const CGraphicsTransform& t) const {
      return m11 == t.m11 && m12 == t.m12 && m21 == t.m21 && m22 == t.m22 && dx == t.dx && dy == t.dy;
   }
   constexpr bool operator!=(const CGraphicsTransform& t) const { return !(*this == t); }

   constexpr bool isInvariant() const { return *this == CGraphicsTransform(); }

   CGraphicsTransform inverse() const {
      const double det = m11 * m22 - m12 * m21;
      if (det == 0.)
         return {};
      const double i11 = m22 / det, i12 = -m12 / det, i21 = -m21 / det, i22 = m11 / det;
      return {i11, i12, i21, i22, -(i11 * dx + i12 * dy), -(i21 * dx + i22 * dy)};
   }

   CPoint& transform(CPoint& p) const {
      const double x = p.x;
      p.x = m11 * x + m12 * p.y + dx;
      p.y = m21 * x + m22 * p.y + dy;
      return p;
   }
   CPoint transform(const CPoint& p) const {
      CPoint r(p);
      return transform(r);
   }
   // Transforms the rectangle to the bounding box of its transformed corners.
   CRect& transform(CRect& r) const {
      CPoint a = transform(r.getTopLeft()), b = transform(r.getTopRight());
      CPoint c = transform(r.getBottomLeft()), d = transform(r.getBottomRight());
      r.left = std::min({a.x, b.x, c.x, d.x});
      r.right = std::max({a.x, b.x, c.x, d.x});
      r.top = std::min({a.y, b.y, c.y, d.y});
      r.bottom = std::max({a.y, b.y, c.y, d.y});
      return r;
   }
   CRect transform(const CRect& r) const {
      CRect t(r);
      return transform(t);
   }
   // How many device pixels one unit covers (the square root of the area scale).
   double getScale() const { return std::sqrt(std::abs(m11 * m22 - m12 * m21)); }

   double m11 = 1.;
   double m12 = 0.;
   double m21 = 0.;
   double m22 = 1.;
   double dx = 0.;
   double dy = 0.;
};

} // namespace VSTGUI
