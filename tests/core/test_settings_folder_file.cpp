// SPDX-License-Identifier: GPL-3.0-or-later
// The settings folder's files: the INI text as earlier versions wrote it,
// and reads and writes that never wait and never harm what is not a
// settings file (a link to a device, a FIFO, a socket, another file).

#include "core/IniText.h"
#include "core/SettingsFolderFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// --- the text -------------------------------------------------------------------

struct DeviceRow {
    const char* name;
    std::string device;
    const char* written; // the device line as earlier versions wrote it
};

class IniDevice : public ::testing::TestWithParam<DeviceRow> {};

TEST_P(IniDevice, IsWrittenAsBeforeAndReadBack) {
    const IniValues values{{"format/bits", "16"},
                           {"format/rate", "96000"},
                           {"output/device", GetParam().device},
                           {"signal/kind", "panel"}};
    const std::string text = WriteIniText(values);
    EXPECT_EQ(text, std::string("[format]\nbits=16\nrate=96000\n\n[output]\n") +
                        GetParam().written + "\n\n[signal]\nkind=panel\n");
    EXPECT_EQ(ReadIniText(text), values);
}

INSTANTIATE_TEST_SUITE_P(
    Names, IniDevice,
    ::testing::Values(DeviceRow{"Empty", "", "device="},
                      DeviceRow{"Plain", "alsa_output.pci-0000_00_1f.3.analog-stereo",
                                "device=alsa_output.pci-0000_00_1f.3.analog-stereo"},
                      DeviceRow{"Spaces", " lead and trail ", "device=\" lead and trail \""},
                      DeviceRow{"Separators", "a;b,c=d", "device=\"a;b,c=d\""},
                      DeviceRow{"QuoteBackslash", "q\"b\\", "device=q\\\"b\\\\"},
                      DeviceRow{"Controls", "t\tn\ne\x1b[2J", "device=t\\tn\\ne\\x1b[2J"},
                      DeviceRow{"Letters", "\a\b\f\n\r\t\v", "device=\\a\\b\\f\\n\\r\\t\\v"},
                      DeviceRow{"HexAfterEscape",
                                "x\x01"
                                "1",
                                "device=x\\x1\\x31"},
                      DeviceRow{"At", "@at", "device=@@at"},
                      DeviceRow{"Cyrillic", "При\x7f", "device=При\x7f"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniText, ReadsHandEditedTextAndRefusesWhatIsNoIni) {
    EXPECT_EQ(ReadIniText("; note\n[format]\r\n  bits = 24 ; why\n"),
              (IniValues{{"format/bits", "24"}}));
    EXPECT_EQ(ReadIniText("[format]\nbits=2,4\n"), IniValues{}) << "a list is no value";
    EXPECT_EQ(ReadIniText(""), IniValues{});
    for (const char* broken :
         {"[format]\nbits=24\n[[[\n", "#!/bin/sh\necho hi\n", "[format]\nbits=24\nnot a setting\n"})
        EXPECT_EQ(ReadIniText(broken), std::nullopt) << broken;
}

// --- the file ---------------------------------------------------------------------

class SettingsFolderFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/orbel-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string Contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    static void Put(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    SettingsFileWrite Write(const fs::path& file) const {
        return WriteSettingsFolderFile(file.string(), kNew, [](const std::string& text) {
            return ReadIniText(text).has_value();
        });
    }

    const std::string kNew = "[format]\nbits=24\n";
    const std::string kOld = "[format]\nbits=16\n";
    fs::path folder;
};

using Outcome = SettingsFileWrite::Outcome;
using Status = SettingsFileText::Status;

TEST_F(SettingsFolderFileTest, ALinkToASettingsFileIsFollowedAndStaysALink) {
    fs::create_directory(folder / "kept");
    Put(folder / "kept" / "orbel.conf", kOld);
    fs::create_symlink("kept/orbel.conf", folder / "orbel.conf");
    EXPECT_EQ(Write(folder / "orbel.conf").outcome, Outcome::Written);
    EXPECT_TRUE(fs::is_symlink(folder / "orbel.conf"));
    EXPECT_EQ(Contents(folder / "kept" / "orbel.conf"), kNew);
    // A missing file and its folder are made; a broken file of its own is mended.
    EXPECT_EQ(Write(folder / "new" / "orbel.conf").outcome, Outcome::Written);
    EXPECT_EQ(Contents(folder / "new" / "orbel.conf"), kNew);
    Put(folder / "broken.conf", "[[[");
    EXPECT_EQ(Write(folder / "broken.conf").outcome, Outcome::Written);
    EXPECT_EQ(Contents(folder / "broken.conf"), kNew);
}

TEST_F(SettingsFolderFileTest, WhatIsNoSettingsFileIsLeftAsItIs) {
    // A FIFO, a socket, links to them (as to a device), to another file and
    // to nothing: refused at once, each unchanged.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (folder / "sock").c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    Put(folder / "script.sh", "#!/bin/sh\necho hi\n");
    fs::create_symlink("fifo", folder / "to-fifo");
    fs::create_symlink("sock", folder / "to-sock");
    fs::create_symlink("script.sh", folder / "to-script");
    fs::create_symlink("missing", folder / "to-nothing");
    fs::create_symlink("loop", folder / "loop");
    fs::create_directory(folder / "dir");
    for (const char* name :
         {"fifo", "sock", "to-fifo", "to-sock", "to-script", "to-nothing", "loop", "dir"})
        EXPECT_EQ(Write(folder / name).outcome, Outcome::Refused) << name;
    ::close(sock);
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_TRUE(fs::is_socket(folder / "sock"));
    EXPECT_EQ(Contents(folder / "script.sh"), "#!/bin/sh\necho hi\n");
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_TRUE(fs::is_symlink(folder / "to-script"));
}

TEST_F(SettingsFolderFileTest, ReadsNoFifoAndNothingOverAMegabyte) {
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", folder / "to-fifo");
    EXPECT_EQ(ReadSettingsFolderFile((folder / "fifo").string()).status, Status::NotAFile);
    EXPECT_EQ(ReadSettingsFolderFile((folder / "to-fifo").string()).status, Status::NotAFile);
    EXPECT_EQ(ReadSettingsFolderFile((folder / "none").string()).status, Status::Missing);
    Put(folder / "big", std::string(kLargestSettingsFile, ';'));
    EXPECT_EQ(ReadSettingsFolderFile((folder / "big").string()).status, Status::Read);
    Put(folder / "big", std::string(kLargestSettingsFile + 1, ';'));
    const SettingsFileText big = ReadSettingsFolderFile((folder / "big").string());
    EXPECT_EQ(big.status, Status::TooLarge);
    EXPECT_TRUE(big.text.empty());
}

} // namespace
