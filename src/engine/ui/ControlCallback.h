#pragma once

#include <cstdint>

class GameNode;

// The handler a control calls when the user has changed it: a function with
// the context object it works on, given the control that called.
class ControlCallback {
public:
    using Function = int32_t (*)(void* context, GameNode* sender);

    virtual ~ControlCallback() = default;

    void SetCallback(void* context, Function function) {
        context_ = context;
        function_ = function;
    }
    void* GetCallbackContext() const { return context_; }
    Function GetCallbackFunction() const { return function_; }

    // The function's result; 0 when none is set.
    virtual int32_t Invoke(GameNode* sender) {
        return function_ != nullptr ? function_(context_, sender) : 0;
    }

private:
    void* context_ = nullptr;
    Function function_ = nullptr;
};
