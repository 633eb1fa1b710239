#pragma once

#include <gtest/gtest.h>

#include "platform/Window.h"
#include "platform/headless/HeadlessBackend.h"

// A fresh headless display for each test, and no windows left behind.
class HeadlessFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::SetActiveBackend(std::move(backend));
    }
    void TearDown() override {
        platform::ResetWindowsForTesting();
        platform::SetActiveBackend(nullptr);
    }

    platform::HeadlessBackend& Backend() { return *backend_; }

private:
    platform::HeadlessBackend* backend_ = nullptr;
};
