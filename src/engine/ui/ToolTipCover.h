#pragma once

// Marks a node that covers everything drawn before it, an open dialog: while
// it is shown, no sprite drawn before it shows a tooltip, whether or not the
// pointer is over it.
class ToolTipCover {
public:
    virtual ~ToolTipCover() = default;
};
