// Drawing on a cairo surface with view coordinates. The context keeps its own drawing state (colours,
// line, font, alpha, clip) and a transform stack; every operation is anti-aliased or aliased as the draw
// mode says.
#pragma once

#include "cbitmap.h"
#include "ccolor.h"
#include "cfont.h"
#include "cgraphicspath.h"

#include <array>
#include <utility>
#include <vector>

struct _cairo;
struct _PangoContext;

namespace VSTGUI {

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };

enum CDrawModeFlags : uint32_t { kAliasing = 0, kAntiAliasing = 1 };

class CDrawMode {
public:
   constexpr CDrawMode(uint32_t mode = kAliasing) : mode(mode) {}
   constexpr uint32_t modeIgnoringIntegralMode() const { return mode & 0xF; }
   constexpr bool operator==(const CDrawMode& m) const { return mode == m.mode; }
   constexpr bool operator!=(const CDrawMode& m) const { return mode != m.mode; }

private:
   uint32_t mode;
};

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

class CLineStyle {
public:
   enum LineCap { kLineCapButt = 0, kLineCapRound, kLineCapSquare };
   enum LineJoin { kLineJoinMiter = 0, kLineJoinRound, kLineJoinBevel };

   constexpr CLineStyle(LineCap cap = kLineCapButt, LineJoin join = kLineJoinMiter) : cap(cap), join(join) {}
   // On/off dash lengths in multiples of the line width (up to four values).
   constexpr CLineStyle(LineCap cap, LineJoin join, double dashPhase, std::array<double, 4> dashes,
                        int dashCount)
       : cap(cap), join(join), dashPhase(dashPhase), dashes(dashes), dashCount(dashCount) {}

   LineCap getLineCap() const { return cap; }
   LineJoin getLineJoin() const { return join; }
   double getDashPhase() const { return dashPhase; }
   int getDashCount() const { return dashCount; }
   const std::array<double, 4>& getDashLengths() const { return dashes; }

private:
   LineCap cap;
   LineJoin join;
   double dashPhase = 0.;
   std::array<double, 4> dashes{};
   int dashCount = 0;
};

inline constexpr CLineStyle kLineSolid{};
inline constexpr CLineStyle kLineOnOffDash{
    CLineStyle::kLineCapButt, CLineStyle::kLineJoinMiter, 0., {1., 1.}, 2};

class CDrawContext : public AtomicReferenceCounted {
public:
   // Draws on cr, whose surface covers surfaceRect in device pixels; scaleFactor is the number of device
   // pixels per unit before any transform is pushed. The context takes a reference on cr.
   CDrawContext(_cairo* cr, const CRect& surfaceRect, double scaleFactor = 1.);
   ~CDrawContext() noexcept override;

   // lines and shapes
   void drawLine(const CPoint& start, const CPoint& end);
   using LinePair = std::pair<CPoint, CPoint>;
   using LineList = std::vector<LinePair>;
   void drawLines(const LineList& lines);
   using PointList = std::vector<CPoint>;
   void drawPolygon(const PointList& polygonPointList, const CDrawStyle drawStyle = kDrawStroked);
   void drawRect(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
   void drawArc(const CRect& rect, const float startAngle, const float endAngle,
                const CDrawStyle drawStyle = kDrawStroked);
   void drawEllipse(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
   void drawPoint(const CPoint& point, const CColor& color);
   void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                   float alpha = 1.f);
   // Makes the rectangle fully transparent.
   void clearRect(const CRect& rect);

   // paths
   enum PathDrawMode { kPathFilled, kPathFilledEvenOdd, kPathStroked };
   CGraphicsPath* createGraphicsPath();
   CGraphicsPath* createRoundRectGraphicsPath(const CRect& rect, CCoord radius);
   void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled,
                         CGraphicsTransform* transformation = nullptr);

   // text
   void setFont(const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
   CFontRef getFont() const { return currentState.font; }
   void setFontColor(const CColor& color) { currentState.fontColor = color; }
   CColor getFontColor() const { return currentState.fontColor; }
   CCoord getStringWidth(UTF8StringPtr string);
   // Draws the string vertically centred in rect with the given horizontal alignment.
   void drawString(UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText,
                   bool antialias = true);
   // Draws the string with its baseline starting at where.
   void drawString(UTF8StringPtr string, const CPoint& where, bool antialias = true);

   // state
   void setLineStyle(const CLineStyle& style) { currentState.lineStyle = style; }
   const CLineStyle& getLineStyle() const { return currentState.lineStyle; }
   void setLineWidth(CCoord width) { currentState.lineWidth = width; }
   CCoord getLineWidth() const { return currentState.lineWidth; }
   void setDrawMode(CDrawMode mode) { currentState.drawMode = mode; }
   CDrawMode getDrawMode() const { return currentState.drawMode; }
   void setFillColor(const CColor& color) { currentState.fillColor = color; }
   CColor getFillColor() const { return currentState.fillColor; }
   void setFrameColor(const CColor& color) { currentState.frameColor = color; }
   CColor getFrameColor() const { return currentState.frameColor; }
   void setGlobalAlpha(float newAlpha) { currentState.globalAlpha = newAlpha; }
   float getGlobalAlpha() const { return currentState.globalAlpha; }
   // The clip rectangle in the current coordinates; setting replaces the clip.
   void setClipRect(const CRect& clip);
   CRect& getClipRect(CRect& clip) const;
   void resetClipRect();
   void saveGlobalState();
   void restoreGlobalState();

   // transforms
   const CGraphicsTransform& getCurrentTransform() const { return currentState.transform; }
   // Device pixels per unit with the current transform.
   double getScaleFactor() const { return currentState.transform.getScale(); }
   const CRect& getSurfaceRect() const { return surfaceRect; }

   // Applies a transform (after the current one) for the lifetime of this object.
   class Transform {
   public:
      Transform(CDrawContext& context, const CGraphicsTransform& transformation);
      ~Transform() noexcept;
      Transform(const Transform&) = delete;
      Transform& operator=(const Transform&) = delete;

   private:
      CDrawContext& context;
      CGraphicsTransform previous;
   };

   virtual void beginDraw() {}
   virtual void endDraw();

   _cairo* getCairo() const { return cr; }

private:
   struct State {
      CColor fillColor{255, 255, 255, 255};
      CColor frameColor{0, 0, 0, 255};
      CColor fontColor{255, 255, 255, 255};
      CCoord lineWidth = 1.;
      CLineStyle lineStyle = kLineSolid;
      CDrawMode drawMode = kAliasing;
      float globalAlpha = 1.f;
      CGraphicsTransform transform;
      CRect clip;                    // in device pixels
      SharedPointer<CFontDesc> font; // the font set, or a copy carrying a size or style override
   };

   void begin();
   void end();
   void setSource(const CColor& color);
   void applyLineStyle();
   bool isAntialiased() const;
   double pixelAlignOffset() const;
   void strokeOrFill(const CDrawStyle style);
   _PangoContext* pangoContext();

   _cairo* cr;
   CRect surfaceRect;
   State currentState;
   std::vector<State> stateStack;
   _PangoContext* pango = nullptr;
};

} // namespace VSTGUI
