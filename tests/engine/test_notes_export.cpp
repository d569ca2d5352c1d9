// SPDX-License-Identifier: GPL-3.0-or-later
// Note names and writing the image to a file.

#include "ToneGenFixture.h"
#include "engine/NoteName.h"

#include "engine/WaveHeader.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    // Each failure says why, with the system's reason.
    int why = 0;
    EXPECT_FALSE(gen.ExportFile((dir / "missing" / "tone.wav").string(), &why));
    EXPECT_EQ(why, ENOENT);
    EXPECT_FALSE(gen.ExportFile("", &why));
    EXPECT_EQ(why, ENOENT);
    EXPECT_FALSE(gen.ExportFile(dir.string(), &why)); // a folder
    EXPECT_EQ(why, EISDIR);
    EXPECT_FALSE(gen.ExportFile((dir / std::string(256, 'n')).string(), &why));
    EXPECT_EQ(why, ENAMETOOLONG);
    // The longest name the system takes is written.
    ASSERT_TRUE(gen.ExportFile((dir / std::string(255, 'n')).string(), &why)) << why;
    std::filesystem::remove(dir / std::string(255, 'n'));

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

TEST_F(ExportTest, ALinkKeepsPointingAtTheNewContents) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    const auto real = dir / "real";
    std::filesystem::create_directories(real);
    { std::ofstream(real / "tone.wav") << "previous contents"; }
    const auto link = dir / "tone.wav";
    std::filesystem::create_symlink("real/tone.wav", link);
    std::filesystem::create_symlink("tone.wav", dir / "second.wav"); // a chain of two

    ASSERT_TRUE(gen.ExportFile((dir / "second.wav").string()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), "real/tone.wav");
    EXPECT_EQ(ReadFile(real / "tone.wav"), Image(gen));
    EXPECT_EQ(FilesInDir(), 3u); // no temporary left beside the links
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real), {}), 1);
}

TEST_F(ExportTest, AReplacedFileKeepsItsModeAndOwner) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    const auto file = dir / "tone.wav";
    { std::ofstream(file) << "previous contents"; }
    const bool privileged = ::geteuid() == 0;
    if (privileged) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    for (mode_t mode : {0600, 0640, 0604}) {
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        ASSERT_TRUE(gen.ExportFile(file.string()));
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        if (privileged) {
            EXPECT_EQ(st.st_uid, 65534u);
        }
    }
    EXPECT_EQ(ReadFile(file), Image(gen));
}

TEST_F(ExportTest, SpecialFilesAreWrittenInPlace) {
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    const auto fifo = dir / "tone.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The image fits in the pipe's buffer, so the writer does not wait for us.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(gen.ExportFile(fifo.string()));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::vector<std::uint8_t> received(gen.ImageSize() + 1);
    const ssize_t n = ::read(reader, received.data(), received.size());
    ::close(reader);
    received.resize(n > 0 ? std::size_t(n) : 0);
    EXPECT_EQ(received, Image(gen));

    // Device nodes need privilege to make; the full device refuses every byte.
    const auto null = dir / "null", full = dir / "full";
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make device nodes";
    EXPECT_TRUE(gen.ExportFile(null.string()));
    EXPECT_FALSE(gen.ExportFile(full.string()));
    EXPECT_TRUE(std::filesystem::is_character_file(null));
    EXPECT_TRUE(std::filesystem::is_character_file(full));
    EXPECT_EQ(FilesInDir(), 3u);
}

// What another user's export does, as the shell's `>` would: the superuser
// writes anywhere, so the export runs as nobody.
struct UserCase {
    const char* what;
    mode_t folderMode;
    bool folderIsNobodys;
    mode_t fileMode;
    bool fileIsNobodys;
    rlim_t sizeLimit; // 0: none; else an injected write error past it
    int error;        // what the export says, 0: written
};

class ExportAsUserTest : public ExportTest, public ::testing::WithParamInterface<UserCase> {};

TEST_P(ExportAsUserTest, WritesWhatTheUserMayAndKeepsTheOldFileOtherwise) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs to become another user";
    const UserCase& c = GetParam();
    constexpr uid_t kNobody = 65534;
    TToneGen gen(nullptr);
    ASSERT_TRUE(gen.Prepare());
    const auto file = dir / "tone.wav";
    const std::string old = "previous contents";
    { std::ofstream(file) << old; }
    const uid_t fileOwner = c.fileIsNobodys ? kNobody : 0;
    ASSERT_EQ(::chown(file.c_str(), fileOwner, fileOwner), 0);
    ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
    const uid_t folderOwner = c.folderIsNobodys ? kNobody : 0;
    ASSERT_EQ(::chown(dir.c_str(), folderOwner, folderOwner), 0);
    ASSERT_EQ(::chmod(dir.c_str(), c.folderMode), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(255);
        if (c.sizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit { c.sizeLimit, c.sizeLimit };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        int why = 0;
        gen.ExportFile(file.string(), &why);
        ::_exit(why);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.error);
    const auto written = ReadFile(file);
    if (c.error == 0)
        EXPECT_EQ(written, Image(gen));
    else
        EXPECT_EQ(std::string(written.begin(), written.end()), old) << "the old file changed";
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, fileOwner);
    EXPECT_EQ(st.st_mode & 07777, c.fileMode);
    EXPECT_EQ(FilesInDir(), 1u) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportAsUserTest,
    ::testing::Values(
        UserCase{"a writable file in a folder that takes no new file", 0555, false, 0666, false, 0,
                 0},
        UserCase{"a read-only file of the user's own", 0755, true, 0444, true, 0, EACCES},
        UserCase{"the superuser's file in the user's folder", 0755, true, 0644, false, 0, EACCES},
        UserCase{"someone else's writable file in a sticky folder", 01777, false, 0666, false, 0,
                 0},
        UserCase{"a write error in place", 0555, false, 0666, false, 8192, EFBIG},
        UserCase{"a write error through a temporary file", 0755, true, 0644, true, 8192, EFBIG}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct HeaderCase {
    bool stereo, sixteenBit, hiQ;
    std::array<std::uint8_t, 4> riffSize, bytesPerSecond;
    std::array<std::uint8_t, 2> blockAlign;
    std::array<std::uint8_t, 4> dataSize;
};

// The header fields that follow from the format, as bytes in the file, for
// the 100 ms image of each format.
TEST(WaveHeaderTest, FieldsAsLiteralBytes) {
    const HeaderCase cases[] = {
        {false, true, true, {0x24, 0x4B, 0, 0}, {0x00, 0xEE, 0x02, 0}, {2, 0}, {0x00, 0x4B, 0, 0}},
        {false, true, false, {0x98, 0x22, 0, 0}, {0x88, 0x58, 0x01, 0}, {2, 0}, {0x74, 0x22, 0, 0}},
        {false, false, true, {0xA4, 0x25, 0, 0}, {0x00, 0x77, 0x01, 0}, {1, 0}, {0x80, 0x25, 0, 0}},
        {false,
         false,
         false,
         {0x5E, 0x11, 0, 0},
         {0x44, 0xAC, 0x00, 0},
         {1, 0},
         {0x3A, 0x11, 0, 0}},
        {true, true, true, {0x24, 0x96, 0, 0}, {0x00, 0xDC, 0x05, 0}, {4, 0}, {0x00, 0x96, 0, 0}},
        {true, true, false, {0x0C, 0x45, 0, 0}, {0x10, 0xB1, 0x02, 0}, {4, 0}, {0xE8, 0x44, 0, 0}},
        {true, false, true, {0x24, 0x4B, 0, 0}, {0x00, 0xEE, 0x02, 0}, {2, 0}, {0x00, 0x4B, 0, 0}},
        {true, false, false, {0x98, 0x22, 0, 0}, {0x88, 0x58, 0x01, 0}, {2, 0}, {0x74, 0x22, 0, 0}},
    };
    for (const auto& c : cases) {
        const WaveFormat format{c.stereo, c.sixteenBit, c.hiQ};
        SCOPED_TRACE(testing::Message() << "stereo " << c.stereo << ", 16-bit " << c.sixteenBit
                                        << ", 96000 " << c.hiQ);
        std::array<std::uint8_t, kWaveHeaderSize> h{};
        WriteWaveHeader(h.data(), format, format.DataLength(100));
        EXPECT_EQ((std::array<std::uint8_t, 4>{h[4], h[5], h[6], h[7]}), c.riffSize);
        EXPECT_EQ((std::array<std::uint8_t, 4>{h[28], h[29], h[30], h[31]}), c.bytesPerSecond);
        EXPECT_EQ((std::array<std::uint8_t, 2>{h[32], h[33]}), c.blockAlign);
        EXPECT_EQ((std::array<std::uint8_t, 4>{h[40], h[41], h[42], h[43]}), c.dataSize);
    }
}

// The whole header of 24-bit and float images, byte for byte: the float
// file's fact chunk counts frames, and an odd 24-bit data length is padded.
TEST(WaveHeaderTest, WideHeadersAsLiteralBytes) {
    const struct {
        WaveFormat format;
        int durationMs;
        const char* hex;
    } cases[] = {
        {{false, true, true, WideSamples::Pcm24},
         100,
         "52494646 A4700000 57415645 666D7420 10000000 0100 0100 00770100 00650400 0300 1800 "
         "64617461 80700000"},
        {{true, true, false, WideSamples::Pcm24},
         100,
         "52494646 80670000 57415645 666D7420 10000000 0100 0200 44AC0000 98090400 0600 1800 "
         "64617461 5C670000"},
        {{false, true, false, WideSamples::Pcm24},
         11, // 485 frames: 1455 bytes and a pad byte
         "52494646 D4050000 57415645 666D7420 10000000 0100 0100 44AC0000 CC040200 0300 1800 "
         "64617461 AF050000"},
        {{false, true, false, WideSamples::Float32},
         100,
         "52494646 1A450000 57415645 666D7420 12000000 0300 0100 44AC0000 10B10200 0400 2000 0000 "
         "66616374 04000000 3A110000 64617461 E8440000"},
        {{true, true, true, WideSamples::Float32},
         100,
         "52494646 322C0100 57415645 666D7420 12000000 0300 0200 00770100 00B80B00 0800 2000 0000 "
         "66616374 04000000 80250000 64617461 002C0100"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> want;
        for (const char* p = c.hex; *p; ++p)
            if (*p != ' ') {
                want.push_back(std::uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
                ++p;
            }
        std::vector<std::uint8_t> h(WaveHeaderSize(c.format));
        WriteWaveHeader(h.data(), c.format, c.format.DataLength(c.durationMs));
        EXPECT_EQ(h, want) << c.hex;
    }
}

} // namespace
