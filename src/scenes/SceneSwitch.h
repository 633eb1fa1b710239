#pragma once

#include <string>

// Asks the scene manager for the named scene through a transition of the
// dialog table (none when the table has no such transition). A missing
// scene is logged and nothing switches.
void SwitchToScene(const std::string& sceneName, const std::string& transitionName);
