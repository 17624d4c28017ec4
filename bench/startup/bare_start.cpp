// The yardstick of a render's start-up: a Qt program that starts its
// graphical application on the same off-screen platform and ends.

#include <QGuiApplication>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return 0;
}
