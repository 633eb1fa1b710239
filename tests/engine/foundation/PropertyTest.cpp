#include <gtest/gtest.h>

#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/Ref.h"
#include "engine/foundation/XmlStringValue.h"

namespace {

// Reports its own destruction so replacement and release can be observed.
class SpyValue : public PropertyValue {
public:
    SpyValue(const std::string& name, bool* destroyed) : PropertyValue(name, "Integer", L"1"), destroyed_(destroyed) {}
    ~SpyValue() override { *destroyed_ = true; }

private:
    bool* destroyed_;
};

TEST(PropertyTest, MissingChildrenReadAsDefaults) {
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "missing")), 0);
    EXPECT_FALSE(Property::AsBool(Property::Child(node.Get(), "missing")));
    EXPECT_EQ(Property::AsText(Property::Child(node.Get(), "missing")), L"");
    EXPECT_EQ(Property::NodeOf(Property::Child(node.Get(), "missing")).Count(), 0);
    EXPECT_EQ(Property::VectorOf(Property::Child(node.Get(), "missing")).Count(), 0);
    // A parent that is not a node has no children.
    Ref<PropertyValue> value(PropertyValue::FromInteger("v", 3, false));
    EXPECT_EQ(Property::Child(value.Get(), "v"), nullptr);
    EXPECT_EQ(Property::Child(nullptr, "v"), nullptr);
}

TEST(PropertyTest, ChildOfTheWrongKindReadsAsTheDefault) {
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->Add(new PropertyVector("list"));
    node->Add(PropertyValue::FromInteger("number", 5, false));
    PropertyNode* inner = static_cast<PropertyNode*>(node->Add(new PropertyNode("inner", "Node")));
    inner->Add(PropertyValue::FromInteger("x", 1, false));
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "list")), 0);
    EXPECT_EQ(&Property::NodeOf(Property::Child(node.Get(), "number")), &Property::DummyNode());
    EXPECT_EQ(&Property::NodeOf(Property::Child(node.Get(), "list")), &Property::DummyNode());
    EXPECT_EQ(&Property::VectorOf(Property::Child(node.Get(), "number")), &Property::DummyVector());
    // A node asked for as a list reads as the empty list, not as its children.
    EXPECT_EQ(&Property::VectorOf(Property::Child(node.Get(), "inner")), &Property::DummyVector());
    EXPECT_EQ(&Property::VectorOf(Property::Child(node.Get(), "list")), Property::Child(node.Get(), "list"));
}

TEST(PropertyTest, BooleanTexts) {
    struct Case {
        const wchar_t* text;
        bool expected;
    };
    const Case cases[] = {{L"false", false}, {L"", false}, {L"False", true}, {L"FALSE", true},
                          {L"true", true},   {L"1", true}, {L"0", true},     {L"no", true}};
    for (const Case& c : cases) {
        Ref<PropertyValue> value(new PropertyValue("b", "Boolean", c.text));
        EXPECT_EQ(Property::AsBool(value.Get()), c.expected) << Property::AsString(value.Get());
    }
}

TEST(PropertyTest, ConstructorsSetTypeAndText) {
    struct Case {
        PropertyValue* value;
        const char* typeName;
        const wchar_t* text;
    };
    const Case cases[] = {
        {PropertyValue::FromInteger("a", -12, false), "Integer", L"-12"},
        {PropertyValue::FromInteger("a", 7, true), "", L"7"},
        {PropertyValue::FromTypedInteger("a", 3, "level"), "level", L"3"},
        {PropertyValue::FromFloat("a", 2.5f, false), "Float", L"2.5"},
        {PropertyValue::FromFloat("a", 3.0f, true), "", L"3"},
        {PropertyValue::FromString("a", "caf\xE9", false), "String", L"caf\xFFE9"},
        {PropertyValue::FromTypedString("a", "x", "KR2Score"), "KR2Score", L"x"},
        {PropertyValue::FromText("a", L"w", false), "Text", L"w"},
        {PropertyValue::FromText("a", L"w", true), "", L"w"},
    };
    for (const Case& c : cases) {
        Ref<PropertyValue> value(c.value);
        EXPECT_EQ(value->GetKind(), Property::kValue);
        EXPECT_EQ(value->Name(), "a");
        EXPECT_EQ(value->TypeName(), c.typeName);
        EXPECT_EQ(value->Text(), c.text) << c.typeName;
    }
    Ref<PropertyValue> narrow(PropertyValue::FromString("s", "caf\xE9", false));
    EXPECT_EQ(narrow->Dump(), "caf\xE9");
}

TEST(PropertyTest, ReplacingASameNamedChildKeepsTheCountAndPutsTheNewOneLast) {
    bool oldDestroyed = false;
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->Add(new SpyValue("x", &oldDestroyed));
    node->Add(PropertyValue::FromInteger("y", 2, false));
    Property* replacement = node->Add(PropertyValue::FromInteger("x", 9, false));

    EXPECT_TRUE(oldDestroyed);
    EXPECT_EQ(node->Count(), 2);
    EXPECT_EQ(Property::At(node.Get(), 1), replacement);
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "x")), 9);
    ASSERT_EQ(node->IndexOrder().size(), 2u);
    EXPECT_EQ(node->IndexOrder()[1].Get(), replacement);
}

TEST(PropertyTest, ReaddingTheSameChildKeepsIt) {
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    Property* child = node->Add(PropertyValue::FromInteger("x", 4, false));
    node->Add(child);
    EXPECT_EQ(node->Count(), 1);
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "x")), 4);
}

TEST(PropertyTest, AttributesAreFoundByNameOnly) {
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->Add(PropertyValue::FromInteger("typed", 1, false));
    node->Add(PropertyValue::FromInteger("attribute", 2, true));
    EXPECT_EQ(node->Count(), 1);
    EXPECT_EQ(Property::AsInt(Property::Child(node.Get(), "attribute")), 2);
    EXPECT_EQ(Property::At(node.Get(), 0)->Name(), "typed");
    EXPECT_EQ(Property::At(node.Get(), 1), nullptr);
    EXPECT_EQ(Property::At(node.Get(), -1), nullptr);

    // An attribute replaced by a typed child of the same name becomes positional.
    node->Add(PropertyValue::FromInteger("attribute", 3, false));
    EXPECT_EQ(node->Count(), 2);
    EXPECT_EQ(Property::At(node.Get(), 1)->Name(), "attribute");
}

TEST(PropertyTest, VectorsKeepOrderAndDuplicates) {
    Ref<PropertyVector> vector(new PropertyVector("v"));
    vector->Add(PropertyValue::FromString("", "a", false));
    vector->Add(PropertyValue::FromString("", "b", false));
    vector->PushBool(true);
    EXPECT_EQ(vector->TypeName(), "Vector");
    EXPECT_EQ(vector->Count(), 3);
    EXPECT_EQ(Property::AsString(Property::At(vector.Get(), 0)), "a");
    EXPECT_EQ(Property::AsString(Property::At(vector.Get(), 1)), "b");
    EXPECT_EQ(Property::At(vector.Get(), 2)->TypeName(), "Boolean");
    EXPECT_TRUE(Property::AsBool(Property::At(vector.Get(), 2)));
    EXPECT_EQ(Property::At(vector.Get(), 3), nullptr);
}

TEST(PropertyTest, SetBoolReplacesAndCanBeAnAttribute) {
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->SetBool("flag", true, false);
    node->SetBool("flag", false, true);
    EXPECT_EQ(node->Count(), 0);
    EXPECT_TRUE(Property::Child(node.Get(), "flag")->IsUntypedValue());
    EXPECT_EQ(Property::AsText(Property::Child(node.Get(), "flag")), L"false");
}

TEST(PropertyTest, ClearReleasesEveryChild) {
    bool destroyed = false;
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->Add(new SpyValue("x", &destroyed));
    node->Add(PropertyValue::FromInteger("a", 1, true));
    node->Clear();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(node->Count(), 0);
    EXPECT_TRUE(node->IndexOrder().empty());
    EXPECT_EQ(Property::Child(node.Get(), "a"), nullptr);
}

TEST(PropertyTest, SharedDefaultsCannotBeChanged) {
    bool destroyed = false;
    EXPECT_EQ(Property::DummyNode().Add(new SpyValue("x", &destroyed)), nullptr);
    EXPECT_TRUE(destroyed);
    Property::DummyNode().SetBool("b", true, false);
    Property::DummyVector().PushBool(true);
    Property::DummyValue().SetText(L"changed");

    EXPECT_EQ(Property::Child(&Property::DummyNode(), "x"), nullptr);
    EXPECT_EQ(Property::Child(&Property::DummyNode(), "b"), nullptr);
    EXPECT_EQ(Property::DummyNode().Count(), 0);
    EXPECT_EQ(Property::DummyVector().Count(), 0);
    EXPECT_EQ(Property::DummyValue().Text(), L"");
    EXPECT_EQ(Property::DummyNode().Name(), "DUMMY_NODE");
    EXPECT_EQ(Property::DummyAbstract().GetKind(), Property::kAbstract);

    // A child held elsewhere survives being offered to a default.
    Ref<PropertyValue> held(PropertyValue::FromInteger("h", 1, false));
    Property::DummyVector().Add(held.Get());
    EXPECT_EQ(held->ReferenceCount(), 1);
}

TEST(PropertyTest, FindChoice) {
    const char* const words[] = {"normal", "additive", "burn"};
    Ref<PropertyNode> node(new PropertyNode("n", "Node"));
    node->Add(PropertyValue::FromString("mode", "burn", true));
    node->Add(PropertyValue::FromString("other", "Burn", false));
    node->Add(new PropertyNode("nested", "Node"));
    EXPECT_EQ(Property::FindChoice(node.Get(), "mode", words, 3), 2);
    EXPECT_EQ(Property::FindChoice(node.Get(), "other", words, 3), -1);
    EXPECT_EQ(Property::FindChoice(node.Get(), "missing", words, 3), -1);
    EXPECT_EQ(Property::FindChoice(node.Get(), "nested", words, 3), -1);
    EXPECT_EQ(Property::FindChoice(node.Get(), "mode", words, 2), -1);
}

}  // namespace

namespace {

TEST(XmlStringValueTest, TravelsAsTheUntypedValueName) {
    Ref<PropertyNode> node(new PropertyNode("", "Node"));
    XmlStringValue("Gr\xFC\xDF").Write(node.Get());
    Property* written = Property::Child(node.Get(), "name");
    ASSERT_NE(written, nullptr);
    EXPECT_TRUE(written->IsUntypedValue());
    EXPECT_EQ(node->Count(), 0);

    Ref<XmlStringValue> read(XmlStringValue::FromXml(node.Get()));
    EXPECT_EQ(read->Text(), "Gr\xFC\xDF");
}

TEST(XmlStringValueTest, NonNodesReadEmptyAndTakeNothing) {
    Ref<PropertyValue> value(PropertyValue::FromString("name", "x", false));
    Ref<XmlStringValue> read(XmlStringValue::FromXml(value.Get()));
    EXPECT_EQ(read->Text(), "");
    XmlStringValue("lost").Write(value.Get());
    EXPECT_EQ(Property::DummyNode().Count(), 0);
    EXPECT_EQ(Property::Child(&Property::DummyNode(), "name"), nullptr);
}

}  // namespace
