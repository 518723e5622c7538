// The MIDlet's application descriptor, getAppProperty, Command's checks and GameCanvas's
// off-screen Image.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/lcdui/javax_microedition_lcdui_command.h"
#include "classlib/lcdui/javax_microedition_lcdui_game_game_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "stream_fixture.h"
#include "tools/bar_writer.h"

namespace {

class PlainMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

class LcduiMIDletTest : public StreamTest {
protected:
    void writeDataFile(std::vector<tools::BarEntry> entries) {
        std::string error;
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), entries, error)) << error;
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    }
    std::string property(javax_microedition_midlet_MIDlet* midlet, const char* key) {
        return narrow(midlet->getAppProperty(String::fromCString(key)));
    }
};

TEST_F(LcduiMIDletTest, DescriptorLinesBecomeProperties) {
    using Properties = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        const char* text;
        Properties expected;  // every entry of the table
    };
    const Case cases[] = {
        {"key, colon, blank, value", "MIDlet-Name: Brindlex\n", {{"MIDlet-Name", "Brindlex"}}},
        {"CR LF line ends", "A: x\r\nB:y \r\n", {{"A", "x"}, {"B", "y"}}},
        {"last line without an end", "A: x\nB: y", {{"A", "x"}, {"B", "y"}}},
        {"value holding colons", "URL: http://example.com:80/a\n", {{"URL", "http://example.com:80/a"}}},
        {"later key replaces", "A: 1\n  A  : 2\n", {{"A", "2"}}},
        {"blank line in between", "A: 1\n\nB: 2\n", {{"A", "1"}, {"B", "2"}}},
        {"blank lines at the end", "A: 1\r\n\r\n\n", {{"A", "1"}}},
        {"line without a colon runs on to the next one", "A: 1\njunk\nB: 2", {{"A", "1"}, {"junk\nB", ""}, {"B", "2"}}},
        {"no colon at all", "just text\n", {}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* table = new java_util_Hashtable();
        table->init(11);
        javax_microedition_midlet_MIDlet::parseAppDescriptor(String::fromCString(c.text), table);
        EXPECT_EQ(table->size(), static_cast<jint>(c.expected.size()));
        for (const auto& [key, value] : c.expected) {
            SCOPED_TRACE(key);
            EXPECT_EQ(narrow(static_cast<String*>(table->get(String::fromCString(key.c_str())))), value);
        }
    }
}

TEST_F(LcduiMIDletTest, PropertiesComeFromAppJadAndAreNeverNull) {
    writeDataFile({tools::BarEntry::fromBytes("app.jad", "MIDlet-Vendor: Zarnquist\nMIDlet-Version: 1.2\n")});
    auto* midlet = new PlainMIDlet();
    midlet->init();
    EXPECT_EQ(property(midlet, "MIDlet-Vendor"), "Zarnquist");
    EXPECT_EQ(property(midlet, "MIDlet-Version"), "1.2");
    String* first = midlet->getAppProperty(String::fromCString("Missing"));
    EXPECT_EQ(narrow(first), "PROPERTY VALUE EMPTY");
    EXPECT_NE(midlet->getAppProperty(String::fromCString("Missing")), first);

    writeDataFile({tools::BarEntry::fromBytes("other.txt", "MIDlet-Vendor: nobody\n")});
    EXPECT_EQ(javax_microedition_midlet_MIDlet::readAppDescriptor(), nullptr);
    auto* without = new PlainMIDlet();
    without->init();
    ASSERT_NE(without->m_properties, nullptr);
    EXPECT_EQ(without->m_properties->size(), 0);
    EXPECT_EQ(property(without, "MIDlet-Vendor"), "PROPERTY VALUE EMPTY");
}

TEST_F(LcduiMIDletTest, CommandChecksItsTypeThenItsLabel) {
    struct Case {
        const char* label;
        const char* longLabel;
        jint type;
        int pending;  // class id of the exception left pending, -1 for none
    };
    const Case cases[] = {
        {"Back", nullptr, 2, -1},
        {"Ok", "Confirm", 4, -1},
        {"Item", nullptr, 8, -1},
        {"Screen", nullptr, 1, -1},
        {"Zero", nullptr, 0, CID_java_lang_IllegalArgumentException},
        {nullptr, nullptr, 9, CID_java_lang_IllegalArgumentException},  // the type is checked first
        {nullptr, "Long", 3, CID_java_lang_NullPointerException},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto* command = new javax_microedition_lcdui_Command();
        String* label = c.label ? String::fromCString(c.label) : nullptr;
        if (c.longLabel)
            command->init(label, String::fromCString(c.longLabel), c.type, 7);
        else
            command->init(label, c.type, 7);
        EXPECT_EQ(takePending(), c.pending);
        if (c.pending >= 0) {
            EXPECT_EQ(command->getLabel(), nullptr);
            continue;
        }
        EXPECT_EQ(narrow(command->getLabel()), c.label);
        EXPECT_EQ(narrow(command->getLongLabel()), c.longLabel ? c.longLabel : "<null>");
        EXPECT_EQ(command->getCommandType(), c.type);
        EXPECT_EQ(command->getPriority(), 7);
    }
}

TEST_F(LcduiMIDletTest, GameCanvasDrawsOffScreenAtTheScreenSize) {
    auto* canvas = new javax_microedition_lcdui_game_GameCanvas();
    canvas->init();
    ASSERT_NE(canvas->m_image, nullptr);
    EXPECT_EQ(canvas->m_image->getWidth(), 480);
    EXPECT_EQ(canvas->m_image->getHeight(), 800);
    EXPECT_TRUE(canvas->m_image->isMutable());
    EXPECT_EQ(canvas->classId(), CID_javax_microedition_lcdui_game_GameCanvas);
}

}  // namespace
