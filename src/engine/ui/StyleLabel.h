#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/BitmapFont.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Label.h"

// The run labels of one line of a styled label, in order of placement.
class StyleLine : public Object {
    ENGINE_CLASS(StyleLine, Object)

public:
    void Append(Label* run) { runs_.emplace_back(run); }
    const std::vector<Ref<Label>>& Runs() const { return runs_; }

private:
    std::vector<Ref<Label>> runs_;
};

// The settings that markup tags change and save. They outlast the text that
// changed them: a tag left open keeps its value for later texts too.
struct StyleSettings {
    Ref<BitmapFont> font;
    int32_t alignV = 0;  // 0 top, 1 center, 2 bottom, 3 baseline
    int32_t alignH = 0;  // 0 left, 1 center, 2 right
    int32_t wrapStyle = 0;  // 0 none, 1 truncate, 2 word wrap
    std::vector<int32_t> colorStack;
    std::vector<int32_t> wrapStack;
    std::vector<int32_t> alignVStack;
    std::vector<int32_t> alignHStack;
    std::vector<Ref<BitmapFont>> fontStack;
    std::vector<int32_t> tabStops;
};

// A sprite showing a longer text with markup: the text is cut into runs
// (words and the pieces between tags), each a label of its own in the font,
// colour and vertical alignment current when it is made; the runs are placed
// on lines (wrapped or truncated, aligned, around placed images) and drawn
// together into one picture.
class StyleLabel : public Sprite {
    ENGINE_CLASS(StyleLabel, Sprite)

public:
    enum VerticalAlign : int32_t { kTop = 0, kMiddle = 1, kBottom = 2, kBaseline = 3 };

    // The sprite keys, then "font" with "section", "autofitsize", "wrapstyle",
    // "alignv", "alignh" and the text from "text", "value" or "textid".
    explicit StyleLabel(Property* definition);

    // "\n" written as two characters breaks the line; the same text again does nothing.
    virtual void SetText(const std::wstring& text);
    const std::wstring& GetText() const { return text_; }
    // Lays the text out and draws it into a new picture.
    virtual void Rebuild();

    // What the markup tags work on.
    StyleSettings& Settings() { return settings_; }
    // Ends the current line: aligns its runs and starts the next.
    void EndLine();
    int32_t GetPenX() const { return penX_; }
    void SetPenX(int32_t x) { penX_ = x; }
    int32_t GetPenY() const { return penY_; }
    void SetPenY(int32_t y) { penY_ = y; }
    int32_t GetCurrentLineHeight() const { return lineHeight_; }
    void SetCurrentLineHeight(int32_t height) { lineHeight_ = height; }
    void AddImage(Sprite* image) { images_.emplace_back(image); }

    bool GetAutoFitSize() const { return autoFit_; }
    const std::vector<Ref<StyleLine>>& GetLines() const { return lines_; }
    const std::vector<Ref<Sprite>>& GetImages() const { return images_; }

private:
    void ReadDefinition(Property* definition);
    void ParseMarkup();
    // Handles the tag starting at the bracket at `open`; returns the index of
    // its closing bracket (or the text's end).
    size_t ApplyTag(const std::wstring& text, size_t open);
    void AddRun(const std::wstring& text);
    // Word wrap and image flow: the run goes to the next line, or is emptied
    // when it starts a line or is wider than the label.
    void WrapRun(Label& run, int32_t runLineHeight);
    void TruncateRun(Label& run, int32_t runLineHeight);
    void AvoidImages(Label& run, int32_t runLineHeight);
    // The right end of the current line's text: after a truncation the
    // right edge marks the line as full, past its real end.
    int32_t LineRightEdge() const;
    int32_t SpaceAdvance() const;
    void Compose();

    StyleSettings settings_;
    std::vector<Ref<Sprite>> images_;
    std::vector<Ref<StyleLine>> lines_;
    int32_t penX_ = 0;
    int32_t penY_ = 0;
    int32_t lineHeight_ = 0;
    bool autoFit_ = false;
    std::wstring text_;
    size_t scan_ = 0;
    size_t runStart_ = 0;
    int32_t pendingLineHeight_ = 0;
    int32_t rightEdge_ = 0;
    bool lineTruncated_ = false;
    Ref<StyleLine> currentLine_;
};
