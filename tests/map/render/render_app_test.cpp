// orbelle-render's pieces: the command line, the headless window and the program folder.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "headless_window.hpp"
#include "render/drawing_pass.hpp"
#include "render_options.hpp"
#include "test_support.hpp"

namespace orbelle::app {
namespace {

RenderOptions parse(std::vector<std::string> args) { return parseRenderOptions(args); }

TEST(RenderOptions, DefaultsAndEveryOptionAreRead) {
  RenderOptions o = parse({"map.png"});
  EXPECT_EQ(std::tuple(o.lat, o.lon, o.radiusMiles, o.sizePixels, o.rivers, o.sun),
            std::tuple(33.9, -84.179, 12437, 600, false, false));
  EXPECT_FALSE(o.pathTo.has_value());
  EXPECT_EQ(formatOf(o.output), PictureFormat::Png);
  // Negative numbers are values, not options.
  o = parse({"--lat", "-33.9", "--lon", "151.2", "--radius", "3000", "--size", "800", "--rivers",
             "--path", "51.5", "-0.1", "--threads", "1", "out.BMP"});
  EXPECT_EQ(std::tuple(o.lat, o.lon, o.radiusMiles, o.sizePixels, o.rivers, o.threads),
            std::tuple(-33.9, 151.2, 3000, 800, true, 1u));
  EXPECT_EQ(o.pathTo, std::pair(51.5, -0.1));
  EXPECT_EQ(o.output, "out.BMP");
  EXPECT_EQ(formatOf(o.output), PictureFormat::Bmp);
  // --sun takes an optional UTC instant (a leap day in a leap year).
  o = parse({"--sun", "map.png"});
  EXPECT_TRUE(o.sun);
  EXPECT_FALSE(o.sunAt.has_value());
  for (const char* instant : {"2024-02-29 12:30:15", "2024-02-29T12:30:15"}) {
    o = parse({"--sun", instant, "map.png"});
    ASSERT_TRUE(o.sunAt.has_value());
    const UtcInstant& t = *o.sunAt;
    EXPECT_EQ(std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second),
              std::tuple(2024, 2, 29, 12, 30, 15));
  }
  EXPECT_TRUE(parse({"--help"}).help);
}

TEST(RenderOptions, BadInputIsRefusedWithTheOptionNamed) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"--lon", "-180.5", "m.png"}, "--lon"},
      {{"--lat", "north", "m.png"}, "not a number"},
      {{"--lat", "nan", "m.png"}, "not a number"},
      {{"--radius", "0", "m.png"}, "--radius"},
      {{"--radius", "32768", "m.png"}, "--radius"},
      {{"--radius", "12.5", "m.png"}, "whole number"},
      {{"--size"}, "missing"},
      {{"--path", "10", "m.png"}, "--path"},
      {{"--frobnicate", "m.png"}, "unknown option"},
      {{}, "no output"},
      {{"a.png", "b.png"}, "only one"},
      {{"map.jpg"}, ".bmp or .png"},
      {{"png"}, ".bmp or .png"},
      {{"dir.png/map"}, ".bmp or .png"},
      {{"--sun", "2024-13-01 00:00:00", "m.png"}, "--sun"},
      {{"--sun", "2023-02-29 00:00:00", "m.png"}, "--sun"}};
  for (const auto& [args, fragment] : cases) {
    try {
      parseRenderOptions(args);
      ADD_FAILURE() << "accepted: " << fragment;
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
    }
  }
}

TEST(HeadlessWindow, KeepsTheCachedMapAndDrawsTheOverlayOnIt) {
  render::test::ProgramFolder folder;
  folder.write("state.pnt", {render::test::start(60, 60), render::test::lineTo(120, 120)});
  for (const char* name : {"country.pnt", "coast.velapnt", "island.pnt", "lake.pnt"}) {
    folder.write(name, {render::test::endOfData()});
  }
  std::ostringstream messages;
  int overlays = 0;
  HeadlessWindow window(100, messages, [&](raster::Surface& picture) {
    ++overlays;
    picture.plotPixel(0, 0, raster::kRed);
  });
  geo::MapPlane plane;
  plane.MaxDx = 500;
  render::PassOptions options;
  options.ShowRivers = true;  // river.pnt is missing
  render::DrawingPass pass(window, plane, options, folder.string());
  pass.cmdDraw_Click();
  EXPECT_EQ(overlays, 1);
  EXPECT_EQ(window.picture()->pixel(0, 0), raster::kRed);
  EXPECT_EQ(window.picture()->point(0.0, 0.0), render::kMarkerColor);
  EXPECT_FALSE(window.Drawing);
  EXPECT_EQ(messages.str(), "File " + folder.string() + "/mapdata/river.pnt does not exist\n");
  EXPECT_EQ(window.messages().size(), 1u);
}

}  // namespace
}  // namespace orbelle::app
