#include <gtest/gtest.h>

#include "engine/foundation/Paths.h"

namespace {

TEST(PathsTest, EscapeFileNameTable) {
    struct Case {
        const char* text;
        bool keepSpaces;
        const char* escaped;
    };
    const Case cases[] = {
        {"a_b c?", false, "a___b_0_c_6_"},
        {"a_b c?", true, "a___b c_6_"},
        {" \\/*|:?\"<>", false, "_0__1__2__3__4__5__6__7__8__9_"},
        {"_", false, "___"},
        {"..", false, ".."},
        {"Plain", false, "Plain"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeFileName(c.text, c.keepSpaces), c.escaped) << c.text;
    }
}

TEST(PathsTest, SlashesAndMediaPaths) {
    EXPECT_EQ(NormalizeSlashes(""), "");
    EXPECT_EQ(NormalizeSlashes("a\\\\b//c\\"), "a/b/c/");
    EXPECT_EQ(NormalizeMediaPath("\\Media\\Foo//Bar.PNG"), "media/foo/bar.png");
    EXPECT_EQ(NormalizeMediaPath("media/ok.ogg"), "media/ok.ogg");
    EXPECT_EQ(NormalizeMediaPath("/"), "");
}

TEST(PathsTest, NamePartsAndExtensions) {
    EXPECT_EQ(GetFileNamePart("a\\b/Name.Ext"), "Name.Ext");
    EXPECT_EQ(GetFileNamePart("Name"), "Name");
    EXPECT_EQ(GetFileExtension("a/Name.Tar.GZ"), "gz");
    EXPECT_EQ(GetFileExtension("README"), "");
    EXPECT_EQ(RemoveFileExtension("a/Name.Tar.GZ"), "a/Name.Tar");
    EXPECT_EQ(RemoveFileExtension("README"), "README");
}

}  // namespace
