// Program entry: a placeholder main window until the application shell arrives.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Quendrel");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
