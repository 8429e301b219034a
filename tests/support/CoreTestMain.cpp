#include <QCoreApplication>
#include <gtest/gtest.h>

// Logic that starts Qt timers needs an application object: without one no timer starts, and
// a single-shot timer is never freed.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
