#pragma once

// The constants store of a target that fuzzes one constant file: the game's
// other constant files, read once, then the fuzzed file over them, in a
// fresh store for every input.
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/PropertyFile.h"
#include "support/FuzzEnvironment.h"

namespace fuzz_environment {

class ConstantsOver {
public:
    // The game's constant files but the one named.
    explicit ConstantsOver(const std::string& fuzzedFile) : others_(new PropertyFile(OtherFiles(fuzzedFile))) {
        if (!others_->Load()) {
            std::abort();
        }
    }

    // A fresh store of the other files' constants and the file's over them.
    void Define(PropertyFile& file) const {
        Defines::Create();
        ClassFactory::Instance().CreateNamedObjects(*others_);
        ClassFactory::Instance().CreateNamedObjects(file);
    }

private:
    static std::vector<std::string> OtherFiles(const std::string& fuzzedFile) {
        std::vector<std::string> files;
        for (const std::string& file : ConstantFiles()) {
            if (file != SourceFile(fuzzedFile)) {
                files.push_back(file);
            }
        }
        return files;
    }

    Ref<PropertyFile> others_;
};

}  // namespace fuzz_environment
