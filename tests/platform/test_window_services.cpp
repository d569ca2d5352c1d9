// SPDX-License-Identifier: GPL-3.0-or-later
// Window services: cursors by number, the modal message box and the design
// message hook, thread priorities, control messages, window regions and the
// background a non-windowed control gets from its parent.

#include "QtTestApp.h"

#include "PixelArt.h"
#include "platform/Bitmap.h"
#include "platform/ControlMessage.h"
#include "platform/Cursors.h"
#include "platform/MessageBox.h"
#include "platform/ParentBackground.h"
#include "platform/Region.h"
#include "platform/ThreadPriority.h"
#include "platform/WindowThread.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
// A widget that paints itself in one colour.
class ColourWidget : public QWidget {
public:
    ColourWidget(QWidget* parent, const QRect& geometry, QColor colour)
        : QWidget(parent), colour_(colour) {
        setGeometry(geometry);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

private:
    QColor colour_;
};

struct SeenBox {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int shown = 0;
};

// Closes the next message box with its OK button and records what it said.
void CloseNextMessageBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible())
                continue;
            seen.text = box->text();
            seen.title = box->windowTitle();
            seen.icon = box->icon();
            ++seen.shown;
            ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
            box->button(QMessageBox::Ok)->click();
            return;
        }
        CloseNextMessageBox(seen); // not shown yet
    });
}
} // namespace

TEST(Cursors, HandCursorIsRegisteredUnderFive) {
    ASSERT_TRUE(IsCursorRegistered(crHand));
    const QCursor hand = CursorOf(crHand);
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    const QImage picture = hand.pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(8, 1));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);             // transparent around the hand
    EXPECT_EQ(qAlpha(picture.pixel(8, 1)), 255);           // the fingertip
    EXPECT_EQ(picture.pixel(9, 15) & 0xFFFFFF, 0xFFFFFFu); // a white palm
}

TEST(Cursors, RegisterLookUpAndApply) {
    EXPECT_EQ(CursorOf(1234).shape(), Qt::ArrowCursor);
    RegisterCursor(7, QCursor(Qt::CrossCursor));
    EXPECT_EQ(CursorOf(7).shape(), Qt::CrossCursor);

    QWidget window;
    QWidget& w = *new QWidget(&window);
    ApplyCursor(w, crHand);
    EXPECT_TRUE(w.testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    ApplyCursor(w, 7);
    EXPECT_EQ(w.cursor().shape(), Qt::CrossCursor);
    ApplyCursor(w, crDefault);
    EXPECT_FALSE(w.testAttribute(Qt::WA_SetCursor));
}

TEST(MessageBox, ShowsTextCaptionIconAndOk) {
    SeenBox seen;
    CloseNextMessageBox(seen);
    ShowMessageBox("Only one per program!\rRemove it...", "Error Message", MessageIcon::Error);
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.text, "Only one per program!\nRemove it...");
    EXPECT_EQ(seen.title, "Error Message");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(MessageBox, DesignMessagesGoToTheBox) {
    InstallDesignMessageBox();
    SeenBox seen;
    CloseNextMessageBox(seen);
    ShowDesignMessage("Частота вне диапазона", "Внимание", MessageIcon::Warning);
    SetDesignMessageHook({});
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.text, QString::fromUtf8("Частота вне диапазона"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(MessageBox, WorkerThreadsShowItOnTheWindowThread) {
    SeenBox seen;
    CloseNextMessageBox(seen);
    std::unique_ptr<QThread> worker(QThread::create(
        [] { ShowMessageBox("from a worker\r\nsecond line", "Note", MessageIcon::Information); }));
    worker->start();
    WaitForThreadEnd(*worker);
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.text, "from a worker\nsecond line");
}

struct PriorityCase {
    TThreadPriority priority;
    int level;
    QThread::Priority qt;
};

class Priority : public testing::TestWithParam<PriorityCase> {};

TEST_P(Priority, LevelsAndQtPriorities) {
    EXPECT_EQ(ThreadPriorityLevel(GetParam().priority), GetParam().level);
    EXPECT_EQ(ToQtPriority(GetParam().priority), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(Seven, Priority,
                         testing::Values(PriorityCase{tpIdle, -15, QThread::IdlePriority},
                                         PriorityCase{tpLowest, -2, QThread::LowestPriority},
                                         PriorityCase{tpLower, -1, QThread::LowPriority},
                                         PriorityCase{tpNormal, 0, QThread::NormalPriority},
                                         PriorityCase{tpHigher, 1, QThread::HighPriority},
                                         PriorityCase{tpHighest, 2, QThread::HighestPriority},
                                         PriorityCase{tpTimeCritical, 15,
                                                      QThread::TimeCriticalPriority}));

TEST(Priority, AppliesToARunningThread) {
    QThread thread; // runs an event loop until told to quit
    thread.start();
    SetThreadPriority(thread, tpLower);
    EXPECT_EQ(thread.priority(), QThread::LowPriority);
    thread.quit();
    WaitForThreadEnd(thread);
}

namespace {
class MessageTarget : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != TControlMessageEvent::EventType())
            return QObject::event(e);
        auto* m = static_cast<TControlMessageEvent*>(e);
        seen = {m->Msg(), m->WParam(), m->LParam()};
        m->SetResult(42);
        return true;
    }
    std::tuple<unsigned, std::intptr_t, std::intptr_t> seen{};
};
} // namespace

TEST(ControlMessage, DeliveredSynchronouslyWithItsResult) {
    MessageTarget target;
    EXPECT_EQ(SendControlMessage(target, WM_USER + 100, 7, 1), 42);
    EXPECT_EQ(target.seen, std::make_tuple(WM_USER + 100, std::intptr_t(7), std::intptr_t(1)));
    QObject deaf;
    EXPECT_EQ(SendControlMessage(deaf, WM_USER, 0, 0), 0);
}

TEST(WindowRegion, CutsTheWindowToTheEllipse) {
    QWidget w;
    w.resize(20, 20);
    const TRegion round = TRegion::Elliptic({0, 0, 20, 20});
    SetWindowRegion(w, round);
    EXPECT_EQ(w.mask(), round.ToQRegion());
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(w.mask().contains(QPoint(10, 10)));
    SetWindowRegion(w, TRegion());
    EXPECT_TRUE(w.mask().isEmpty());
}

TEST(ParentBackground, ShowsTheParentAndTheSiblingsBeneathOnly) {
    QWidget parent;
    parent.resize(40, 30);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::red);
    parent.setPalette(palette);
    new ColourWidget(&parent, QRect(10, 5, 20, 20), Qt::blue);               // beneath
    auto* hidden = new ColourWidget(&parent, QRect(0, 0, 40, 30), Qt::cyan); // beneath, hidden
    hidden->hide();
    QWidget control(&parent);
    control.setGeometry(15, 10, 20, 15);
    new ColourWidget(&parent, QRect(0, 0, 40, 12), Qt::green); // above: not part of it

    TBitmap background;
    CaptureParentBackground(control, background);
    ASSERT_EQ(background.Width(), 20);
    ASSERT_EQ(background.Height(), 15);
    EXPECT_EQ(PixelAt(background, 0, 0), clBlue);   // parent (15, 10)
    EXPECT_EQ(PixelAt(background, 14, 14), clBlue); // parent (29, 24)
    EXPECT_EQ(PixelAt(background, 15, 0), clRed);   // parent (30, 10)
    EXPECT_EQ(PixelAt(background, 19, 14), clRed);  // parent (34, 24)
}

namespace {
// A non-windowed control as the panel's buttons are: it paints the captured
// background of its parent and a mark of its own.
class SeeThroughControl : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        TBitmap background;
        CaptureParentBackground(*this, background);
        QPainter painter(this);
        painter.drawImage(0, 0, background.Image());
        painter.fillRect(QRect(0, 0, 1, 1), Qt::black);
    }
};

std::vector<QString> g_warnings;
void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.push_back(text);
}
} // namespace

TEST(ParentBackground, CapturedWhilePaintingInAShownWindow) {
    QWidget parent;
    parent.resize(40, 30);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::red);
    parent.setPalette(palette);
    new ColourWidget(&parent, QRect(0, 0, 20, 30), Qt::blue);
    auto* control = new SeeThroughControl(&parent);
    control->setGeometry(10, 10, 20, 10);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
    const TBitmap shot(parent.grab().toImage());
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_warnings.empty()) << g_warnings.front().toStdString();
    EXPECT_GT(control->paints, 0);
    EXPECT_EQ(PixelAt(shot, 10, 10), clBlack); // the control's mark
    EXPECT_EQ(PixelAt(shot, 15, 15), clBlue);  // the sibling beneath, through it
    EXPECT_EQ(PixelAt(shot, 25, 15), clRed);   // the parent, through it
}

TEST(ParentBackground, AControlWithoutParentGetsItsOwnBackgroundColour) {
    QWidget lone;
    lone.resize(3, 2);
    QPalette palette = lone.palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    lone.setPalette(palette);
    TBitmap background;
    CaptureParentBackground(lone, background);
    EXPECT_EQ(PixelAt(background, 2, 1), RGBColor(1, 2, 3));
}
