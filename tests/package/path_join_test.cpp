#include "path_join.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "application_folder.h"

using quillbeam::JoinPath;

TEST(PathJoin, AppendsOneSeparatorAndFindsTheProgramsFolder) {
    EXPECT_EQ(JoinPath(u"/srv/www", u"mytext1.txt"), u"/srv/www/mytext1.txt");
    EXPECT_EQ(JoinPath(u"/srv/www/", u"mypic.jpg"), u"/srv/www//mypic.jpg");
    EXPECT_EQ(JoinPath(u"", u"htmlcode.html"), u"/htmlcode.html") << "empty folder: the root";
    EXPECT_EQ(JoinPath(u"/", u"x"), u"//x");
    EXPECT_EQ(JoinPath(u"a/../b/.", u"x"), u"a/../b/./x");
    EXPECT_EQ(JoinPath(u"caf\u00E9 \U0001F600", u"x"), u"caf\u00E9 \U0001F600/x");

    // Template is joined to it, so it ends in no separator of its own.
    const std::u16string folder = quillbeam::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), u'/');
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "Template" / "mypic.jpg"));
}
