#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/Color.h"
#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

namespace {

// Counts destructions so tests can see exactly when an object dies.
class Spy : public Object {
    ENGINE_CLASS(Spy, Object)

public:
    explicit Spy(int* destroyed) : destroyed_(destroyed) {}
    ~Spy() override { ++*destroyed_; }

private:
    int* destroyed_;
};

class Left : public Object {
    ENGINE_CLASS(Left, Object)
};
class Right : public Object {
    ENGINE_CLASS(Right, Object)
};
class Both : public Left, public Right {
    ENGINE_CLASS(Both, Left, Right)
};
class Deep : public Both {
    ENGINE_CLASS(Deep, Both)
};

TEST(ObjectTest, LastReleaseDestroysAndEarlierOnesDoNot) {
    int destroyed = 0;
    auto* object = new Spy(&destroyed);
    EXPECT_EQ(object->ReferenceCount(), 0);
    object->AddRef();
    object->AddRef();
    object->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->ReferenceCount(), 1);
    object->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, IsKindOfFollowsEveryBase) {
    struct Case {
        const ClassInfo* a;
        const ClassInfo* b;
        bool expected;
    };
    const Case cases[] = {
        {&Object::classInfo, &Object::classInfo, true},
        {&Deep::classInfo, &Deep::classInfo, true},
        {&Deep::classInfo, &Both::classInfo, true},
        {&Deep::classInfo, &Left::classInfo, true},
        {&Deep::classInfo, &Right::classInfo, true},
        {&Deep::classInfo, &Object::classInfo, true},
        {&Both::classInfo, &Deep::classInfo, false},
        {&Left::classInfo, &Right::classInfo, false},
        {&Object::classInfo, &Color::classInfo, false},
        {&Color::classInfo, &Object::classInfo, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsKindOf(c.a, c.b), c.expected);
    }
}

TEST(ObjectTest, CastChecksTheClassRecord) {
    Deep deep;
    Left& asLeft = deep;
    EXPECT_EQ(ObjectCast<Right>(static_cast<Object*>(&asLeft)), static_cast<Right*>(&deep));
    Color color(0x123456);
    EXPECT_EQ(ObjectCast<Left>(&color), nullptr);
    EXPECT_EQ(ObjectCast<Left>(static_cast<Object*>(nullptr)), nullptr);
}

TEST(ObjectTest, DumpGivesTheAddress) {
    Object object;
    const std::string dump = object.Dump();
    EXPECT_EQ(dump.rfind("Address: ", 0), 0u);
    EXPECT_EQ(dump.substr(dump.size() - 2), "; ");
}

TEST(RefTest, HoldsReferencesAndReleasesOnReassignment) {
    int destroyed = 0;
    auto* first = new Spy(&destroyed);
    {
        Ref<Spy> ref(first);
        Ref<Spy> copy = ref;
        EXPECT_EQ(first->ReferenceCount(), 2);
        ref = first;  // self-assignment keeps it alive
        EXPECT_EQ(destroyed, 0);
        copy = new Spy(&destroyed);
        EXPECT_EQ(first->ReferenceCount(), 1);
        Ref<Spy> moved = std::move(ref);
        EXPECT_FALSE(ref);
        EXPECT_EQ(first->ReferenceCount(), 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(ColorTest, SplitsChannels) {
    const Color color(0xA1B2C3);
    EXPECT_EQ(color.Red(), 0xA1);
    EXPECT_EQ(color.Green(), 0xB2);
    EXPECT_EQ(color.Blue(), 0xC3);
}

}  // namespace
