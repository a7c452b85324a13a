#include <QApplication>

#include <gtest/gtest.h>

// Window tests need an application object; it lives for the whole test run.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
