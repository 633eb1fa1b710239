#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class Button;
class Label;

// The paged help: one panel of the definition per page ("panel0",
// "panel1", ...), with a header and a sub-header from the lists
// "HELP_HEADERS" and "HELP_SUBHEADERS"; back, next and OK.
class HelpDialog : public KR2Dialog {
    ENGINE_CLASS(HelpDialog, KR2Dialog)

public:
    explicit HelpDialog(Property* definition);

    // Shows the first page after a short pause and a fade-in, or at once.
    void OnShow() override;

    static int32_t OnPrevious(void* dialog, GameNode* sender);
    static int32_t OnNext(void* dialog, GameNode* sender);
    static int32_t OnOk(void* dialog, GameNode* sender);

    // Set before showing: no pause, no fade and no open sound.
    void SetShowAtOnce(bool atOnce) { showAtOnce_ = atOnce; }
    int32_t GetPageCount() const { return pageCount_; }
    int32_t GetCurrentPage() const { return currentPage_; }

private:
    static HelpDialog* FromContext(void* dialog);
    void UpdatePage();
    void ShowPage();

    bool showAtOnce_ = false;
    Ref<PropertyVector> headers_;
    Ref<PropertyVector> subHeaders_;
    Label* header_ = nullptr;
    Label* subHeader_ = nullptr;
    Label* pageLabel_ = nullptr;
    Button* previous_ = nullptr;
    Button* next_ = nullptr;
    Button* ok_ = nullptr;
    int32_t pageCount_ = 0;
    int32_t currentPage_ = 0;
    std::vector<GameNode*> panels_;
};
