#include <gtest/gtest.h>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/TextConversions.h"

namespace {

// A fresh store for each test, released afterwards.
class DefinesTest : public ::testing::Test {
protected:
    DefinesTest() : defines(Defines::Create()) {}
    ~DefinesTest() override { Defines::ReleaseInstance(); }

    // Runs the type words over a root of top-level constants.
    void Load(PropertyNode* root) {
        Ref<PropertyNode> keep(root);
        ClassFactory::Instance().CreateNamedObjects(*root);
    }

    Defines& defines;
};

PropertyValue* Value(const char* type, const char* name, const wchar_t* text) {
    return new PropertyValue(name, type, text);
}

TEST_F(DefinesTest, EachTypeWordFillsItsTable) {
    auto* root = new PropertyNode("", "root");
    root->Add(Value("Integer", "i", L"#1F"));
    root->Add(Value("Double", "d", L"2.25"));
    root->Add(Value("Float", "f", L"-1.5"));
    root->Add(Value("Boolean", "zero", L"0"));
    root->Add(Value("Boolean", "empty", L""));
    root->Add(Value("Boolean", "no", L"false"));
    root->Add(Value("String", "s", L"caf\xFFE9"));
    root->Add(Value("Text", "t", L"wide"));
    auto* node = new PropertyNode("n", "Node");
    node->Add(PropertyValue::FromInteger("x", 5, true));
    root->Add(node);
    auto* vector = new PropertyVector("v");
    vector->PushBool(true);
    root->Add(vector);
    Load(root);

    EXPECT_EQ(defines.GetInt("i"), 31);
    EXPECT_DOUBLE_EQ(defines.GetDouble("d"), 2.25);
    EXPECT_FLOAT_EQ(defines.GetFloat("f"), -1.5f);
    EXPECT_TRUE(defines.GetBool("zero"));
    EXPECT_FALSE(defines.GetBool("empty"));
    EXPECT_FALSE(defines.GetBool("no"));
    EXPECT_EQ(defines.GetString("s"), "caf\xE9");
    EXPECT_EQ(defines.GetText("t"), L"wide");
    EXPECT_EQ(defines.GetNode("n"), node);
    EXPECT_EQ(defines.GetVector("v"), vector);
    EXPECT_EQ(ClassFactory::Instance().FindNamedObject("n"), nullptr);
}

TEST_F(DefinesTest, MissingNamesReadAsZeroAndOneNameMayLiveInSeveralTables) {
    EXPECT_EQ(defines.GetInt("missing"), 0);
    EXPECT_FALSE(defines.GetBool("missing"));
    EXPECT_EQ(defines.GetText("missing"), L"");
    EXPECT_EQ(defines.GetNode("missing"), &Property::DummyNode());
    EXPECT_EQ(defines.GetVector("missing"), &Property::DummyVector());

    defines.StoreInteger(Ref<PropertyValue>(Value("Integer", "both", L"4")).Get());
    defines.StoreText(Ref<PropertyValue>(Value("Text", "both", L"four")).Get());
    EXPECT_EQ(defines.GetInt("both"), 4);
    EXPECT_EQ(defines.GetText("both"), L"four");
}

TEST_F(DefinesTest, WrongKindsStoreTheDefaults) {
    Ref<PropertyNode> node(new PropertyNode("name", "Node"));
    Ref<PropertyValue> value(Value("Integer", "name", L"9"));
    defines.StoreInteger(node.Get());
    defines.StoreNode(value.Get());
    defines.StoreVector(node.Get());
    EXPECT_EQ(defines.GetInt("name"), 0);
    EXPECT_EQ(defines.GetNode("name"), &Property::DummyNode());
    EXPECT_EQ(defines.GetVector("name"), &Property::DummyVector());
}

TEST_F(DefinesTest, FormatGroupedUsesTheSeparatorConstant) {
    defines.StoreText(Ref<PropertyValue>(Value("Text", "SEP", L",")).Get());
    struct Case {
        unsigned value;
        const wchar_t* expected;
    };
    const Case cases[] = {{0, L"0"},           {999, L"999"},           {1000, L"1,000"},
                          {1234567, L"1,234,567"}, {4294967295u, L"4,294,967,295"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGrouped(c.value, "SEP"), c.expected) << c.value;
    }
    EXPECT_EQ(FormatGrouped(1234567, "NO_SUCH_TEXT"), L"1234567");
}

TEST(GameNameTest, EmptyBeforeTheStoreThenKeptAfterIt) {
    ForgetGameConstantsForTesting();
    EXPECT_EQ(GetGameName(), "");
    Defines::Create().StoreString(Ref<PropertyValue>(new PropertyValue("GAME_NAME", "String", L"Rail")).Get());
    Defines::Instance()->StoreString(Ref<PropertyValue>(new PropertyValue("GAME_ID", "String", L"R1")).Get());
    EXPECT_EQ(GetGameName(), "Rail");
    EXPECT_EQ(GetGameId(), "R1");
    Defines::ReleaseInstance();
    EXPECT_EQ(GetGameName(), "Rail");
    EXPECT_EQ(GetGameId(), "R1");
    ForgetGameConstantsForTesting();
}

}  // namespace
