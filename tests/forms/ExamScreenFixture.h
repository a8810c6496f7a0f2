#pragma once

#include "FormsFixture.h"

#include "Unit5.h"
#include "Unit6.h"
#include "Unit6OptionBox.h"
#include "ui_Unit5.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "platform/Clock.h"

#include <QMap>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace tarnex::test {

// The plain text as the RTF document a rich-text column holds.
QString richText(const QString& plain);

// A program folder whose bank holds the questions a test adds, a main window on it, and the exam
// screen opened the way the start flow opens it.
class ExamScreenTest : public FormsTest
{
protected:
    static inline const QString Subject = QStringLiteral("会计基础");
    static inline const QString Paper = QStringLiteral("试题一");

    void SetUp() override;
    void TearDown() override;

    // The standard bank with these papers in the paper list and the lines of the exam screen.
    void writeBank(const QString& papers = QStringLiteral("试题一\r\n试题二\r\n"));
    // Adds one row to a question table (columns not given stay NULL).
    void addQuestion(const QString& table, const QString& number, const QMap<QString, QString>& values = {},
                     const QString& paper = Paper, const QString& subject = Subject);
    // A typical paper: 2 single choice, 2 multiple choice, 1 true/false, 2 calculation (choice and
    // written type), 1 case, 1 practical; numbered 1, 2, 10, 11, 12, 13, 14, 15, 16.
    void addTypicalPaper();
    void execute(const QString& sql, const QVariantList& params = {});

    // Starts the main window and creates the exam screen on the paper chosen there.
    TForm6* openExam();
    // Runs "开始答题" with the ID prompt answered by "确定" with the number (or cancelled).
    void startExam(const QString& idNumber, bool confirm = true);

    // One answer column as the file holds it, read with a connection of its own.
    QString stored(const QString& table, const QString& number, const QString& column,
                   const QString& paper = Paper) const;

    QTreeWidget* tree() const { return exam->ui->RzTreeView1; }
    QTreeWidgetItem* node(const QString& number) const;
    QTreeWidgetItem* root(QuestionKind kind) const { return exam->rootNode(kind); }
    // A mouse click on the node, as the candidate gives it.
    void clickNode(QTreeWidgetItem* item) const;
    void clickNumber(const QString& number) const { clickNode(node(number)); }
    // A left click on an option box or button.
    static void click(QAbstractButton* button);

    TForm6* exam = nullptr;
    int quitCalls = 0;
    std::unique_ptr<Database> m_setup;
};

} // namespace tarnex::test
