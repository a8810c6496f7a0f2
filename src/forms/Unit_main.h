#pragma once

#include "ProgramMode.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace Ui {
class TForm_main;
}

namespace tarnex {
class Database;
class DataSet;
class ServerConnection;
} // namespace tarnex

// The main window: subject and paper choice, the information lines and the web panel. It owns
// the connections to the question bank and the paper lists for the whole run.
class TForm_main : public QWidget
{
    Q_OBJECT

public:
    explicit TForm_main(tarnex::ProgramMode mode = tarnex::ProgramMode::Candidate, QWidget* parent = nullptr);
    ~TForm_main() override;

    // Whether the program runs for a candidate or for an author; fixed for the whole run.
    tarnex::ProgramMode mode() const { return m_mode; }

    // The shared handles of the question bank (kstk.dat, tb_memo) and the paper lists (titao.dat,
    // memo_temp). Each throws AppError when its file or table did not open at start-up.
    tarnex::Database& ADOConnection1() const;
    tarnex::DataSet& ADOTable1() const;
    tarnex::Database& ADOConnection3() const;
    tarnex::DataSet& ADOTable2() const;

    // Closes tb_memo and opens it again, so its snapshot holds what was just saved.
    void reopenMemoTable();

    // Shows an address in the web panel. The browser is built on the first call only, and only
    // where the start-up prepared the engine, so a start without network access never loads it;
    // an engine that cannot be loaded hides the panel. Every address is kept in webPanelRequests().
    void navigateWebPanel(const QString& address);
    QWidget* WebBrowser1() const { return m_webBrowser; }
    // The address the web panel shows now (empty before its first navigation).
    QUrl webPanelUrl() const;
    // Every address handed to the browser, in order.
    const QList<QUrl>& webPanelRequests() const { return m_webRequests; }

    Ui::TForm_main* ui;

    // The database server of the accounting package; opened by the account-set initialization
    // and kept open from then on.
    tarnex::ServerConnection& ADOConnection2() const { return *m_server; }

    // Resets the accounting package's folders, report templates and account sets before an exam
    // of "初级会计电算化" with "初始化账套" ticked, with its progress on Label5 and RzProgressBar1;
    // returns when it is done and reports nothing.
    void accountSetInitialization();

    // The start flow after the ID-card number was confirmed: creates the exam screen on the
    // chosen paper (once per run), fills in the candidate and the start time, shows the screen
    // maximized and hides this window.
    void showExamScreen(const QString& idNumber);

public Q_SLOTS:
    void FormResize();
    void RzComboBox1Change();
    void RzBmpButton3Click();
    void RzBmpButton2Click();
    void RzBmpButton11Click();
    void RzBmpButton4Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void openQuestionBank();
    void openPaperLists();
    void fillPaperList(const QStringList& papers);
    void showWebPanel();
    void updateAccountSetBox();

    const tarnex::ProgramMode m_mode;
    std::unique_ptr<tarnex::Database> m_bank;
    std::unique_ptr<tarnex::DataSet> m_memo;
    std::unique_ptr<tarnex::Database> m_paperLists;
    std::unique_ptr<tarnex::DataSet> m_memoTemp;
    std::unique_ptr<tarnex::ServerConnection> m_server;
    QWidget* m_webBrowser = nullptr;
    QList<QUrl> m_webRequests;
};

// The one main window of the program (null before it is created and after it is destroyed).
extern TForm_main* Form_main;
