#include "game/constants/GameConstants.h"

#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"

#define GAME_CONSTANT_DEFINE_INTEGER(name) int32_t name = 0;
#define GAME_CONSTANT_DEFINE_FLOAT(name) float name = 0.0f;
GAME_INTEGER_CONSTANTS(GAME_CONSTANT_DEFINE_INTEGER)
GAME_FLOAT_CONSTANTS(GAME_CONSTANT_DEFINE_FLOAT)
#undef GAME_CONSTANT_DEFINE_INTEGER
#undef GAME_CONSTANT_DEFINE_FLOAT

namespace {

template <typename T>
struct Binding {
    const char* name;
    T* variable;
};

#define GAME_CONSTANT_BIND(name) {#name, &name},
const Binding<int32_t> kIntegers[] = {GAME_INTEGER_CONSTANTS(GAME_CONSTANT_BIND)};
const Binding<float> kFloats[] = {GAME_FLOAT_CONSTANTS(GAME_CONSTANT_BIND)};
#undef GAME_CONSTANT_BIND

bool initialised = false;

}  // namespace

namespace XML {

void Init() {
    const Defines* defines = Defines::Instance();
    for (const Binding<int32_t>& constant : kIntegers) {
        *constant.variable = defines != nullptr ? defines->GetInt(constant.name) : 0;
    }
    for (const Binding<float>& constant : kFloats) {
        *constant.variable = defines != nullptr ? defines->GetFloat(constant.name) : 0.0f;
    }
    if (initialised) {
        // The copy's own name stands as the line's location, not a build path.
        Logger::Instance().Write(2, "XMLDefines", "XML::Init", __LINE__, "XMLDefines::XML Reinitialized");
    }
    initialised = true;
}

void ForgetInitForTesting() {
    initialised = false;
}

}  // namespace XML
