// The phone's key table, the system-key class and the stylus parameter halves.
#include <gtest/gtest.h>

#include "platform/device/host_input.h"

TEST(HostInputTest, MapsVirtualKeysAsThePhoneDid) {
    struct Case {
        int32_t vk, code;
    };
    const Case cases[] = {
        {13, -999},  {37, -999}, {38, -999}, {39, -999}, {40, -999}, {'0', -999}, {'9', -999},
        {'Q', '1'},  {'W', '2'}, {'E', '3'}, {'A', '4'}, {'J', '5'}, {'D', '6'},  {'Z', '7'},
        {'S', '8'},  {'C', '9'}, {'K', '0'}, {112, -6},  {113, -7},  {119, '*'},  {120, '#'},
        {'B', 'B'},  {36, 36},   {114, 114}, {117, 117}, {12, 12},   {121, 121},  {-5, -5},
        {0x1FF, 0x1FF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(Host::mapVirtualKey(c.vk), c.code);
    }
}

TEST(HostInputTest, KnowsTheSixSystemKeys) {
    for (int32_t code : {91, 92, 115, 27, 36, 114}) EXPECT_TRUE(Host::isSystemKey(code)) << code;
    for (int32_t code : {90, 93, 113, 116, 117, 118, 26, 28, 35, 37, -999}) EXPECT_FALSE(Host::isSystemKey(code)) << code;
}

TEST(HostInputTest, TakesTheInputMethodKeyOnlyForProcessKey) {
    EXPECT_EQ(Host::virtualKeyOf(229, 81), 81);
    EXPECT_EQ(Host::virtualKeyOf(0x151, 0), 0x51);  // only the low byte counts
    EXPECT_EQ(Host::virtualKeyOf(65, 81), 65);
}

TEST(HostInputTest, StylusHalvesAreSigned) {
    struct Case {
        int32_t x, y;
        int32_t lParam;
        int32_t backX, backY;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0},
        {479, 799, (799 << 16) | 479, 479, 799},
        {-1, 5, (5 << 16) | 0xFFFF, -1, 5},
        {7, -2, static_cast<int32_t>(0xFFFE0007u), 7, -2},
        {40000, -40000, static_cast<int32_t>(0x80007FFFu), 32767, -32768},  // clamped to 16 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        const int32_t lParam = Host::makeStylusParam(c.x, c.y);
        EXPECT_EQ(lParam, c.lParam);
        EXPECT_EQ(Host::stylusX(lParam), c.backX);
        EXPECT_EQ(Host::stylusY(lParam), c.backY);
    }
}

TEST(HostInputTest, ScalesStylusPointsWithRounding) {
    struct Case {
        int32_t x, y;
        float sx, sy;
        int32_t outX, outY;
    };
    const Case cases[] = {
        {100, 200, 1.0f, 1.0f, 100, 200},
        {100, 200, 0.5f, 2.0f, 50, 400},
        {3, 3, 0.5f, 0.5f, 2, 2},       // 1.5 rounds up
        {-3, -1, 0.5f, 0.5f, -1, 0},    // -1.5 -> floor(-1.0) = -1; -0.5 -> 0
        {479, 799, 480.0f / 240, 1.0f, 958, 799},
        {1, 1, 1.0f / 3, 1.0f, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        int32_t x = c.x, y = c.y;
        Host::scaleStylusPoint(x, y, c.sx, c.sy);
        EXPECT_EQ(x, c.outX);
        EXPECT_EQ(y, c.outY);
    }
}
