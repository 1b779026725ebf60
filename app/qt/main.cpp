#include <QApplication>

#include "accessible_interfaces.h"
#include "artwork.h"
#include "qt_main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallAccessibleInterfaces();
    // Lets the desktop match the window with the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillbeam.Quillbeam"));
    QApplication::setWindowIcon(ApplicationIcon());
    Quillbeam window;
    window.show();
    return QApplication::exec();
}
