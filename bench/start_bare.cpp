// The floor of the start-up comparison: a bare Qt window with one label, from process start to
// its first frame.
#include "FirstPaint.h"

#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("会计从业资格考试"), &window));
    window.resize(1003, 667);
    window.setWindowState(Qt::WindowMaximized);
    QuitAfterFirstPaint quit(&window);
    window.show();
    return app.exec();
}
