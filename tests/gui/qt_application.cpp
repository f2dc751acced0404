// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets need an application for the whole test run; the offscreen platform needs no display.
// Settings go to a temporary config folder, never the user's.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "support/temp_dir.h"

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        configHome_ = std::make_unique<songloader::test::TempDir>();
        setenv("XDG_CONFIG_HOME", configHome_->path().c_str(), 1);
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        application_.reset();
        configHome_.reset();
    }

private:
    int argc_ = 1;
    char name_[16] = "test_gui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<songloader::test::TempDir> configHome_;
    std::unique_ptr<QApplication> application_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
