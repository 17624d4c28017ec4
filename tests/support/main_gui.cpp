#include <QGuiApplication>
#include <gtest/gtest.h>

#include "support/testdirs.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    test::prepareQtEnvironment();
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
