// Where a window opens beside another: the coaching dialogs beside the answer dialog, help
// beside the main window.
#include "ui/place_beside.h"

#include <gtest/gtest.h>

namespace {

struct PlaceCase {
  const char* name;
  QRect anchor;
  QSize size;
  QRect screen;
  int clearTop;
  int minimumHeight;
  QRect placed;
};

void PrintTo(const PlaceCase& row, std::ostream* os) {
  *os << row.name;
}

const QRect kScreen(0, 0, 1280, 1024);

// clang-format off
const PlaceCase kPlaces[] = {
    {"RoomOnTheRight", {100, 100, 600, 500}, {400, 300}, kScreen, 60, -1, {700, 100, 400, 300}},
    {"RightEdgeJustFits", {100, 100, 780, 500}, {400, 300}, kScreen, 60, -1, {880, 100, 400, 300}},
    {"OnlyOnTheLeft", {500, 100, 600, 500}, {400, 300}, kScreen, 60, -1, {100, 100, 400, 300}},
    {"LeftEdgeJustFits", {400, 100, 700, 500}, {400, 300}, kScreen, 60, -1, {0, 100, 400, 300}},
    // Beside, the top is level with the anchor's, moved up as far as the screen needs.
    {"BesideButLowOnTheScreen", {100, 900, 600, 100}, {400, 300}, kScreen, 60, -1,
     {700, 724, 400, 300}},
    // No room either side: over the anchor below its band, against the roomier side's edge.
    {"NeitherSideOverTheLowerPart", {200, 100, 900, 700}, {400, 300}, kScreen, 60, -1,
     {0, 160, 400, 300}},
    {"NeitherSideRoomierOnTheRight", {100, 100, 900, 700}, {400, 300}, kScreen, 60, -1,
     {880, 160, 400, 300}},
    // Too tall to fit below the band: moved up over it when it cannot shrink...
    {"NeitherSideTallFixedWindowMovesUp", {100, 100, 900, 900}, {400, 900}, kScreen, 60, -1,
     {880, 124, 400, 900}},
    // ... made shorter instead when it may, though not below its least height.
    {"NeitherSideTallWindowShrinks", {100, 100, 900, 900}, {400, 900}, kScreen, 60, 300,
     {880, 160, 400, 864}},
    {"NeitherSideShrinksOnlySoFar", {100, 600, 900, 400}, {400, 900}, kScreen, 60, 300,
     {880, 660, 400, 364}},
    {"NeitherSideLeastHeightStillTooTall", {100, 800, 900, 200}, {400, 900}, kScreen, 60, 300,
     {880, 724, 400, 300}},
    // A small screen: the window is cut to it and stays on it.
    {"SmallScreen", {0, 0, 600, 400}, {800, 700}, {0, 0, 640, 480}, 50, -1, {0, 0, 640, 480}},
    {"SmallScreenBesideOnTheLeft", {300, 20, 340, 300}, {300, 500}, {0, 0, 640, 480}, 50, -1,
     {0, 0, 300, 480}},
    // A second screen to the right of the first, its panel at the top.
    {"SecondScreenRight", {1400, 200, 600, 500}, {400, 300}, {1280, 30, 1280, 994}, 60, -1,
     {2000, 200, 400, 300}},
    {"SecondScreenLeft", {1900, 20, 600, 500}, {400, 300}, {1280, 30, 1280, 994}, 60, -1,
     {1500, 30, 400, 300}},
};
// clang-format on

class PlaceBesideTable : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceBesideTable, BesideWhereThereIsRoomElseBelowTheTopBandAndAlwaysOnTheScreen) {
  const PlaceCase& row = GetParam();
  const QRect placed =
      PlaceBeside(row.anchor, row.size, row.screen, row.clearTop, row.minimumHeight);
  EXPECT_EQ(placed, row.placed);
  EXPECT_TRUE(row.screen.contains(placed)) << placed.x() << "," << placed.y();
}

INSTANTIATE_TEST_SUITE_P(, PlaceBesideTable, testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

struct RoomCase {
  const char* name;
  QRect window;
  int besideWidth;
  QRect screen;
  QPoint placed;
};

void PrintTo(const RoomCase& row, std::ostream* os) {
  *os << row.name;
}

// clang-format off
const RoomCase kRooms[] = {
    {"RoomOnTheRightAlready", {100, 100, 500, 480}, 600, kScreen, {100, 100}},
    {"RoomOnTheLeftAlready", {700, 100, 500, 480}, 600, kScreen, {700, 100}},
    // Centred on a 1280 screen, neither side has 600: the least move makes room on one.
    {"CentredMovesLeft", {380, 100, 500, 480}, 600, kScreen, {180, 100}},
    {"RightOfCentreMovesRight", {420, 100, 500, 480}, 600, kScreen, {600, 100}},
    {"ExactFit", {400, 100, 680, 480}, 600, kScreen, {600, 100}},
    // Too narrow a screen for both: left where it is, on the screen.
    {"ScreenTooNarrow", {300, 100, 700, 480}, 600, kScreen, {300, 100}},
    {"OffTheScreenComesBack", {-50, 900, 500, 480}, 600, kScreen, {0, 544}},
    {"SecondScreen", {1700, 200, 500, 480}, 600, {1280, 0, 1280, 1024}, {1880, 200}},
};
// clang-format on

class MakeRoomBesideTable : public testing::TestWithParam<RoomCase> {};

TEST_P(MakeRoomBesideTable, MovesSidewaysTheLeastThatLeavesRoomBeside) {
  const RoomCase& row = GetParam();
  const QRect placed = MakeRoomBeside(row.window, row.besideWidth, row.screen);
  EXPECT_EQ(placed, QRect(row.placed, row.window.size()));
  EXPECT_TRUE(row.screen.contains(placed));
}

INSTANTIATE_TEST_SUITE_P(, MakeRoomBesideTable, testing::ValuesIn(kRooms),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
