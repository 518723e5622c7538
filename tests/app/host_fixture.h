// Fixture of the host tests: a data file with the shipped constants and an app.jad, a headless
// device whose shell calls land in one ordered log with the stand-in MIDlet's and canvas's
// events, and a host started on it (WinMain's steps before the loop), cleaned up at the end.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/host/host_shell.h"
#include "platform/device/headless/event_script.h"
#include "platform/device/headless/headless_device.h"
#include "platform/file_paths.h"
#include "test_midlet.h"
#include "tests/support/temp_folder.h"
#include "tools/bar_writer.h"
#include "tools/constants_compiler.h"

using Lines = std::vector<std::string>;

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestMIDletLog::reset();
        writeDataFile();
    }
    void TearDown() override {
        Host::cleanup();
        device.reset();
        TestMIDletLog::reset();
    }

    void writeDataFile() {
        std::ifstream file(BRINDLEX_FIXTURES "/../../assets/constants.txt");
        ASSERT_TRUE(file);
        std::stringstream text;
        text << file.rdbuf();
        std::string bin, error;
        ASSERT_TRUE(tools::compileConstants(text.str(), "constants.txt", bin, error)) << error;
        const std::vector<tools::BarEntry> entries{tools::BarEntry::fromBytes("constants.bin", bin),
                                                   tools::BarEntry::fromBytes("app.jad", "MIDlet-Name: Brindlex\n")};
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(temp.path() / "data.bar");
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), entries, error)) << error;
    }

    // A headless device whose shell calls go into the log as "shell <call>".
    void makeDevice(HeadlessOptions options = {}) {
        device = std::make_unique<HeadlessDevice>(options);
        device->setShellCallObserver([](const std::string& call) { TestMIDletLog::add("shell " + call); });
    }
    // WinMain up to the host loop; the start-up's lines are dropped from the log.
    void start(HeadlessOptions options = {}) {
        makeDevice(options);
        ASSERT_EQ(Host::startHost(*device, HostOptions{}), 1);
        (void)take();
    }
    // Script lines (times relative to now), then what a host-loop pass does with them before its
    // sleeps: the power queue, then the messages.
    void step(const char* lines) {
        std::vector<ScriptEvent> events;
        std::string error;
        ASSERT_TRUE(parseEventScript(lines, events, error)) << error;
        const int64_t now = device->virtualClock().monotonicMillis();
        for (ScriptEvent& e : events) e.time += now;
        device->addEvents(events);
        Host::processPowerQueue();
        Host::pumpMessages();
    }
    [[nodiscard]] Lines take() { return TestMIDletLog::take(); }

    TempFolder temp;
    std::unique_ptr<HeadlessDevice> device;
};
