// The start-up baseline: a bare maximised main window that ends after its first paint.
#include <QApplication>
#include <QMainWindow>

struct BareWindow : QMainWindow {
    void paintEvent(QPaintEvent* e) override {
        QMainWindow::paintEvent(e);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow w;
    w.showMaximized();
    return QApplication::exec();
}
