#include "ExamScreenFixture.h"

#include "richtext/RtfWriter.h"

#include <QTextDocument>

namespace tarnex::test {

namespace {

bool isRichTextColumn(const QString& column)
{
    return column == u"tou" || column == u"wei" || column == u"ping";
}

} // namespace

QString richText(const QString& plain)
{
    QTextDocument document;
    document.setPlainText(plain);
    return QString::fromLatin1(writeRtf(document));
}

void ExamScreenTest::SetUp()
{
    FormsTest::SetUp();
    Clock::setNowForTesting(QDateTime(QDate(2013, 5, 6), QTime(8, 7, 9)));
    TForm6::setQuitHandler([this] { ++quitCalls; });
}

void ExamScreenTest::TearDown()
{
    exam = nullptr;
    m_setup.reset();
    FormsTest::TearDown();
    EXPECT_EQ(Form6, nullptr);
    TForm6::setQuitHandler({});
    Clock::setNowForTesting({});
}

void ExamScreenTest::writeBank(const QString& papers)
{
    QMap<QString, QString> memo = standardMemo();
    memo.insert(QStringLiteral("memo1"), papers);
    memo.insert(QStringLiteral("edit4"), QStringLiteral("第一行"));
    memo.insert(QStringLiteral("edit5"), QStringLiteral("第二行"));
    memo.insert(QStringLiteral("edit6"), QStringLiteral("第三行"));
    memo.insert(QStringLiteral("edit7"), QStringLiteral("第四行"));
    memo.insert(QStringLiteral("edit8"), QStringLiteral(" 底部一行 "));
    writeFiles(memo);
    m_setup = Database::open(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword);
}

void ExamScreenTest::addQuestion(const QString& table, const QString& number,
                                 const QMap<QString, QString>& values, const QString& paper,
                                 const QString& subject)
{
    QStringList columns = {QStringLiteral("kemu"), QStringLiteral("tao"), QStringLiteral("tihao")};
    QVariantList params = {subject, paper, number};
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        columns.append(it.key());
        params.append(isRichTextColumn(it.key()) ? richText(it.value()) : it.value());
    }
    const QString marks = QStringList(QList<QString>(columns.size(), QStringLiteral("?"))).join(u',');
    execute(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns.join(u','), marks), params);
}

void ExamScreenTest::addTypicalPaper()
{
    addQuestion(u"dds"_qs, u"2"_qs,
                {{u"tou"_qs, u"单选题二"_qs}, {u"wei"_qs, u"选项二"_qs}, {u"da"_qs, u"c"_qs}});
    addQuestion(u"dds"_qs, u"1"_qs,
                {{u"tou"_qs, u"单选题一"_qs}, {u"wei"_qs, u"选项一"_qs}, {u"da"_qs, u"b"_qs}});
    addQuestion(u"duo"_qs, u"11"_qs, {{u"tou"_qs, u"多选题十一"_qs}, {u"da"_qs, u"bd"_qs}});
    addQuestion(u"duo"_qs, u"10"_qs, {{u"tou"_qs, u"多选题十"_qs}, {u"da"_qs, u" ac "_qs}});
    addQuestion(u"sf"_qs, u"12"_qs, {{u"tou"_qs, u"判断题十二"_qs}, {u"da"_qs, u"a"_qs}});
    addQuestion(u"jsfx"_qs, u"13"_qs,
                {{u"tou"_qs, u"计算题十三"_qs},
                 {u"leixing"_qs, u"选择型"_qs},
                 {u"da1"_qs, u"a"_qs},
                 {u"da2"_qs, u"bc"_qs},
                 {u"da3"_qs, u"d"_qs},
                 {u"da4"_qs, u"ab"_qs},
                 {u"da5"_qs, u"c"_qs}});
    addQuestion(u"jsfx"_qs, u"14"_qs, {{u"tou"_qs, u"计算题十四"_qs}, {u"leixing"_qs, u""_qs}});
    addQuestion(u"anli"_qs, u"15"_qs,
                {{u"tou"_qs, u"案例题十五"_qs},
                 {u"da1"_qs, u"a"_qs},
                 {u"da2"_qs, u"b"_qs},
                 {u"da3"_qs, u"c"_qs},
                 {u"da4"_qs, u"d"_qs},
                 {u"da5"_qs, u"abcd"_qs}});
    addQuestion(u"ws"_qs, u"16"_qs, {{u"tou"_qs, u"实务题十六"_qs}, {u"ping"_qs, u"实务解析"_qs}});
}

void ExamScreenTest::execute(const QString& sql, const QVariantList& params)
{
    if (!m_setup)
        m_setup = Database::open(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword);
    m_setup->execute(sql, params);
}

TForm6* ExamScreenTest::openExam()
{
    if (!mainWindow)
        startProgram();
    exam = new TForm6(mainWindow.get());
    return exam;
}

void ExamScreenTest::startExam(const QString& idNumber, bool confirm)
{
    if (!mainWindow)
        startProgram();
    QTimer::singleShot(0, mainWindow.get(), [this, idNumber, confirm] {
        auto* prompt = mainWindow->findChild<TForm5*>();
        ASSERT_NE(prompt, nullptr);
        if (!confirm) {
            prompt->RzBmpButton1Click();
            return;
        }
        prompt->ui->RzEdit1->setText(idNumber);
        prompt->RzBmpButton4Click();
    });
    mainWindow->RzBmpButton3Click();
    exam = Form6;
}

QString ExamScreenTest::stored(const QString& table, const QString& number, const QString& column,
                               const QString& paper) const
{
    auto db = Database::open(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword);
    return db->queryText(
        QStringLiteral("select %1 from %2 where kemu=? and tao=? and tihao=?").arg(column, table),
        {Subject, paper, number});
}

QTreeWidgetItem* ExamScreenTest::node(const QString& number) const
{
    for (int r = 0; r < tree()->topLevelItemCount(); ++r) {
        QTreeWidgetItem* top = tree()->topLevelItem(r);
        for (int i = 0; i < top->childCount(); ++i) {
            if (top->child(i)->text(0) == number)
                return top->child(i);
        }
    }
    ADD_FAILURE() << "no node " << number.toStdString();
    return nullptr;
}

void ExamScreenTest::clickNode(QTreeWidgetItem* item) const
{
    ASSERT_NE(item, nullptr);
    tree()->scrollToItem(item);
    const QRect rect = tree()->visualItemRect(item);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, rect.center());
}

void ExamScreenTest::click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

} // namespace tarnex::test
