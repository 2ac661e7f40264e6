// drag_source FILE: a stand-in for a file manager, a window that drags FILE when pressed;
// ends with status 0 when the drop was taken, 1 when it was refused.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QPushButton source(QStringLiteral("Drag source"));
    source.setWindowTitle(source.text());
    source.setGeometry(0, 0, 100, 100);
    QObject::connect(&source, &QPushButton::pressed, [&source, argv] {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))});
        auto* drag = new QDrag(&source);
        drag->setMimeData(data);
        const bool taken = drag->exec(Qt::CopyAction) != Qt::IgnoreAction;
        // The target asks this process for the file's name after the drop: stay for that.
        QTimer::singleShot(2000, [taken] { QApplication::exit(taken ? 0 : 1); });
    });
    source.show();
    return app.exec();
}
