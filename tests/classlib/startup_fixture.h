// Fixture for tests of the start-up sequence: a data archive holding the shipped constants, where
// the constant-pool loader finds them, and the library's hooks and every static cleared afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup_order.h"
#include "runtime/constant_pool.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/static_class.h"
#include "runtime/system_natives.h"
#include "tests/classlib/shipped_constants.h"
#include "tests/classlib/stream_fixture.h"
#include "tests/support/log_capture.h"
#include "tools/bar_writer.h"

class StartupTest : public StreamTest {
protected:
    void SetUp() override {
        StreamTest::SetUp();
        std::string bin;
        std::string error;
        ASSERT_TRUE(compileShippedConstants(bin, error)) << error;
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), {tools::BarEntry::fromBytes("constants.bin", bin)}, error))
            << error;
    }
    // The names of the steps that ran, in order, from the start-up's debug lines.
    static std::vector<std::string> stepsRan(const LogCapture& log) {
        std::vector<std::string> ran;
        for (const std::string& line : log.lines) {
            const std::string prefix = "static initialiser ";
            if (line.rfind(prefix, 0) == 0) ran.push_back(line.substr(prefix.size()));
        }
        return ran;
    }
    void TearDown() override {
        StaticClass::releaseStatics();
        java_lang_System::setPropertyLookup(nullptr);
        Runtime::setThrowableOutput(nullptr);
        Runtime::setConstantPool(nullptr);
        StreamTest::TearDown();
    }
};
