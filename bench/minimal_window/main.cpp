// The baseline for start-up time and memory: the smallest Qt Widgets window of the same size.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal 1.0"));
    window.setFixedSize(378, 550);
    window.show();
    return QApplication::exec();
}
