#pragma once

#include <string>

// The per-user base folders of the XDG base-directory convention.
namespace platform {

// $XDG_DATA_HOME, else $HOME/.local/share; empty when neither gives an
// absolute path.
std::string DataHomeFolder();

// $XDG_CONFIG_HOME, else $HOME/.config; empty when neither gives an
// absolute path.
std::string ConfigHomeFolder();

}  // namespace platform
