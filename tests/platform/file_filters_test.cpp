// The filter of an open-file request, read the way the common dialog reads it.

#include "platform/win32/file_filters.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Patterns = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, Patterns>>;

Pairs pairsOf(const char* filter) {
    Pairs pairs;
    for (const platform::FileFilter& each : platform::fileFilters(filter))
        pairs.emplace_back(each.label, each.patterns);
    return pairs;
}

TEST(FileFilters, PairsInOrderWithTheirPatterns) {
    EXPECT_EQ(pairsOf("kvor files (*.kvs)\0*.kvs\0Images\0*.tga;*.jpg;*.zkv\0"),
              (Pairs{{"kvor files (*.kvs)", {"*.kvs"}}, {"Images", {"*.tga", "*.jpg", "*.zkv"}}}));
}

TEST(FileFilters, NoFilterAndEmptyPatternsGiveNothing) {
    EXPECT_EQ(pairsOf(nullptr), Pairs{});
    EXPECT_EQ(pairsOf("\0"), Pairs{});
    // Blanks between semicolons are no patterns.
    EXPECT_EQ(pairsOf("All\0;*.*;\0Nothing\0\0"), (Pairs{{"All", {"*.*"}}, {"Nothing", {}}}));
}

}  // namespace
