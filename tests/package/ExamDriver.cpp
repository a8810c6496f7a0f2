// Loaded into an installed tarnex with LD_PRELOAD by the package test, it plays the candidate:
// once the main window is up it starts the first paper with an ID-card number, answers the
// question shown first and ends the program. It goes only through the windows, as a person
// would, so the answer reaches the program folder by the program's own road. With
// TARNEX_EXAM_DRIVER=start it ends the program as soon as the main window is up.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdio>
#include <cstdlib>

namespace {

enum class Step
{
    MainWindow,
    IdPrompt,
    ExamScreen,
    Done
};

Step step = Step::MainWindow;
QElapsedTimer clock;

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "exam driver: %s\n", why.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(3);
}

QWidget* visibleTopLevel(const char* name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        fail(QStringLiteral("no control %1 in %2").arg(QLatin1String(name), parent->objectName()));
    return found;
}

void report(const char* text)
{
    std::fprintf(stdout, "exam driver: %s\n", text);
    std::fflush(stdout);
}

// The question shown first is answered with its first option, whatever its kind.
void answerFirstQuestion(QWidget* exam)
{
    auto* single = child<QRadioButton>(exam, "d_a");
    auto* trueFalse = child<QRadioButton>(exam, "shi_true");
    auto* multiple = child<QAbstractButton>(exam, "du_a");
    if (single->isVisible()) {
        single->click();
        report("answered a single-choice question with A");
    } else if (trueFalse->isVisible()) {
        trueFalse->click();
        report("answered a true/false question with 正确");
    } else if (multiple->isVisible()) {
        QTest::mouseClick(multiple, Qt::LeftButton, {}, QPoint(6, multiple->height() / 2));
        report("answered a multiple-choice question with A");
    } else {
        fail(QStringLiteral("the first question is not an objective one"));
    }
}

void poll()
{
    if (clock.elapsed() > 90000)
        fail(QStringLiteral("gave up waiting after 90 s"));
    // Any box the program shows on this road is a failure it reports; name it.
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        fail(QStringLiteral("the program shows a box: %1").arg(box->text()));

    switch (step) {
    case Step::MainWindow: {
        QWidget* main = visibleTopLevel("TForm_main");
        if (main == nullptr)
            return;
        if (qEnvironmentVariable("TARNEX_EXAM_DRIVER") == u"start") {
            report("the main window is up");
            step = Step::Done;
            QCoreApplication::exit(0);
            return;
        }
        auto* papers = child<QComboBox>(main, "RzComboBox2");
        if (papers->count() == 0)
            fail(QStringLiteral("the main window lists no paper"));
        papers->setCurrentIndex(0);
        step = Step::IdPrompt;
        // The prompt is modal: the click returns only when it is closed. It is made from the event
        // loop, not from this timer's handler, so that the timer goes on firing inside the
        // prompt's loop (a timer never fires inside its own handler).
        QTimer::singleShot(0, child<QPushButton>(main, "RzBmpButton3"), &QAbstractButton::click);
        return;
    }
    case Step::IdPrompt: {
        QWidget* prompt = QApplication::activeModalWidget();
        if (prompt == nullptr || prompt->objectName() != u"TForm5")
            return;
        child<QLineEdit>(prompt, "RzEdit1")->setText(QStringLiteral("370102199001011234"));
        step = Step::ExamScreen;
        QTimer::singleShot(0, child<QPushButton>(prompt, "RzBmpButton4"), &QAbstractButton::click);
        return;
    }
    case Step::ExamScreen: {
        QWidget* exam = visibleTopLevel("TForm6");
        if (exam == nullptr)
            return;
        answerFirstQuestion(exam);
        step = Step::Done;
        QCoreApplication::exit(0);
        return;
    }
    case Step::Done:
        return;
    }
}

void startDriving()
{
    // Called while the application object is being made: start once its event loop runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            clock.start();
            auto* timer = new QTimer(QCoreApplication::instance());
            QObject::connect(timer, &QTimer::timeout, &poll);
            timer->start(100);
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)
