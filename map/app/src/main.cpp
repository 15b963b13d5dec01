// orbelle-render: draws the base map for a station and radius without a display and saves it as
// a BMP or PNG picture. See render_options.hpp for the command line.

#include <QString>
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "headless_window.hpp"
#include "program_folder.hpp"
#include "raster/qt/picture_file.hpp"
#include "render/drawing_pass.hpp"
#include "render_options.hpp"
#include "render_overlay.hpp"

namespace {

using namespace orbelle;

double milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int run(const app::RenderOptions& options) {
  const std::string folder = app::dataFolder(app::programFolder());
  if (folder.empty()) {
    std::cerr << "orbelle-render: cannot tell where the program is, so not where mapdata is\n";
    return 1;
  }

  geo::MapPlane plane;
  plane.LatHere = options.lat;
  plane.LonHere = options.lon;
  plane.MaxDx = options.radiusMiles;

  render::PassOptions passOptions;
  passOptions.ShowRivers = options.rivers;
  passOptions.projectionThreads = options.threads;

  app::HeadlessWindow window(options.sizePixels, std::cerr, [&](raster::Surface& picture) {
    app::drawRenderOverlay(picture, plane, options);
  });
  render::DrawingPass pass(window, plane, passOptions, folder);
  pass.cmdDraw_Click();
  if (!window.picture()) {
    std::cerr << "orbelle-render: the map was not completed\n";
    return 1;
  }

  const auto writeStart = std::chrono::steady_clock::now();
  const QString path = QString::fromStdString(options.output);
  if (app::formatOf(options.output) == app::PictureFormat::Png) {
    raster::writePng(*window.picture(), path);
  } else {
    raster::writeBmp(*window.picture(), path);
  }
  const auto written = std::chrono::steady_clock::now() - writeStart;

  const render::PassFigures& f = pass.lastFigures();
  std::printf(
      "pass took %.1f ms (frame %.1f, outlines %.1f, fills %.1f, cache %.1f); "
      "%s written in %.1f ms\n",
      milliseconds(f.total), milliseconds(f.frame), milliseconds(f.outlines), milliseconds(f.fills),
      milliseconds(f.cache), options.output.c_str(), milliseconds(written));
  std::size_t records = 0, lines = 0, stretched = 0;
  for (const render::OutlineFigures& file : f.files) {
    records += file.records;
    lines += file.lines;
    stretched += file.stretchedLines;
  }
  std::printf(
      "%zu records, %zu lines drawn, %zu left undrawn across the antipode; "
      "%d land-coloured regions: %d decided by a deep pixel, %d across the shores, "
      "%d left undecided; %d filled with water, %d with ice\n",
      records, lines, stretched, f.regions.regions, f.regions.byDepth, f.regions.byCrossing,
      f.regions.undecided, f.regions.water, f.regions.ice);
  // A missing outline file leaves the map incomplete: the picture is written, but say so.
  return window.messages().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  app::RenderOptions options;
  try {
    options = app::parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::cerr << "orbelle-render: " << error.what() << "\n" << app::usageText();
    return 2;
  }
  if (options.help) {
    std::cout << app::usageText();
    return 0;
  }
  try {
    return run(options);
  } catch (const std::exception& error) {
    std::cerr << "orbelle-render: " << error.what() << "\n";
    return 1;
  }
}
