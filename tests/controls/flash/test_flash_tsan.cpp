// SPDX-License-Identifier: GPL-3.0-or-later
// The flash timer: worker hand-overs, pausing, stopping, the registry's
// phases (driven tick by tick) and a short real run of the 16 ms beat.

#include "controls/AbFlashT.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Processes window-thread events until `done` holds. The limit only keeps a
// broken build from hanging; nothing here measures time.
template <class Pred> bool PumpUntil(Pred done) {
    constexpr int kGiveUpMs = 10000;
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > kGiveUpMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Recorder : TFlashTarget {
    std::vector<std::pair<std::uint32_t, bool>> got;
    std::function<void()> onFlash;
    void FlashNotification(const TFlashMessage& m) override {
        EXPECT_EQ(m.Msg, 1124u);
        got.emplace_back(m.WParam, m.LParam != 0);
        if (onFlash)
            onFlash();
    }
};

// The registry's own timer would also tick while events are processed; the
// registry tests drive DispatchFlash themselves.
void FreezeRegistryTimer() {
    if (RegistryFlashTimer())
        RegistryFlashTimer()->SetEnabled(false);
}

class FlashRegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (auto* r : {&a, &b, &c})
            RemoveFlashClient(r);
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i)
            DispatchFlash(nullptr);
    }
    Recorder a, b, c;
};

TEST_F(FlashRegistryTest, SameRateClientsRegisteredAtDifferentTimesSwitchTogether) {
    SetFlashCounter(0);
    AddFlashClient(&a, ff1Hz);
    FreezeRegistryTimer();
    Tick(10);
    AddFlashClient(&b, ff1Hz);
    Tick(60);
    // Bit 5: both first see phase 1 at counter 32 and phase 0 at 64.
    const std::vector<std::pair<std::uint32_t, bool>> want{{32, true}, {64, false}};
    EXPECT_EQ(a.got, want);
    EXPECT_EQ(b.got, want);
}

TEST_F(FlashRegistryTest, PhasesPerRateAndNewClientWaitsForItsBit) {
    struct Case {
        TFlashFreq freq;
        std::uint32_t firstOn;
    };
    for (Case k :
         {Case{ff8Hz, 4}, Case{ff4Hz, 8}, Case{ff2Hz, 16}, Case{ff1Hz, 32}, Case{ff05Hz, 64}}) {
        SCOPED_TRACE(int(k.freq));
        Recorder r;
        SetFlashCounter(0);
        AddFlashClient(&r, k.freq);
        FreezeRegistryTimer();
        Tick(int(k.firstOn) * 2);
        ASSERT_EQ(r.got.size(), 2u);
        EXPECT_EQ(r.got[0], std::make_pair(k.firstOn, true));
        EXPECT_EQ(r.got[1], std::make_pair(2 * k.firstOn, false));
        RemoveFlashClient(&r);
    }
}

TEST_F(FlashRegistryTest, FrequencyChangeMovesTheEntryAndRemoveOfStrangerChangesNothing) {
    AddFlashClient(&a, ff1Hz);
    AddFlashClient(&b, ff2Hz);
    AddFlashClient(&a, ff05Hz);
    FreezeRegistryTimer();
    ASSERT_EQ(FlashClients().size(), 2u);
    EXPECT_EQ(FlashClients()[0].Control, &a);
    EXPECT_EQ(FlashClients()[0].FlashBit, 6);
    RemoveFlashClient(&c);
    RemoveFlashClient(nullptr);
    AddFlashClient(nullptr, ff1Hz);
    EXPECT_EQ(FlashClients().size(), 2u);
    RemoveFlashClient(&a);
    ASSERT_EQ(FlashClients().size(), 1u);
    EXPECT_EQ(FlashClients()[0].Control, &b);
    // The timer stays when the list empties.
    RemoveFlashClient(&b);
    EXPECT_NE(RegistryFlashTimer(), nullptr);
}

TEST_F(FlashRegistryTest, CounterWrapsAndFailingOrLeavingClientsDoNotStopOthers) {
    SetFlashCounter(0xFFFFFFFFu);
    AddFlashClient(&a, ff8Hz);
    AddFlashClient(&b, ff8Hz);
    AddFlashClient(&c, ff8Hz);
    FreezeRegistryTimer();
    a.onFlash = [] { throw std::runtime_error("broken control"); };
    // b leaves while handling its notification; c must still get its own.
    b.onFlash = [this] { RemoveFlashClient(&b); };
    Tick(1);
    EXPECT_EQ(FlashCounter(), 0u);
    Tick(4);
    EXPECT_EQ(a.got.size(), 1u);
    EXPECT_EQ(b.got.size(), 1u);
    // c moved to index 1 when b left, past the loop's position: it hears
    // the next change instead. It is never lost for good.
    Tick(4);
    EXPECT_GE(c.got.size(), 1u);
    EXPECT_EQ(FlashClients().size(), 2u);
}

// A worker whose Run hands over calls; records what came back.
class HandOverThread : public TAbThread {
public:
    HandOverThread() : TAbThread(true) {}
    std::vector<std::function<void()>> calls;
    std::vector<std::string> errors;
    bool throwAtEnd = false;

protected:
    void Run() override {
        for (auto& call : calls) {
            try {
                RunOnWindowThread(call);
            } catch (const std::exception& e) {
                errors.push_back(e.what());
            }
        }
        SetReturnValue(42);
        if (throwAtEnd)
            throw std::runtime_error("ends Run");
    }
};

TEST(AbThreadTest, CallsRunOnTheWindowThreadAndExceptionsComeBack) {
    const auto windowThread = std::this_thread::get_id();
    std::vector<std::thread::id> ranOn;
    HandOverThread t;
    t.calls.push_back([&] { ranOn.push_back(std::this_thread::get_id()); });
    t.calls.push_back([] { throw std::runtime_error("from the window thread"); });
    t.calls.push_back([&] { ranOn.push_back(std::this_thread::get_id()); });
    EXPECT_FALSE(t.Started());
    t.ResumeWorker();
    // Waiting on the window thread still runs the worker's hand-overs.
    EXPECT_EQ(t.WaitForEnd(), 42);
    EXPECT_EQ(ranOn, (std::vector<std::thread::id>{windowThread, windowThread}));
    EXPECT_EQ(t.errors, std::vector<std::string>{"from the window thread"});
    EXPECT_TRUE(t.Finished());
}

TEST(AbThreadTest, RunEndingByExceptionStillFinishesAndReportsOnTheWindowThread) {
    HandOverThread t;
    t.throwAtEnd = true;
    std::thread::id finishedOn;
    t.SetOnFinished([&](TAbThread*) { finishedOn = std::this_thread::get_id(); });
    t.ResumeWorker();
    EXPECT_EQ(t.WaitForEnd(), 42);
    EXPECT_EQ(finishedOn, std::this_thread::get_id());
}

TEST(AbThreadTest, SuspensionsCountUpAndPausedWorkerEndsWhenDestroyed) {
    auto* t = new TTimerThread(nullptr, 1000, true);
    t->PauseWorker();
    t->ResumeWorker();
    EXPECT_TRUE(t->Paused());
    EXPECT_FALSE(t->Started());
    t->ResumeWorker();
    EXPECT_FALSE(t->Paused());
    EXPECT_TRUE(t->Started());
    t->PauseWorker();
    // Destroying a paused worker releases it and waits for its end instead
    // of leaving a suspended thread behind.
    delete t;
    SUCCEED();
}

TEST(AbThreadTest, ReleasedWorkerFreesItselfOrIsFreedAtOnce) {
    const int before = RunningWorkerCount();
    (new TTimerThread(nullptr, 1000, true))->ReleaseWhenDone(); // never started
    auto* running = new TTimerThread(nullptr, 1000, true);
    running->ResumeWorker();
    running->ReleaseWhenDone();
    EXPECT_TRUE(PumpUntil([&] { return RunningWorkerCount() == before; }));
}

TEST(AbFlashTest, TicksArriveOnTheWindowThreadAndStopWithTheComponent) {
    const auto windowThread = std::this_thread::get_id();
    const int before = RunningWorkerCount();
    int ticks = 0;
    bool offThread = false;
    auto* flash = new TAbFlash(nullptr);
    EXPECT_TRUE(flash->Worker()->Paused());
    flash->SetOnTick([&](TPersistent* sender) {
        ++ticks;
        offThread |= std::this_thread::get_id() != windowThread || sender == nullptr;
    });
    EXPECT_FALSE(flash->Worker()->Paused());
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    EXPECT_FALSE(offThread);

    flash->SetEnabled(false);
    EXPECT_TRUE(flash->Worker()->Paused());
    flash->SetEnabled(true);
    EXPECT_FALSE(flash->Worker()->Paused());

    delete flash;
    const int atDelete = ticks;
    EXPECT_TRUE(PumpUntil([&] { return RunningWorkerCount() == before; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, atDelete);
}

TEST(AbFlashTest, ReplacingTheHandlerKeepsTheWorkerAndRemovingItPauses) {
    TAbFlash flash(nullptr);
    flash.SetOnTick([](TPersistent*) {});
    flash.Worker()->PauseWorker(); // marks the worker so a re-update would show
    flash.Worker()->ResumeWorker();
    flash.SetOnTick([](TPersistent*) {});
    EXPECT_FALSE(flash.Worker()->Paused());
    flash.SetOnTick(nullptr);
    EXPECT_TRUE(flash.Worker()->Paused());
    flash.SetThreadPriority(tpIdle);
    EXPECT_EQ(flash.ThreadPriority(), tpIdle);
}

TEST(AbFlashTimerTest, SecondInstanceSaysSoAndStaysIdle) {
    std::vector<std::pair<std::string, std::string>> shown;
    auto old = SetFlashTimerMessageHook([&](const std::string& text, const std::string& caption) {
        shown.emplace_back(text, caption);
    });
    Recorder r;
    AddFlashClient(&r, ff8Hz); // makes sure the registry's timer exists
    ASSERT_NE(RegistryFlashTimer(), nullptr);
    const auto count = TAbFlashTimer::InstanceCount();
    {
        TAbFlashTimer second(nullptr);
        EXPECT_EQ(TAbFlashTimer::InstanceCount(), count + 1);
        EXPECT_FALSE(second.OnTick());
        EXPECT_TRUE(second.Worker()->Paused());
    }
    EXPECT_EQ(TAbFlashTimer::InstanceCount(), count);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, "Only one TAbFlashTimer per Application!\rRemove it...");
    EXPECT_EQ(shown[0].second, "Error Message");
    RemoveFlashClient(&r);
    SetFlashTimerMessageHook(old);
}

TEST(AbFlashTimerTest, RegistryTimerDrivesClientsInARealRun) {
    Recorder r;
    AddFlashClient(&r, ff8Hz);
    RegistryFlashTimer()->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return r.got.size() >= 2; }));
    RemoveFlashClient(&r);
    FreezeRegistryTimer();
}

// Runs last: the program's end releases the flash timer and ends every
// worker while a hand-over may be waiting.
TEST(ZProgramEnd, ShutdownStopsEveryWorker) {
    Recorder r;
    AddFlashClient(&r, ff8Hz);
    RegistryFlashTimer()->SetEnabled(true);
    auto* flash = new TAbFlash(nullptr);
    flash->SetOnTick([](TPersistent*) {});
    ShutdownWorkerThreads();
    EXPECT_EQ(RunningWorkerCount(), 0);
    EXPECT_EQ(RegistryFlashTimer(), nullptr);
    EXPECT_TRUE(ApplicationTerminating());
    delete flash;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
