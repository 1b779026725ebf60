#include "path_join.h"

#include <gtest/gtest.h>

using quillbeam::JoinPath;

TEST(PathJoin, AppendsOneSeparatorAndNormalisesNothing) {
    EXPECT_EQ(JoinPath(u"/srv/www", u"mytext1.txt"), u"/srv/www/mytext1.txt");
    EXPECT_EQ(JoinPath(u"/srv/www/", u"mypic.jpg"), u"/srv/www//mypic.jpg");
    EXPECT_EQ(JoinPath(u"", u"htmlcode.html"), u"/htmlcode.html") << "empty folder: the root";
    EXPECT_EQ(JoinPath(u"/", u"x"), u"//x");
    EXPECT_EQ(JoinPath(u"a/../b/.", u"x"), u"a/../b/./x");
    EXPECT_EQ(JoinPath(u"caf\u00E9 \U0001F600", u"x"), u"caf\u00E9 \U0001F600/x");
}
