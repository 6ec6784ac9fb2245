// The calculation context: what it refuses to compile, and the order its
// check tables must keep.
#include <gtest/gtest.h>

#include <type_traits>

#include "calc/context.hpp"
#include "calc/scale/pit37_messages.hpp"

namespace {

using solv::calc::Box;

// An amount where a box belongs does not compile; a box number does.
static_assert(std::is_convertible_v<int, Box>);
static_assert(!std::is_constructible_v<Box, long double>);
static_assert(!std::is_constructible_v<Box, double>);
static_assert(!std::is_constructible_v<Box, float>);

enum class Order { kFirst, kSecond, kCount };
// A table whose texts stand in another order than their checks is caught.
static_assert(solv::calc::Checks<Order>({{Order::kFirst, "a"}, {Order::kSecond, "b"}}).InOrder());
static_assert(!solv::calc::Checks<Order>({{Order::kSecond, "b"}, {Order::kFirst, "a"}}).InOrder());
static_assert(!solv::calc::Checks<Order>({{Order::kFirst, "a"}}).InOrder());

TEST(CalcContext, AChecksTextIsFoundByItsNameAndByItsPlace) {
  using solv::Pit37Check;
  const std::string byName = solv::kPit37Messages[Pit37Check::kSocialAboveIncome];
  EXPECT_NE(byName.find("Poz.93."), std::string::npos);
  EXPECT_EQ(byName, solv::kPit37Messages[static_cast<size_t>(Pit37Check::kSocialAboveIncome)]);
}

}  // namespace
