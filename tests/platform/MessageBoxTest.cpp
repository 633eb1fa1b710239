#include <gtest/gtest.h>

#include <string>

#include "platform/MessageBox.h"

namespace {

// Long lines break at their last space that fits, a path at its last '/';
// short lines and the breaks already there stay as they are.
TEST(MessageBoxTest, LongLinesAreFittedToTheBox) {
    const struct {
        const char* text;
        const char* fitted;
    } cases[] = {
        {"short\n\nlines", "short\n\nlines"},
        {"one two three four", "one two\nthree four"},
        {"File: /home/ada/.local/share/Quelt", "File:\n/home/ada/\n.local/\nshare/\nQuelt"},
        {"abcdefghijklmn", "abcdefghij\nklmn"},
        {"ends with a break\n", "ends with\na break\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::FitMessageText(c.text, 10), c.fitted) << c.text;
    }
}

}  // namespace
