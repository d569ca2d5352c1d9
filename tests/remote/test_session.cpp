// SPDX-License-Identifier: GPL-3.0-or-later
// A client's lines against an instrument double: what each command sets,
// what each query answers, which error each faulty command queues, and
// that a refused command changes nothing.
#include "remote/Session.h"
#include "tests/remote/FakeTarget.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace remote {
namespace {

struct Client {
    FakeTarget target;
    Session session{target, false};

    std::string Run(std::string_view line) { return session.Execute(line); }
    // The oldest queued error's code, taken off the queue.
    int NextError() { return std::stoi(Run("SYST:ERR?")); }
};

using Edit = std::function<void(RemoteSettings&)>;

struct SettingRow {
    std::string line;
    Edit expected; // what the line does to the settings
};

void PrintTo(const SettingRow& row, std::ostream* os) {
    *os << row.line;
}

class SettingCommands : public testing::TestWithParam<SettingRow> {};

TEST_P(SettingCommands, ChangeWhatTheyNameAndNothingElse) {
    Client client;
    RemoteSettings expected = client.target.settings;
    GetParam().expected(expected);
    EXPECT_EQ(client.Run(GetParam().line), "");
    EXPECT_EQ(client.NextError(), 0);
    EXPECT_EQ(client.target.settings, expected);
}

constexpr MilliHertz Hz(double hertz) {
    return {std::int64_t(hertz * 1000 + 0.5)};
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingCommands,
    testing::Values(
        SettingRow{"FREQ 997.123", [](auto& s) { s.left.frequency = Hz(997.123); }},
        SettingRow{"freq 1.0005 kHz", [](auto& s) { s.left.frequency = Hz(1000.5); }},
        SettingRow{"SOURce2:FREQuency:CW 1E3HZ", [](auto& s) { s.right.frequency = Hz(1000); }},
        SettingRow{":SOUR1:FREQ MAX", [](auto& s) { s.left.frequency = Hz(21600); }},
        SettingRow{"FREQ 12.5000000", [](auto& s) { s.left.frequency = Hz(12.5); }},
        SettingRow{"OUTP2 OFF;OUTPut1:STATe 0", [](auto& s) { s.left.on = s.right.on = false; }},
        SettingRow{"FUNCtion:SHAPe multitone", [](auto& s) { s.function = Function::Multitone; }},
        SettingRow{"SOUR2:FUNC SQU", [](auto& s) { s.function = Function::Square; }},
        SettingRow{"SOUR2:VOLT 2 VPP",
                   [](auto& s) {
                       s.right.level = {2, LevelUnit::VoltsPeakToPeak};
                   }},
        SettingRow{"VOLT:LEV:IMM:AMPL -6.5",
                   [](auto& s) {
                       s.left.level = {-6.5, LevelUnit::DbFs};
                   }},
        SettingRow{"VOLT 150 mV",
                   [](auto& s) {
                       s.left.level = {150, LevelUnit::MilliVolts};
                   }},
        SettingRow{"VOLT:UNIT DBU;:VOLT 4",
                   [](auto& s) {
                       s.left.level = {4, LevelUnit::DbU};
                   }},
        SettingRow{"SOUR2:FREQ 100;VOLT -3",
                   [](auto& s) {
                       s.right.frequency = Hz(100);
                       s.right.level = {-3, LevelUnit::DbFs};
                   }},
        SettingRow{"SOUR2:PHAS 45 DEG", [](auto& s) { s.rightPhaseDegrees = 45; }},
        // A command continues at the level of the one before it.
        SettingRow{"SWE ON;SWE:TIME 500 MS;SPAC LIN",
                   [](auto& s) {
                       s.sweep.on = s.sweep.linear = true;
                       s.sweep.seconds = 0.5;
                   }},
        SettingRow{"FREQ:STAR 30;*OPC;STOP 15 KHZ",
                   [](auto& s) {
                       s.sweep.start = Hz(30);
                       s.sweep.stop = Hz(15000);
                   }},
        SettingRow{"SWE:STEP:COUN 5;DWEL 0.25;UPD ON;SPAC LIN;STAR 200;STOP 2KHZ;STAT ON",
                   [](auto& s) { s.steps = {true, Hz(200), Hz(2000), 5, 250, true, true}; }},
        SettingRow{"SWE:STEP:DWEL 20 MS;COUN MAX",
                   [](auto& s) {
                       s.steps.dwellMs = 20;
                       s.steps.count = 10000;
                   }},
        SettingRow{"BURS:NCYC 3;OFFC 0;:BURSt:STATe 1",
                   [](auto& s) {
                       s.burst = {true, 3, 0};
                   }},
        SettingRow{"  FREQ 2000 ;; ", [](auto& s) { s.left.frequency = Hz(2000); }}));

struct QueryRow {
    std::string line;
    std::string reply;
};

void PrintTo(const QueryRow& row, std::ostream* os) {
    *os << row.line;
}

class Queries : public testing::TestWithParam<QueryRow> {};

TEST_P(Queries, AnswerInOneLine) {
    Client client;
    EXPECT_EQ(client.Run(GetParam().line), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Queries,
    testing::Values(QueryRow{"*IDN?", "orbel,Audio Generator,0,0.2.0\n"},
                    QueryRow{"SYST:VERS?", "1999.0\n"}, QueryRow{"FREQ 997.5;FREQ?\r\n", "997.5\n"},
                    QueryRow{"FREQ? MAX;FREQ? MIN;:SOUR2:FREQ? DEF", "21600;1;1000\n"},
                    QueryRow{"OUTP2 OFF;OUTP2?;OUTP?", "0;1\n"},
                    QueryRow{"FUNC?;FUNC PINK;FUNC?", "SIN;PINK\n"},
                    QueryRow{"VOLT?;VOLT:UNIT?", "-20;DBFS\n"},
                    QueryRow{"SWE:SPAC?;:SWE:TIME?;:SWE:STEP:DWEL?;COUN? MAX", "LOG;10;1;10000\n"},
                    QueryRow{"BOGUS?;FREQ?", "1000\n"}, QueryRow{"FREQ 1000", ""}, QueryRow{"", ""},
                    QueryRow{"SYST:ERR?", "0,\"No error\"\n"},
                    QueryRow{"FREQ 1.0001 HZ;SYST:ERR:COUN?", "1\n"}, QueryRow{"*OPC?", "1\n"}));

struct ErrorRow {
    std::string line;
    int code;
};

void PrintTo(const ErrorRow& row, std::ostream* os) {
    *os << row.line;
}

class FaultyCommands : public testing::TestWithParam<ErrorRow> {};

TEST_P(FaultyCommands, QueueTheirErrorAndChangeNothing) {
    Client client;
    const RemoteSettings before = client.target.settings;
    EXPECT_EQ(client.Run(GetParam().line), "");
    EXPECT_EQ(client.NextError(), GetParam().code);
    EXPECT_EQ(client.NextError(), 0);
    EXPECT_EQ(client.target.settings, before);
    EXPECT_EQ(client.target.applied, 0);
    EXPECT_FALSE(client.target.shutDown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FaultyCommands,
    testing::Values(
        ErrorRow{"FREQ 1000.0005", -222}, ErrorRow{"FREQ 0.5", -222}, ErrorRow{"FREQ 30 KHZ", -222},
        ErrorRow{"FREQ 1E30", -222}, ErrorRow{"FREQ -1000", -222}, ErrorRow{"FREQ 1 MHZ", -131},
        ErrorRow{"FREQ", -109}, ErrorRow{"FREQ 1,2", -108}, ErrorRow{"FREQ ON", -224},
        ErrorRow{"FREQ \"1\"", -104}, ErrorRow{"FREQ 1 k Hz", -102}, ErrorRow{"FREQ,1", -102},
        ErrorRow{"FREQ:1000", -102}, ErrorRow{"FREQ 10\x01", -101}, ErrorRow{"FREQU 1000", -113},
        ErrorRow{"SOUR3:FREQ 1000", -114}, ErrorRow{"SOUR1:PHAS 10", -114},
        ErrorRow{"OUTP 2", -224}, ErrorRow{"FUNC SAW", -224}, ErrorRow{"VOLT 0 V", -222},
        ErrorRow{"VOLT 1e999", -222}, ErrorRow{"VOLT 3 W", -131}, ErrorRow{"SWE:TIME 0", -222},
        ErrorRow{"SWE:STEP:DWEL 0.0005", -222}, ErrorRow{"SWE:STEP:COUN 0", -222},
        ErrorRow{"BURS:NCYC 2.5", -222}, ErrorRow{"BURS:OFFC 0.5", -222}, ErrorRow{"*SAV 10", -222},
        ErrorRow{"*RST?", -113}, ErrorRow{"SYST:SHUT", -203},
        // Past VOLT:UNIT the level is VOLT, so VOLT:VOLT is unknown.
        ErrorRow{"VOLT:UNIT VRMS;VOLT 1", -113}));

TEST(Session, RunsTheLineOnPastAFaultyCommand) {
    Client client;
    EXPECT_EQ(client.Run("BOGUS;FREQ 2000;FREQ?"), "2000\n");
    EXPECT_EQ(client.NextError(), -113);
    EXPECT_EQ(client.NextError(), 0);
}

TEST(Session, KeepsTheSettingsTheInstrumentRefuses) {
    Client client;
    client.target.applyAnswer = {-221, "not while \"sweeping\""};
    EXPECT_EQ(client.Run("FREQ 500;SYST:ERR?"),
              "-221,\"Settings conflict;not while 'sweeping'\"\n");
    EXPECT_EQ(client.target.settings, RemoteSettings{});
}

TEST(Session, QueuesThirtyTwoErrorsTheLastOfThemAnOverflow) {
    Client client;
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += "BOGUS;";
    client.Run(line);
    EXPECT_EQ(client.Run("*STB?;*ESR?;*ESR?"), "4;32;0\n");
    for (int i = 0; i < 31; ++i)
        ASSERT_EQ(client.NextError(), -113);
    EXPECT_EQ(client.NextError(), -350);
    EXPECT_EQ(client.NextError(), 0);
    client.session.LineTooLong();
    EXPECT_EQ(client.Run("*CLS;SYST:ERR?"), "0,\"No error\"\n");
}

TEST(Session, ReportsALineTooLong) {
    Client client;
    client.session.LineTooLong();
    EXPECT_EQ(client.Run("SYST:ERR?"), "-102,\"Syntax error;line too long\"\n");
}

TEST(Session, QueryAnswersReadBackAsTheSameSettings) {
    Client client;
    client.Run("FREQ 997.123;:SOUR2:FREQ 12.5;:FUNC TRI;:PHAS 22.5;:FREQ:STAR 33.3;STOP 4444;"
               ":SWE:TIME 2.75;SPAC LIN;:SWE:STEP:COUN 7;DWEL 0.125;STAR 50;STOP 500;UPD ON;"
               ":BURS:NCYC 4;OFFC 12;:OUTP2 OFF;:VOLT -3.25");
    ASSERT_EQ(client.NextError(), 0);
    const RemoteSettings set = client.target.settings;
    for (const std::string header :
         {"FREQ", "SOUR2:FREQ", "FUNC", "PHAS", "FREQ:STAR", "FREQ:STOP", "SWE:TIME", "SWE:SPAC",
          "SWE:STEP:COUN", "SWE:STEP:DWEL", "SWE:STEP:STAR", "SWE:STEP:STOP", "SWE:STEP:UPD",
          "BURS:NCYC", "BURS:OFFC", "OUTP2", "VOLT"}) {
        client.target.settings = set;
        std::string answer = client.Run(header + "?");
        answer.pop_back();
        client.target.settings = RemoteSettings{};
        client.Run(header + " " + answer);
        EXPECT_EQ(client.NextError(), 0) << header;
        EXPECT_NE(client.target.settings, RemoteSettings{}) << header;
        EXPECT_EQ(client.Run(header + "?"), answer + "\n") << header;
    }
}

TEST(Session, SavesRecallsAndResets) {
    Client client;
    client.Run("FREQ 440;*SAV 3;FREQ 880;*RCL 3;VOLT:UNIT VPP");
    EXPECT_EQ(client.target.settings.left.frequency, Hz(440));
    EXPECT_EQ(client.Run("*RCL 4;SYST:ERR?"), "-221,\"Settings conflict;no such preset\"\n");
    EXPECT_EQ(client.Run("*RST;VOLT:UNIT?;:OUTP?"), "DBFS;0\n");
}

TEST(Session, ReportsVoltsTheOutputCannotTell) {
    Client client;
    EXPECT_EQ(client.Run("VOLT:UNIT VRMS;:VOLT?"), "");
    EXPECT_EQ(client.NextError(), -221);
    client.target.calibrated = true;
    EXPECT_EQ(client.Run("VOLT?"), "1\n");
}

TEST(Session, ShutsDownOnlyForAnAllowedClient) {
    FakeTarget target;
    Session allowed(target, true);
    EXPECT_EQ(allowed.Execute("SYSTem:SHUTdown;ERRor?"), "0,\"No error\"\n");
    EXPECT_TRUE(target.shutDown);
}

TEST(Session, WaitsForTheOutputOnOperationComplete) {
    Client client;
    EXPECT_EQ(client.Run("FREQ 500;*WAI;*OPC?"), "1\n");
    EXPECT_EQ(client.target.waits, 2);
}

// While an operation is under way, *WAI and *OPC? hold the rest of their
// line and every later line; once it has ended they all run, in order, at
// the level of keywords they were written at.
TEST(Session, HoldsWhatFollowsAWaitUntilTheOperationEnds) {
    for (const char* wait : {"*WAI", "*OPC?"}) {
        Client client;
        client.target.pending = true;
        EXPECT_EQ(client.Run(std::string("SWE:STEP:COUN 3;") + wait + ";COUN?;:FREQ 700"), "");
        EXPECT_TRUE(client.session.Waiting());
        EXPECT_EQ(client.Run("FREQ?\r\n"), "");
        client.session.LineTooLong();
        EXPECT_EQ(client.Run("BOGUS;SYST:ERR?;:SYST:ERR?"), "");
        EXPECT_EQ(client.target.settings.left.frequency, Hz(1000)) << wait;
        EXPECT_EQ(client.session.Resume(), "") << "still under way";
        client.target.pending = false;
        const std::string first = std::string(wait) == "*WAI" ? "3\n" : "1;3\n";
        EXPECT_EQ(client.session.Resume(),
                  first + "700\n-102,\"Syntax error;line too long\";-113,\"Undefined header\"\n")
            << wait;
        EXPECT_FALSE(client.session.Waiting());
        EXPECT_EQ(client.Run("*OPC?"), "1\n");
    }
}

} // namespace
} // namespace remote
