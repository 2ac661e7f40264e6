// The least Qt Widgets program: an empty window of the editor's size. Its
// start-up is the floor against which the editor's own start-up is measured.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.setFixedSize(790, 482);
    window.show();
    return app.exec();
}
