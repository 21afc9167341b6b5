// A vector path recorded in view coordinates and replayed when a draw context fills or strokes it.
// Angles are in degrees, 0 at three o'clock, growing clockwise.
#pragma once

#include "cgraphicstransform.h"

#include <vector>

namespace VSTGUI {

class CGraphicsPath : public AtomicReferenceCounted {
public:
   CGraphicsPath() = default;

   void beginSubpath(const CPoint& start);
   void addLine(const CPoint& to);
   void addBezierCurve(const CPoint& control1, const CPoint& control2, const CPoint& end);
   // An arc of the ellipse inscribed in rect.
   void addArc(const CRect& rect, double startAngle, double endAngle, bool clockwise);
   void addEllipse(const CRect& rect);
   void addRect(const CRect& rect);
   void addRoundRect(const CRect& rect, CCoord radius);
   void addPath(const CGraphicsPath& path, const CGraphicsTransform* transformation = nullptr);
   void closeSubpath();

   CRect getBoundingBox() const;
   bool hitTest(const CPoint& p, bool evenOddFilled = false) const;
   bool isEmpty() const { return elements.empty(); }

   struct Element {
      enum Kind { MoveTo, LineTo, CurveTo, Arc, Ellipse, Rect, RoundRect, Close } kind;
      CPoint a, b, c;
      CRect rect;
      double startAngle = 0., endAngle = 0., radius = 0.;
      bool clockwise = true;
   };
   const std::vector<Element>& getElements() const { return elements; }

private:
   std::vector<Element> elements;
};

} // namespace VSTGUI
