#include "engine/media/InputListenerList.h"

#include "engine/foundation/Ref.h"

#include <gtest/gtest.h>

namespace {

class Member : public InputListener {
public:
    void SetInputEnabled(bool) override {}
    bool IsInputEnabled() const override { return true; }
};

TEST(InputListenerList, OwnerAndRepeatedAddsKeepOneEntryEach) {
    Member a, b, c;
    Ref<InputListenerList> list = new InputListenerList();
    list->AddListener(&a, false);
    list->AddListener(&b, false);
    list->AddListener(&a, false);   // moves to the back
    list->AddListener(nullptr, true);
    EXPECT_EQ(list->Listeners(), (std::vector<InputListener*>{&b, &a}));
    list->AddListener(&a, true);
    EXPECT_EQ(list->Listeners(), (std::vector<InputListener*>{&a, &b}));
    list->SetOwner(&c);
    list->SetOwner(&c);
    EXPECT_EQ(list->Listeners(), (std::vector<InputListener*>{&a, &b, &c}));
    list->SetOwner(&a);   // the old owner leaves; the new one stands once, at the back
    EXPECT_EQ(list->Listeners(), (std::vector<InputListener*>{&b, &a}));
    EXPECT_EQ(list->GetOwner(), &a);
    list->RemoveListener(&c);
    EXPECT_EQ(list->Listeners().size(), 2u);
}

}  // namespace
