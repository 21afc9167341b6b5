#include "vstgui/lib/cgraphicspath.h"

#include "CairoPath.h"

namespace VSTGUI {

void CGraphicsPath::beginSubpath(const CPoint& start) {
   elements.push_back({Element::MoveTo, start, {}, {}, {}});
}

void CGraphicsPath::addLine(const CPoint& to) {
   elements.push_back({Element::LineTo, to, {}, {}, {}});
}

void CGraphicsPath::addBezierCurve(const CPoint& control1, const CPoint& control2, const CPoint& end) {
   elements.push_back({Element::CurveTo, control1, control2, end, {}});
}

void CGraphicsPath::addArc(const CRect& rect, double startAngle, double endAngle, bool clockwise) {
   Element e{Element::Arc, {}, {}, {}, rect};
   e.startAngle = startAngle;
   e.endAngle = endAngle;
   e.clockwise = clockwise;
   elements.push_back(e);
}

void CGraphicsPath::addEllipse(const CRect& rect) {
   elements.push_back({Element::Ellipse, {}, {}, {}, rect});
}

void CGraphicsPath::addRect(const CRect& rect) {
   elements.push_back({Element::Rect, {}, {}, {}, rect});
}

void CGraphicsPath::addRoundRect(const CRect& rect, CCoord radius) {
   Element e{Element::RoundRect, {}, {}, {}, rect};
   e.radius = radius;
   elements.push_back(e);
}

void CGraphicsPath::addPath(const CGraphicsPath& path, const CGraphicsTransform* transformation) {
   if (!transformation) {
      elements.insert(elements.end(), path.elements.begin(), path.elements.end());
      return;
   }
   // Shapes given by rectangles only survive axis-aligned transforms exactly; their rectangles are mapped.
   for (auto e : path.elements) {
      transformation->transform(e.a);
      transformation->transform(e.b);
      transformation->transform(e.c);
      transformation->transform(e.rect);
      elements.push_back(e);
   }
}

void CGraphicsPath::closeSubpath() {
   elements.push_back({Element::Close, {}, {}, {}, {}});
}

namespace {

template <typename Query> auto withScratchPath(const CGraphicsPath& path, Query query) {
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
   cairo_t* cr = cairo_create(surface);
   appendPath(cr, path, nullptr);
   auto result = query(cr);
   cairo_destroy(cr);
   cairo_surface_destroy(surface);
   return result;
}

} // namespace

CRect CGraphicsPath::getBoundingBox() const {
   return withScratchPath(*this, [](cairo_t* cr) {
      double x1, y1, x2, y2;
      cairo_path_extents(cr, &x1, &y1, &x2, &y2);
      return CRect(x1, y1, x2, y2);
   });
}

bool CGraphicsPath::hitTest(const CPoint& p, bool evenOddFilled) const {
   return withScratchPath(*this, [&](cairo_t* cr) {
      cairo_set_fill_rule(cr, evenOddFilled ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
      return static_cast<bool>(cairo_in_fill(cr, p.x, p.y));
   });
}

} // namespace VSTGUI
