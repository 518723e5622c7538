// Fixture for the Application tests: a data file with the shipped constants and a given app.jad in
// a temporary folder, a 480 x 800 frame buffer, and an Application that is closed at the end if
// the test has not closed it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup_order.h"
#include "classlib/application.h"
#include "platform/file_paths.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/system_natives.h"
#include "tests/classlib/shipped_constants.h"
#include "tests/support/temp_folder.h"
#include "tools/bar_writer.h"

class ApplicationFixture : public ::testing::Test {
protected:
    static constexpr size_t kHeapBytes = size_t{2} << 20;

    // Writes the data file: constants.bin from assets/constants.txt, and app.jad when given.
    void writeDataFile(const char* appJad) {
        std::string bin;
        std::string error;
        ASSERT_TRUE(compileShippedConstants(bin, error)) << error;
        std::vector<tools::BarEntry> entries{tools::BarEntry::fromBytes("constants.bin", bin)};
        if (appJad) entries.push_back(tools::BarEntry::fromBytes("app.jad", appJad));
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(temp.path() / "data.bar");
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), entries, error)) << error;
    }
    void startRuntime(const char* appJad) {
        writeDataFile(appJad);
        frame.assign(static_cast<size_t>(Application::kScreenWidth) * Application::kScreenHeight, 0xAAAA);
        ASSERT_TRUE(app.init(frame.data(), {kHeapBytes, kHeapBytes}, kStartupOrder));
    }
    void TearDown() override {
        (void)app.close();
        java_lang_System::setPropertyLookup(nullptr);
        Runtime::setThrowableOutput(nullptr);
    }

    [[nodiscard]] uint16_t pixel(int x, int y) const {
        return frame[static_cast<size_t>(y) * Application::kScreenWidth + static_cast<size_t>(x)];
    }

    TempFolder temp;
    std::vector<uint16_t> frame;
    Application app;
};
