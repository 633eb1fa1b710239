#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/Scrambler.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

class PropertyFileTest : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return folder_.Path() + "/" + name; }

    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = PathOf(name);
        EXPECT_TRUE(platform::WriteFileAtomically(path, text.data(), text.size()));
        return path;
    }

    std::string ReadBack(const std::string& path) const {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
        return std::string(bytes.begin(), bytes.end());
    }

    TempFolder folder_;
};

// A one-line description of a whole tree: kinds, type names, names, texts
// and order, with attributes marked by "@".
std::string Describe(const Property* property) {
    if (property->GetKind() == Property::kValue) {
        return (property->IsUntypedValue() ? "@" : property->TypeName() + ":") + property->Name() + "=" +
               Property::AsString(property);
    }
    std::string text = property->TypeName() + ":" + property->Name() + "{";
    const auto& children = property->GetKind() == Property::kNode
                               ? static_cast<const PropertyNode*>(property)->IndexOrder()
                               : static_cast<const PropertyVector*>(property)->Items();
    for (const Ref<Property>& child : children) {
        text += Describe(child.Get()) + ";";
    }
    return text + "}";
}

std::string DescribeChildren(const PropertyNode& root) {
    std::string text;
    for (const Ref<Property>& child : root.IndexOrder()) {
        text += Describe(child.Get()) + "\n";
    }
    return text;
}

TEST_F(PropertyFileTest, SetupThenAttributesThenElements) {
    Defines::Create();
    Ref<PropertyFile> constants(new PropertyFile());
    const std::string xml =
        "<root><Node id=\"DEFAULT_SPRITE\" x=\"1\" alpha=\"255\"><Integer id=\"layer\" value=\"3\"/></Node></root>";
    ASSERT_TRUE(constants->LoadFromMemory(xml.data(), xml.size(), "constants"));
    ClassFactory::Instance().CreateNamedObjects(*constants);

    Ref<PropertyFile> file(new PropertyFile({Write("sprite.xml",
                                                   "<root>\n"
                                                   "  <Sprite id=\"logo\" x=\"10\" setup=\"DEFAULT_SPRITE\">\n"
                                                   "    <Integer id=\"x\" value=\"12\"/>\n"
                                                   "    <Vector id=\"frames\"><String value=\"a\"/><String value=\"b\"/></Vector>\n"
                                                   "  </Sprite>\n"
                                                   "</root>\n")}));
    ASSERT_TRUE(file->Load());
    Defines::ReleaseInstance();

    Property* logo = Property::Child(file.Get(), "logo");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->TypeName(), "Sprite");
    EXPECT_EQ(Property::AsInt(Property::Child(logo, "x")), 12);
    EXPECT_EQ(Describe(logo),
              "Sprite:logo{@alpha=255;Integer:layer=3;@setup=DEFAULT_SPRITE;Integer:x=12;"
              "Vector:frames{String:=a;String:=b;};}");
}

TEST_F(PropertyFileTest, ReadingRules) {
    struct Case {
        const char* xml;
        const char* expected;
    };
    const Case cases[] = {
        // Text content replaces the value attribute.
        {"<root><Text id=\"t\" value=\"attr\">content</Text></root>", "Text:t=content\n"},
        // A child element beats an attribute of the same name.
        {"<root><Node id=\"n\" a=\"1\"><Integer id=\"a\" value=\"2\"/></Node></root>", "Node:n{Integer:a=2;}\n"},
        // Node text becomes a Text value "value"; vectors ignore attributes and text.
        {"<root><Panel id=\"p\">hello</Panel><Vector id=\"v\" x=\"1\">junk<Float value=\"1.5\"/></Vector></root>",
         "Panel:p{Text:value=hello;}\nVector:v{Float:=1.5;}\n"},
        // Missing ids give empty names, which replace each other; a later top-level name wins.
        {"<root><Integer value=\"1\"/><Integer value=\"2\"/><String id=\"s\" value=\"a\"/><String id=\"s\" value=\"b\"/>"
         "</root>",
         "Integer:=2\nString:s=b\n"},
        // Every top-level element is a wrapper; its own attributes are ignored.
        {"<?xml version=\"1.0\"?><!-- c --><root x=\"1\"><Integer id=\"a\" value=\"1\"/></root>"
         "<other><Integer id=\"b\" value=\"2\"/></other>",
         "Integer:a=1\nInteger:b=2\n"},
        // Entities and single bytes above 127 come through unchanged.
        {"<root><String id=\"s\" value=\"a&amp;b&lt;&#x41;\xE9\"/></root>", "String:s=a&b<A\xE9\n"},
    };
    for (const Case& c : cases) {
        Ref<PropertyFile> file(new PropertyFile());
        ASSERT_TRUE(file->LoadFromMemory(c.xml, std::string(c.xml).size(), "case")) << c.xml;
        EXPECT_EQ(DescribeChildren(*file), c.expected) << c.xml;
    }
}

// A tree with every kind of property, built the way writers of saved data do.
PropertyFile* SampleTree() {
    auto* file = new PropertyFile();
    file->Add(PropertyValue::FromInteger("count", -3, false));
    file->Add(PropertyValue::FromFloat("speed", 1.25f, false));
    file->Add(PropertyValue::FromString("name", "Ren\xE9 & <Co> \"q\" 'a'\n\ttab", false));
    file->Add(PropertyValue::FromText("wide", L"x\xFFE9y", false));
    file->SetBool("flag", false, false);
    auto* player = new PropertyNode("player", "KR2Player");
    player->Add(PropertyValue::FromString("name", "Anna", true));
    player->Add(PropertyValue::FromInteger("level", 4, true));
    auto* stats = new PropertyNode("stats", "Node");
    stats->Add(PropertyValue::FromTypedInteger("score", 900, "Integer"));
    player->Add(stats);
    auto* list = new PropertyVector("list");
    list->PushBool(true);
    list->Add(PropertyValue::FromString("", "item", false));
    auto* unnamed = new PropertyNode("", "Node");
    unnamed->Add(PropertyValue::FromInteger("inner", 1, true));
    list->Add(unnamed);
    player->Add(list);
    file->Add(player);
    file->Add(new PropertyVector("empty"));
    return file;
}

TEST_F(PropertyFileTest, SaveThenLoadGivesTheSameTree) {
    for (LoadMode mode : {LoadMode::File, LoadMode::ScrambledFile, LoadMode::Default}) {
        Ref<PropertyFile> written(SampleTree());
        written->SetLoadMode(mode);
        written->SetOutputFileName(PathOf("tree.xml"));
        ASSERT_TRUE(written->Save());

        Ref<PropertyFile> read(new PropertyFile({PathOf("tree.xml")}));
        read->SetLoadMode(mode);
        ASSERT_TRUE(read->Load()) << static_cast<int>(mode);
        EXPECT_EQ(DescribeChildren(*read), DescribeChildren(*written)) << static_cast<int>(mode);
    }
}

TEST_F(PropertyFileTest, ScrambledSaveAppendsTheSuffixAndScramblesTheBytes) {
    Ref<PropertyFile> file(SampleTree());
    file->SetLoadMode(LoadMode::ScrambledFile);
    file->SetOutputFileName(PathOf("players.plrs"));
    ASSERT_TRUE(file->Save());
    EXPECT_FALSE(platform::FileExists(PathOf("players.plrs")));

    std::string bytes = ReadBack(PathOf("players.plrs.!"));
    EXPECT_EQ(bytes.find("<root"), std::string::npos);
    DescrambleBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(bytes.rfind("<root>", 0), 0u) << bytes;
}

TEST_F(PropertyFileTest, UntypedValuesUnderTheRootAreNotReadBack) {
    Ref<PropertyFile> written(new PropertyFile());
    written->Add(PropertyValue::FromInteger("loose", 1, true));
    written->Add(PropertyValue::FromInteger("kept", 2, false));
    written->SetOutputFileName(PathOf("root.xml"));
    ASSERT_TRUE(written->Save());
    EXPECT_NE(ReadBack(PathOf("root.xml")).find("<root loose=\"1\">"), std::string::npos);

    Ref<PropertyFile> read(new PropertyFile({PathOf("root.xml")}));
    ASSERT_TRUE(read->Load());
    EXPECT_EQ(DescribeChildren(*read), "Integer:kept=2\n");
}

TEST_F(PropertyFileTest, FailedSaveKeepsThePreviousFile) {
    Ref<PropertyFile> file(SampleTree());
    file->SetOutputFileName(PathOf("keep.xml"));
    ASSERT_TRUE(file->Save());
    const std::string before = ReadBack(PathOf("keep.xml"));

    file->Add(PropertyValue::FromInteger("extra", 1, false));
    platform::FailNextAtomicWriteForTesting();
    EXPECT_FALSE(file->Save());
    EXPECT_EQ(ReadBack(PathOf("keep.xml")), before);

    Ref<PropertyFile> nameless(new PropertyFile());
    EXPECT_FALSE(nameless->Save());
    file->SetOutputFileName(PathOf("no/such/folder/x.xml"));
    EXPECT_FALSE(file->Save());
}

TEST_F(PropertyFileTest, BadFilesAddNothingAndTheOthersStillLoad) {
    const std::string first = Write("first.xml", "<root><Integer id=\"a\" value=\"1\"/><Integer id=\"b\" value=\"1\"/></root>");
    const std::string later = Write("later.xml", "<root><Integer id=\"b\" value=\"2\"/></root>");
    std::string binary(300, '\0');
    for (size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 37);
    }
    const std::vector<std::string> bad = {
        Write("truncated.xml", "<root><Integer id=\"c\" value=\"3\"/><Node id=\"d\"><Integer"),
        Write("mismatched.xml", "<root><Integer id=\"c\" value=\"3\"/></Node></root>"),
        Write("binary.xml", binary),
        Write("empty.xml", ""),
        Write("text.xml", "just words"),
        Write("deep.xml", std::string(3000, '<') + "a>"),
        Write("strayclose.xml", std::string("<root/>") + [] {
            std::string text;
            for (int i = 0; i < 400; ++i) text += "</x>";
            for (int i = 0; i < 400; ++i) text += "<x>";
            return text;
        }()),
        Write("nested.xml", [] {
            std::string deep = "<root>";
            for (int i = 0; i < 1000; ++i) deep += "<Node>";
            return deep;
        }()),
        PathOf("missing.xml"),
    };
    for (const std::string& path : bad) {
        Ref<PropertyFile> file(new PropertyFile({first, path, later}));
        EXPECT_FALSE(file->Load()) << path;
        EXPECT_EQ(DescribeChildren(*file), "Integer:a=1\nInteger:b=2\n") << path;
        EXPECT_FALSE(file->LoadOne(path)) << path;
        EXPECT_FALSE(file->CanLoad(path)) << path;
        EXPECT_EQ(Property::AsInt(Property::Child(file.Get(), "c")), 0);
        EXPECT_EQ(Property::NodeOf(Property::Child(file.Get(), "d")).Count(), 0);
    }
}

TEST_F(PropertyFileTest, CanLoadLeavesTheTreeAloneAndRereadingKeepsOnePerName) {
    const std::string path = Write("a.xml", "<root><Integer id=\"a\" value=\"1\"/><Node id=\"n\"/></root>");
    Ref<PropertyFile> file(new PropertyFile({path, path}));
    EXPECT_TRUE(file->CanLoad(path));
    EXPECT_EQ(file->IndexOrder().size(), 0u);
    ASSERT_TRUE(file->Load());
    ASSERT_TRUE(file->LoadOne(path));
    EXPECT_EQ(DescribeChildren(*file), "Integer:a=1\nNode:n{}\n");
    file->ClearFileList();
    EXPECT_TRUE(file->GetFileNames().empty());
}

// Parsing runs on the loader thread and the main thread at once; each parse
// sets the parser's global white-space flag first.
TEST_F(PropertyFileTest, ParsesFromTwoThreadsAtOnce) {
    const std::string xml = "<root><Text id=\"t\">  two   words  </Text></root>";
    auto parse = [&xml](bool condense, std::wstring* last) {
        for (int i = 0; i < 200; ++i) {
            Ref<PropertyFile> file(new PropertyFile());
            file->SetCondenseWhiteSpace(condense);
            ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "thread"));
            *last = Property::AsText(Property::Child(file.Get(), "t"));
        }
    };
    std::wstring condensed, kept;
    std::thread other(parse, true, &condensed);
    parse(false, &kept);
    other.join();
    EXPECT_EQ(condensed, L"two words");
    EXPECT_EQ(kept, L"  two   words  ");
}

}  // namespace
