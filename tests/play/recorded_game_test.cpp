// A recorded game: a seeded game in each mode, steered by a scripted drag
// through real pointer input until it is over, must give the same world,
// ball, camera, score, random sequence and display list, update by update,
// as the recording in recorded_game.txt. It pins the play update's results,
// so work on what the update costs cannot change what it does.
//
// SOLBRIM_RECORD_GAME=1 writes the recording instead of comparing.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/play/play_test_support.h"

namespace {

constexpr int kCheckpointEvery = 250;
constexpr int kMostUpdates = 6000;

// FNV-1a over the bytes of whole arrays and single values.
class Digest {
public:
    template <typename T>
    void Add(const T& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (std::size_t i = 0; i < sizeof(T); ++i) hash_ = (hash_ ^ bytes[i]) * 1099511628211ull;
    }
    template <typename T>
    void AddArray(const Array<T>& values, int count) {
        for (int i = 0; i < count; ++i) Add(values[i]);
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

std::string RecordingPath() { return std::string(SOLBRIM_SOURCE_DIR) + "/tests/play/recorded_game.txt"; }

class RecordedGameTest : public PlayTest {
protected:
    // Everything a play update may change.
    void AddState(Digest& d) const {
        const c_MyApp* app = App();
        d.AddArray(app->world, app->world.Length());
        d.AddArray(app->particles, app->particles.Length());
        d.AddArray(app->trail, app->trail.Length());
        d.AddArray(app->drawList, app->drawCount);
        for (float v : {app->cameraX, app->cameraY, app->driftX, app->driftY, app->driftSpeed, app->heading,
                        app->headingTimer, app->driftVelX, app->driftVelY, app->ballX, app->ballY,
                        app->ballVelX, app->ballVelY, app->ballScreenX, app->ballScreenY, app->facing})
            d.Add(v);
        for (int v : {app->coinCount, app->spinPhase, app->invulnerable, app->lives, app->score,
                      app->shownScore, app->gameOver, app->drawCount, randomSeed})
            d.Add(v);
    }

    // Drags in slow loops around the middle of the view, lifting the pointer
    // every 150 updates, so the ball swings about, meets blocks and coins.
    void Steer(int t) {
        const float w = virtualWidth, h = virtualHeight;
        if (t % 150 == 0) {
            ReleasePointer();
            return;
        }
        float x = w / 2 + 0.3f * w * std::sin(t / 37.0f), y = h / 2 + 0.3f * h * std::cos(t / 53.0f);
        if (t % 150 == 1) PressPointer(x, y); else MovePointer(x, y);
    }

    // Plays one seeded game of a mode; appends "mode update digest" lines,
    // one every kCheckpointEvery updates and one at the game's end.
    void PlayGame(int mode, int seed, std::ostream& out) {
        c_MyApp* app = App();
        app->gameMode = mode;
        app->screen = kScreenNewGame;
        RunUpdates(1);
        ASSERT_EQ(app->screen, kScreenPlay);
        randomSeed = seed;
        app->SetUpWorld();
        Digest digest;
        int t = 0;
        for (; t < kMostUpdates && app->gameOver == 0; ++t) {
            Steer(t);
            RunUpdates(1);
            AddState(digest);
            if ((t + 1) % kCheckpointEvery == 0) out << mode << ' ' << t + 1 << ' ' << std::hex << digest.Value() << std::dec << '\n';
        }
        out << mode << ' ' << t << ' ' << std::hex << digest.Value() << std::dec << " end score " << app->score
            << '\n';
        ReleasePointer();
    }
};

TEST_F(RecordedGameTest, EachModePlaysAsRecorded) {
    // The music generator draws from the game's random sequence too.
    if (musicEnabled == 1) GTEST_SKIP() << "the recording is made without music";
    std::ostringstream played;
    PlayGame(1, 1234567, played);
    PlayGame(2, 7654321, played);
    PlayGame(3, 2469, played);

    if (std::getenv("SOLBRIM_RECORD_GAME")) {
        std::ofstream(RecordingPath()) << played.str();
        GTEST_SKIP() << "recording written to " << RecordingPath();
    }
    std::ifstream file(RecordingPath());
    ASSERT_TRUE(file) << RecordingPath();
    std::stringstream recorded;
    recorded << file.rdbuf();
    std::istringstream want(recorded.str()), got(played.str());
    std::string wantLine, gotLine;
    while (std::getline(want, wantLine)) {
        ASSERT_TRUE(std::getline(got, gotLine)) << "the games ended early; recorded: " << wantLine;
        ASSERT_EQ(gotLine, wantLine) << "first checkpoint that differs";
    }
    EXPECT_FALSE(std::getline(got, gotLine)) << "the games ran longer: " << gotLine;
}

}  // namespace
