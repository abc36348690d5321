// main() for GoogleTest suites of non-UI Qt code: a QCoreApplication exists (the
// SQL plugin and the standard paths need one), with the program's organisation
// and application names so that settings go where the program puts them.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Trevix2006"));
    QCoreApplication::setApplicationName(QStringLiteral("Trevix2006"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
