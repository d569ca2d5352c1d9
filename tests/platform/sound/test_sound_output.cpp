// SPDX-License-Identifier: GPL-3.0-or-later
// The output without a sound server: silence, a notice and unhurried retries.

#include "engine/WaveHeader.h"
#include "tests/support/WaveImages.h"
#include "platform/sound/PulseSoundOutput.h"
#include "platform/sound/SystemSoundOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Sets PULSE_SERVER for the life of the object.
class PulseServerSetting {
public:
    explicit PulseServerSetting(const char* value) {
        if (const char* old = std::getenv("PULSE_SERVER"))
            saved_ = old;
        setenv("PULSE_SERVER", value, 1);
    }
    ~PulseServerSetting() {
        if (saved_)
            setenv("PULSE_SERVER", saved_->c_str(), 1);
        else
            unsetenv("PULSE_SERVER");
    }

private:
    std::optional<std::string> saved_;
};

TEST(SoundOutputFactoryTest, NoServerMeansSilenceANoticeAndUnhurriedRetries) {
    PulseServerSetting nowhere("unix:/nonexistent/orbel-test/native");
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    const std::unique_ptr<SoundOutput> out = CreateSoundOutput();
    auto* pulse = dynamic_cast<PulseSoundOutput*>(out.get());
    ASSERT_NE(pulse, nullptr);
    std::mutex mutex;
    std::vector<std::pair<bool, SoundLossChange::Server>> seen;
    std::string reason;
    out->WatchSoundLost([&](SoundLossChange change) {
        std::lock_guard lock(mutex);
        seen.emplace_back(change.lost, change.server);
        if (change.server == SoundLossChange::Server::Gone)
            reason = change.reason;
    });
    const auto img = MakeImage(WaveFormat{}, Samples16({1, 2}));
    out->Play(img, SND_MEMORY); // synchronous: returns, there is nothing to wait for
    out->Play(img, SND_MEMORY | SND_ASYNC | SND_LOOP);
    for (int i = 0; i < 200 && !out->SoundLost(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(out->SoundLost());
    out->Stop();
    EXPECT_FALSE(out->SoundLost());
    out->SetLevel(0, 0x7FFF0000);
    ASSERT_TRUE(out->ReadLevel(0).has_value());
    EXPECT_EQ(out->ReadLevel(0)->level, 0x7FFF0000u);
    // It keeps trying, but waits between attempts (0.5 s, then longer).
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_GE(pulse->ConnectionAttempts(), 2u);
    EXPECT_LE(pulse->ConnectionAttempts(), 4u);
    out->WatchSoundLost(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::lock_guard lock(mutex);
    // Lost and cleared for each play (the synchronous one ends at once), but
    // the server is gone once and never said to be back.
    using Server = SoundLossChange::Server;
    EXPECT_EQ(seen, (std::vector<std::pair<bool, Server>>{{true, Server::Gone},
                                                          {false, Server::Same},
                                                          {true, Server::Same},
                                                          {false, Server::Same}}));
    // The loss names libpulse's reason, and the output keeps it.
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(out->FailureReason(), reason);
}

} // namespace
