// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One QApplication for a whole test program (the tests set the offscreen
// platform themselves), created before the first test and destroyed after
// the last.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

class QtAppEnvironment : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline testing::Environment* const kQtAppEnvironment =
    testing::AddGlobalTestEnvironment(new QtAppEnvironment);
