// The promotion screen over the shipped resource, on a virtual clock: the sub-state flow a visit
// takes, the link thread (one link launched once per visit, with the language code, then the end
// of the application; one thread however fast the screen is left and entered again), the visited
// store and the marker that blinks until it exists. ThreadSanitizer watches these tests.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "classlib/application.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "promo/igp.h"
#include "runtime/clock.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/thread_state.h"
#include "tests/classlib/application_fixture.h"
#include "tests/classlib/thread_helpers.h"
#include "tests/promo/promo_fixture.h"
#include "tests/classlib/recording_midlet_host.h"

namespace {

using Image = javax_microedition_lcdui_Image;

class IgpScreenTest : public ApplicationFixture {
protected:
    void SetUp() override {
        Runtime::setClock(&clock);
        std::string bin, error, resource;
        ASSERT_TRUE(compileShippedConstants(bin, error)) << error;
        ASSERT_TRUE(tools::compilePromoFolder(BRINDLEX_FIXTURES "/../../assets/promo.dat.igp", resource, error))
            << error;
        std::string jad;
        for (const auto& [key, value] : promotest::shippedProperties()) jad += key + ": " + value + "\n";
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(temp.path() / "data.bar");
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(),
                                        {tools::BarEntry::fromBytes("constants.bin", bin),
                                         tools::BarEntry::fromBytes("app.jad", jad),
                                         tools::BarEntry::fromBytes("promo.dat", resource)},
                                        error))
            << error;
        frame.assign(static_cast<size_t>(Application::kScreenWidth) * Application::kScreenHeight, 0);
        ASSERT_TRUE(app.init(frame.data(), {kHeapBytes * 8, kHeapBytes * 8}, kStartupOrder));
        app.setMIDletHost(&host);
        baseline = java_lang_Thread::activeCount();
        auto* midlet = new promotest::PlainMIDlet();
        ASSERT_NE(midlet, nullptr);
        midlet->init();
        auto* canvas = new javax_microedition_lcdui_Canvas();
        IGP::initialize(midlet, canvas, 800, 480, nullptr);
        ASSERT_TRUE(IGP::s_available);
    }
    void TearDown() override {
        IGP::stopLinkThread();
        ApplicationFixture::TearDown();
        Runtime::setClock(nullptr);
    }

    // Frames until the load is over: the first browsing frame.
    static jint load() {
        jint frames = 0;
        while (IGP::s_state == IGP::kStateLoading && frames < 100) {
            EXPECT_FALSE(IGP::update(0));
            ++frames;
        }
        return frames;
    }
    static void visit() {
        IGP::enter(Runtime::ldcString(1), 0);
        (void)load();
    }
    // Moves the clock and waits (parked) for the link thread to do what became due.
    template <class F>
    bool advanceUntil(int64_t millis, F done) {
        clock.advance(millis);
        for (int i = 0; i < 4000; ++i) {
            if (done()) return true;
            java_lang_Thread::sleep(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }
    static bool storeExists() {
        (void)javax_microedition_rms_RecordStore::openRecordStore_2(Runtime::ldcString(IGP::kVisitedStoreLiteral), false);
        const bool exists = !Runtime::pending();
        Runtime::clearPendingException();
        return exists;
    }

    ManualClock clock;
    RecordingHost host;
    jint baseline = 0;
    Watchdog watchdog{std::chrono::seconds(120)};
};

TEST_F(IgpScreenTest, AVisitLoadsBrowsesAndLeaves) {
    IGP::enter(Runtime::ldcString(1), 0);
    const jint first = IGP::getFirstAvailable();
    EXPECT_EQ(IGP::s_currentItem, first);
    // The first frame runs load step -1 and ignores its action; each later frame one step more.
    EXPECT_FALSE(IGP::update(IGP::kActionRight));
    EXPECT_EQ(IGP::s_loadStep, 0);
    EXPECT_EQ(load(), IGP::s_loadStepCount + 1);
    EXPECT_EQ(IGP::s_state, IGP::kStateBrowsing);
    EXPECT_EQ(IGP::s_currentItem, first);
    EXPECT_EQ(IGP::s_shownItem, first);
    ASSERT_NE(IGP::s_fixedImages, nullptr);
    EXPECT_NE(IGP::s_fixedImages->get(0), nullptr);

    // Left wraps to the last available slot; right right after it (its arrow not yet painted away)
    // stays; once the highlight is gone, right steps forward again.
    ASSERT_GE(IGP::s_availableCount, 2);
    EXPECT_FALSE(IGP::update(IGP::kActionLeft));
    jint last = IGP::s_itemCount - 1;
    while (!IGP::s_itemAvailable->get(last)) --last;
    EXPECT_EQ(IGP::s_currentItem, last);
    EXPECT_TRUE(IGP::s_leftPressed);
    EXPECT_FALSE(IGP::update(IGP::kActionRight));
    EXPECT_EQ(IGP::s_currentItem, last);
    IGP::s_leftPressed = false;
    EXPECT_FALSE(IGP::update(IGP::kActionRight));
    EXPECT_EQ(IGP::s_currentItem, first);

    // A list page: up and down move the selection inside the list, the rows scroll.
    IGP::s_currentItem = IGP::s_listItem1;
    IGP::setupPage();
    ASSERT_TRUE(IGP::s_listMode);
    EXPECT_FALSE(IGP::s_pageHasLink);
    const jint rows = IGP::s_listLength;
    ASSERT_GE(rows, 2);
    IGP::s_listVisibleRows = 1;
    EXPECT_FALSE(IGP::update(IGP::kActionUp));
    EXPECT_EQ(IGP::s_listSelection, 0);
    for (jint i = 0; i < rows + 1; ++i) EXPECT_FALSE(IGP::update(IGP::kActionDown));
    EXPECT_EQ(IGP::s_listSelection, rows - 1);
    EXPECT_EQ(IGP::s_listScroll, rows - 1);
    EXPECT_FALSE(IGP::update(IGP::kActionUp));
    EXPECT_EQ(IGP::s_listSelection, rows - 2);
    EXPECT_EQ(IGP::s_listScroll, rows - 2);

    // Back: the next frame frees everything, ends the thread and reports the end.
    EXPECT_FALSE(IGP::update(IGP::kActionBack));
    EXPECT_EQ(IGP::s_state, IGP::kStateFinished);
    EXPECT_TRUE(IGP::update(0));
    EXPECT_FALSE(IGP::s_running);
    EXPECT_EQ(IGP::s_fixedImages, nullptr);
    EXPECT_EQ(IGP::s_lineWidths, nullptr);
    EXPECT_TRUE(advanceUntil(0, [] { return !IGP::linkThreadAlive(); }));
    EXPECT_TRUE(host.urls().empty());
}

TEST_F(IgpScreenTest, AHideDuringTheLoadParksItAndTheShowStartsItAgain) {
    IGP::enter(Runtime::ldcString(1), 0);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(IGP::update(0));
    IGP::s_pressedAction = IGP::kActionStylusSelect;
    IGP::notifyInterruption(true);
    EXPECT_EQ(IGP::s_state, IGP::kStateParked);
    EXPECT_EQ(IGP::s_pressedAction, 0);
    EXPECT_FALSE(IGP::update(0));
    EXPECT_EQ(IGP::s_loadStep, 3) << "a parked screen runs no step";
    IGP::notifyInterruption(false);
    EXPECT_EQ(IGP::s_state, IGP::kStateLoading);
    EXPECT_EQ(IGP::s_loadStep, -1);
    EXPECT_EQ(load(), IGP::s_loadStepCount + 2);
    // While browsing a hide only clears the stylus.
    IGP::notifyInterruption(true);
    EXPECT_EQ(IGP::s_state, IGP::kStateBrowsing);
}

TEST_F(IgpScreenTest, SelectLaunchesTheLinkOnceWithTheLanguageCodeAndEndsTheProgram) {
    EXPECT_FALSE(storeExists());
    visit();
    EXPECT_TRUE(storeExists()) << "entering marks the promotion visited";
    EXPECT_FALSE(IGP::update(IGP::kActionSelect));
    EXPECT_EQ(IGP::s_state, IGP::kStateLaunching);
    // The game thread offers the link every frame until the thread has taken it.
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(IGP::update(0));
    EXPECT_TRUE(host.urls().empty()) << "the thread polls once a second";
    ASSERT_TRUE(advanceUntil(IGP::kLinkPollMillis, [this] { return !host.urls().empty(); }));
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(IGP::update(0));
    ASSERT_TRUE(advanceUntil(IGP::kLaunchPauseMillis, [this] { return host.destroyed.load() == 1; }));
    EXPECT_EQ(IGP::s_state, IGP::kStateBrowsing);
    // Selecting again in the same visit, and seconds more of polling, launch nothing more.
    EXPECT_FALSE(IGP::update(IGP::kActionSelect));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(IGP::update(0));
        clock.sleepMillis(IGP::kLinkPollMillis);
    }
    Runtime::waitForOthersToSettle(std::chrono::milliseconds(500));
    EXPECT_EQ(host.urls(), std::vector<std::string>{"https://games.example.com/get?game=skylark&lang=EN&title=01"});
    EXPECT_EQ(host.destroyed.load(), 1);
}

TEST_F(IgpScreenTest, AChoiceWithoutALinkGoesBackToBrowsing) {
    visit();
    IGP::s_itemLinks->set(IGP::s_currentItem, Runtime::ldcString(1));
    EXPECT_FALSE(IGP::update(IGP::kActionStylusSelect));
    EXPECT_FALSE(IGP::update(0));
    EXPECT_EQ(IGP::s_state, IGP::kStateBrowsing);
    EXPECT_EQ(IGP::s_pendingLink, nullptr);
}

TEST_F(IgpScreenTest, LeavingAndEnteringAgainWithinASecondLeavesOneLinkThread) {
    for (int visitNo = 0; visitNo < 5; ++visitNo) {
        SCOPED_TRACE(visitNo);
        visit();
        java_lang_Thread* thread = IGP::s_linkThread;
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(java_lang_Thread::activeCount(), baseline + 1);
        EXPECT_FALSE(IGP::update(IGP::kActionBack));
        EXPECT_TRUE(IGP::update(0));
        // No time passes: the old thread is still within its one-second poll.
        IGP::enter(Runtime::ldcString(1), 0);
        EXPECT_FALSE(thread->isAlive());
        EXPECT_NE(IGP::s_linkThread, thread);
        EXPECT_EQ(java_lang_Thread::activeCount(), baseline + 1);
        EXPECT_FALSE(IGP::update(IGP::kActionBack));  // a new visit's first frame: loading
        (void)load();
        EXPECT_FALSE(IGP::update(IGP::kActionBack));
        EXPECT_TRUE(IGP::update(0));
    }
}

TEST_F(IgpScreenTest, TheMarkerBlinksFromHiddenUntilTheScreenIsVisited) {
    Image* canvas = Image::createImage(8, 8);
    Image* marker = Image::createImage(4, 4);
    ASSERT_NE(canvas, nullptr);
    ASSERT_NE(marker, nullptr);
    javax_microedition_lcdui_Graphics* ink = marker->getGraphics();
    ink->setColor(0xFFFFFF);
    ink->fillRect(0, 0, 4, 4);
    javax_microedition_lcdui_Graphics* g = canvas->getGraphics();
    IntArray* argb = Runtime::newIntArray(1);
    auto drawn = [&] {
        canvas->getRGB(argb, 0, 1, 1, 1, 1, 1);
        const bool white = (argb->get(0) & 0xFFFFFF) != 0;
        g->setColor(0);
        g->fillRect(0, 0, 8, 8);
        return white;
    };
    clock.advance(10000);
    EXPECT_FALSE(IGP::isVisited());
    EXPECT_TRUE(IGP::drawNewMarker(g, marker, 0, 0, 20));
    EXPECT_FALSE(drawn()) << "the first call toggles to hidden";
    clock.advance(IGP::kMarkerBlinkMillis);
    EXPECT_TRUE(IGP::drawNewMarker(g, marker, 0, 0, 20));
    EXPECT_FALSE(drawn()) << "800 ms exactly is not yet a toggle";
    clock.advance(1);
    EXPECT_TRUE(IGP::drawNewMarker(g, marker, 0, 0, 20));
    EXPECT_TRUE(drawn());
    EXPECT_FALSE(IGP::drawNewMarker(nullptr, marker, 0, 0, 20));

    visit();
    clock.advance(IGP::kMarkerBlinkMillis + 1);
    EXPECT_FALSE(IGP::drawNewMarker(g, marker, 0, 0, 20));
    EXPECT_FALSE(drawn());
    // A later run finds the store: visited from the start.
    IGP::s_visited = IGP::s_visitedChecked = false;
    EXPECT_TRUE(IGP::isVisited());
}

TEST_F(IgpScreenTest, AnUnavailablePromotionEndsAtTheFirstFrame) {
    IGP::s_available = false;
    EXPECT_TRUE(IGP::update(IGP::kActionSelect));
    EXPECT_EQ(IGP::getAvailability(), -1);
    EXPECT_FALSE(IGP::drawNewMarker(nullptr, nullptr, 0, 0, 0));
}

}  // namespace
