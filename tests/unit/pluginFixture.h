// A freshly attached plug-in over an empty fake file system, closed again after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/exports.h"
#include "core/pluginContext.h"
#include "platform/fake/fakePlatform.h"

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_TRUE(lb::attachPlugin(nullptr));
    }
    void TearDown() override {
        if (lb::context != nullptr) closePlugin();
    }
    static lb::PluginContext& state() { return *lb::context; }
};

// The bytes of a record as a string, for comparing file contents.
template <typename T>
std::string bytesOf(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
