#pragma once

// The window's geometry rules in twips (1/1440 inch): the square map surface sized from the
// window's width, the window's height from the surface, SetPixelSize, and keeping a restored
// window position on the screen. Pure arithmetic; the window applies the results.
//
// "Window" sizes here are the window's client area (the frame belongs to the window manager);
// "surface" sizes are the map surface's outer size, border included.

#include <cstdint>

namespace orbelle::shell {

inline constexpr double kTwipsPerInch = 1440.0;

// Placement of the map surface in the window and the margins of the resize rule.
inline constexpr double kSurfaceLeftTwips = 960.0;
inline constexpr double kSurfaceTopTwips = 60.0;
inline constexpr double kSurfaceRightMarginTwips = 200.0;
inline constexpr double kWindowExtraHeightTwips = 400.0;
// Size of the surface and the window before the first resize.
inline constexpr double kInitialSurfaceWidthTwips = 5655.0;
inline constexpr double kInitialSurfaceHeightTwips = 5130.0;
// SetPixelSize makes the surface this many pixels larger than asked before the resize rule runs.
inline constexpr int kPixelSizeExtraPixels = 16;
// The surface's sunken border, in pixels on each side: the map fills the rest.
inline constexpr int kSurfaceBorderPixels = 2;
// A restored window keeps at least this much of itself on the screen (left and top edges).
inline constexpr double kReachableMarginTwips = 1000.0;

// Twips per pixel for a logical resolution in dots per inch (15 at 96 dpi).
double twipsPerPixel(double dotsPerInch);

// Pixels of a length in twips, nearest, ties to even.
int pixelsOf(double twips, double twipsPerPixel);

// Smallest and largest outer surface width the window allows, in twips. The resize rule holds the
// surface inside them, so neither a narrow window nor a huge one gives an unusable surface.
struct SurfaceLimits {
  double minTwips = 0.0;
  double maxTwips = 1.0e9;
};

struct ResizeOutcome {
  double windowWidthTwips = 0.0;   // the given width, or the width the limits call for
  double surfaceTwips = 0.0;       // the square surface's outer width and height
  double windowHeightTwips = 0.0;  // 2 × surface top + surface + 400
};

// Steps 4 and 5 of the resize rule: surface = window width − surface left − 200, held within
// the limits (the window width follows when it is held), window height = 2 × top + surface + 400.
ResizeOutcome resizeRule(double windowWidthTwips, const SurfaceLimits& limits);

// SetPixelSize's first surface size: Pixels + 16 pixels (the sum held in 0 .. 32767), in twips.
double pixelSizeSurfaceTwips(int pixels, double twipsPerPixel);

// The window width SetPixelSize sets: surface left + surface width + surface top.
double pixelSizeWindowWidthTwips(double surfaceTwips);

// Inner pixel width of the surface at the end of SetPixelSize(pixels): the outer width in
// pixels (rounded as the window applies it) less the border on both sides.
int innerPixelsAfterPixelSize(int pixels, double twipsPerPixel, const SurfaceLimits& limits);

// The SetPixelSize argument whose finished surface is `innerPixels` wide inside, or the nearest
// one when none is exact. SetPixelSize itself grows the surface by a few pixels (the finished
// square is not Pixels + 16 pixels), so starting from the stored width unchanged would make the
// window grow at every start.
int pixelSizeForInnerWidth(int innerPixels, double twipsPerPixel, const SurfaceLimits& limits);

// A restored window position (left, top, twips) kept reachable on a screen of the given size:
// a left beyond screen width − 1000 becomes screen width − 1000, likewise the top, and a
// negative left or top becomes 0.
struct WindowPosition {
  double left = 0.0;
  double top = 0.0;
};
WindowPosition keepReachable(WindowPosition position, double screenWidthTwips,
                             double screenHeightTwips);

// A window size in twips as the window remembers it: nearest integer, ties to even, in 32 bits
// (16 bits would not hold a window wider than about 2184 pixels at 96 dpi).
std::int32_t roundedTwips(double twips);

}  // namespace orbelle::shell
