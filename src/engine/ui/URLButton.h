#pragma once

#include <string>

#include "engine/ui/Button.h"

// A button that opens an address with the system's handler before its own
// handler runs.
class URLButton : public Button {
    ENGINE_CLASS(URLButton, Button)

public:
    // The Button keys, then "url" and "file" (a picture read straight from
    // that file, which replaces the sprite's image when it loads).
    explicit URLButton(Property* definition);

    int32_t Invoke(GameNode* sender) override;

    const std::string& GetUrl() const { return url_; }

private:
    std::string url_;
};
