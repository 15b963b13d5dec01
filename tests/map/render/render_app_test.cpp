// orbelle-render's pieces: the command line, the headless window and the program folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "headless_window.hpp"
#include "program_folder.hpp"
#include "render/drawing_pass.hpp"
#include "render_options.hpp"
#include "test_support.hpp"

namespace orbelle::app {
namespace {

RenderOptions parse(std::vector<std::string> args) { return parseRenderOptions(args); }

std::string errorOf(std::vector<std::string> args) {
  try {
    parseRenderOptions(args);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "";
}

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
  // --sun takes an optional UTC instant.
  o = parse({"--sun", "map.png"});
  EXPECT_TRUE(o.sun);
  EXPECT_FALSE(o.sunAt.has_value());
  for (const char* instant : {"2024-06-21 12:30:15", "2024-06-21T12:30:15"}) {
    o = parse({"--sun", instant, "map.png"});
    ASSERT_TRUE(o.sunAt.has_value());
    const UtcInstant& t = *o.sunAt;
    EXPECT_EQ(std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second),
              std::tuple(2024, 6, 21, 12, 30, 15));
  }
  EXPECT_TRUE(parse({"--help"}).help);
}

TEST(RenderOptions, BadInputIsRefusedWithTheOptionNamed) {
  EXPECT_NE(errorOf({"--lat", "91", "m.png"}).find("--lat"), std::string::npos);
  EXPECT_NE(errorOf({"--lon", "-180.5", "m.png"}).find("--lon"), std::string::npos);
  EXPECT_NE(errorOf({"--lat", "north", "m.png"}).find("not a number"), std::string::npos);
  EXPECT_NE(errorOf({"--lat", "nan", "m.png"}).find("not a number"), std::string::npos);
  EXPECT_NE(errorOf({"--radius", "0", "m.png"}).find("--radius"), std::string::npos);
  EXPECT_NE(errorOf({"--radius", "32768", "m.png"}).find("--radius"), std::string::npos);
  EXPECT_NE(errorOf({"--radius", "12.5", "m.png"}).find("whole number"), std::string::npos);
  EXPECT_NE(errorOf({"--size", "9000", "m.png"}).find("--size"), std::string::npos);
  EXPECT_NE(errorOf({"--size"}).find("missing"), std::string::npos);
  EXPECT_NE(errorOf({"--path", "10", "m.png"}).find("--path"), std::string::npos);
  EXPECT_NE(errorOf({"--frobnicate", "m.png"}).find("unknown option"), std::string::npos);
  EXPECT_NE(errorOf({}).find("no output"), std::string::npos);
  EXPECT_NE(errorOf({"a.png", "b.png"}).find("only one"), std::string::npos);
  EXPECT_NE(errorOf({"map.jpg"}).find(".bmp or .png"), std::string::npos);
  EXPECT_NE(errorOf({"png"}).find(".bmp or .png"), std::string::npos);
  EXPECT_NE(errorOf({"dir.png/map"}).find(".bmp or .png"), std::string::npos);
  EXPECT_NE(errorOf({"--sun", "2024-13-01 00:00:00", "m.png"}).find("--sun"), std::string::npos);
  EXPECT_NE(errorOf({"--sun", "2024-01-01 25:00:00", "m.png"}).find("--sun"), std::string::npos);
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
  ASSERT_TRUE(window.picture().has_value());
  EXPECT_EQ(overlays, 1);
  EXPECT_EQ(window.picture()->pixel(0, 0), raster::kRed);
  EXPECT_EQ(window.picture()->point(0.0, 0.0), render::kMarkerColor);
  EXPECT_FALSE(window.Drawing);
  EXPECT_EQ(messages.str(), "File " + folder.string() + "/mapdata/river.pnt does not exist\n");
  ASSERT_EQ(window.messages().size(), 1u);
}

TEST(ProgramFolder, IsTheRealFolderOfTheRunningProgram) {
  const std::string folder = programFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(std::filesystem::canonical(folder).string(), folder);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "test_map_render"));
}

}  // namespace
}  // namespace orbelle::app
