// A freshly attached plug-in over an empty fake file system, closed again after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/exports.h"
#include "core/pluginContext.h"
#include "platform/fake/fakePlatform.h"

// A host extract function that only counts its calls; every test starts from 0.
inline int extractCount = 0;
inline int32_t LB_STDCALL countExtract(const char*, const char*, int32_t, int32_t) {
    return ++extractCount;
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        extractCount = 0;
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
