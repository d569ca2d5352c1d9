// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest with the application object the widgets need, speaking the
// locale's panel language as the program does.

#include "panel/PanelText.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UsePanelLanguage(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
