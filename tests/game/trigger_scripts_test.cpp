// Level trigger scripts through the play step: every action against the level's actors and the
// camera (moves reaching their target exactly at their frame, animation, flags with the bit-23
// alias, wake and sleep, sounds only of the game's own), the run resuming after a pause and starting
// over when fired again, the release of each kind of command, and malformed items refused whole.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "tests/game/trigger_script_bytes.h"
#include "tests/support/actor_world.h"
#include "tests/support/log_capture.h"

namespace {

using namespace script;

// Counts the messages that reach it.
class CountingActor : public cActor {
public:
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override {
        if (message >= 0 && message < 64) {
            ++messages[message];
            senders[message] = sender;
        }
        cActor::onMessage(sender, message, a, b, c);
    }
    int messages[64] = {};
    cActor* senders[64] = {};
};

class TriggerScriptTest : public ActorWorld {
protected:
    static constexpr jint kTrigger = 50;

    void SetUp() override {
        ActorWorld::SetUp();
        installSprite(1, 4, 2);   // type 4's sprite: 4 animations of 2 frames
        installSprite(30, 1, 1);  // a sprite a spawn command names
        cGame::createKeyTables();
        startLevel(record({4, 7, 100, 200, 0, 0, 0}) + record({4, 8, 300, 200, 0, 0}));
        cGame::registerLevelServices();
        cGame::s_cameraX = cGame::s_cameraY = 0;
    }

    static void load(const std::string& item) { cGame::loadTriggerScripts(bytes(item)); }
    // One trigger (id 50) of these commands, loaded and fired.
    static void fire(const std::vector<std::string>& commands) {
        load(script::item({trigger(kTrigger, commands)}));
        cGame::activateTrigger(cGame::findTriggerById(kTrigger));
    }
    static jint time() { return cGame::s_triggerTime->get(cGame::findTriggerById(kTrigger)); }
    static jint px(jint v) { return v >> 8; }

    CountingActor* countingActor(jint id) {
        auto* a = Runtime::make<CountingActor>();
        a->id = id;
        a->type = 4;
        a->addToList(cActor::kListLevel);
        EXPECT_TRUE(cGame::addActor(a));
        cGame::sortActorTable(0);
        return a;
    }
};

TEST_F(TriggerScriptTest, ActionsActOnTheirFrame) {
    struct Case {
        const char* what;
        std::vector<std::string> commands;
        int frames;
        std::function<void(const std::vector<std::string>& sounds)> check;
    };
    const uint32_t bit3 = 8, bit4 = 16, bit23 = 0x800000;
    const std::vector<std::string> moveAt10 = {actorCommand(7, {{10, {move(1200, 530)}}})};
    const std::vector<std::string> twoMoves = {actorCommand(7, {{5, {move(600, 200)}}, {9, {move(1000, 200)}}})};
    const std::vector<std::string> pan = {camera({{4, {centre(1400, 740)}}})};
    const Case cases[] = {
        {"a move due at frame 10 goes 1/11 of the way on frame 0", moveAt10, 1,
         [](auto&) {
             EXPECT_EQ(actorById(7)->x, 200 << 8);
             EXPECT_EQ(actorById(7)->y, 230 << 8);
             EXPECT_TRUE(actorById(7)->hasFlag(cActor::kFlagHeld));
             EXPECT_EQ(time(), 1);
         }},
        {"... stands on its target after frame 10, and the trigger is released", moveAt10, 11,
         [](auto&) {
             EXPECT_EQ(actorById(7)->x, 1200 << 8);
             EXPECT_EQ(actorById(7)->y, 530 << 8);
             EXPECT_EQ(time(), cGame::kTriggerReleased);
             EXPECT_FALSE(actorById(7)->hasFlag(cActor::kFlagHeld));
         }},
        {"moves at 5 and 9: on the first target after frame 5", twoMoves, 6,
         [](auto&) { EXPECT_EQ(actorById(7)->x, 600 << 8); }},
        {"... the second move starts only after frame 5", twoMoves, 7,
         [](auto&) { EXPECT_EQ(actorById(7)->x, 700 << 8); }},
        {"... and ends on frame 9", twoMoves, 10,
         [](auto&) {
             EXPECT_EQ(actorById(7)->x, 1000 << 8);
             EXPECT_EQ(time(), cGame::kTriggerReleased);
         }},
        {"a camera pan to a view centre holds the camera on its way", pan, 4,
         [](auto&) {
             EXPECT_EQ(cGame::s_cameraX, 800);  // (1400 - 400) in five steps, four done
             EXPECT_EQ(cGame::s_cameraY, 400);
             EXPECT_EQ(cGame::s_cameraLock, 1);
         }},
        {"... and lets it go when released", pan, 5, [](auto&) { EXPECT_EQ(cGame::s_cameraLock, 2); }},
        {"animation: started on its frame, looping for ever",
         {actorCommand(7, {{3, {anim(2)}}})},
         4,
         [](auto&) {
             BXLibPlayer* p = actorById(7)->player;
             ASSERT_NE(p, nullptr);
             EXPECT_EQ(p->anim, 2);
             EXPECT_LT(p->loops, 0);
             EXPECT_EQ(p->finished, 0);
         }},
        {"not yet before its frame",
         {actorCommand(7, {{3, {anim(2)}}})},
         3,
         [](auto&) { EXPECT_EQ(actorById(7)->player->anim, 0); }},
        {"a mask with bit 23 sets bit 3 instead",
         {actorCommand(7, {{0, {setFlags(bit23 | bit4)}}})},
         1,
         [&](auto&) { EXPECT_EQ(actorById(7)->flags & (bit3 | bit4 | bit23), bit3 | bit4); }},
        {"and clears bit 3",
         {actorCommand(7, {{0, {setFlags(bit3 | bit4)}}, {1, {clearFlags(bit23)}}})},
         2,
         [&](auto&) { EXPECT_EQ(actorById(7)->flags & (bit3 | bit4 | bit23), bit4); }},
        {"a camera command's actor actions do nothing",
         {camera({{0, {anim(2), setFlags(bit4)}}})},
         1,
         [&](auto&) {
             EXPECT_EQ(actorById(7)->player->anim, 0);
             EXPECT_EQ(actorById(7)->flags & bit4, 0u);
         }},
        {"sleep: deactivated, not killed, bit 5",
         {command(4, 0, {{0, {sleep(8), wake(99)}}})},
         1,
         [](auto&) {
             cActor* a = actorById(8);
             EXPECT_FALSE(a->hasFlag(cActor::kFlagActive));
             EXPECT_FALSE(a->hasFlag(cActor::kFlagKilled));
             EXPECT_TRUE(a->hasFlag(cActor::kFlagNoViewWake));
         }},
        {"wake",
         {command(4, 0, {{0, {sleep(8)}}, {2, {wake(8)}}})},
         3,
         [](auto&) { EXPECT_TRUE(actorById(8)->hasFlag(cActor::kFlagActive)); }},
        // The effect channel is stopped for every sound action; only the 17 sounds are played.
        {"sounds: once on their frame, none outside the game's",
         {command(4, 0, {{3, {sound(5)}}, {4, {sound(17), sound(-1), sound(16)}}})},
         8,
         [](const std::vector<std::string>& sounds) {
             std::vector<std::string> plays;
             for (const std::string& s : sounds)
                 if (s.find("play") != std::string::npos) plays.push_back(s);
             EXPECT_EQ(plays, (std::vector<std::string>{"1: play 5", "1: play 16"}));
         }},
        {"commands without entries: released on the first frame",
         {actorCommand(7, {}), camera({})},
         1,
         [](auto&) {
             EXPECT_EQ(time(), cGame::kTriggerReleased);
             EXPECT_EQ(cGame::s_cameraLock, 2);
         }},
        {"a command whose actor does not exist is skipped",
         {actorCommand(77, {{5, {move(0, 0)}}})},
         1,
         [](auto&) { EXPECT_EQ(time(), cGame::kTriggerReleased); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLevel(record({4, 7, 100, 200, 0, 0, 0}) + record({4, 8, 300, 200, 0, 0}));
        cGame::s_cameraX = cGame::s_cameraY = 0;
        soundLog.clear();
        fire(c.commands);
        step(c.frames);
        c.check(soundLog);
    }
}

TEST_F(TriggerScriptTest, ARunGoesOnAfterAPauseAndStartsOverWhenFiredAgain) {
    fire({command(4, 0, {{1, {sound(3)}}, {4, {sound(4)}}}), actorCommand(7, {{6, {move(800, 200)}}})});
    step(2);                               // frames 0 and 1
    EXPECT_EQ(actorById(7)->x, 300 << 8);  // 700 pixels over 7 frames, two done
    // Paused: no play step for a while, so the script waits where it was.
    EXPECT_EQ(time(), 2);
    soundLog.clear();
    step(5);  // frames 2..6
    EXPECT_EQ(soundLog, (std::vector<std::string>{"1: stop", "1: play 4"}));
    EXPECT_EQ(actorById(7)->x, 800 << 8);
    EXPECT_EQ(time(), cGame::kTriggerReleased);
    EXPECT_EQ(cGame::s_runningTriggers, 1);  // it ran in that last frame

    // Fired again mid-run: from frame 0 and the first entries.
    cGame::activateTrigger(0);
    step(3);
    cGame::activateTrigger(0);
    soundLog.clear();
    step(2);
    EXPECT_EQ(soundLog, (std::vector<std::string>{"1: stop", "1: play 3"}));
    EXPECT_EQ(time(), 2);
    EXPECT_EQ(cGame::s_triggerFlags->get(0), cGame::kTriggerFiredBit | cGame::kTriggerWasReleasedBit);

    // A wake for an id no actor holds fires an idle or released trigger only.
    cGame::releaseTrigger(0);
    cGame::wakeActorById(kTrigger);
    EXPECT_EQ(time(), 0);
    step(1);
    cGame::wakeActorById(kTrigger);
    EXPECT_EQ(time(), 1);
}

TEST_F(TriggerScriptTest, ReleaseLetsEachSubjectGo) {
    CountingActor* held = countingActor(9);
    fire({actorCommand(9, {{3, {}}}), camera({{3, {}}}), command(3, 30, {{3, {}}})});
    EXPECT_EQ(held->messages[cGame::kMsgScriptHeld], 1);
    EXPECT_EQ(held->senders[cGame::kMsgScriptHeld], nullptr);
    // The spawned actor: made at run time, with the command's sprite, at the view's centre.
    cActor* spawned = cGame::actorAt(cGame::s_actorCount - 1);
    ASSERT_NE(spawned, nullptr);
    EXPECT_TRUE(spawned->hasFlag(cActor::kFlagSpawned));
    ASSERT_NE(spawned->player, nullptr);
    EXPECT_NE(spawned->player->sprite, nullptr);
    EXPECT_EQ(spawned->x, 400 << 8);
    const jint spawnedId = spawned->id;
    const jint count = cGame::s_actorCount;
    step(3);
    EXPECT_TRUE(held->hasFlag(cActor::kFlagHeld));
    EXPECT_EQ(cGame::s_cameraLock, 1);
    step(1);
    EXPECT_EQ(time(), cGame::kTriggerReleased);
    EXPECT_FALSE(held->hasFlag(cActor::kFlagHeld));
    EXPECT_EQ(held->messages[cGame::kMsgScriptReleased], 1);
    EXPECT_EQ(held->senders[cGame::kMsgScriptReleased], held);
    EXPECT_EQ(cGame::s_cameraLock, 2);
    EXPECT_EQ(cGame::findActorById(spawnedId), nullptr) << "killed and out of the table";
    EXPECT_EQ(cGame::s_actorCount, count - 1);
    // Released twice: nothing more happens.
    cGame::releaseTrigger(0);
    EXPECT_EQ(held->messages[cGame::kMsgScriptReleased], 1);

    // A restart forgets the actor the spawn command brought: fired again, it leaves alone another
    // actor that holds that id by then.
    cGame::activateTrigger(0);
    cActor* first = cGame::actorAt(cGame::s_actorCount - 1);
    cGame::resetTriggerStates();
    cGame::removeActor(first);
    cActor* other = cGame::spawnActor(61, -1, 0, 0);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(other->id, first->id);
    cGame::activateTrigger(0);
    EXPECT_FALSE(other->hasFlag(cActor::kFlagKilled));
    EXPECT_EQ(cGame::findActorById(other->id), other);

    // The loader reads the scripts before it makes the actors, which starts its sprite mask afresh:
    // the spawn's sprite stays asked for.
    cGame::spawnLevelActors();
    EXPECT_NE(cGame::s_spriteMask[0] & (1 << 30), 0);
}

TEST_F(TriggerScriptTest, NoTriggerFiresWhileTheHeroHasNoEnergy) {
    installSprite(0, 1, 1);
    startLevel(record({1, 1, 100, 100, 0, 0}) + record({4, 7, 100, 200, 0, 0, 0}));
    load(item({trigger(kTrigger, {actorCommand(7, {{3, {}}})})}));
    auto* hero = static_cast<cHero*>(cGame::s_hero);
    ASSERT_NE(hero, nullptr);
    hero->energy = 0;
    cGame::activateTrigger(0);
    EXPECT_EQ(time(), cGame::kTriggerIdle);
    hero->energy = 1;
    cGame::activateTrigger(0);
    EXPECT_EQ(time(), 0);
}

TEST_F(TriggerScriptTest, MalformedItemsAreRefusedWholeAndTheLevelPlaysWithoutScripts) {
    const std::string good = trigger(kTrigger, {actorCommand(7, {{1, {move(10, 10), sound(2)}}})});
    // An actor command of n entries of 553 bytes each: 59 fit a 16-bit resume position, 60 do not.
    auto longCommand = [](int n) {
        return actorCommand(7, std::vector<Entry>(n, Entry{1, std::vector<std::string>(110, setFlags(1))}));
    };
    struct Case {
        const char* what;
        std::string item;
        const char* logged;  // null: accepted
        int count;
    };
    const Case cases[] = {
        {"a good item", item({good, trigger(51, {camera({})})}), nullptr, 2},
        {"no triggers", u8(0), nullptr, 0},
        {"a long command that still fits its resume position", item({trigger(kTrigger, {longCommand(59)})}), nullptr,
         1},
        {"a negative trigger count", u8(0xFF) + good, "negative trigger count", 0},
        {"a negative entry count", item({trigger(kTrigger, {u8(1) + u8(0) + le16(-2)})}), "negative entry count", 0},
        {"a negative action count", item({trigger(kTrigger, {u8(1) + u8(0) + le16(1) + le16(0) + u8(0x80)})}),
         "negative action count", 0},
        {"an action's arguments past the end", item({good}).substr(0, item({good}).size() - 1), "past the end", 0},
        {"a trigger header cut short", item({good, le16(51) + u8(1)}), "past the end", 0},
        {"more triggers than the item holds", u8(3) + good + good, "past the end", 0},
        {"a spawn slot outside the mask", item({trigger(kTrigger, {command(3, 64, {})})}), "sprite slot", 0},
        {"a negative spawn slot", item({trigger(kTrigger, {command(3, -1, {})})}), "sprite slot", 0},
        {"a command too long for a 16-bit resume position", item({trigger(kTrigger, {longCommand(60)})}), "too long",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        load(item({good}));
        ASSERT_EQ(cGame::triggerCount(), 1);
        LogCapture log;
        load(c.item);
        EXPECT_EQ(cGame::triggerCount(), c.count);
        EXPECT_EQ(cGame::s_triggerTime->length, c.count);
        EXPECT_EQ(cGame::s_triggerFlags->length, c.count);
        if (c.logged) {
            EXPECT_TRUE(log.contains("malformed")) << c.item.size();
            EXPECT_TRUE(log.contains(c.logged));
        } else {
            EXPECT_FALSE(log.contains("malformed"));
        }
        step(3);  // the level goes on with what it has
    }
    LogCapture log;
    cGame::loadTriggerScripts(nullptr);
    EXPECT_TRUE(log.contains("malformed"));
    EXPECT_EQ(cGame::triggerCount(), 0);
}

}  // namespace
