#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"
#include "mediagen/Manifest.h"

namespace {

Manifest SmallManifest(int* makes) {
    Manifest manifest;
    manifest.AddSection("default", false);
    manifest.AddSection("wordlist", true);
    manifest.AddSection("empty", false);
    auto make = [makes](MediaTree& tree) {
        ++*makes;
        tree.Add("media/fonts/a&b.png", std::string("png"));
        tree.Add("media/fonts/a&b.xml", std::string("xml"));
    };
    manifest.Add({"default", "FONT_X", "Font", "", {{"mask", "media/fonts/a&b.png"}, {"color", "#FFFFFF"}, {"format", "media/fonts/a&b.xml"}}, make});
    manifest.Add({"wordlist", "FONT_X", "Font", "", {{"mask", "media/fonts/a&b.png"}, {"color", "#FFFFFF"}, {"format", "media/fonts/a&b.xml"}}, make});
    manifest.Add({"wordlist", "WORDLIST", "WordList", "media/data/words.dat", {}, {}});
    return manifest;
}

TEST(Manifest, ResourcesXmlReadsBackAsTheTable) {
    int makes = 0;
    const Manifest manifest = SmallManifest(&makes);
    const std::string xml = manifest.ResourcesXml();
    Ref<PropertyFile> file = new PropertyFile;
    ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "resources.xml"));

    EXPECT_TRUE(Property::AsBool(Property::Child(Property::Child(file.Get(), "ResourceDefaults"), "oggtowav")));
    const Property* sections = Property::Child(file.Get(), "Sections");
    ASSERT_NE(Property::At(sections, 2), nullptr);
    EXPECT_EQ(Property::At(sections, 3), nullptr);

    const Property* first = Property::At(sections, 0);
    EXPECT_EQ(Property::AsString(Property::Child(first, "name")), "default");
    EXPECT_FALSE(Property::AsBool(Property::Child(first, "auto")));
    const Property* font = Property::At(first, 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->TypeName(), "Font");
    EXPECT_EQ(font->Name(), "FONT_X");
    EXPECT_EQ(Property::AsString(Property::Child(font, "mask")), "media/fonts/a&b.png");
    EXPECT_EQ(Property::AsString(Property::Child(font, "format")), "media/fonts/a&b.xml");

    const Property* words = Property::At(sections, 1);
    EXPECT_TRUE(Property::AsBool(Property::Child(words, "auto")));
    const Property* list = Property::At(words, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->TypeName(), "WordList");
    EXPECT_EQ(Property::AsString(Property::Child(list, "file")), "media/data/words.dat");

    EXPECT_EQ(Property::AsString(Property::Child(Property::At(sections, 2), "name")), "empty");
}

TEST(Manifest, FilesSharedByRowsAreMadeOnce) {
    int makes = 0;
    const Manifest manifest = SmallManifest(&makes);
    MediaTree tree;
    manifest.MakeFiles(tree);
    EXPECT_EQ(makes, 1);
    EXPECT_TRUE(tree.Has("media/fonts/a&b.xml"));
}

TEST(Manifest, RefusesRowsThatWouldBreakLoading) {
    struct Case {
        const char* what;
        ResourceEntry entry;
    };
    const Case cases[] = {
        {"unknown section", {"nowhere", "X", "Image", "media/x.png", {}, {}}},
        {"id twice in a section", {"default", "TAKEN", "Image", "media/y.png", {}, {}}},
        {"upper-case file", {"default", "Y", "Image", "media/gfx/Button.png", {}, {}}},
        {"backslash", {"default", "Y", "Image", "media\\gfx\\b.png", {}, {}}},
        {"path outside media", {"default", "Y", "Image", "gfx/b.png", {}, {}}},
        {"upper-case mask", {"default", "Y", "Image", "", {{"mask", "media/M.png"}}, {}}},
    };
    for (const Case& c : cases) {
        Manifest manifest;
        manifest.AddSection("default", false);
        manifest.Add({"default", "TAKEN", "Image", "media/t.png", {}, {}});
        EXPECT_THROW(manifest.Add(c.entry), std::logic_error) << c.what;
    }
}

TEST(MediaTree, AFileMadeTwiceIsAFault) {
    MediaTree tree;
    tree.Add("media/a.txt", std::string("a"));
    EXPECT_THROW(tree.Add("media/a.txt", std::string("b")), std::logic_error);
}

}  // namespace
