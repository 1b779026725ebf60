// The folder chooser's flag arithmetic, which every platform's chooser shares.
#include "browse_flags.h"

#include <gtest/gtest.h>

using quillbeam::modAPI::BrowseFlags;

TEST(BrowseFlags, FollowTheSwitches) {
    EXPECT_EQ(BrowseFlags({}), 3u);
    EXPECT_EQ(BrowseFlags({.newStyle = true}), 67u);  // the Browse command's
    EXPECT_EQ(BrowseFlags({.rootAtStart = true}), 3u);
    EXPECT_EQ(BrowseFlags({.statusAndValidate = true}), 3u + 4 + 32);
    EXPECT_EQ(BrowseFlags({.editBox = true}), 3u + 16);
    EXPECT_EQ(BrowseFlags({.includeFiles = true}), 3u + 16384);
    EXPECT_EQ(BrowseFlags({true, true, true, true, true}), 16503u);
}
