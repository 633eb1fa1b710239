#include <gtest/gtest.h>

#include "engine/scene/DialogTable.h"
#include "engine/scene/Sprite.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace {

class DialogTableTest : public testing::Test {
protected:
    std::string Write(const std::string& text) const {
        const std::string path = folder_.Path() + "/dialogs.xml";
        EXPECT_TRUE(platform::WriteFileAtomically(path, text.data(), text.size()));
        return path;
    }

    TempFolder folder_;
};

TEST_F(DialogTableTest, CreatesIndependentObjectsFromTheirOwnScope) {
    DialogTable::Create(Write("<root><Node id=\"dialogs\">"
                              "<Sprite id=\"DIALOG_YESNO\" x=\"4\"><Vector id=\"children\"><GameNode name=\"ok\"/>"
                              "</Vector></Sprite>"
                              "<Unregistered id=\"DIALOG_ODD\"/></Node>"
                              "<Sprite id=\"COIN\" alpha=\"7\"/></root>"));
    DialogTable* table = DialogTable::Instance();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ReferenceCount(), 1);

    const Ref<Object> first(table->CreateDialog("DIALOG_YESNO"));
    const Ref<Object> second(table->CreateDialog("DIALOG_YESNO"));
    auto* one = ObjectCast<Sprite>(first.Get());
    auto* two = ObjectCast<Sprite>(second.Get());
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    EXPECT_EQ(one->ReferenceCount(), 1);  // the caller's reference is the first
    EXPECT_EQ(one->GetX(), 4);
    ASSERT_NE(one->GetFirstChild(), nullptr);
    EXPECT_NE(one->GetFirstChild(), two->GetFirstChild());
    one->SetX(9);
    EXPECT_EQ(two->GetX(), 4);

    const Ref<Object> coin(table->CreateObject("COIN"));
    ASSERT_NE(ObjectCast<Sprite>(coin.Get()), nullptr);
    EXPECT_EQ(ObjectCast<Sprite>(coin.Get())->GetAlpha(), 7);

    // Each scope sees only its own definitions; missing names and unknown
    // classes give no object.
    EXPECT_EQ(table->CreateDialog("COIN"), nullptr);
    EXPECT_EQ(table->CreateObject("DIALOG_YESNO"), nullptr);
    EXPECT_EQ(table->CreateObject("dialogs"), nullptr);
    EXPECT_EQ(table->CreateDialog("DIALOG_MISSING"), nullptr);
    EXPECT_EQ(table->CreateDialog("DIALOG_ODD"), nullptr);

    // Loading again reads the file anew.
    Write("<root><Sprite id=\"STAR\"/></root>");
    table->Load();
    EXPECT_EQ(table->CreateObject("COIN"), nullptr);
    const Ref<Object> star(table->CreateObject("STAR"));
    EXPECT_NE(star.Get(), nullptr);
    DialogTable::ReleaseInstance();
    EXPECT_EQ(DialogTable::Instance(), nullptr);
}

TEST_F(DialogTableTest, AMissingFileGivesAnEmptyTable) {
    const Ref<DialogTable> table(new DialogTable(folder_.Path() + "/none.xml"));
    EXPECT_EQ(table->CreateDialog("DIALOG_YESNO"), nullptr);
    EXPECT_EQ(table->CreateObject("COIN"), nullptr);
}

}  // namespace
