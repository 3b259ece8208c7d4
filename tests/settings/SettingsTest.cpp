#include <gtest/gtest.h>
TEST(Settings, Placeholder) {}
