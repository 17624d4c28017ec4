#include "support/testdirs.h"

#include <gtest/gtest.h>

#ifdef NUVELA_TEST_WIDGETS
#include <QApplication>
using Application = QApplication;
#else
#include <QGuiApplication>
using Application = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    test::prepareQtEnvironment();
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
