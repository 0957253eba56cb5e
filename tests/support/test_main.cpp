// Test entry point. Tests of the layers without windows run under a
// QCoreApplication, so that a window piece used by mistake fails at once;
// tests with windows get one QApplication on Qt's offscreen platform.
#ifdef QF_TEST_WITH_WINDOWS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
#ifdef QF_TEST_WITH_WINDOWS
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
