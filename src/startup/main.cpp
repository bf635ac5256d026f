#include <QApplication>

// Placeholder entry until the exam window lands.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
