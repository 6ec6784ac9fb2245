#include <gtest/gtest.h>
#include "value/number.hpp"
TEST(Number, Smoke) { EXPECT_EQ(solv::Format("%.2f", 1234.5L), "1234,50"); }
