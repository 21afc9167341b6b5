// Draws the bundle's images: the main view's background at 1x and 2x and the settings page's close button
// (normal and held) at 1x, 1.5x and 2x. Everything is drawn in the 800 x 494 base space and scaled, so the
// resolutions match pixel for pixel. Usage: scorchwire-images OUTPUT_FOLDER
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr double baseWidth = 800.;
constexpr double baseHeight = 494.;

struct Rgb {
   double r, g, b;
};

constexpr Rgb rgb(int r, int g, int b) {
   return {r / 255., g / 255., b / 255.};
}

void setColor(cairo_t* cr, Rgb c, double alpha = 1.) {
   cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
   cairo_new_sub_path(cr);
   cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2., 0.);
   cairo_arc(cr, x + w - r, y + h - r, r, 0., M_PI / 2.);
   cairo_arc(cr, x + r, y + h - r, r, M_PI / 2., M_PI);
   cairo_arc(cr, x + r, y + r, r, M_PI, 3. * M_PI / 2.);
   cairo_close_path(cr);
}

// A small deterministic generator: the same images on every build.
struct Grain {
   uint32_t state = 0x2545f491u;
   double next() {
      state = state * 1664525u + 1013904223u;
      return (state >> 8) / 16777216.;
   }
};

// The faceplate: a dark vertical gradient with a faint horizontal brush, lighter where the header sits.
void drawFaceplate(cairo_t* cr) {
   cairo_pattern_t* plate = cairo_pattern_create_linear(0., 0., 0., baseHeight);
   cairo_pattern_add_color_stop_rgb(plate, 0., 0.150, 0.157, 0.173);
   cairo_pattern_add_color_stop_rgb(plate, 0.19, 0.129, 0.137, 0.149);
   cairo_pattern_add_color_stop_rgb(plate, 1., 0.082, 0.086, 0.098);
   cairo_set_source(cr, plate);
   cairo_paint(cr);
   cairo_pattern_destroy(plate);

   Grain grain;
   for (double y = 0.; y < baseHeight; y += 1.) {
      const double a = grain.next();
      cairo_rectangle(cr, 0., y, baseWidth, 1.);
      if (a < 0.5)
         cairo_set_source_rgba(cr, 1., 1., 1., 0.018 * a);
      else
         cairo_set_source_rgba(cr, 0., 0., 0., 0.05 * (a - 0.5));
      cairo_fill(cr);
   }

   // Soft darkening towards the edges.
   cairo_pattern_t* vignette = cairo_pattern_create_radial(baseWidth / 2., baseHeight * 0.42, 120.,
                                                           baseWidth / 2., baseHeight / 2., 520.);
   cairo_pattern_add_color_stop_rgba(vignette, 0., 0., 0., 0., 0.);
   cairo_pattern_add_color_stop_rgba(vignette, 1., 0., 0., 0., 0.35);
   cairo_set_source(cr, vignette);
   cairo_paint(cr);
   cairo_pattern_destroy(vignette);
}

// A machined groove: a dark line with a light line under it.
void drawGroove(cairo_t* cr, double x0, double x1, double y) {
   cairo_set_line_width(cr, 1.);
   setColor(cr, rgb(0, 0, 0), 0.55);
   cairo_move_to(cr, x0, y + 0.5);
   cairo_line_to(cr, x1, y + 0.5);
   cairo_stroke(cr);
   setColor(cr, rgb(255, 255, 255), 0.06);
   cairo_move_to(cr, x0, y + 1.5);
   cairo_line_to(cr, x1, y + 1.5);
   cairo_stroke(cr);
}

void drawScrew(cairo_t* cr, double x, double y) {
   cairo_pattern_t* head = cairo_pattern_create_radial(x - 1.5, y - 1.5, 0.5, x, y, 5.);
   cairo_pattern_add_color_stop_rgb(head, 0., 0.42, 0.43, 0.45);
   cairo_pattern_add_color_stop_rgb(head, 1., 0.17, 0.18, 0.19);
   cairo_arc(cr, x, y, 4.5, 0., 2. * M_PI);
   cairo_set_source(cr, head);
   cairo_fill_preserve(cr);
   cairo_pattern_destroy(head);
   setColor(cr, rgb(0, 0, 0), 0.6);
   cairo_set_line_width(cr, 0.8);
   cairo_stroke(cr);
   // A hex socket.
   setColor(cr, rgb(12, 12, 14), 0.9);
   for (int k = 0; k < 6; ++k) {
      const double a = M_PI / 6. + k * M_PI / 3.;
      if (k == 0)
         cairo_move_to(cr, x + 2. * std::cos(a), y + 2. * std::sin(a));
      else
         cairo_line_to(cr, x + 2. * std::cos(a), y + 2. * std::sin(a));
   }
   cairo_close_path(cr);
   cairo_fill(cr);
}

// A section of the panel: a slightly raised plate with a lit top edge and a soft shadow below.
void drawSection(cairo_t* cr, double x, double y, double w, double h) {
   for (int i = 4; i >= 1; --i) {
      roundedRect(cr, x - i * 0.5, y + i * 0.8, w + i, h + i * 0.6, 9.);
      setColor(cr, rgb(0, 0, 0), 0.07);
      cairo_fill(cr);
   }
   cairo_pattern_t* fill = cairo_pattern_create_linear(0., y, 0., y + h);
   cairo_pattern_add_color_stop_rgb(fill, 0., 0.149, 0.157, 0.169);
   cairo_pattern_add_color_stop_rgb(fill, 1., 0.110, 0.114, 0.125);
   roundedRect(cr, x, y, w, h, 8.);
   cairo_set_source(cr, fill);
   cairo_fill(cr);
   cairo_pattern_destroy(fill);

   cairo_pattern_t* rim = cairo_pattern_create_linear(0., y, 0., y + h);
   cairo_pattern_add_color_stop_rgba(rim, 0., 1., 1., 1., 0.13);
   cairo_pattern_add_color_stop_rgba(rim, 0.08, 1., 1., 1., 0.03);
   cairo_pattern_add_color_stop_rgba(rim, 1., 0., 0., 0., 0.5);
   roundedRect(cr, x + 0.5, y + 0.5, w - 1., h - 1., 7.5);
   cairo_set_source(cr, rim);
   cairo_set_line_width(cr, 1.);
   cairo_stroke(cr);
   cairo_pattern_destroy(rim);

   // The heading strip along the top of the section.
   drawGroove(cr, x + 14., x + w - 14., y + 44.);
}

// A recessed socket the knob sits in, with the scale of its travel: 145 degrees clockwise over 250
// degrees, the knob's own arc geometry.
void drawKnobWell(cairo_t* cr, double cx, double cy, double wellRadius, double tickInner, double tickOuter,
                  int majorTicks, bool minorTicks) {
   cairo_pattern_t* well =
       cairo_pattern_create_radial(cx, cy - wellRadius * 0.3, wellRadius * 0.2, cx, cy, wellRadius);
   cairo_pattern_add_color_stop_rgb(well, 0., 0.055, 0.059, 0.067);
   cairo_pattern_add_color_stop_rgb(well, 1., 0.035, 0.039, 0.043);
   cairo_arc(cr, cx, cy, wellRadius, 0., 2. * M_PI);
   cairo_set_source(cr, well);
   cairo_fill(cr);
   cairo_pattern_destroy(well);
   // Lit lower lip, shaded upper lip.
   cairo_pattern_t* lip = cairo_pattern_create_linear(0., cy - wellRadius, 0., cy + wellRadius);
   cairo_pattern_add_color_stop_rgba(lip, 0., 0., 0., 0., 0.6);
   cairo_pattern_add_color_stop_rgba(lip, 1., 1., 1., 1., 0.10);
   cairo_arc(cr, cx, cy, wellRadius - 0.5, 0., 2. * M_PI);
   cairo_set_source(cr, lip);
   cairo_set_line_width(cr, 1.);
   cairo_stroke(cr);
   cairo_pattern_destroy(lip);

   cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
   const int steps = minorTicks ? (majorTicks - 1) * 2 : majorTicks - 1;
   for (int k = 0; k <= steps; ++k) {
      const bool major = !minorTicks || k % 2 == 0;
      const double a = (145. + 250. * k / steps) * M_PI / 180.;
      const double inner = major ? tickInner : tickInner + (tickOuter - tickInner) * 0.45;
      cairo_move_to(cr, cx + inner * std::cos(a), cy + inner * std::sin(a));
      cairo_line_to(cr, cx + tickOuter * std::cos(a), cy + tickOuter * std::sin(a));
      setColor(cr, rgb(150, 153, 158), major ? 0.55 : 0.3);
      cairo_set_line_width(cr, major ? 1.2 : 0.9);
      cairo_stroke(cr);
   }
   cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// A small knob: 60 units wide, the face 20 units in radius.
void drawSmallKnobWell(cairo_t* cr, double left, double top) {
   drawKnobWell(cr, left + 30., top + 30., 23.5, 25., 28., 11, false);
}

// The window behind the meters and the scope: a dark recessed screen with a faint graticule.
void drawDisplay(cairo_t* cr) {
   const double x = 30., y = 374., w = 740., h = 114.;
   roundedRect(cr, x - 1., y - 1., w + 2., h + 2., 7.);
   setColor(cr, rgb(255, 255, 255), 0.07);
   cairo_fill(cr);
   roundedRect(cr, x, y, w, h, 6.);
   setColor(cr, rgb(9, 10, 11));
   cairo_fill(cr);
   // Inner shadow along the top.
   cairo_pattern_t* shadow = cairo_pattern_create_linear(0., y, 0., y + 10.);
   cairo_pattern_add_color_stop_rgba(shadow, 0., 0., 0., 0., 0.7);
   cairo_pattern_add_color_stop_rgba(shadow, 1., 0., 0., 0., 0.);
   roundedRect(cr, x, y, w, h, 6.);
   cairo_set_source(cr, shadow);
   cairo_fill(cr);
   cairo_pattern_destroy(shadow);

   // Meter scale: a tick every 3 dB under the bars (41 ... 757 spans -30 ... 0 dB), longer every 6 dB.
   cairo_set_line_width(cr, 1.);
   for (int db = 0; db <= 30; db += 3) {
      const double tx = std::round(41. + 716. * (30 - db) / 30.) + 0.5;
      const double length = db % 6 == 0 ? 5. : 3.;
      setColor(cr, rgb(120, 124, 130), db % 6 == 0 ? 0.55 : 0.35);
      cairo_move_to(cr, tx - (db == 0 ? 1. : 0.), 401.);
      cairo_line_to(cr, tx - (db == 0 ? 1. : 0.), 401. + length);
      cairo_stroke(cr);
   }

   // Scope graticule: centre line and quiet divisions (scope at 40 ... 760 x 415 ... 480).
   setColor(cr, rgb(255, 255, 255), 0.045);
   for (double gx = 40. + 72.; gx < 760.; gx += 72.) {
      cairo_move_to(cr, std::round(gx) + 0.5, 416.);
      cairo_line_to(cr, std::round(gx) + 0.5, 480.);
   }
   cairo_move_to(cr, 40., 431.5);
   cairo_line_to(cr, 760., 431.5);
   cairo_move_to(cr, 40., 463.5);
   cairo_line_to(cr, 760., 463.5);
   cairo_stroke(cr);
   setColor(cr, rgb(255, 255, 255), 0.09);
   cairo_move_to(cr, 40., 447.5);
   cairo_line_to(cr, 760., 447.5);
   cairo_stroke(cr);
}

void drawBackground(cairo_t* cr) {
   drawFaceplate(cr);

   // Header: title on the left, preset bar in the middle, settings button on the right.
   drawGroove(cr, 18., 782., 94.);
   roundedRect(cr, 296.5, 34.5, 207., 42., 7.);
   setColor(cr, rgb(0, 0, 0), 0.35);
   cairo_fill(cr);
   roundedRect(cr, 296.5, 34.5, 207., 42., 7.);
   setColor(cr, rgb(255, 255, 255), 0.05);
   cairo_set_line_width(cr, 1.);
   cairo_stroke(cr);

   for (const auto& [sx, sy] : {std::pair{11., 11.}, {789., 11.}, {11., 483.}, {789., 483.}})
      drawScrew(cr, sx, sy);

   // Sections: pre-filter, distortion, distortion parameters.
   drawSection(cr, 34., 108., 218., 244.);
   drawSection(cr, 284., 108., 232., 262.);
   drawSection(cr, 534., 108., 248., 244.);

   // Knob sockets at the knobs' places.
   drawSmallKnobWell(cr, 72., 180.);                         // cutoff
   drawSmallKnobWell(cr, 152., 180.);                        // resonance
   drawKnobWell(cr, 142., 274., 17.5, 18.5, 21., 11, false); // envelope, 48 wide
   drawKnobWell(cr, 400., 256., 76., 76.8, 80.5, 11, true);  // drive, 160 wide
   drawSmallKnobWell(cr, 555., 180.);
   drawSmallKnobWell(cr, 630., 180.);
   drawSmallKnobWell(cr, 705., 180.);

   drawDisplay(cr);
}

// The settings page's close button: a round grey button with a cross.
void drawCloseButton(cairo_t* cr, bool held) {
   const double c = 12.;
   cairo_arc(cr, c, c, 10.5, 0., 2. * M_PI);
   setColor(cr, held ? rgb(96, 98, 102) : rgb(52, 54, 58));
   cairo_fill_preserve(cr);
   setColor(cr, held ? rgb(220, 220, 220) : rgb(130, 132, 136));
   cairo_set_line_width(cr, 1.2);
   cairo_stroke(cr);
   cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
   cairo_set_line_width(cr, 2.);
   setColor(cr, held ? rgb(255, 255, 255) : rgb(200, 200, 200));
   cairo_move_to(cr, c - 4.5, c - 4.5);
   cairo_line_to(cr, c + 4.5, c + 4.5);
   cairo_move_to(cr, c + 4.5, c - 4.5);
   cairo_line_to(cr, c - 4.5, c + 4.5);
   cairo_stroke(cr);
}

template <typename Draw>
bool writeImage(const std::string& path, double width, double height, double scale, Draw draw) {
   cairo_surface_t* surface =
       cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::lround(width * scale)),
                                  static_cast<int>(std::lround(height * scale)));
   cairo_t* cr = cairo_create(surface);
   cairo_scale(cr, scale, scale);
   draw(cr);
   cairo_destroy(cr);
   const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
   cairo_surface_destroy(surface);
   if (!written)
      std::fprintf(stderr, "scorchwire-images: cannot write %s\n", path.c_str());
   return written;
}

} // namespace

int main(int argc, char** argv) {
   if (argc != 2) {
      std::fprintf(stderr, "usage: scorchwire-images OUTPUT_FOLDER\n");
      return 2;
   }
   const std::string folder = std::string(argv[1]) + "/";
   bool ok = writeImage(folder + "background.png", baseWidth, baseHeight, 1., drawBackground) &&
             writeImage(folder + "backgroundx2.png", baseWidth, baseHeight, 2., drawBackground);
   for (const auto& [suffix, scale] : {std::pair{"", 1.}, {"_1.5x", 1.5}, {"_2x", 2.}}) {
      ok = ok && writeImage(folder + "quit" + suffix + ".png", 24., 24., scale,
                            [](cairo_t* cr) { drawCloseButton(cr, false); });
      ok = ok && writeImage(folder + "quit_pressed" + suffix + ".png", 24., 24., scale,
                            [](cairo_t* cr) { drawCloseButton(cr, true); });
   }
   cairo_debug_reset_static_data();
   return ok ? 0 : 1;
}
