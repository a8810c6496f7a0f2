// The exam screen as a candidate meets it, for a test that drives it from another process through
// the accessibility bus (exam_screen_atspi.py). Builds a bank with one question of each kind in
// the folder given as the first argument, opens the exam on it and runs until it is closed.
#include "BankFixture.h"

#include "Unit6.h"
#include "Unit_main.h"
#include "app/Application.h"
#include "app/Startup.h"
#include "app/WebPanelStart.h"
#include "data/Database.h"
#include "platform/AppPaths.h"
#include "platform/DesktopShortcut.h"
#include "platform/Dialogs.h"
#include "richtext/RtfWriter.h"
#include "ui_Unit_main.h"

#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>

namespace {

QByteArray rtf(const QString& plain)
{
    QTextDocument document;
    document.setPlainText(plain);
    return tarnex::writeRtf(document);
}

void writeBank(const QString& folder)
{
    using namespace tarnex;
    QMap<QString, QString> memo{{QStringLiteral("memo1"), QStringLiteral("试题一")},
                                {QStringLiteral("edit3"), QStringLiteral("模拟考试")}};
    test::writeQuestionBank(folder, memo);
    test::writePaperLists(folder, QStringLiteral("试题一"), QString());
    auto bank = Database::open(folder + QStringLiteral("/kstk.dat"), Database::BankPassword);
    const QString subject = QStringLiteral("会计基础");
    const QString paper = QStringLiteral("试题一");
    auto add = [&](const QString& table, const QString& number, const QString& stem, const QString& extra,
                   const QString& value) {
        const QString columns = extra.isEmpty() ? QString() : u',' + extra;
        const QString marks = extra.isEmpty() ? QString() : QStringLiteral(",?");
        QVariantList params{subject, paper, number, rtf(stem)};
        if (!extra.isEmpty())
            params.append(value);
        bank->execute(QStringLiteral("insert into %1 (kemu,tao,tihao,tou%2) values (?,?,?,?%3)")
                          .arg(table, columns, marks),
                      params);
    };
    add(QStringLiteral("dds"), QStringLiteral("1"), QStringLiteral("单选题一"), QStringLiteral("da"),
        QStringLiteral("c"));
    add(QStringLiteral("duo"), QStringLiteral("2"), QStringLiteral("多选题二"), QStringLiteral("da"),
        QStringLiteral("ad"));
    add(QStringLiteral("sf"), QStringLiteral("3"), QStringLiteral("是非题三"), QStringLiteral("da"),
        QStringLiteral("b"));
    add(QStringLiteral("jsfx"), QStringLiteral("4"), QStringLiteral("计算题四"), QStringLiteral("leixing"),
        QStringLiteral("选择型"));
    add(QStringLiteral("anli"), QStringLiteral("5"), QStringLiteral("案例题五"), QString(), QString());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    tarnex::test::FakeProbe offline;
    const tarnex::WebPanelStart web = tarnex::prepareWebPanel(offline);
    tarnex::Application app(argc, argv);
    QApplication::setApplicationName(tarnex::applicationTitle());
    tarnex::applyWebPanelStart(web);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    writeBank(folder);
    tarnex::AppPaths::setProgramDirForTesting(folder);
    QTemporaryDir desktop;
    tarnex::setDesktopFolderForTesting(desktop.path());

    TForm_main* mainWindow = tarnex::createProgramWindows();
    mainWindow->show();
    mainWindow->showExamScreen(QStringLiteral("370102199001011234"));
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
