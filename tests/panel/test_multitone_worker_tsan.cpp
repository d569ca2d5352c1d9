// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's multitones made on threads of their own: a newer request
// gives the older one up and only the newest plays, and the window's end
// gives up and waits for a long one still being made.
#include "engine/ToneGen.h"
#include "instrument/Instrument.h"
#include "panel/MultitoneWorker.h"
#include "tests/support/RecordingSoundOutput.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace instrument;

namespace {

MultitoneChoice Multitone(int fftLength, int tones) {
    MultitoneChoice m;
    m.f1 = 200;
    m.fftLength = fftLength;
    m.tones = tones;
    return m;
}

struct WorkerBench {
    WorkerBench() {
        gen.SetPrecise(true);
        instrument->SetMultitoneExecutor([this](MultitoneJob job) { worker->Run(std::move(job)); });
    }
    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    std::shared_ptr<RecordingSoundOutput> sound = std::make_shared<RecordingSoundOutput>();
    TToneGen gen{nullptr, sound};
    std::unique_ptr<MultitoneWorker> worker = std::make_unique<MultitoneWorker>();
    std::unique_ptr<Instrument> instrument = std::make_unique<Instrument>(gen);
};

TEST(MultitoneWorker, OnlyTheNewestPlaysAndTheEndGivesUpALongOne) {
    WorkerBench bench;
    Instrument& in = *bench.instrument;
    in.Start();
    int told = 0;
    ASSERT_TRUE(in.SelectMultitone(Multitone(1 << 18, 3), [&](const MultitonePlan&) { ++told; }));
    ASSERT_TRUE(in.SelectMultitone(Multitone(8192, 2), [&](const MultitonePlan& plan) {
        EXPECT_TRUE(plan.Playable());
        told += 10;
    }));
    // A guard against a hang only: the small one takes a moment.
    const auto giveUpAt = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while ((in.State().makingMultitone || bench.worker->Running() > 0) &&
           std::chrono::steady_clock::now() < giveUpAt) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(told, 10);
    EXPECT_EQ(in.State().multitone.tones, 2);
    EXPECT_EQ(in.State().multitone.fftLength, 8192);
    EXPECT_NE(bench.sound->Streaming(), nullptr);

    // The window closes while a long one is being made.
    ASSERT_TRUE(in.SelectMultitone(Multitone(1 << 20, 3)));
    EXPECT_EQ(bench.worker->Running(), 1u);
    bench.instrument.reset();
    bench.worker.reset();
    QCoreApplication::processEvents(); // a plan handed back finds no instrument
}

} // namespace
