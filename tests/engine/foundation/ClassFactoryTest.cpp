#include <gtest/gtest.h>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"

namespace {

// Built from a definition; counts how many of it are alive.
class Gadget : public Object {
    ENGINE_CLASS(Gadget, Object)

public:
    explicit Gadget(Property* definition) : size(Property::AsInt(Property::Child(definition, "size"))) { ++alive; }
    ~Gadget() override { --alive; }

    static inline int alive = 0;
    int size;
};

Object* BuildNothing(Property*) {
    return nullptr;
}

const ClassRegistration kGadget("TestGadget", CreateFromProperty<Gadget>);

PropertyNode* Definition(const std::string& type, const std::string& name, int size) {
    auto* node = new PropertyNode(name, type);
    node->Add(PropertyValue::FromInteger("size", size, true));
    return node;
}

TEST(ClassFactoryTest, TheTypeWordsAndStaticRegistrationsAreInPlaceBeforeMain) {
    for (const char* word : {"Integer", "Double", "Float", "Boolean", "String", "Text", "Node", "Vector", "TestGadget"}) {
        EXPECT_NE(ClassFactory::Instance().Find(word), nullptr) << word;
    }
    EXPECT_EQ(ClassFactory::Instance().Find("NoSuchClass"), nullptr);
}

TEST(ClassFactoryTest, RegisteringTwiceKeepsTheLaterFunction) {
    Ref<ClassFactory> factory(new ClassFactory());
    factory->Register("Thing", CreateFromProperty<Gadget>);
    factory->Register("Thing", BuildNothing);
    EXPECT_EQ(factory->Find("Thing"), &BuildNothing);
}

TEST(ClassFactoryTest, CreatesByTypeName) {
    Ref<PropertyNode> definition(Definition("TestGadget", "g", 4));
    Ref<Object> object(ClassFactory::Instance().Create(definition.Get()));
    ASSERT_NE(ObjectCast<Gadget>(object.Get()), nullptr);
    EXPECT_EQ(ObjectCast<Gadget>(object.Get())->size, 4);

    Ref<PropertyNode> unknown(Definition("Unknown", "u", 1));
    EXPECT_EQ(ClassFactory::Instance().Create(unknown.Get()), nullptr);
    EXPECT_EQ(ClassFactory::Instance().Create(nullptr), nullptr);
}

TEST(ClassFactoryTest, NamedObjectsKeepTheLaterDefinitionAndSkipConstantsAndUnknownTypes) {
    Ref<ClassFactory> factory(new ClassFactory());
    factory->Register("TestGadget", CreateFromProperty<Gadget>);
    factory->Register("Integer", BuildNothing);
    {
        Ref<PropertyNode> root(new PropertyNode("", "root"));
        root->Add(Definition("TestGadget", "first", 1));
        root->Add(PropertyValue::FromInteger("constant", 3, false));
        root->Add(Definition("Unknown", "odd", 2));
        factory->CreateNamedObjects(*root);
        EXPECT_EQ(Gadget::alive, 1);

        Ref<PropertyNode> again(new PropertyNode("", "root"));
        again->Add(Definition("TestGadget", "first", 7));
        factory->CreateNamedObjects(*again);
    }
    EXPECT_EQ(Gadget::alive, 1) << "the replaced object is released";
    auto* gadget = ObjectCast<Gadget>(factory->FindNamedObject("first"));
    ASSERT_NE(gadget, nullptr);
    EXPECT_EQ(gadget->size, 7);
    EXPECT_EQ(factory->FindNamedObject("constant"), nullptr);
    EXPECT_EQ(factory->FindNamedObject("odd"), nullptr);
    factory.Reset();
    EXPECT_EQ(Gadget::alive, 0);
}

}  // namespace
