#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvex"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.show();
    return QApplication::exec();
}
