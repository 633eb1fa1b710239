#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/MusicStream.h"
#include "support/SoundFixtures.h"
#include "support/TempFolder.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

std::vector<uint8_t> Text(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(MusicStreamTest, SyncPointsComeFromNodesWithAValueInFileOrder) {
    TempFolder folder;
    const struct {
        const char* name;
        const char* xml;
        bool read;
        std::vector<int32_t> points;
    } cases[] = {
        {"one node without value",
         "<root><Vector id=\"SyncPoints\">"
         "<Node id=\"a\"><Integer id=\"value\" value=\"44100\"/></Node>"
         "<Node id=\"b\"><Integer id=\"other\" value=\"7\"/></Node>"
         "<Node id=\"c\"><Integer id=\"value\" value=\"1000\"/></Node>"
         "</Vector></root>",
         true,
         {44100, 1000}},
        {"entries that are not nodes",
         "<root><Vector id=\"SyncPoints\"><Integer value=\"5\"/><Node id=\"a\" value=\"9\"/></Vector></root>",
         true,
         {9}},
        {"no SyncPoints", "<root><Vector id=\"Other\"/></root>", true, {}},
        {"not XML", "<root><Vector", false, {}},
    };
    for (const auto& c : cases) {
        const std::string path = folder.Path() + "/sync.xml";
        WriteBytes(path, Text(c.xml));
        const Ref<MusicStream> stream(new MusicStream);
        EXPECT_EQ(stream->LoadSyncPoints(path), c.read) << c.name;
        EXPECT_EQ(stream->GetSyncPoints(), c.points) << c.name;
    }
    const Ref<MusicStream> stream(new MusicStream);
    EXPECT_FALSE(stream->LoadSyncPoints(folder.Path() + "/missing.xml"));
    EXPECT_THAT(stream->GetSyncPoints(), IsEmpty());
}

}  // namespace
