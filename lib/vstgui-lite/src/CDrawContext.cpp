#include "vstgui/lib/cdrawcontext.h"

#include "CairoBitmap.h"
#include "CairoPath.h"
#include "FontMap.h"

#include <cairo.h>
#include <cmath>
#include <pango/pangocairo.h>

namespace VSTGUI {

CDrawContext::CDrawContext(_cairo* context, const CRect& surface, double scaleFactor)
    : cr(cairo_reference(context)), surfaceRect(surface) {
   currentState.transform.scale(scaleFactor, scaleFactor);
   currentState.clip = surfaceRect;
   currentState.font = kNormalFont;
}

CDrawContext::~CDrawContext() noexcept {
   if (pango)
      g_object_unref(pango);
   cairo_destroy(cr);
}

void CDrawContext::endDraw() {
   cairo_surface_flush(cairo_get_target(cr));
}

// Every operation runs between begin() and end(): the clip and the transform are set up in cairo from
// the context's own state, and everything cairo keeps is restored afterwards.
void CDrawContext::begin() {
   cairo_save(cr);
   cairo_identity_matrix(cr);
   const CRect& clip = currentState.clip;
   cairo_rectangle(cr, clip.left, clip.top, clip.getWidth(), clip.getHeight());
   cairo_clip(cr);
   cairo_new_path(cr);
   const auto& t = currentState.transform;
   cairo_matrix_t m;
   cairo_matrix_init(&m, t.m11, t.m21, t.m12, t.m22, t.dx, t.dy);
   cairo_set_matrix(cr, &m);
   cairo_set_antialias(cr, isAntialiased() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CDrawContext::end() {
   cairo_restore(cr);
}

bool CDrawContext::isAntialiased() const {
   return currentState.drawMode.modeIgnoringIntegralMode() & kAntiAliasing;
}

// Aliased lines of an odd number of device pixels are centred on pixel centres, so that a rectangle
// stroked at whole coordinates lights whole pixels.
double CDrawContext::pixelAlignOffset() const {
   if (isAntialiased())
      return 0.;
   const double scale = getScaleFactor();
   const long devicePixels = std::lround(currentState.lineWidth * scale);
   return (devicePixels % 2 == 1 && scale > 0.) ? 0.5 / scale : 0.;
}

void CDrawContext::setSource(const CColor& color) {
   cairo_set_source_rgba(cr, color.red / 255., color.green / 255., color.blue / 255.,
                         color.alpha / 255. * currentState.globalAlpha);
}

void CDrawContext::applyLineStyle() {
   const auto& style = currentState.lineStyle;
   cairo_set_line_width(cr, currentState.lineWidth);
   static constexpr cairo_line_cap_t caps[] = {CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND,
                                               CAIRO_LINE_CAP_SQUARE};
   static constexpr cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_ROUND,
                                                 CAIRO_LINE_JOIN_BEVEL};
   cairo_set_line_cap(cr, caps[style.getLineCap()]);
   cairo_set_line_join(cr, joins[style.getLineJoin()]);
   if (style.getDashCount() > 0) {
      double dashes[4];
      for (int i = 0; i < style.getDashCount(); ++i)
         dashes[i] = style.getDashLengths()[static_cast<size_t>(i)] * currentState.lineWidth;
      cairo_set_dash(cr, dashes, style.getDashCount(), style.getDashPhase() * currentState.lineWidth);
   } else {
      cairo_set_dash(cr, nullptr, 0, 0.);
   }
}

void CDrawContext::strokeOrFill(const CDrawStyle style) {
   if (style == kDrawFilled || style == kDrawFilledAndStroked) {
      setSource(currentState.fillColor);
      if (style == kDrawFilledAndStroked)
         cairo_fill_preserve(cr);
      else
         cairo_fill(cr);
   }
   if (style == kDrawStroked || style == kDrawFilledAndStroked) {
      applyLineStyle();
      setSource(currentState.frameColor);
      cairo_stroke(cr);
   }
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end) {
   drawLines({{start, end}});
}

void CDrawContext::drawLines(const LineList& lines) {
   begin();
   const double o = pixelAlignOffset();
   for (const auto& [a, b] : lines) {
      cairo_move_to(cr, a.x + o, a.y + o);
      cairo_line_to(cr, b.x + o, b.y + o);
   }
   strokeOrFill(kDrawStroked);
   end();
}

void CDrawContext::drawPolygon(const PointList& points, const CDrawStyle style) {
   if (points.empty())
      return;
   begin();
   const double o = style == kDrawFilled ? 0. : pixelAlignOffset();
   cairo_move_to(cr, points.front().x + o, points.front().y + o);
   for (size_t i = 1; i < points.size(); ++i)
      cairo_line_to(cr, points[i].x + o, points[i].y + o);
   cairo_close_path(cr);
   strokeOrFill(style);
   end();
}

void CDrawContext::drawRect(const CRect& rect, const CDrawStyle style) {
   begin();
   if (style != kDrawStroked) {
      cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
      strokeOrFill(kDrawFilled);
   }
   if (style != kDrawFilled) {
      const double o = pixelAlignOffset();
      cairo_rectangle(cr, rect.left + o, rect.top + o, rect.getWidth(), rect.getHeight());
      strokeOrFill(kDrawStroked);
   }
   end();
}

void CDrawContext::drawArc(const CRect& rect, const float startAngle, const float endAngle,
                           const CDrawStyle style) {
   begin();
   if (style != kDrawStroked) {
      // A filled arc is the pie slice between the two angles.
      cairo_move_to(cr, rect.getCenter().x, rect.getCenter().y);
      appendArc(cr, rect, startAngle, endAngle, true);
      cairo_close_path(cr);
      strokeOrFill(kDrawFilled);
   }
   if (style != kDrawFilled) {
      cairo_new_sub_path(cr);
      appendArc(cr, rect, startAngle, endAngle, true);
      strokeOrFill(kDrawStroked);
   }
   end();
}

void CDrawContext::drawEllipse(const CRect& rect, const CDrawStyle style) {
   begin();
   cairo_new_sub_path(cr);
   appendArc(cr, rect, 0., 360., true);
   cairo_close_path(cr);
   strokeOrFill(style);
   end();
}

void CDrawContext::drawPoint(const CPoint& point, const CColor& color) {
   begin();
   cairo_rectangle(cr, point.x, point.y, 1., 1.);
   setSource(color);
   cairo_fill(cr);
   end();
}

void CDrawContext::clearRect(const CRect& rect) {
   begin();
   cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
   cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
   cairo_fill(cr);
   end();
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha) {
   if (!bitmap)
      return;
   auto platformBitmap = bitmap->getBestPlatformBitmapForScaleFactor(getScaleFactor());
   auto* pixels = platformBitmap.cast<CairoBitmap>();
   if (!pixels || pixels->getScaleFactor() <= 0.)
      return;
   begin();
   cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
   cairo_clip(cr);
   cairo_translate(cr, dest.left - offset.x, dest.top - offset.y);
   const double scale = 1. / pixels->getScaleFactor();
   cairo_scale(cr, scale, scale);
   cairo_set_source_surface(cr, pixels->getSurface(), 0., 0.);
   cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
   cairo_paint_with_alpha(cr, alpha * currentState.globalAlpha);
   end();
}

CGraphicsPath* CDrawContext::createGraphicsPath() {
   return new CGraphicsPath();
}

CGraphicsPath* CDrawContext::createRoundRectGraphicsPath(const CRect& rect, CCoord radius) {
   auto* path = new CGraphicsPath();
   path->addRoundRect(rect, radius);
   return path;
}

void CDrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode,
                                    CGraphicsTransform* transformation) {
   if (!path)
      return;
   begin();
   appendPath(cr, *path, transformation);
   if (mode == kPathStroked) {
      strokeOrFill(kDrawStroked);
   } else {
      cairo_set_fill_rule(cr,
                          mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
      strokeOrFill(kDrawFilled);
   }
   end();
}

void CDrawContext::setFont(const CFontRef newFont, const CCoord& size, const int32_t& style) {
   if (!newFont) {
      currentState.font = kNormalFont;
      return;
   }
   if (size <= 0. && style < 0) {
      currentState.font = newFont;
      return;
   }
   auto copy = makeOwned<CFontDesc>(*newFont);
   if (size > 0.)
      copy->setSize(size);
   if (style >= 0)
      copy->setStyle(style);
   currentState.font = copy;
}

_PangoContext* CDrawContext::pangoContext() {
   if (!pango) {
      pango = Fonts::createContext();
      cairo_font_options_t* options = cairo_font_options_create();
      cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
      cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
      pango_cairo_context_set_font_options(pango, options);
      cairo_font_options_destroy(options);
   }
   return pango;
}

namespace {

// A layout of the string in the font; the caller unrefs it.
PangoLayout* makeLayout(PangoContext* context, const CFontDesc* font, UTF8StringPtr string) {
   PangoLayout* layout = pango_layout_new(context);
   CFontDesc fallback("", 12);
   const CFontDesc* f = font ? font : &fallback;
   pango_layout_set_font_description(layout, static_cast<PangoFontDescription*>(f->getPlatformDescription()));
   if (f->getStyle() & (kUnderlineFace | kStrikethroughFace)) {
      PangoAttrList* attributes = pango_attr_list_new();
      if (f->getStyle() & kUnderlineFace)
         pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      if (f->getStyle() & kStrikethroughFace)
         pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
      pango_layout_set_attributes(layout, attributes);
      pango_attr_list_unref(attributes);
   }
   pango_layout_set_text(layout, string ? string : "", -1);
   return layout;
}

} // namespace

CCoord CDrawContext::getStringWidth(UTF8StringPtr string) {
   PangoLayout* layout = makeLayout(pangoContext(), currentState.font, string);
   PangoRectangle logical;
   pango_layout_get_extents(layout, nullptr, &logical);
   g_object_unref(layout);
   return static_cast<CCoord>(logical.width) / PANGO_SCALE;
}

void CDrawContext::drawString(UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign,
                              bool antialias) {
   if (!string || !*string)
      return;
   begin();
   cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
   pango_cairo_update_context(cr, pangoContext());
   PangoLayout* layout = makeLayout(pangoContext(), currentState.font, string);
   PangoRectangle logical;
   pango_layout_get_extents(layout, nullptr, &logical);
   const double width = static_cast<double>(logical.width) / PANGO_SCALE;
   const double height = static_cast<double>(logical.height) / PANGO_SCALE;
   double x = rect.left;
   if (hAlign == kCenterText)
      x = rect.left + (rect.getWidth() - width) / 2.;
   else if (hAlign == kRightText)
      x = rect.right - width;
   const double y = rect.top + (rect.getHeight() - height) / 2.;
   cairo_move_to(cr, x - static_cast<double>(logical.x) / PANGO_SCALE,
                 y - static_cast<double>(logical.y) / PANGO_SCALE);
   setSource(currentState.fontColor);
   pango_cairo_show_layout(cr, layout);
   g_object_unref(layout);
   end();
}

void CDrawContext::drawString(UTF8StringPtr string, const CPoint& where, bool antialias) {
   if (!string || !*string)
      return;
   begin();
   cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
   pango_cairo_update_context(cr, pangoContext());
   PangoLayout* layout = makeLayout(pangoContext(), currentState.font, string);
   const double baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
   cairo_move_to(cr, where.x, where.y - baseline);
   setSource(currentState.fontColor);
   pango_cairo_show_layout(cr, layout);
   g_object_unref(layout);
   end();
}

void CDrawContext::setClipRect(const CRect& clip) {
   CRect device = currentState.transform.transform(clip);
   device.bound(surfaceRect);
   currentState.clip = device;
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
   clip = currentState.transform.inverse().transform(currentState.clip);
   return clip;
}

void CDrawContext::resetClipRect() {
   currentState.clip = surfaceRect;
}

void CDrawContext::saveGlobalState() {
   stateStack.push_back(currentState);
}

void CDrawContext::restoreGlobalState() {
   if (stateStack.empty())
      return;
   currentState = stateStack.back();
   stateStack.pop_back();
}

CDrawContext::Transform::Transform(CDrawContext& context, const CGraphicsTransform& transformation)
    : context(context), previous(context.currentState.transform) {
   context.currentState.transform = previous * transformation;
}

CDrawContext::Transform::~Transform() noexcept {
   context.currentState.transform = previous;
}

} // namespace VSTGUI
