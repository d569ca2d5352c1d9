// Note names and writing the image to a file.

#include "ToneGenFixture.h"
#include "engine/NoteName.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace {

struct NoteCase {
    std::string name;
    int octaveBefore;
    int frequency;
    int octaveAfter;
};

TEST(NoteNameTest, ParsesNamesAndTracksTheOctave) {
    const NoteCase cases[] = {
        {"A", 4, 440, 4},
        {"a#", 4, 466, 4},
        {"A+", 4, 466, 4},
        {" c ", 4, 523, 4},
        {"E", 4, 659, 4},
        {"\tG#\n", 4, 831, 4},
        {">C", 4, 1047, 5},
        {"C", 5, 1047, 5},
        {"A-", 4, 415, 3},
        {"<<<<<<<<<<A", 4, 28, 0},
        {"A-", 0, 0, 0},
        {">>>>>>>>>>>>A", 4, 14080, 9},
        {"O5C#", 4, 1109, 5},
        {"o2b", 4, 123, 2},
        {"O9D#", 4, 19912, 9},
        {"O9E", 4, 0, 9},
        {"O5", 4, 0, 4},
        {"OX", 4, 0, 4},
        {"O", 4, 0, 4},
        {"B#", 4, 0, 4},
        {"E+", 4, 0, 4},
        {"C-", 4, 0, 4},
        {"F-", 4, 0, 4},
        {"H", 4, 0, 4},
        {"C4", 4, 0, 4},
        {"", 4, 0, 4},
        {"   ", 4, 0, 4},
        {"<", 4, 0, 4},
        {"D-", 4, 554, 4},
        {"N48", 7, 440, 7},
        {"N0", 4, 28, 4},
        {"N114", 4, 19912, 4},
        {"N115", 4, 0, 4},
        {"N122", 4, 0, 4},
        {"N-1", 4, 0, 4},
        {"N", 4, 0, 4},
        {"N4x", 4, 0, 4},
        {"n+048", 4, 440, 4},
        {"N99999999999999", 4, 0, 4},
        {"O0A", 4, 28, 0},
        {"O0A-", 4, 0, 4},
        {"A#B", 4, 0, 4},
    };
    for (const auto& c : cases) {
        int octave = c.octaveBefore;
        EXPECT_EQ(ParseNote(c.name, octave), c.frequency) << "'" << c.name << "'";
        EXPECT_EQ(octave, c.octaveAfter) << "'" << c.name << "'";
    }
}

TEST_F(ToneGenTest, SetNoteChangesFrequencyAndOctaveOnlyWhenAccepted) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    EXPECT_EQ(gen.SetNote(">C"), 1047);
    EXPECT_EQ(gen.Frequency(), 1047);
    EXPECT_EQ(gen.Octave(), 5);
    EXPECT_TRUE(gen.ImageStale());
    EXPECT_EQ(gen.SetNote("C"), 1047);
    ASSERT_TRUE(gen.Prepare());
    EXPECT_EQ(gen.SetNote("E+"), 0);
    EXPECT_EQ(gen.Frequency(), 1047);
    EXPECT_EQ(gen.Octave(), 5);
    EXPECT_FALSE(gen.ImageStale());
    EXPECT_EQ(gen.SetNote("N48"), 440);
    EXPECT_EQ(gen.Octave(), 5);
}

TEST_F(ToneGenTest, SetAMNoteWritesTheLevelsEntry) {
    TToneGen gen(nullptr);
    gen.SetFrequency(440);
    EXPECT_FLOAT_EQ(gen.SetAMNote(TTGAMLevel::tgAMLevel2, "E"), 659.0f / 440.0f);
    EXPECT_EQ(gen.AMArrays().frequencies[1], 659.0f / 440.0f);
    EXPECT_EQ(gen.AMFrequency(), 0.5f); // the mirror is left alone
    gen.SetAMUseMultiplier(false);
    EXPECT_EQ(gen.SetAMNote(TTGAMLevel::tgAMLevel2, ">E"), 1319.0f);
    EXPECT_EQ(gen.AMArrays().octaves[1], 5);
    EXPECT_EQ(gen.AMArrays().octaves[0], 4);
    EXPECT_EQ(gen.SetAMNote(TTGAMLevel::tgAMLevel2, "X"), 0.0f);
    EXPECT_EQ(gen.AMArrays().frequencies[1], 1319.0f);
}

class ExportTest : public ToneGenTest {
protected:
    void SetUp() override {
        ToneGenTest::SetUp();
        dir =
            std::filesystem::temp_directory_path() / ("orbel-export-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ToneGenTest::TearDown();
    }
    std::vector<std::uint8_t> ReadFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t FilesInDir() { return std::distance(std::filesystem::directory_iterator(dir), {}); }
    std::filesystem::path dir;
};

TEST_F(ExportTest, WritesTheWholeImage) {
    TToneGen gen(nullptr);
    const auto file = dir / "tone.wav";
    EXPECT_FALSE(gen.ExportFile(file.string())); // nothing built yet
    EXPECT_FALSE(std::filesystem::exists(file));
    gen.SetFrequency(1000);
    ASSERT_TRUE(gen.Prepare());
    ASSERT_TRUE(gen.ExportFile(file.string()));
    EXPECT_EQ(ReadFile(file), Image(gen));
    EXPECT_EQ(std::filesystem::file_size(file), 19276u);
    // Replaces an existing file; leaves no temporary behind.
    gen.SetDuration(10);
    ASSERT_TRUE(gen.Prepare());
    ASSERT_TRUE(gen.ExportFile(file.string()));
    EXPECT_EQ(std::filesystem::file_size(file), 44u + 1920 + 32);
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(ExportTest, FailuresReturnFalseAndKeepTheOldFile) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    EXPECT_FALSE(gen.ExportFile((dir / "missing" / "tone.wav").string()));
    EXPECT_FALSE(gen.ExportFile(""));
    EXPECT_FALSE(gen.ExportFile(dir.string())); // a folder

    // A write that stores fewer bytes than the image is a failure.
    const auto file = dir / "old.wav";
    { std::ofstream(file) << "previous contents"; }
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = gen.ExportFile(file.string());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    const auto kept = ReadFile(file);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "previous contents");
    EXPECT_EQ(FilesInDir(), 1u); // no truncated temporary left
}

} // namespace
