// The manager tests drive real windows: one application object on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "manager/zone_choices.h"

namespace {

class WidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr)
            app_ = new QApplication(argc_, argv_);
        // The places' zone choices of the tests stay out of the user's own file.
        cel::manager::SetZoneChoicesFile(choices_);
    }
    void TearDown() override {
        std::filesystem::remove(choices_);
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "test_manager";
    char *argv_[2] = {name_, nullptr};
    QApplication *app_ = nullptr;
    std::filesystem::path choices_ =
        std::filesystem::temp_directory_path() / ("celmgr_zonas_" + std::to_string(::getpid()) + ".txt");
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

} // namespace
