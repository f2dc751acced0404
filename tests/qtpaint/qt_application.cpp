// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts need a GUI application for the whole test run; the offscreen platform needs no display.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_qtpaint";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
