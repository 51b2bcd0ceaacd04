#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // Set before the QApplication: test discovery runs the binary without CTest's environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvex"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
