#include "platform/KeyCodes.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

struct NamedKey {
    const char* name;
    uint32_t code;
};

constexpr NamedKey kNamedKeys[] = {
    {"BACK", VK_BACK},       {"TAB", VK_TAB},         {"RETURN", VK_RETURN},
    {"SHIFT", VK_SHIFT},     {"CONTROL", VK_CONTROL}, {"MENU", VK_MENU},
    {"PAUSE", VK_PAUSE},     {"CAPITAL", VK_CAPITAL}, {"ESCAPE", VK_ESCAPE},
    {"SPACE", VK_SPACE},     {"PRIOR", VK_PRIOR},     {"NEXT", VK_NEXT},
    {"END", VK_END},         {"HOME", VK_HOME},       {"LEFT", VK_LEFT},
    {"UP", VK_UP},           {"RIGHT", VK_RIGHT},     {"DOWN", VK_DOWN},
    {"INSERT", VK_INSERT},   {"DELETE", VK_DELETE},
};

}  // namespace

uint32_t VirtualKeyFromName(const char* name) {
    if (!name || !*name) return 0;
    if (name[1] == '\0' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return static_cast<unsigned char>(name[0]);
    if (name[0] == 'F' && name[1] >= '1' && name[1] <= '9') {
        char* end = nullptr;
        const long number = std::strtol(name + 1, &end, 10);
        if (*end == '\0' && number >= 1 && number <= 12) return VK_F1 + static_cast<uint32_t>(number) - 1;
    }
    for (const NamedKey& key : kNamedKeys)
        if (std::strcmp(key.name, name) == 0) return key.code;
    char* end = nullptr;
    const long number = std::strtol(name, &end, 0);
    if (*end == '\0' && number > 0 && number < 256) return static_cast<uint32_t>(number);
    return 0;
}

}  // namespace platform
