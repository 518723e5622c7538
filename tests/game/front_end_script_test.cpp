// The front end played by scripts on the real program, headless: taps at the points the game itself
// hit-tests (the menu sprite's frame boxes and the question boxes measured from the shipped data, in a
// child process so this binary's statics stay untouched), keys, then the state trace of the log, the
// save record in the store file and the exit code. Each test writes its script and home folder into
// its own temporary folder, so the tests run in parallel.
#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "game/cgame.h"
#include "game/cgame_loader_steps.h"
#include "platform/file_paths.h"
#include "platform/graphics/png_decoder.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/asprite.h"
#include "tests/game/loader_fixture.h"
#include "tests/game/shipped_interface.h"
#include "tests/game/touch_points.h"
#include "tests/support/actor_world.h"
#include "tests/support/child_output.h"
#include "tests/support/temp_folder.h"
#include "tools/bar_writer.h"
#include "tools/file_bytes.h"
#include "tools/level_source.h"
#include "tools/pack_contents.h"
#include "tools/pack_writer.h"

namespace {

using Points = std::map<std::string, TapPoint>;

constexpr const char* kRecordFile = "rms_zarnquist.rs.1.rs";
constexpr int kMainListY = 285, kDifficultyListY = 318, kPauseListY = 240, kLossListY = 360;
constexpr int kSoundQuestion = 25, kQuitQuestion = 37, kProgressQuestion = 69, kRestartQuestion = 78;

// What the game measures, in a fresh runtime over the shipped data: the texts, the fonts and the
// interface sprites as the game-start load makes them.
Points measure() {
    return withShippedInterface(Points{}, [] {
        Points p;
        for (int rows : {2, 3})
            for (int i = 0; i < rows; ++i) {
                p["row285/" + std::to_string(rows) + "/" + std::to_string(i)] = menuRowTap(kMainListY, rows, i);
                p["row318/" + std::to_string(rows) + "/" + std::to_string(i)] = menuRowTap(kDifficultyListY, rows, i);
            }
        for (int i = 0; i < 3; ++i) p["row240/3/" + std::to_string(i)] = menuRowTap(kPauseListY, 3, i);
        for (int i = 0; i < 2; ++i) p["row360/2/" + std::to_string(i)] = menuRowTap(kLossListY, 2, i);
        p["down285"] = menuArrowTap(kMainListY, 1);
        p["up285"] = menuArrowTap(kMainListY, 0);
        for (int question : {kSoundQuestion, kQuitQuestion, kProgressQuestion, kRestartQuestion}) {
            cGame::showMessageBoxById(question, 1, false);
            for (int answer : {0, 1})
                p["answer" + std::to_string(question) + "/" + std::to_string(answer)] =
                    dialogAnswerTap(cGame::s_dialogTextHeight, answer);
        }
        // The same boxes when the data file has no menu sprite: the menus draw plain rows there.
        Bsprite* menuSprite = cGame::s_menuSprite;
        cGame::s_menuSprite = nullptr;
        cGame::showMessageBoxById(kSoundQuestion, 1, false);
        for (int answer : {0, 1})
            p["plainAnswer25/" + std::to_string(answer)] = dialogAnswerTap(cGame::s_dialogTextHeight, answer);
        cGame::showMessageBoxById(kQuitQuestion, 1, false);
        p["plainAnswer37/0"] = dialogAnswerTap(cGame::s_dialogTextHeight, 0);
        p["plainRow285/3/2"] = menuRowTap(kMainListY, 3, 2);
        cGame::s_menuSprite = menuSprite;
        p["pageBack"] = pageArrowTap(0);
        p["pageForward"] = pageArrowTap(1);
        p["rightSoftkey"] = rightSoftkeyTap();
        p["middle"] = {240, 400};
        return p;
    });
}

// measure() in a child process; its answer comes back as "name x y" lines.
Points measureInChild() {
    const std::string text = outputOfChild([] {
        std::string out;
        for (const auto& [name, point] : measure())
            out += name + " " + std::to_string(point.x) + " " + std::to_string(point.y) + "\n";
        return out;
    });
    Points p;
    std::istringstream in(text);
    for (std::string name; in >> name;) in >> p[name].x >> p[name].y;
    return p;
}

const Points& points() {
    static const Points p = measureInChild();
    return p;
}

// A script of timed events, written out in time order; every tap is a finger down and its lift
// 100 ms later.
class Script {
public:
    Script& tap(int at, const std::string& name) {
        const auto it = points().find(name);
        const TapPoint t = it == points().end() ? TapPoint{} : it->second;
        EXPECT_TRUE(t.valid()) << "no tap point " << name;
        add(at, "stylusdown " + std::to_string(t.x) + " " + std::to_string(t.y));
        return add(at + 100, "stylusup " + std::to_string(t.x) + " " + std::to_string(t.y));
    }
    Script& key(int at, const std::string& name) {
        add(at, "keydown " + name);
        return add(at + 100, "keyup " + name);
    }
    Script& hold(int from, int to, const std::string& name) {
        add(from, "keydown " + name);
        return add(to, "keyup " + name);
    }
    Script& quit(int at) { return add(at, "quit"); }
    [[nodiscard]] std::string text() const {
        std::vector<std::pair<int, std::string>> events = events_;
        std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::string out;
        for (const auto& [at, event] : events) out += std::to_string(at) + " " + event + "\n";
        return out;
    }

private:
    Script& add(int at, std::string event) {
        events_.emplace_back(at, std::move(event));
        return *this;
    }
    std::vector<std::pair<int, std::string>> events_;
};

struct ScriptRun {
    int exitCode = -1;
    std::vector<std::pair<int, int>> states;   // each "game state A -> B" of the log
    std::string log;
    std::string record;                         // the save record's bytes in the store file
};

// The shipped data file with one item of the interface pack emptied, written to `out`.
std::string dataWithoutInterfaceItem(const std::filesystem::path& out, int item) {
    std::string archive, error;
    if (!tools::readFileBytes(BRINDLEX_DATA_BAR, archive, error)) return error;
    std::vector<archive::IndexEntry> index;
    if (!archive::readIndex(archive, index, error)) return error;
    std::vector<tools::BarEntry> entries;
    for (const archive::IndexEntry& e : index) {
        const std::string name(e.name.begin(), e.name.end());   // the shipped names are ASCII
        entries.push_back(tools::BarEntry::fromBytes(name, archive.substr(static_cast<size_t>(e.offset),
                                                                           static_cast<size_t>(e.size))));
    }
    auto lookup = [&entries](const std::string& name) -> std::optional<std::string_view> {
        for (const tools::BarEntry& e : entries)
            if (e.name == name) return std::string_view(e.bytes);
        return std::nullopt;
    };
    std::vector<tools::PackItemView> views;
    if (!tools::readPack(lookup, "ui", "_", views, error)) return error;
    std::vector<tools::PackItem> items;
    for (const tools::PackItemView& v : views) items.push_back({v.empty, v.kind, v.lzma, v.payload});
    if (item >= static_cast<int>(items.size())) return "the interface pack has no item " + std::to_string(item);
    items[static_cast<size_t>(item)] = tools::PackItem{true, 0, false, ""};
    std::vector<std::string> subFiles;
    if (!tools::writePack(items, {0}, subFiles, error)) return error;
    for (tools::BarEntry& e : entries)
        if (e.name == "ui") e = tools::BarEntry::fromBytes("ui", subFiles[0]);
    if (!tools::writeArchive(out, std::move(entries), error)) return error;
    return "";
}

// Times of the run every script shares: the splash is up at 9.1 s (logos 7 s, the game-start load)
// and its question opens after the transition's two halves.
constexpr int kAnswerSound = 11000;

class FrontEndScriptTest : public ::testing::Test {
protected:
    // `data` the archive to run on; a run over data.bar of our own takes the program without the
    // suite's collector stress (what it shows is the level, not the collector).
    ScriptRun play(const Script& script, int frames, const std::string& screenshot = "",
                   const std::string& data = BRINDLEX_DATA_BAR) {
        const std::string home = (temp.path() / "home").string();
        const std::string file = temp.write("script.txt", script.text()).string();
        const std::string unstressed = data == BRINDLEX_DATA_BAR ? "" : "env -u BRINDLEX_GC_STRESS ";
        std::string command = unstressed + "'" + BRINDLEX_PROGRAM + "' --headless --log --frames " + std::to_string(frames) +
                              " --script '" + file + "' --data '" + data + "' --home '" + home + "'";
        if (!screenshot.empty()) command += " --screenshot '" + screenshot + "'";
        command += " > /dev/null 2>&1";
        ScriptRun run;
        const int rc = std::system(command.c_str());
        run.exitCode = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
        run.log = temp.read("home/log.txt");
        std::istringstream in(run.log);
        for (std::string line; std::getline(in, line);) {
            int from = 0, to = 0;
            if (std::sscanf(line.c_str(), "game state %d -> %d at", &from, &to) == 2) run.states.emplace_back(from, to);
        }
        run.record = temp.read(std::string("home/") + kRecordFile);
        return run;
    }
    static int byteAt(const ScriptRun& run, size_t i) {
        return i < run.record.size() ? static_cast<signed char>(run.record[i]) : -100;
    }
    static std::string trace(const ScriptRun& run) {
        std::string out;
        for (const auto& [from, to] : run.states) out += std::to_string(from) + "->" + std::to_string(to) + " ";
        return out;
    }

    TempFolder temp;
};

// The logos whatever is pressed, the splash, the sound question answered yes by touch, the sound screen switching music off, back, a
// new game at difficulty 2, the story skipped with the right soft key, the level's load.
TEST_F(FrontEndScriptTest, FromTheSplashToTheFirstLevelsLoad) {
    Script s;
    s.key(1000, "J")                         // keys and taps during the logos change nothing
        .key(2000, "F1")
        .tap(4000, "middle")
        .key(6000, "F2")
        .tap(kAnswerSound, "answer25/0")
        .tap(12500, "middle")                // splash: a tap goes on to the main menu
        .tap(14000, "row285/3/2")            // main menu, no progress: NEW GAME, MORE GAMES, SOUND
        .tap(15500, "row285/2/0")            // sound: MUSIC: ON becomes off
        .tap(17000, "rightSoftkey")          // back to the main menu
        .tap(18500, "row285/3/0")            // NEW GAME: no progress, straight to the difficulty
        .tap(20000, "row318/2/1")            // HARD
        .tap(21500, "rightSoftkey");         // the story skipped
    const ScriptRun run = play(s, 2600);
    const std::vector<std::pair<int, int>> expected = {{-1, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 6}, {6, 8}, {8, 6}, {6, 27}, {27, 28}, {28, 4}};
    ASSERT_GE(run.states.size(), expected.size()) << trace(run) << run.log;
    const std::vector<std::pair<int, int>> head(run.states.begin(), run.states.begin() + static_cast<long>(expected.size()));
    EXPECT_EQ(head, expected) << trace(run);
    // The logos' seven seconds, as in a run without input (their update adds 50 ms a frame).
    EXPECT_NE(run.log.find("game state 2 -> 4 at frame 143 ("), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("loader: level 0"), std::string::npos) << "a level load (kind 1) of level 0 ran\n" << run.log;
    ASSERT_EQ(run.record.size(), 11u);
    EXPECT_EQ(byteAt(run, 2), 0);    // music off
    EXPECT_EQ(byteAt(run, 3), 1);    // effects on, as answered
    EXPECT_EQ(byteAt(run, 7), 0);    // the level load wrote the level start: level 0 reached
    EXPECT_EQ(byteAt(run, 10), 2);   // hard
    // The frame limit ends the run in play: the game thread is asked to stop and ends its loop.
    EXPECT_NE(run.log.find("host: the frame limit ends the run"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("game: the run loop has ended"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("left stopped"), std::string::npos) << run.log;
}

// With progress saved (highest level 2): new game asks first (answered no); the sound screen's
// reset entry asks, erases the progress and says so in a message box closed by a tap that lies on
// the rebuilt list's music row (the row must not fire: the music stays on); back in the main menu,
// whose list lost its level-select row, the row labelled NEW GAME starts a new game at once.
TEST_F(FrontEndScriptTest, ResetProgressFromTheSoundScreen) {
    // A first short run makes the store; its record then says level 2 was reached.
    ASSERT_EQ(play(Script(), 100).exitCode, 0);
    std::string record = temp.read(std::string("home/") + kRecordFile);
    ASSERT_EQ(record.size(), 11u);
    record[7] = 2;
    temp.write(std::string("home/") + kRecordFile, record);

    Script s;
    s.tap(kAnswerSound, "answer25/0")
        .tap(12500, "middle")
        .tap(14000, "row285/3/0")            // NEW GAME, LEVELS, MORE GAMES: new game asks
        .tap(15500, "answer69/1")            // no
        .tap(17000, "down285")               // LEVELS, MORE GAMES, SOUND
        .tap(18000, "row285/3/2")            // SOUND
        .tap(19500, "row285/3/2")            // MUSIC: ON, EFFECTS: ON, RESET PROGRESS
        .tap(21000, "answer69/0")            // yes: progress erased, the message box follows
        .tap(23000, "row285/2/0")            // closes the message box, on the MUSIC row below it
        .tap(24500, "rightSoftkey")          // back: MORE GAMES, SOUND, HELP
        .tap(26000, "up285")                 // NEW GAME, MORE GAMES, SOUND
        .tap(27000, "row285/3/0");
    const ScriptRun run = play(s, 2900);
    const std::vector<std::pair<int, int>> expected = {{-1, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 6}, {6, 8}, {8, 6}, {6, 27}};
    EXPECT_EQ(run.states, expected) << trace(run);
    EXPECT_EQ(byteAt(run, 7), -1);   // progress erased
    EXPECT_EQ(byteAt(run, 2), 1);    // the tap that closed the message box left the music on
    EXPECT_EQ(byteAt(run, 3), 1);
}

// Help pages forward and back (the previous-page key wraps from the first page to the last), the
// credits, then quit: its question answered no by a tap whose lift lies on the menu row underneath
// (the row must not fire once the dialog has closed), then yes, which ends the program with 0.
TEST_F(FrontEndScriptTest, HelpCreditsAndQuitWithItsQuestion) {
    Script s;
    s.tap(kAnswerSound, "answer25/1")
        .tap(12500, "middle")
        .tap(14000, "down285")               // MORE GAMES, SOUND, HELP
        .tap(15000, "row285/3/2")            // HELP
        .tap(16500, "pageForward")
        .tap(17500, "pageForward")
        .tap(18500, "pageBack")
        .key(19500, "A")                     // keypad 4: previous page, 0 then 8
        .key(20000, "A")
        .tap(21000, "rightSoftkey")          // back: the list opens on the help row's page
        .tap(22500, "down285")               // SOUND, HELP, CREDITS
        .tap(23500, "row285/3/2")            // CREDITS
        .tap(25500, "rightSoftkey")
        .tap(27000, "down285")               // HELP, CREDITS, QUIT
        .tap(28000, "row285/3/2")            // QUIT asks
        .tap(29500, "answer37/1")            // no: its lift lies on the CREDITS row
        .tap(31000, "row285/3/2")            // QUIT again
        .tap(32500, "answer37/0");           // yes
    const ScriptRun run = play(s, 6000);
    EXPECT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::pair<int, int>> expected = {{-1, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 6}, {6, 29}, {29, 6}, {6, 18}, {18, 6}};
    EXPECT_EQ(run.states, expected) << trace(run);
    // The game's own end, not the frame limit's.
    EXPECT_EQ(run.log.find("host: the frame limit ends the run"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("game: the run loop has ended"), std::string::npos) << run.log;
    EXPECT_EQ(byteAt(run, 2), 0);   // no sound, as answered
    EXPECT_EQ(byteAt(run, 3), 0);
}

// The shipped data with a level 0 of our own: its tile sprites (the loader tests' striped tiles),
// its pack (actor records, no trigger, layers 0, 2 and 3: layer 3 a checker of the two tiles over
// 60 x 30 cells), and its geometry (one floor). Records: the hero at (1200, 800), two enemies and a
// skipped type.
constexpr uint32_t kTileShade = 0x3060C0u;
constexpr int kLevelCols = 60, kLevelRows = 30;

std::vector<tools::PackItem> levelZeroItems() {
    using W = ActorWorld;
    auto layer = [](int cols, int rows, bool checker) {
        std::string tiles, flags;
        for (int i = 0; i < cols * rows; ++i) {
            tiles += W::le16(checker ? (i % cols + i / cols) % 2 : 0);
            flags += '\0';
        }
        return std::vector<tools::PackItem>{LoaderTest::item(tiles), LoaderTest::item(W::le16(cols) + W::le16(rows)),
                                            LoaderTest::item(flags)};
    };
    const std::string records = W::record({1, 1, 1200, 800, 0, 0}) + W::record({16, 2, 0, 0, 0, 0}) +
                                W::record({4, 3, 1300, 800, 0, 0}) + W::record({8, 4, 1500, 700, 0, 0});
    std::vector<tools::PackItem> items{LoaderTest::item(records), LoaderTest::item(std::string(1, '\0'))};
    for (const auto& l : {layer(5, 3, false), layer(kLevelCols, kLevelRows, false), layer(kLevelCols, kLevelRows, true)})
        for (const auto& i : l) items.push_back(i);
    return items;
}

// The shipped archive's entries but the packs named here, then those packs.
std::filesystem::path levelData(const TempFolder& temp) {
    std::ifstream in(BRINDLEX_DATA_BAR, std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<archive::IndexEntry> index;
    std::string error;
    EXPECT_TRUE(archive::readIndex(shipped, index, error)) << error;
    const std::string floor =
        ActorWorld::geometry({{{1}, {{200, 840}, {2200, 840}}}}, 1);
    const std::string tiles = LoaderTest::tileSprite(2, kTileShade);
    std::vector<tools::BarEntry> entries{LoaderTest::pack("tiles", {LoaderTest::item(tiles), LoaderTest::item(tiles)}),
                                         LoaderTest::pack("level0", levelZeroItems()),
                                         LoaderTest::pack("geometry", {LoaderTest::item(floor)})};
    for (const auto& e : index) {
        std::string name(e.name.begin(), e.name.end());
        if (name.rfind("tiles", 0) == 0 || name.rfind("level0", 0) == 0 || name.rfind("geometry", 0) == 0) continue;
        entries.push_back(tools::BarEntry::fromBytes(name, shipped.substr(static_cast<size_t>(e.offset),
                                                                          static_cast<size_t>(e.size))));
    }
    const std::filesystem::path out = temp.path() / "level.bar";
    EXPECT_TRUE(tools::writeArchive(out, std::move(entries), error)) << error;
    return out;
}

// The shipped archive with the meadow (tests/fixtures/meadow.level, the first level before the real one
// took its place: a short walk, a pit near the start, a way out over it) as level 0, compiled as
// barpack compiles a level source.
std::filesystem::path meadowData(const TempFolder& temp) {
    std::ifstream in(BRINDLEX_DATA_BAR, std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<archive::IndexEntry> index;
    std::string error, source;
    EXPECT_TRUE(archive::readIndex(shipped, index, error)) << error;
    EXPECT_TRUE(tools::readFileBytes(std::string(BRINDLEX_FIXTURES) + "/meadow.level", source, error)) << error;
    tools::LevelSource level;
    std::vector<tools::LevelProblem> problems;
    EXPECT_TRUE(tools::readLevelSource(source, "meadow.level", level, problems) &&
                tools::checkLevel(level, tools::LevelContent{}, problems))
        << (problems.empty() ? "" : tools::describe(problems[0]));
    const tools::LevelItems compiled = tools::compileLevel(level);
    std::vector<tools::PackItem> levelItems, geometryItems{LoaderTest::item(compiled.geometry)};
    for (const std::string& item : compiled.levelPack) levelItems.push_back(LoaderTest::item(item));
    for (int i = 1; i < 7; ++i) geometryItems.push_back(LoaderTest::emptyItem());   // levels 2 to 9
    std::vector<tools::BarEntry> entries{LoaderTest::pack("level0", levelItems), LoaderTest::pack("geometry", geometryItems)};
    for (const auto& e : index) {
        std::string name(e.name.begin(), e.name.end());
        if (name.rfind("level0", 0) == 0 || name.rfind("geometry", 0) == 0) continue;
        entries.push_back(tools::BarEntry::fromBytes(name, shipped.substr(static_cast<size_t>(e.offset),
                                                                          static_cast<size_t>(e.size))));
    }
    const std::filesystem::path out = temp.path() / "meadow.bar";
    EXPECT_TRUE(tools::writeArchive(out, std::move(entries), error)) << error;
    return out;
}

// Sound on, the splash tapped away, NEW GAME at NORMAL and the story skipped: the level loads next.
Script newGameAtNormal() {
    Script s;
    s.tap(kAnswerSound, "answer25/1")
        .tap(12500, "middle")
        .tap(14000, "row285/3/0")            // NEW GAME
        .tap(15500, "row318/2/0")            // NORMAL
        .tap(17000, "rightSoftkey");         // the story skipped
    return s;
}

// A new game on the built level: the log has the level's actors and platforms and the play state,
// and the screenshot shows layer 3's checker where the camera put it.
TEST_F(FrontEndScriptTest, NewGamePlaysALevelBuiltFromBlobs) {
    Script s = newGameAtNormal();
    constexpr int kFrames = 6000;
    const std::string shot = (temp.path() / "play.png").string();
    const ScriptRun run = play(s, kFrames, shot, levelData(temp).string());
    EXPECT_NE(run.log.find("loader: level 0 has 3 actors"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("loader: level 0 has 1 polylines, 1 platforms"), std::string::npos) << run.log;
    int playFrame = -1, cameraX = -1, cameraY = -1, steps = 0, active = 0;
    std::istringstream in(run.log);
    for (std::string line; std::getline(in, line);) {
        std::sscanf(line.c_str(), "game state 4 -> 14 at frame %d", &playFrame);
        std::sscanf(line.c_str(), "play: level 0 with 4 actors, camera at (%d, %d)", &cameraX, &cameraY);
        // The hero drops onto the floor and the camera follows: the last sign of life has where it settled.
        long long ms = 0;
        std::sscanf(line.c_str(), "play: %d steps (%lld ms), %d actors active, camera at (%d, %d)", &steps, &ms, &active,
                    &cameraX, &cameraY);
    }
    ASSERT_GT(playFrame, 0) << trace(run) << run.log;
    EXPECT_GE(steps, 200) << "frames of the play step\n" << run.log;
    // The hero's look-ahead point less half the view, the camera's target.
    EXPECT_EQ(cameraX, 1200 + 40 - 400);
    ASSERT_GT(cameraY, 0);

    const std::string png = temp.read("play.png");
    PngHeaderInfo header{};
    ASSERT_TRUE(readPngHeader(reinterpret_cast<const uint8_t*>(png.data()), png.size(), header));
    ASSERT_EQ(header.width, 480);
    ASSERT_EQ(header.height, 800);
    std::vector<uint16_t> pixels(480 * 800);
    ASSERT_TRUE(decodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0, pixels.data(), 480, 800, 480));
    // Landscape (x, y) is portrait (479 - y, x); the cell under it is layer 3's checker at the camera.
    int checked = 0;
    for (int y = 20; y < 480; y += 53)
        for (int x = 15; x < 800; x += 71) {
            const int col = (cameraX + x) / 40, row = (cameraY + y) / 40;
            if ((cameraX + x) % 40 == 0 || (cameraY + y) % 40 == 0) continue;   // on a cell's edge
            // Drawn over the scene: the touch pad (bottom left), its two buttons (bottom right) and
            // the pause soft key (top right).
            if ((x < 280 && y > 200) || (x > 550 && y > 250) || (x > 700 && y < 90)) continue;
            // The hero standing on the floor at (1200, 840).
            if (std::abs(cameraX + x - 1200) < 60 && cameraY + y < 840 + 5 && cameraY + y > 840 - 200) continue;
            // Tile t's pixel rows alternate black and the shade, starting with black on tile 0.
            const int tile = (col + row) % 2;
            const uint32_t c = ((cameraY + y) % 40 + tile) % 2 ? kTileShade : 0;
            const uint16_t want = static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
            EXPECT_EQ(pixels[static_cast<size_t>(x) * 480 + static_cast<size_t>(479 - y)], want) << x << ", " << y;
            ++checked;
        }
    EXPECT_GT(checked, 20);
}

// The level played on the real program: the left soft key pauses, the resume row goes back to play,
// the restart row asks and a yes restarts the level; the last picture is the pause menu over the
// level.
TEST_F(FrontEndScriptTest, PlayPausesResumesAndRestartsOnTheRealProgram) {
    Script s = newGameAtNormal();
    s.key(22000, "F1")                    // pause
        .tap(23500, "row240/3/0")            // RESUME
        .key(26000, "F1")
        .tap(27500, "row240/3/1")            // RESTART asks
        .tap(29500, "answer78/0")            // yes
        .key(32000, "F1");
    const std::string shot = (temp.path() / "pause.png").string();
    const ScriptRun run = play(s, 4000, shot, levelData(temp).string());
    std::vector<std::pair<int, int>> fromPlayOn;
    for (const auto& change : run.states)
        if (!fromPlayOn.empty() || change == std::pair{4, 14}) fromPlayOn.push_back(change);
    const std::vector<std::pair<int, int>> expected = {{4, 14}, {14, 11}, {11, 14}, {14, 11}, {11, 14}, {14, 11}};
    EXPECT_EQ(fromPlayOn, expected) << trace(run) << run.log;
    // The restart rebuilt the level: its actors were made twice.
    size_t made = 0;
    for (size_t at = run.log.find("play: level 0 with 4 actors"); at != std::string::npos;
         at = run.log.find("play: level 0 with 4 actors", at + 1))
        ++made;
    EXPECT_EQ(made, 3u) << "entered at the start, after the resume and after the restart\n" << run.log;
    // The pause menu's black box over the level: the landscape point (400, 70) inside its frame.
    const std::string png = temp.read("pause.png");
    std::vector<uint16_t> pixels(480 * 800);
    ASSERT_TRUE(decodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0, pixels.data(), 480, 800, 480));
    EXPECT_EQ(pixels[400 * 480 + (479 - 70)], 0);
}

// A new game plays level 0 from a level source compiled as the build compiles one: its actors and
// polylines are made, the play step runs, and the screen shows the level rather than one colour.
TEST_F(FrontEndScriptTest, NewGamePlaysALevelFromItsSource) {
    Script s = newGameAtNormal();
    // Data of our own: the run shows the level, not the collector under stress.
    const std::filesystem::path data = meadowData(temp);
    const std::string shot = (temp.path() / "play.png").string();
    const ScriptRun run = play(s, 6000, shot, data.string());
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_NE(run.log.find("loader: level 0 has 8 actors"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("loader: level 0 has 5 polylines, 5 platforms"), std::string::npos) << run.log;
    int playFrame = -1, steps = 0;
    std::istringstream in(run.log);
    for (std::string line; std::getline(in, line);) {
        std::sscanf(line.c_str(), "game state 4 -> 14 at frame %d", &playFrame);
        std::sscanf(line.c_str(), "play: %d steps", &steps);
    }
    ASSERT_GT(playFrame, 0) << trace(run) << run.log;
    EXPECT_GE(steps, 200) << "frames of the play step\n" << run.log;

    const std::string png = temp.read("play.png");
    PngHeaderInfo header{};
    ASSERT_TRUE(readPngHeader(reinterpret_cast<const uint8_t*>(png.data()), png.size(), header));
    std::vector<uint16_t> pixels(480 * 800);
    ASSERT_TRUE(decodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0, pixels.data(), 480, 800, 480));
    std::sort(pixels.begin(), pixels.end());
    EXPECT_GT(std::unique(pixels.begin(), pixels.end()) - pixels.begin(), 16) << "the ground's and the hero's colours";
}

// The meadow played on the real program with the keys: walking right off its edge the hero falls
// into the pit, is lost (15), the loss menu asks to try again (16) and yes retries it in play; a
// jump (keypad 2) from the edge clears the pit, and the way out ends the level (19).
TEST_F(FrontEndScriptTest, ALevelIsLostInItsPitAndWonOverIt) {
    struct Case {
        const char* name;
        int jumpAt;                                    // ms; 0: no jump
        std::vector<std::pair<int, int>> expected;     // the game's states from play on
    };
    const Case cases[] = {
        {"into the pit and a retry", 0, {{4, 14}, {14, 15}, {15, 16}, {16, 14}}},
        {"over the pit to the way out", 24000, {{4, 14}, {14, 19}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(temp.path() / "home");   // a new player: no progress question
        Script s = newGameAtNormal();
        s.hold(21000, 30000, "D");                   // keypad 6: right
        if (c.jumpAt) s.key(c.jumpAt, "W");
        else s.tap(29000, "row360/2/0");             // YES
        const ScriptRun run = play(s, 3600, "", meadowData(temp).string());
        std::vector<std::pair<int, int>> fromPlayOn;
        for (const auto& change : run.states)
            if (!fromPlayOn.empty() || change == std::pair{4, 14}) fromPlayOn.push_back(change);
        EXPECT_EQ(fromPlayOn, c.expected) << trace(run) << run.log;
    }
}

// A key released while a tapped row blinks: the choice still acts (the sound screen opens) and the
// menus keep answering taps afterwards; the same for a question's confirmed answer, whose yes still
// ends the program.
TEST_F(FrontEndScriptTest, AKeyDuringAChoicesBlinkNeitherDropsItNorLocksTheMenus) {
    Script s;
    s.tap(kAnswerSound, "answer25/0")
        .tap(12500, "middle")
        .tap(14000, "row285/3/2")            // SOUND
        .key(14150, "S")                     // down, released while the row blinks
        .tap(17000, "rightSoftkey")          // back: NEW GAME, MORE GAMES, SOUND
        .tap(18500, "down285")
        .tap(19500, "down285")
        .tap(20500, "down285")               // HELP, CREDITS, QUIT
        .tap(21500, "row285/3/2")            // QUIT asks
        .tap(23000, "answer37/0")            // yes
        .key(23150, "W");                    // up, released while the answer blinks
    const ScriptRun run = play(s, 4000);
    const std::vector<std::pair<int, int>> expected = {{-1, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 6}, {6, 8}, {8, 6}};
    EXPECT_EQ(run.states, expected) << trace(run);
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(run.log.find("host: the frame limit ends the run"), std::string::npos) << run.log;
}

// Every kind of plain message box, closed by a tap, leaves no answer behind: the quit question asked
// after it is answered yes and the program ends by itself.
TEST_F(FrontEndScriptTest, AQuestionAfterEveryKindOfMessageBoxTakesItsOwnAnswer) {
    struct Case {
        const char* name;
        bool progress;    // start with level 2 reached (the sound screen offers the reset)
        Script script;    // from the main menu (at 14 s) to the closed box, back in the main menu by 22 s
    };
    Case cases[] = {
        {"the cheat sequence's box", false, Script().key(14000, "Q").key(14300, "C").key(14600, "E").key(14900, "Z")
                                                .tap(16500, "middle")},
        {"the progress-erased box", true, Script().tap(14000, "down285")      // LEVELS, MORE GAMES, SOUND
                                              .tap(15000, "row285/3/2")     // SOUND
                                              .tap(16500, "row285/3/2")     // RESET PROGRESS asks
                                              .tap(18000, "answer69/0")     // yes: the box follows
                                              .tap(20000, "middle")         // closes it
                                              .tap(21000, "rightSoftkey")}, // back: MORE GAMES, SOUND, HELP
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(temp.path() / "home");
        if (c.progress) {
            ASSERT_EQ(play(Script(), 100).exitCode, 0);
            std::string record = temp.read(std::string("home/") + kRecordFile);
            ASSERT_EQ(record.size(), 11u);
            record[7] = 2;
            temp.write(std::string("home/") + kRecordFile, record);
        }
        c.script.tap(kAnswerSound, "answer25/1").tap(12500, "middle");
        for (int at : {23000, 24000, 25000}) c.script.tap(at, "down285");   // to the end: HELP, CREDITS, QUIT
        c.script.tap(26000, "row285/3/2").tap(27500, "answer37/0");
        const ScriptRun run = play(c.script, 4000);
        EXPECT_EQ(run.exitCode, 0) << run.log;
        EXPECT_EQ(run.log.find("host: the frame limit ends the run"), std::string::npos) << trace(run) << run.log;
    }
}

// A data file whose menu sprite is missing: the questions and menus draw plain rows and answer the
// same taps (the sound question, the quit row, its yes), never a dead screen.
TEST_F(FrontEndScriptTest, WithoutTheMenuSpriteTheQuestionsAndMenusStillAnswer) {
    const std::filesystem::path data = temp.path() / "no_menu_sprite.bar";
    ASSERT_EQ(dataWithoutInterfaceItem(data, 2), "");
    Script s;
    s.tap(kAnswerSound, "plainAnswer25/1")
        .tap(12500, "middle")
        .key(14000, "S")                     // keys scroll: the list has no arrows to tap
        .key(14500, "S")
        .key(15000, "S")                     // HELP, CREDITS, QUIT
        .tap(16000, "plainRow285/3/2")       // QUIT asks
        .tap(17500, "plainAnswer37/0");      // yes
    const std::string screenshot = (temp.path() / "plain.png").string();
    const ScriptRun run = play(s, 3000, "", data.string());
    EXPECT_NE(run.log.find("item 2 of pack \"ui\""), std::string::npos) << run.log;
    const std::vector<std::pair<int, int>> expected = {{-1, 1}, {1, 2}, {2, 4}, {4, 3}, {3, 6}};
    EXPECT_EQ(run.states, expected) << trace(run);
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(run.log.find("host: the frame limit ends the run"), std::string::npos) << run.log;
    EXPECT_EQ(byteAt(run, 2), 0);   // no sound, as answered
}

// Help pages as the player sees them: each icon of the icon column stands level with the middle of
// its text, and the last page, text alone, uses the picture's whole width instead of leaving the
// icon column empty. Screens are read back from the program's screenshot, portrait (px, py) showing
// the landscape point (py, 480 - px).
TEST_F(FrontEndScriptTest, HelpIconsStandLevelWithTheirTextsAndTextAlonePagesUseTheWidth) {
    struct Case {
        const char* what;
        int page;              // 0-based
        std::vector<int> ys;   // the landscape y each text is placed at; empty: a text-only page
    };
    const Case cases[] = {
        {"the pick-ups", 3, {120, 225, 330}},
        {"the feather and the lift", 5, {120, 300}},
        {"the lurker and the brake button", 6, {120, 300}},
        {"the last page, text alone", 8, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Script s;
        s.tap(kAnswerSound, "answer25/1").tap(12500, "middle").tap(14000, "down285").tap(15000, "row285/3/2");
        int at = 16500;
        for (int i = 0; i < c.page; ++i, at += 700) s.key(at, "D");
        const std::string shot = (temp.path() / "help.png").string();
        (void)play(s, (at + 800) / 10, shot);
        std::string png = temp.read("help.png");
        PngHeaderInfo info;
        ASSERT_TRUE(readPngHeader(reinterpret_cast<const uint8_t*>(png.data()), png.size(), info));
        ASSERT_EQ(info.width, 480);
        std::vector<uint16_t> px(480 * 800);
        ASSERT_TRUE(decodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0, px.data(), 480, 800, 480));
        // Something drawn (not the black page) at landscape (x, y).
        auto drawn = [&](int x, int y) { return px[static_cast<size_t>(x) * 480 + static_cast<size_t>(480 - 1 - y)] != 0; };
        // The middle row of what is drawn in columns [x0, x1) between two rows; -1 when nothing is.
        auto middle = [&](int x0, int x1, int y0, int y1) {
            int top = -1, bottom = -1;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    if (drawn(x, y)) {
                        if (top < 0) top = y;
                        bottom = y;
                    }
            return top < 0 ? -1.0 : (top + bottom) / 2.0;
        };
        if (c.ys.empty()) {
            int inColumn = 0;
            for (int y = 60; y < 400; ++y)
                for (int x = 40; x < 170; ++x) inColumn += drawn(x, y);
            EXPECT_GT(inColumn, 100) << "the icon column stays empty";
            continue;
        }
        for (int y : c.ys) {
            SCOPED_TRACE(y);
            // The icon column and the start of the text's lines (clear of the page arrows below).
            const double icon = middle(30, 175, y - 40, y + 66), text = middle(195, 280, y - 40, y + 66);
            ASSERT_GE(icon, 0);
            ASSERT_GE(text, 0);
            EXPECT_NEAR(icon, text, 4.0);
        }
    }
}

}  // namespace
