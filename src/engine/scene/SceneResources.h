#pragma once

#include <string>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

// The loaded data of a resource, looked up under the section manager's data
// lock and held before the lock is let go; null without a section manager or
// when the resource is unknown or not loaded.
Ref<Object> FindResourceData(const std::string& identifier, const std::string& sectionName);

// The game's text for a text identifier; empty when there is none.
std::wstring LookUpText(const std::string& identifier);
