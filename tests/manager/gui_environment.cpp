// The manager tests drive real windows: one application object on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class WidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr)
            app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "test_manager";
    char *argv_[2] = {name_, nullptr};
    QApplication *app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

} // namespace
