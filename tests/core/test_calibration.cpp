// SPDX-License-Identifier: GPL-3.0-or-later
// The level calibration file: its text read back exactly, strict reading
// of damaged text, and the store in a real folder (missing, damaged, not a
// file, one output replaced while the others stay, programs saving at once).
#include "core/CalibrationDate.h"
#include "core/CalibrationFile.h"
#include "core/CalibrationStanding.h"
#include "core/CalibrationStore.h"
#include "core/SettingsFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kDate = "2026-12-09T17:46:00Z";

ChannelCalibration Channel(double volts, std::uint32_t volume = 65536) {
    return {volts, kDate, volume};
}

OutputCalibration Stereo(double left, double right) {
    return {Channel(left), Channel(right)};
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Spit(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "orbel-calibration-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TEST(CalibrationText, ReadsBackEveryNameAndVoltageExactly) {
    CalibrationTable table;
    table.Replace("alsa_output.pci-0000_00_1f.3.analog-stereo", Stereo(0.245, 0.2451));
    table.Replace("x\x1b[2Jy name=with #spaces %41", {Channel(0.1 + 0.2, 0), std::nullopt});
    table.Replace(std::string("\xff\xfe\0\n\t", 5), {std::nullopt, Channel(1e-6, 4294967295u)});
    table.Replace("Встроенное аудио", Stereo(1e4, 3.3));
    table.Replace(std::string(70000, 'a'), Stereo(1, 2));
    const std::string text = WriteCalibrationText(table);
    EXPECT_EQ(ReadCalibrationText(text), table);
}

TEST(CalibrationText, IsOneReadableLineAChannel) {
    CalibrationTable table;
    table.Replace("out put\x01\xc2\x9b", {Channel(0.245), std::nullopt});
    const std::string text = WriteCalibrationText(table);
    EXPECT_EQ(text.substr(0, text.find('\n')), "orbel-calibration 1");
    EXPECT_NE(text.find("\noutput=out%20put%01%C2%9B channel=left volts=0.245 "
                        "date=2026-12-09T17:46:00Z volume=65536\n"),
              std::string::npos)
        << text;
}

const std::string kGood = "orbel-calibration 1\n"
                          "output=a channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1\n";

class DamagedCalibrationText : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedCalibrationText, ReadsAsNoTable) {
    EXPECT_FALSE(ReadCalibrationText(GetParam()));
}

std::string Entry(const std::string& fields) {
    return "orbel-calibration 1\n" + fields + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedCalibrationText,
    ::testing::Values(
        "", "\n", "orbel-calibration 2\n", kGood.substr(0, kGood.size() - 1), // cut off
        kGood.substr(0, kGood.size() - 20) + "\n", "output=a channel=left\n" + kGood,
        kGood + kGood.substr(kGood.find('\n') + 1), // a channel given twice
        Entry("output=a channel=centre volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=0 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=nan date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=1e5 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=0,245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=0.245 date=2026-13-09T17:46:00Z volume=1"),
        Entry("output=a channel=left volts=0.245 date=yesterday volume=1"),
        Entry("output=a channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=-1"),
        Entry("output=a channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=4294967296"),
        Entry("output=a channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1 x=1"),
        Entry("output=a channel=left volts=0.245 date=2026-12-09T17:46:00Z  volume=1"),
        Entry("output= channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a%4 channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a%G1 channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=a\x7f channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("output=\xff channel=left volts=0.245 date=2026-12-09T17:46:00Z volume=1"),
        Entry("channel=left output=a volts=0.245 date=2026-12-09T17:46:00Z volume=1")));

TEST(CalibrationText, TakesCommentsEmptyLinesAndEitherCaseOfHex) {
    const auto table = ReadCalibrationText(
        "# kept by hand\n\norbel-calibration 1\n# left\n"
        "output=a%2fb%2F channel=right volts=2.5e-1 date=2026-12-09T17:46:00Z volume=7\n\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Find("a/b/", OutputChannel::Right), (ChannelCalibration{0.25, kDate, 7}));
    EXPECT_FALSE(table->Find("a/b/", OutputChannel::Left));
}

TEST(CalibrationStanding, VoltsHoldOnlyAtTheVolumeOfTheCalibration) {
    using S = CalibrationStanding;
    const ChannelCalibration at70{0.245, kDate, 45875};
    struct Row {
        std::optional<ChannelCalibration> calibration;
        std::optional<std::uint32_t> volume;
        S standing;
    };
    for (const Row& r :
         {Row{at70, 45875, S::Valid}, Row{at70, 45874, S::VolumeChanged},
          Row{at70, 65536, S::VolumeChanged}, Row{at70, 0, S::VolumeChanged},
          Row{at70, std::nullopt, S::VolumeUnknown}, Row{std::nullopt, 45875, S::NotCalibrated},
          Row{std::nullopt, std::nullopt, S::NotCalibrated}})
        EXPECT_EQ(StandingOf(r.calibration, r.volume), r.standing)
            << (r.volume ? int(*r.volume) : -1);
}

TEST(CalibrationStanding, AnOutputHoldsOnlyWhileBothChannelsKeepTheirVolumes) {
    using S = CalibrationStanding;
    const OutputCalibration both{ChannelCalibration{0.245, kDate, 45875},
                                 ChannelCalibration{0.245, kDate, 32768}};
    const OutputCalibration leftOnly{ChannelCalibration{0.245, kDate, 45875}, std::nullopt};
    struct Row {
        OutputCalibration calibration;
        std::optional<std::uint32_t> left, right;
        S standing;
    };
    for (const Row& r :
         {Row{both, 45875, 32768, S::Valid}, Row{both, 45875, 45875, S::VolumeChanged},
          Row{both, 32768, 32768, S::VolumeChanged},
          Row{both, std::nullopt, 40000, S::VolumeChanged},
          Row{both, 45875, std::nullopt, S::VolumeUnknown}, Row{leftOnly, 45875, 0, S::Valid},
          Row{{}, 1, 2, S::NotCalibrated}})
        EXPECT_EQ(StandingOfOutput(r.calibration, r.left, r.right), r.standing)
            << (r.left ? int(*r.left) : -1) << ' ' << (r.right ? int(*r.right) : -1);
}

TEST(CalibrationDate, IsUtcToTheSecond) {
    EXPECT_EQ(CalibrationDate(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(CalibrationDate(1796838360), "2026-12-09T17:46:00Z");
    EXPECT_TRUE(IsCalibrationDate(CalibrationDate(1796838360)));
    for (const char* bad : {"2026-12-09 17:46:00Z", "2026-12-09T17:46:00", "2026-00-09T17:46:00Z",
                            "2026-12-09T24:00:00Z", "2026-12-9T17:46:00Z", "２026-12-09T17:46:00Z"})
        EXPECT_FALSE(IsCalibrationDate(bad)) << bad;
}

TEST(SettingsFolder, IsTheUsersConfigFolder) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/elsewhere/config", 1);
    EXPECT_EQ(SettingsFolder(), "/elsewhere/config/orbel");
    EXPECT_EQ(CalibrationStore::DefaultPath(), "/elsewhere/config/orbel/calibration.conf");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsFolder(), "/home/someone/.config/orbel");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFolder(), "/home/someone/.config/orbel");
    ::setenv("HOME", savedHome.c_str(), 1);
}

class CalibrationStoreTest : public ::testing::Test {
protected:
    TemporaryFolder folder_;
    fs::path path_ = folder_.Path() / "orbel" / "calibration.conf";
    CalibrationStore store_{path_.string()};
};

TEST_F(CalibrationStoreTest, MissingFileMeansNotCalibratedAndTheFirstSaveMakesIt) {
    StoredCalibrations loaded = store_.Load();
    EXPECT_EQ(loaded.state, CalibrationFileState::Missing);
    EXPECT_TRUE(loaded.table.Outputs().empty());
    ASSERT_EQ(store_.Save("out", Stereo(0.5, 0.6)), CalibrationSaveResult::Saved);
    loaded = store_.Load();
    EXPECT_EQ(loaded.state, CalibrationFileState::Read);
    EXPECT_EQ(loaded.table.Find("out", OutputChannel::Right), Channel(0.6));
    EXPECT_EQ(fs::status(path_.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(CalibrationStoreTest, ASecondCalibrationReplacesTheFirstForThatOutputOnly) {
    ASSERT_EQ(store_.Save("one", Stereo(0.5, 0.6)), CalibrationSaveResult::Saved);
    ASSERT_EQ(store_.Save("two", Stereo(1.5, 1.6)), CalibrationSaveResult::Saved);
    ASSERT_EQ(store_.Save("one", {Channel(0.7, 30000), std::nullopt}),
              CalibrationSaveResult::Saved);
    const CalibrationTable table = store_.Load().table;
    EXPECT_EQ(table.Find("one", OutputChannel::Left), Channel(0.7, 30000));
    EXPECT_FALSE(table.Find("one", OutputChannel::Right)); // the old right is gone too
    EXPECT_EQ(table.Outputs().at("two"), Stereo(1.5, 1.6));
}

TEST_F(CalibrationStoreTest, AFileThatIsNotCalibrationsIsReadAsNoneAndLeftAlone) {
    fs::create_directories(path_.parent_path());
    const std::string large =
        kGood + "#" + std::string(kMaxCalibrationFileBytes - kGood.size() - 1, 'x') + "\n";
    for (const auto& [text, state] :
         {std::pair{kGood + "volts\n", CalibrationFileState::Damaged},
          std::pair{std::string("\0\0\0", 3), CalibrationFileState::Damaged},
          std::pair{large, CalibrationFileState::TooLarge}}) {
        Spit(path_, text);
        EXPECT_EQ(store_.Load().state, state) << text.size();
        EXPECT_EQ(store_.Save("out", Stereo(0.5, 0.6)), CalibrationSaveResult::FileKept);
        EXPECT_EQ(Slurp(path_), text);
    }
    // One byte less is read.
    Spit(path_, large.substr(0, large.size() - 2) + "\n");
    EXPECT_EQ(store_.Load().state, CalibrationFileState::Read);
}

TEST_F(CalibrationStoreTest, AFifoAFolderOrADeviceIsNeitherWaitedOnNorReplaced) {
    fs::create_directories(path_.parent_path());
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    EXPECT_EQ(store_.Load().state, CalibrationFileState::NotAFile); // would hang if it waited
    EXPECT_EQ(store_.Save("out", Stereo(0.5, 0.6)), CalibrationSaveResult::FileKept);
    EXPECT_TRUE(fs::is_fifo(path_));
    fs::remove(path_);
    fs::create_directory(path_);
    EXPECT_EQ(store_.Load().state, CalibrationFileState::NotAFile);
    EXPECT_EQ(store_.Save("out", Stereo(0.5, 0.6)), CalibrationSaveResult::FileKept);
    fs::remove(path_);
    fs::create_symlink("/dev/null", path_); // a common way to keep a program from saving
    EXPECT_EQ(store_.Load().state, CalibrationFileState::NotAFile);
    EXPECT_EQ(store_.Save("out", Stereo(0.5, 0.6)), CalibrationSaveResult::FileKept);
    EXPECT_TRUE(fs::is_symlink(path_));
}

TEST_F(CalibrationStoreTest, SavesThroughTheWriterItIsGivenAndKeepsTheFileWhenItFails) {
    std::string writtenPath, writtenText;
    bool succeed = true;
    const CalibrationStore store(path_.string(), [&](const std::string& p, std::string_view t) {
        writtenPath = p;
        writtenText = t;
        return succeed && WriteCalibrationFile(p, t);
    });
    ASSERT_EQ(store.Save("one", Stereo(0.5, 0.6)), CalibrationSaveResult::Saved);
    EXPECT_EQ(writtenPath, path_.string());
    const std::string first = Slurp(path_);
    EXPECT_EQ(writtenText, first);
    succeed = false;
    EXPECT_EQ(store.Save("two", Stereo(0.5, 0.6)), CalibrationSaveResult::NotWritten);
    EXPECT_EQ(Slurp(path_), first);
    EXPECT_FALSE(store.Load().table.Find("two", OutputChannel::Left));
}

TEST_F(CalibrationStoreTest, RefusesWhatCouldNotBeReadBack) {
    for (const auto& [name, calibration] :
         {std::pair{std::string(), Stereo(0.5, 0.6)}, std::pair{std::string("a"), Stereo(0, 1)},
          std::pair{std::string("a"), Stereo(1, 1e5)},
          std::pair{std::string("a"), OutputCalibration{}},
          std::pair{std::string("a"), OutputCalibration{ChannelCalibration{1, "today", 1}, {}}}})
        EXPECT_EQ(store_.Save(name, calibration), CalibrationSaveResult::InvalidCalibration);
    EXPECT_FALSE(fs::exists(path_));
    // A name so long that the file could not be read back.
    ASSERT_EQ(store_.Save("kept", Stereo(0.5, 0.6)), CalibrationSaveResult::Saved);
    EXPECT_EQ(store_.Save(std::string(kMaxCalibrationFileBytes / 2, '\x01'), Stereo(0.5, 0.6)),
              CalibrationSaveResult::TooLarge);
    EXPECT_EQ(store_.Load().table.Outputs().size(), 1u);
}

TEST_F(CalibrationStoreTest, ProgramsSavingAtOnceLoseNothingAndNeverTearTheFile) {
    constexpr int kOutputsEach = 20;
    pid_t writers[2] = {};
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            bool all = true;
            for (int i = 0; i < kOutputsEach; ++i)
                all &= store_.Save("writer" + std::to_string(w) + "-" + std::to_string(i),
                                   Stereo(0.1 + i, 0.2 + w)) == CalibrationSaveResult::Saved;
            ::_exit(all ? 0 : 1);
        }
    }
    // Read while they write: the file is always whole.
    int running = 2, reads = 0;
    while (running > 0) {
        const CalibrationFileState state = store_.Load().state;
        ASSERT_TRUE(state == CalibrationFileState::Read || state == CalibrationFileState::Missing);
        ++reads;
        for (pid_t& writer : writers) {
            int status = 0;
            if (writer > 0 && ::waitpid(writer, &status, WNOHANG) == writer) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                writer = 0;
                --running;
            }
        }
    }
    const StoredCalibrations loaded = store_.Load();
    ASSERT_EQ(loaded.state, CalibrationFileState::Read);
    EXPECT_EQ(loaded.table.Outputs().size(), 2u * kOutputsEach) << reads << " reads";
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(path_.parent_path()), {}), 1);
}

} // namespace
