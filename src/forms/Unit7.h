#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm7;
}
namespace tarnex {
class Database;
class DataSet;
struct JournalLine;
} // namespace tarnex

class QPlainTextEdit;

// The journal-entry calculator: the written answer of one calculation sub-question composed as
// lines of direction, account subject and amount. The lines live in the scratch table dtxx of the
// question bank while the window is open; "保存关闭" puts the answer text into the sub-question's
// memo of the exam screen and closes. The exam screen then records the memo's trimmed text.
class TForm7 : public QDialog
{
    Q_OBJECT

public:
    // bank: the question-bank connection; memo: the exam screen's memo of the sub-question
    // (ed_tishi_1 to ed_tishi_5) that receives the answer text; number: that sub-question, 1 to 5.
    TForm7(tarnex::Database& bank, QPlainTextEdit* memo, int number, QWidget* owner = nullptr);
    ~TForm7() override;

    // The answer button of a sub-question: creates the calculator over the owner, shows it
    // modally, destroys it once it is closed and returns the memo's text without leading and
    // trailing blanks and line breaks, the value to record (empty: record nothing). The memo may
    // hold text typed straight into it, or nothing new when the calculator was closed unsaved.
    static QString runModal(tarnex::Database& bank, QPlainTextEdit* memo, int number, QWidget* owner);

    Ui::TForm7* ui;
    // The lines of the list ("select * from dtxx").
    tarnex::DataSet& ADOQuery_dds() { return *m_lines; }

    void FormCreate();
    void FormShow();
    void BitBtn1Click();
    void RzTreeView1DblClick();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void DBGridEh1MouseDown();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSubjectTree();
    void setLineButtonsEnabled(bool enabled);
    // Shows the lines of the data set in the grid, the current one selected.
    void refreshGrid();
    // The grid's highlight moved to a line: it becomes the current line and fills the fields.
    void gridLineChanged(int row);
    void writeLine(const tarnex::JournalLine& line);
    QString direction() const;
    QString subject() const;
    QString amount() const;

    std::unique_ptr<tarnex::DataSet> m_lines;
    QPlainTextEdit* m_memo;
    bool m_refreshingGrid = false;
};
