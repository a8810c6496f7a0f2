#pragma once

#include "ProgramMode.h"

#include "exam/Countdown.h"
#include "exam/NavigationList.h"
#include "exam/QuestionKind.h"
#include "exam/RotationCounters.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class OptionBox;
class QRadioButton;
class QTextEdit;
class QTimer;
class QTreeWidgetItem;

namespace Ui {
class TForm6;
}

namespace tarnex {
class DataSet;
struct AuthoredQuestion;
} // namespace tarnex

// The exam screen: the question index on the left, one question in the middle, the candidate on
// the right. It is created once, by the start flow, with the main window as owner; its
// construction reads the paper chosen on the main window, empties the paper's answers, builds the
// index and shows the first question. Every answer is posted into its question's row when it is
// given.
class TForm6 : public QWidget
{
    Q_OBJECT

public:
    // Creates the window, shows it and loads the paper. An error of the loading leaves the
    // constructor (nothing of the paper's answers emptied unless all were).
    TForm6(QWidget* owner, tarnex::ProgramMode mode = tarnex::ProgramMode::Candidate);
    ~TForm6() override;

    tarnex::ProgramMode mode() const { return m_mode; }

    Ui::TForm6* ui;

    // The pictures of the question index, by image index.
    enum NodeImage
    {
        ImageRoot = 0,
        ImageAnswered = 1,
        ImageUnusedRoot = 2,
        ImageUnanswered = 3,
        ImageWrong = 4
    };
    static void setNodeImage(QTreeWidgetItem* node, int image);
    static int nodeImage(const QTreeWidgetItem* node);

    // The queries on the paper's rows, one per kind of question.
    tarnex::DataSet& query(tarnex::QuestionKind kind) const;
    tarnex::DataSet& ADOQuery_dds() const { return query(tarnex::QuestionKind::SingleChoice); }
    tarnex::DataSet& ADOQuery_duo() const { return query(tarnex::QuestionKind::MultipleChoice); }
    tarnex::DataSet& ADOQuery_sf() const { return query(tarnex::QuestionKind::TrueFalse); }
    tarnex::DataSet& ADOQuery_jsfx() const { return query(tarnex::QuestionKind::Calculation); }
    tarnex::DataSet& ADOQuery_anli() const { return query(tarnex::QuestionKind::Case); }
    tarnex::DataSet& ADOQuery_ws() const { return query(tarnex::QuestionKind::Practical); }
    QTreeWidgetItem* rootNode(tarnex::QuestionKind kind) const;

    // Hides the tabs of all pages: from then on only the program switches pages.
    void hideAllPageTabs();

    // The recording step: posts one answer column of the query's current row and marks the
    // selected node of the index as answered. The calculator records written answers with it.
    void recordAnswer(tarnex::DataSet& query, const QString& column, const QString& value);

    // Ends the program after a confirmed close and from "退出". Tests put an observer in its place.
    static void setQuitHandler(std::function<void()> handler);

    // The captions of the hand-in button: before and after the hand-in.
    static QString handInCaption(); // "交卷"
    static QString exitCaption();   // "退出"
    // True once the paper has been handed in (the button reads "退出").
    bool handedIn() const;

    // Rotation counters of the feedback phrases (san, liu, jiu), read from ci.ini at creation and
    // advanced by the hand-in; the minutes left on the countdown.
    tarnex::RotationCounters counters;
    tarnex::Countdown countdown;
    // The navigation list and the position of the shown question in it (-1: none).
    tarnex::NavigationList tihaolist;
    int dangqian_tihao = -1;
    // The hit of the number search over the index.
    QString nodetext;
    QTreeWidgetItem* Node_dan = nullptr;
    QTreeWidgetItem* node_duo = nullptr;
    QTreeWidgetItem* node_shi = nullptr;
    QTreeWidgetItem* node_js = nullptr;
    QTreeWidgetItem* node_al = nullptr;
    QTreeWidgetItem* node_ws = nullptr;
    // The camera start (once, one second after loading) and the countdown (every minute).
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

public Q_SLOTS:
    // Display of the selected node of the index. A mouse click in the index, Enter, previous, next
    // and the loading run it; so does every change of the selected question, by the arrow keys
    // or an assistive technology (a root reached that way shows nothing).
    void RzTreeView1Click();
    void RzBmpButton1Click(); // 下一题
    void RzBmpButton2Click(); // 上一题
    // Sets nodetext to the number when a node from start on (its following siblings and all
    // their children) has that number, both trimmed.
    void find_nodetext(QTreeWidgetItem* start, const QString& number);

    // "交卷": after a confirmation the review, the score and its message; "退出": ends the program
    // without asking. ci.ini is written before the score message; when it cannot be written the
    // error leaves after the score message was shown.
    void RzBmpButton3Click();
    // The countdown's minute, and the camera start one second after loading.
    void Timer2Timer();
    void Timer1Timer();
    // The answer buttons "答题按钮" of the written sub-questions 1 to 5: the calculator, then the
    // memo's text recorded unless it is empty.
    void answerButtonClick(int subQuestion);

    // "运行" of the practical page: starts the package's program chosen in the system list once the
    // user name is a whole number; nothing is shown when the program does not start.
    void BitBtn1Click();

    void xuanzexingClick();
    void caozuoxingClick();
    void ed_dan_touClipboardChange();

    // Authoring in author mode (Unit6Authoring.cpp): "添加", "删除" and "修改" of each kind, the
    // diagnostic Button19 and the key filter of the single-choice number edit.
    void Button1Click();  // 单选题 添加
    void Button2Click();  // 单选题 删除
    void Button3Click();  // 单选题 修改
    void Button4Click();  // 多选题 添加
    void Button5Click();  // 多选题 删除
    void Button6Click();  // 多选题 修改
    void Button7Click();  // 是非题 添加
    void Button8Click();  // 是非题 删除
    void Button9Click();  // 是非题 修改
    void Button15Click(); // 计算分析 添加
    void Button14Click(); // 计算分析 删除
    void Button13Click(); // 计算分析 修改
    void Button18Click(); // 案例分析 添加
    void Button17Click(); // 案例分析 删除
    void Button16Click(); // 案例分析 修改
    void Button12Click(); // 实务操作 添加
    void Button11Click(); // 实务操作 删除
    void Button10Click(); // 实务操作 修改
    void Button19Click();
    // False (after "只能输入数字") for a key that types anything but a digit, Backspace or Enter.
    bool ed_dan_tihaoKeyPress(const QString& keyText);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct OptionGroup
    {
        std::array<OptionBox*, 4> boxes{};
        tarnex::QuestionKind kind;
        QString column;
    };

    // Creation and loading (Unit6.cpp).
    void FormCreate();
    void FormShow();
    bool FormClose();
    void setUpIndex();
    void emptyPaperAnswers(const QString& subject, const QString& paper);
    void placeAlongBottom();
    void stopCamera();

    // Hand-in.
    void enterReview();
    int scorePaper();
    void markQuestions(const QStringList& numbers);

    // Display (Unit6Display.cpp).
    void connectIndexNavigation();
    void selectNode(QTreeWidgetItem* node);
    bool indexEvent(QObject* watched, QEvent* event);
    void showQuestionNode(QTreeWidgetItem* node);
    void showRootNode(QTreeWidgetItem* root);
    bool showQuestionRow(tarnex::QuestionKind kind, const QString& number);
    void restoreAnswers(tarnex::QuestionKind kind, const tarnex::DataSet& row);
    void showAsStrip();
    void selectAndShowNumber(const QString& number);
    std::array<QTextEdit*, 3> richTextEditors(tarnex::QuestionKind kind) const;

    // The launcher bar of the practical page (Unit6Launcher.cpp).
    void connectLauncher();

    // Answer capture (Unit6Answers.cpp).
    void connectAnswerControls();
    bool questionSelected() const;
    void singleChoiceClick(int option);
    void trueFalseClick(bool isTrue);
    void optionGroupMouseUp(const OptionGroup& group);
    std::array<QTextEdit*, 14> questionPanes() const;

    // Authoring (Unit6Authoring.cpp).
    void setUpAuthoring();
    void addQuestion(tarnex::QuestionKind kind);
    void deleteQuestion(tarnex::QuestionKind kind);
    void modifyQuestion(tarnex::QuestionKind kind);
    void writeAuthoredRow(tarnex::QuestionKind kind, const tarnex::AuthoredQuestion& question,
                          const QString& number);
    void clearAuthoringPage(tarnex::QuestionKind kind, bool afterDelete);

    const tarnex::ProgramMode m_mode;
    // The number of the question each kind added last, while no other question of that kind has
    // been selected since; a modify with none of its questions selected writes that row.
    std::array<QString, tarnex::QuestionKindCount> m_justAdded;
    std::array<std::unique_ptr<tarnex::DataSet>, tarnex::QuestionKindCount> m_queries;
    std::array<QRadioButton*, 4> m_singleChoice{};
    std::vector<OptionGroup> m_optionGroups;
    // The program is selecting a node and shows it itself; the node a selection change has just
    // shown (the click that made it needs not show it again).
    bool m_selectingFromCode = false;
    QTreeWidgetItem* m_shownBySelection = nullptr;
    // The preview was started by this window and not stopped yet.
    bool m_cameraStarted = false;
};

// The exam screen of the run (null until the first start of an exam).
extern TForm6* Form6;
