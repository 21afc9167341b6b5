// Replays a recorded path into a cairo context.
#pragma once

#include "vstgui/lib/cgraphicspath.h"

#include <cairo.h>

namespace VSTGUI {

// Appends path to cr's current path, with transformation applied first when given.
void appendPath(cairo_t* cr, const CGraphicsPath& path, const CGraphicsTransform* transformation);
// Appends the arc of the ellipse inscribed in rect (degrees, clockwise on screen when clockwise).
void appendArc(cairo_t* cr, const CRect& rect, double startAngle, double endAngle, bool clockwise);
void appendRoundRect(cairo_t* cr, const CRect& rect, double radius);

} // namespace VSTGUI
