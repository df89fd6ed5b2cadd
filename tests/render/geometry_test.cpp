#include <gtest/gtest.h>

#include "render/geometry.h"

namespace fv {
namespace {

TEST(LocationPoint, SquaresAreCellMiddlesAndHandSlotsLieOnTheHandRows) {
  struct Case { int location; int x; int y; };
  const Case cases[] = {
      {0, 72, 105},   {8, 432, 105},  {72, 72, 505},  {80, 432, 505}, {40, 252, 305},
      {76, 252, 505}, {81, 35, 602},  {87, 305, 602}, {88, 35, 32},   {94, 305, 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocationPoint(c.location), cv::Point(c.x, c.y)) << "location " << c.location;
  }
}

TEST(LocationPoint, RejectsLocationsOutsideTheCells) {
  for (int location : {-1, 95, 1000}) EXPECT_THROW(LocationPoint(location), std::out_of_range) << location;
}

}  // namespace
}  // namespace fv
