#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "mediagen/Drawing.h"
#include "mediagen/Manifest.h"

// The four frames every button picture holds, top to bottom.
enum class ButtonState { kNormal, kOver, kPressed, kDisabled };
constexpr ButtonState kButtonStates[] = {ButtonState::kNormal, ButtonState::kOver, ButtonState::kPressed,
                                         ButtonState::kDisabled};

struct ButtonLook {
    int width;
    int height;
    uint32_t plate;
    std::string caption;
};

// Where a plate was drawn: its face, moved down one pixel while pressed.
struct PlateFace {
    double x;
    double y;
    double w;
    double h;
    Rgba color;  // the plate colour of the state
};

// A bevelled enamel plate with a drop shadow and a soft top light, filling
// the drawing; `radius` 0 rounds it by its height.
PlateFace DrawPlate(Drawing& drawing, uint32_t plate, ButtonState state, double radius = 0);

// The colour of marks on a plate (captions, icons) in that state.
Rgba MarkColor(ButtonState state);

// One image resource of four stacked frames, each drawn by `frame`.
void AddFourFrameImage(Manifest& manifest, const std::string& section, const std::string& id,
                       const std::string& file, std::function<Picture(ButtonState)> frame);

// A plate with a caption in DejaVu Sans Bold, four frames.
void AddButton(Manifest& manifest, FontFaces& faces, const std::string& section, const std::string& id,
               const std::string& file, const ButtonLook& look);
