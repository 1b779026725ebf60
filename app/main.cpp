#include <QApplication>

#include "artwork.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
    Quillbeam window;
    window.show();
    return QApplication::exec();
}
