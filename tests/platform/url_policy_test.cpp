#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device/headless/headless_device.h"
#include "platform/device/url_policy.h"
#include "platform_test_support.h"

namespace {

TEST(UrlPolicyTest, OnlyPlainWebLinksToAHostMayBeOpened) {
    struct Case {
        std::string url;
        bool launchable;
    };
    const Case cases[] = {
        {"https://example.com/games/brindlex?id=7&lang=en#top", true},
        {"HTTP://Example.COM", true},
        {"http://shop.example.com:8080/a%20b+c~d", true},
        {"https://example.com", true},
        {"javascript:alert(1)", false},
        {"file:///etc/passwd", false},
        {"ftp://example.com/x", false},
        {"https:/example.com", false},
        {"https://", false},
        {"https://:80/", false},
        {"https://example.com/a b", false},
        {"https://example.com/\"quoted\"", false},
        {"https://example.com/'x'", false},
        {"https://example.com/;rm -rf ~", false},
        {"https://example.com/x;y", false},
        {"https://example.com/$(id)", false},
        {"https://example.com/`id`", false},
        {"https://example.com/a|b", false},
        {"https://example.com/\nhttps://evil.example", false},
        {"https://example.com/\r", false},
        {"https://example.com/\t", false},
        {std::string("https://example.com/\0x", 22), false},
        {"https://user@example.com/", false},
        {"https://example.com:/", false},
        {"https://example.com:123456/", false},
        {"https://example.com:8a/", false},
        {"https://-example.com/", false},
        {"https://exa_mple.com/", false},
        {"https://ex\xc3\xa4mple.com/", false},
        {"--help", false},
        {"", false},
        {"https://example.com/" + std::string(3 * 1024, 'a'), false},
        {"https://example.com/" + std::string(Host::kMaxLaunchUrl - 20, 'a'), true},
        {"https://example.com/" + std::string(Host::kMaxLaunchUrl - 19, 'a'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.substr(0, 60));
        EXPECT_EQ(Host::isLaunchableUrl(c.url), c.launchable);
    }
}

TEST(UrlPolicyTest, TheHeadlessDeviceRecordsARefusalAndNeverTheRefusedLink) {
    HeadlessDevice device;
    EXPECT_FALSE(device.launchUrl("javascript:alert(1)"));
    EXPECT_TRUE(device.launchUrl("https://example.com/"));
    const std::vector<std::string> calls = device.shellCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "launch refused");
    EXPECT_EQ(calls[1], "launch https://example.com/");
}

// A refused link comes from data: its log line must not start new lines or steer a terminal.
TEST(UrlPolicyTest, ARefusedLinkIsLoggedPrintableAndShort) {
    struct Case {
        std::string url;
        std::string logged;
    };
    const Case cases[] = {
        {"https://example.com/\nERROR forged line", "https://example.com/?ERROR forged line"},
        {"javascript:\x1b[2J\x1b]0;x\x07", "javascript:?[2J?]0;x?"},
        {"https://ex\xc3\xa4mple.com/\x7f", "https://ex??mple.com/?"},
        {std::string(100, 'a'), std::string(Host::kMaxLoggedUrl, 'a')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        EXPECT_EQ(Host::urlForLog(c.url), c.logged);
        LogCapture log;
        HeadlessDevice device;
        EXPECT_FALSE(device.launchUrl(c.url));
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0], "refused to open the link: " + c.logged);
    }
}

}  // namespace
