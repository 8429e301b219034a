#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole run; they draw nowhere.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", APP_TESTS_PLATFORM);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
