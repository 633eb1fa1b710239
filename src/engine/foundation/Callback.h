#pragma once

#include <cstdint>

// A function with the context object it works on, which a widget calls back
// (a button when it is released, a switch when it flips, ...).
class Callback {
public:
    using Function = int32_t (*)(void* context, int32_t argument);

    virtual ~Callback() = default;

    void Bind(void* context, Function function) {
        context_ = context;
        function_ = function;
    }
    void* GetContext() const { return context_; }
    Function GetFunction() const { return function_; }

    // The function's result; 0 when nothing is bound.
    virtual int32_t Invoke(int32_t argument) const {
        return function_ != nullptr ? function_(context_, argument) : 0;
    }

private:
    void* context_ = nullptr;
    Function function_ = nullptr;
};
