#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"

class Property;

// What paints a dialog's frame and background and decides which sizes the
// dialog may take; it draws from a named image set of one resource section,
// loaded on first use.
class Painter : public Object {
    ENGINE_CLASS(Painter, Object)

public:
    // Keys "section" and "images" (a vector of image names).
    explicit Painter(Property* definition);
    ~Painter() override;

    // Paints onto the dialog's own surface, the whole of it.
    virtual void Paint(Surface& target) = 0;
    // The image of that place in the set; null for a missing one or an index
    // past the end.
    virtual Surface* GetImage(int32_t index);
    // The nearest size at least as large that the painter can fill.
    virtual int32_t FitWidth(int32_t width) = 0;
    virtual int32_t FitHeight(int32_t height) = 0;

    bool NeedsRepaint() const { return repaint_; }
    void SetNeedsRepaint(bool repaint) { repaint_ = repaint; }
    const std::string& GetSection() const { return section_; }
    const std::vector<std::string>& GetImageNames() const { return imageNames_; }
    // Replaces the name at that place (ignored past the end); the set loads
    // again and the frame repaints on next use.
    void SetImageName(int32_t index, const std::string& name);

private:
    void LoadImages();

    bool repaint_ = true;
    bool imagesLoaded_ = false;
    std::string section_;
    std::vector<std::string> imageNames_;
    std::vector<Ref<Surface>> images_;
};
