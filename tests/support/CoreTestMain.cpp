#include <QCoreApplication>
#include <gtest/gtest.h>

// The tests of the operations run without any window library: one
// QCoreApplication, as a command without a display has.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Valdrix"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
