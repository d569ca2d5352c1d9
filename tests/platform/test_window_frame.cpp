// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame and the pointer services, driven through a real
// window with QTest's input events.

#include "QtTestApp.h"

#include "platform/MainWindow.h"
#include "platform/Pointer.h"

#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Records which widget got a press.
class PressLog : public QWidget {
public:
    PressLog(QWidget* parent, std::string name, std::vector<std::string>& log)
        : QWidget(parent), name_(std::move(name)), log_(log) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        log_.push_back(name_);
        e->accept();
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};
} // namespace

TEST(MainWindow, FixedSingleFrameWithMinimiseOnlyCentred) {
    QWidget window;
    MakeFixedMainWindow(window, 633, 403);
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(window.minimumSize(), QSize(633, 403));
    EXPECT_EQ(window.maximumSize(), QSize(633, 403));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CentreOnDesktop(window);
    const QRect desktop = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - desktop.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - desktop.center().y()), 1);
}

TEST(Pointer, DisabledControlPassesPressesToTheControlBeneath) {
    std::vector<std::string> log;
    PressLog top(nullptr, "parent", log);
    top.resize(100, 100);
    auto* beneath = new PressLog(&top, "beneath", log);
    auto* upper = new PressLog(&top, "upper", log);
    beneath->setGeometry(0, 0, 50, 50);
    upper->setGeometry(0, 0, 50, 50);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));

    QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    SetEnabledPassingPointer(*upper, false);
    QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    SetEnabledPassingPointer(*upper, true);
    QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(log, (std::vector<std::string>{"upper", "beneath", "upper"}));
    EXPECT_TRUE(upper->isEnabled());
}

TEST(Pointer, CaptureIsHeldWhileAButtonIsDown) {
    QWidget window;
    window.resize(50, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(AnyWindowHoldsMouseCapture());
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(AnyWindowHoldsMouseCapture());
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(AnyWindowHoldsMouseCapture());
}
