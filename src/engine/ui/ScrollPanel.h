#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Panel.h"

class Slider;

// A panel whose content is an inner panel moved under a clipping window by
// up to two scroll bars. Without a bar in a direction the panel grows in that
// direction to hold its content instead of scrolling.
class ScrollPanel : public Panel {
    ENGINE_CLASS(ScrollPanel, Panel)

public:
    // The Panel keys, then "panelcomponents" (the scrolled content),
    // "scrollbar_horizontal" and "scrollbar_vertical".
    explicit ScrollPanel(Property* definition);
    ~ScrollPanel() override;

    // The bars sit beside the content: a size is the content window's plus
    // the bar's, and a bar sets the panel's length along it.
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;
    // Adds to the content and makes room for the node.
    void AddChild(GameNode* node) override;
    // Cuts the content to what the bars leave free.
    void UpdateClipping() override;

    // The bars' handlers (context: the scroll panel, sender: the bar): the
    // bar's value is the scrolled fraction.
    static int32_t OnHorizontalScroll(void* context, GameNode* sender);
    static int32_t OnVerticalScroll(void* context, GameNode* sender);
    void ScrollHorizontally(float fraction);
    void ScrollVertically(float fraction);

    Panel* GetContentPanel() const { return content_.Get(); }
    Slider* GetHorizontalBar() const { return horizontal_.Get(); }
    Slider* GetVerticalBar() const { return vertical_.Get(); }

private:
    Ref<Slider> CreateBar(Property* definition, const char* key);
    int32_t HorizontalBarHeight() const;
    int32_t VerticalBarWidth() const;

    Ref<Panel> content_;
    Ref<Slider> horizontal_;
    Ref<Slider> vertical_;
};
