#pragma once

#include <string>

// The game's name and id as the folders, registry and log use them.
std::string CurrentGameName();
std::string CurrentGameId();
