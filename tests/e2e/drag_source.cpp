// A stand-in for a file manager in the end-to-end tests: a small window that
// starts a drag of one file (its argument, as a file URL) when pressed, the
// way a file manager drags a file. Ends with status 0 when the drop was
// taken, 1 when it was refused.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class TDragSource : public QWidget {
public:
    explicit TDragSource(QString path)
        : Path(std::move(path)) {
        setWindowTitle(QStringLiteral("Drag source"));
        setFixedSize(100, 100);
        move(0, 0);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(Path)});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        // The target fetches the file's name from this process after the
        // drop: it stays for that, as a file manager does.
        hide();
        QTimer::singleShot(2000, [done] { QApplication::exit(done == Qt::IgnoreAction ? 1 : 0); });
    }

private:
    QString Path;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    TDragSource source(QString::fromLocal8Bit(argv[1]));
    source.show();
    return app.exec();
}
