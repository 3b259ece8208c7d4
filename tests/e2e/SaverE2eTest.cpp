#include <gtest/gtest.h>
TEST(Saver, Placeholder) {}
