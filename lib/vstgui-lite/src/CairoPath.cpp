#include "CairoPath.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {

double radians(double degrees) {
   return degrees * M_PI / 180.;
}

} // namespace

void appendArc(cairo_t* cr, const CRect& rect, double startAngle, double endAngle, bool clockwise) {
   const double rx = rect.getWidth() / 2., ry = rect.getHeight() / 2.;
   if (rx <= 0. || ry <= 0.)
      return;
   cairo_matrix_t saved;
   cairo_get_matrix(cr, &saved);
   cairo_translate(cr, rect.left + rx, rect.top + ry);
   cairo_scale(cr, rx, ry);
   if (clockwise)
      cairo_arc(cr, 0., 0., 1., radians(startAngle), radians(endAngle));
   else
      cairo_arc_negative(cr, 0., 0., 1., radians(startAngle), radians(endAngle));
   cairo_set_matrix(cr, &saved);
}

void appendRoundRect(cairo_t* cr, const CRect& rect, double radius) {
   const double r = std::clamp(radius, 0., std::min(rect.getWidth(), rect.getHeight()) / 2.);
   if (r <= 0.) {
      cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
      return;
   }
   cairo_new_sub_path(cr);
   cairo_arc(cr, rect.right - r, rect.top + r, r, -M_PI / 2., 0.);
   cairo_arc(cr, rect.right - r, rect.bottom - r, r, 0., M_PI / 2.);
   cairo_arc(cr, rect.left + r, rect.bottom - r, r, M_PI / 2., M_PI);
   cairo_arc(cr, rect.left + r, rect.top + r, r, M_PI, 3. * M_PI / 2.);
   cairo_close_path(cr);
}

void appendPath(cairo_t* cr, const CGraphicsPath& path, const CGraphicsTransform* t) {
   cairo_matrix_t saved;
   cairo_get_matrix(cr, &saved);
   if (t) {
      cairo_matrix_t m;
      cairo_matrix_init(&m, t->m11, t->m21, t->m12, t->m22, t->dx, t->dy);
      cairo_transform(cr, &m);
   }
   for (const auto& e : path.getElements()) {
      switch (e.kind) {
      case CGraphicsPath::Element::MoveTo:
         cairo_move_to(cr, e.a.x, e.a.y);
         break;
      case CGraphicsPath::Element::LineTo:
         cairo_line_to(cr, e.a.x, e.a.y);
         break;
      case CGraphicsPath::Element::CurveTo:
         cairo_curve_to(cr, e.a.x, e.a.y, e.b.x, e.b.y, e.c.x, e.c.y);
         break;
      case CGraphicsPath::Element::Arc:
         appendArc(cr, e.rect, e.startAngle, e.endAngle, e.clockwise);
         break;
      case CGraphicsPath::Element::Ellipse:
         cairo_new_sub_path(cr);
         appendArc(cr, e.rect, 0., 360., true);
         cairo_close_path(cr);
         break;
      case CGraphicsPath::Element::Rect:
         cairo_rectangle(cr, e.rect.left, e.rect.top, e.rect.getWidth(), e.rect.getHeight());
         break;
      case CGraphicsPath::Element::RoundRect:
         appendRoundRect(cr, e.rect, e.radius);
         break;
      case CGraphicsPath::Element::Close:
         cairo_close_path(cr);
         break;
      }
   }
   cairo_set_matrix(cr, &saved);
}

} // namespace VSTGUI
