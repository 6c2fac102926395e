// The widget tests run with a QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "manager/zone_choices.h"

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The places' zone choices of the tests stay out of the user's own file.
    const std::filesystem::path choices = std::filesystem::temp_directory_path() /
                                          ("celestigrafo_zonas_" + std::to_string(::getpid()) + ".txt");
    cel::manager::SetZoneChoicesFile(choices);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove(choices);
    return result;
}
