// Fixture for tests that draw or measure platform text: fresh heaps, and the Font statics (the
// default font, the cache) cleared before and after, since they would outlive the test's heaps.
#pragma once

#include "../runtime/runtime_fixture.h"
#include "classlib/lcdui/javax_microedition_lcdui_font.h"
#include "runtime/exceptions.h"

class LcduiTextFixture : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        clearFontStatics();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        clearFontStatics();
        RuntimeTest::TearDown();
    }

private:
    static void clearFontStatics() {
        javax_microedition_lcdui_Font::s_defaultFont = nullptr;
        javax_microedition_lcdui_Font::s_fontCache = nullptr;
    }
};
