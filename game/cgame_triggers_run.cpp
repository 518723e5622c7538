// Trigger scripts at play: firing (resume positions back to the first entries, the subjects held),
// one frame of every running trigger (entries due now run their actions, a move target is reached
// step by step exactly at its frame), and the release. Commands were checked whole at load, so the
// scan reads only inside its command; actor ids, sound numbers and animations still come from level
// data and are looked up, never trusted.
#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kFlagHidden = cActor::kFlagHidden;        // bit 3, cleared on a script's first frame
constexpr jint kFlagSleeping = cActor::kFlagNoViewWake;  // bit 5, put to sleep by a script
constexpr jint kFlagAliasBit = 0x800000;                 // bit 23 in a mask stands for bit 3
constexpr jint kSpawnedType = 61;                        // a plain actor: no behaviour of its own
constexpr jint kEffectChannel = 1;
constexpr jint kViewHalfW = cGame::kViewWidth / 2, kViewHalfH = cGame::kViewHeight / 2;

ByteArray* commandAt(jint trigger, jint c) {
    auto* commands = static_cast<ObjectArray*>(cGame::s_triggerCommands->get(trigger));
    return commands ? static_cast<ByteArray*>(commands->get(c)) : nullptr;
}

jint commandCount(jint trigger) {
    auto* commands = static_cast<ObjectArray*>(cGame::s_triggerCommands->get(trigger));
    return commands ? commands->length : 0;
}

jint opcodeOf(ByteArray* cmd) { return cmd->get(0) & 0xFF; }
bool hasSubject(jint op) { return op == cGame::kOpActor || op == cGame::kOpSpawned; }
jint subjectOf(ByteArray* cmd) { return static_cast<jshort>(cGame::getShortLE(cmd, 2)); }
jint scanEnd(ByteArray* cmd) { return cmd->length - 2; }
jint resumeOf(ByteArray* cmd) { return cGame::getShortLE(cmd, scanEnd(cmd)) & 0xFFFF; }
void setResume(ByteArray* cmd, jint at) { (void)cGame::putShortLE(cmd, scanEnd(cmd), at); }
jint s16(ByteArray* cmd, jint at) { return static_cast<jshort>(cGame::getShortLE(cmd, at)); }

jint aliasMask(jint mask) { return (mask & kFlagAliasBit) ? (mask & ~kFlagAliasBit) | kFlagHidden : mask; }

// The move target of one scan: set by the first entry (at or after this frame) that has a move.
struct MoveTarget {
    bool set = false;
    jint x = 0, y = 0, due = 0;
};

// The K actions of the entry at `at` (its frame ef), for the frame f; answers the offset after them.
jint runActions(ByteArray* cmd, jint at, jint ef, jint f, cActor* subject, MoveTarget& move) {
    const jint count = cmd->get(at + 2);
    at += 3;
    const bool now = ef == f;
    for (jint k = 0; k < count; ++k) {
        const jint code = cmd->get(at) & 0xFF;
        const jint args = at + 1;
        at = args + cGame::triggerActionArgumentBytes(code);
        switch (code) {
            case 11:
            case 21:
            case 31:
            case 41:
            case 12:
                if (ef >= f) {
                    const bool centre = code == 12;
                    move = {true, s16(cmd, args) - (centre ? kViewHalfW : 0),
                            s16(cmd, args + 2) - (centre ? kViewHalfH : 0), ef};
                }
                break;
            case 22:
            case 42: {
                const jint anim = cmd->get(args) & 0xFF;
                BXLibPlayer* p = subject ? subject->player : nullptr;
                if (now && p && p->anim != anim) cGame::startPlayerAnim(p, anim, -1);
                break;
            }
            case 23:
            case 43:
                if (now && subject) subject->flags |= aliasMask(cGame::getIntLE(cmd, args));
                break;
            case 24:
            case 44:
                if (now && subject) subject->flags &= ~aliasMask(cGame::getIntLE(cmd, args));
                break;
            case 34: {
                cActor* a = now ? cGame::findActorById(s16(cmd, args)) : nullptr;
                if (!a) break;
                const jint mode = s16(cmd, args + 2);
                if (mode == 0) {
                    a->activate();
                } else if (mode == 1) {
                    a->deactivate(false);
                    a->flags |= kFlagSleeping;
                }
                break;
            }
            case 37: {
                if (!now) break;
                const jint sound = s16(cmd, args);
                if (cGame::s_sfxOn) cGame::stopChannel(kEffectChannel);
                // Level data: only the game's own sounds are asked for.
                if (sound >= 0 && sound < cGame::kSoundCount) cGame::playSfx(sound);
                break;
            }
            default:  // no effect: its arguments are skipped
                break;
        }
        BX_RETURN_IF_PENDING(at);
    }
    return at;
}

// One step of the way to the target: the rest of the distance over the frames left, so the target is
// reached exactly at its frame.
jint stepTowards(jint current, jint target, jint framesLeft) {
    return jt::l2i(jlong{current} + (jlong{target} - current) / framesLeft);
}

// One command for the frame f; false when one of its entries lies in the future.
bool runCommand(ByteArray* cmd, jint f) {
    const jint op = opcodeOf(cmd);
    cActor* subject = nullptr;
    if (hasSubject(op)) {
        subject = cGame::findActorById(subjectOf(cmd));
        if (!subject) return true;
        subject->flags |= cActor::kFlagHeld;
        if (f == 0) subject->flags &= ~kFlagHidden;
        if (!(subject->flags & cActor::kFlagActive)) subject->advanceAnimation();
    }
    bool done = true;
    MoveTarget move;
    const jint end = scanEnd(cmd);
    for (jint at = resumeOf(cmd); at < end;) {
        const jint ef = s16(cmd, at);
        if (f < ef) {
            done = false;
            if (ef == f + 1) setResume(cmd, at);
        }
        const bool hadMove = move.set;
        at = runActions(cmd, at, ef, f, subject, move);
        BX_RETURN_IF_PENDING(done);
        if (move.set && !hadMove) {
            if (ef == f && at < end) {
                done = false;
                if (s16(cmd, at) == f + 1) setResume(cmd, at);
            }
            break;
        }
    }
    if (op == cGame::kOpCamera) {
        cGame::s_cameraLock = 1;
        if (move.set) {
            const jint left = move.due - f + 1;
            cGame::s_cameraX = stepTowards(cGame::s_cameraX, move.x, left);
            cGame::s_cameraY = stepTowards(cGame::s_cameraY, move.y, left);
        }
    } else if (subject && move.set) {
        const jint left = move.due - f + 1;
        subject->x = stepTowards(subject->x, jt::shl(move.x, 8), left);
        subject->y = stepTowards(subject->y, jt::shl(move.y, 8), left);
    }
    return done;
}

// The actor a spawn command brings into play: a plain actor with the command's sprite, at the view's
// centre; its id goes into the command (0 when none could be made, so no other actor is reached).
void spawnSubject(ByteArray* cmd) {
    const jint slot = cmd->get(1) & 0xFF;
    const jint x = jt::shl(cGame::s_cameraX + kViewHalfW, 8), y = jt::shl(cGame::s_cameraY + kViewHalfH, 8);
    cActor* a = cGame::spawnActor(kSpawnedType, slot, x, y);
    (void)cGame::putShortLE(cmd, 2, a ? a->id : 0);
}

bool validIndex(jint i) { return i >= 0 && i < cGame::triggerCount() && cGame::s_triggerTime && cGame::s_triggerFlags; }

}  // namespace

void cGameTriggers::activateTrigger(jint i) {
    if (!validIndex(i)) return;
    cActor* hero = cGame::s_hero;
    if (hero && hero->classId() == CID_cHero && static_cast<cHero*>(hero)->energy <= 0) return;
    s_triggerTime->set(i, 0);
    s_triggerFlags->set(i, static_cast<jbyte>(s_triggerFlags->get(i) | kTriggerFiredBit));
    for (jint c = 0; c < commandCount(i); ++c) {
        ByteArray* cmd = commandAt(i, c);
        if (!cmd) continue;
        const jint op = opcodeOf(cmd);
        setResume(cmd, hasSubject(op) ? 6 : 4);
        if (op == kOpCamera) {
            cGame::s_cameraLock = 1;
        } else if (op == kOpActor) {
            if (cActor* a = cGame::findActorById(subjectOf(cmd))) {
                a->flags |= cActor::kFlagHeld;
                a->onMessage(nullptr, kMsgScriptHeld, 0, 0, 0);
            }
        } else if (op == kOpSpawned) {
            // Fired again while its actor still plays: that actor goes first.
            if (cActor* old = cGame::findActorById(subjectOf(cmd)); old && (old->flags & cActor::kFlagSpawned))
                old->deactivate(true);
            spawnSubject(cmd);
        }
        BX_RETURN_IF_PENDING();
    }
}

jint cGameTriggers::runTriggerScripts() {
    jint running = 0;
    for (jint i = 0; i < triggerCount() && s_triggerTime; ++i) {
        const jint t = s_triggerTime->get(i);
        if (t < 0) continue;
        ++running;
        s_triggerTime->set(i, static_cast<jshort>(t + 1));
        bool done = true;
        for (jint c = 0; c < commandCount(i); ++c) {
            ByteArray* cmd = commandAt(i, c);
            if (cmd && !runCommand(cmd, t)) done = false;
            BX_RETURN_IF_PENDING(running);
        }
        if (done) releaseTrigger(i);
        BX_RETURN_IF_PENDING(running);
    }
    cGame::s_runningTriggers = running;
    return running;
}

void cGameTriggers::releaseTrigger(jint i) {
    if (!validIndex(i) || s_triggerTime->get(i) < 0) return;
    s_triggerTime->set(i, static_cast<jshort>(kTriggerReleased));
    s_triggerFlags->set(i, static_cast<jbyte>((s_triggerFlags->get(i) | kTriggerWasReleasedBit) & ~kTriggerFiredBit));
    for (jint c = 0; c < commandCount(i); ++c) {
        ByteArray* cmd = commandAt(i, c);
        if (!cmd) continue;
        const jint op = opcodeOf(cmd);
        if (op == kOpCamera) {
            if (cGame::s_cameraLock == 1) cGame::s_cameraLock = 2;
        } else if (op == kOpActor) {
            if (cActor* a = cGame::findActorById(subjectOf(cmd))) {
                a->flags &= ~cActor::kFlagHeld;
                a->onMessage(a, kMsgScriptReleased, 0, 0, 0);
            }
        } else if (op == kOpSpawned) {
            cActor* a = cGame::findActorById(subjectOf(cmd));
            (void)cGame::putShortLE(cmd, 2, 0);
            if (a && (a->flags & cActor::kFlagSpawned)) a->deactivate(true);
        }
        BX_RETURN_IF_PENDING();
    }
}
