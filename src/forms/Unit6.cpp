// The exam screen: creation, loading of the paper, countdown and camera, hand-in and closing.
#include "Unit6.h"

#include "Unit7.h"
#include "Unit_main.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "exam/AnswerLetters.h"
#include "exam/ExamWindowRules.h"
#include "exam/Feedback.h"
#include "exam/Scoring.h"
#include "platform/AppError.h"
#include "platform/Camera.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/TextUtil.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QScreen>
#include <QSet>
#include <QTimer>

#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace tarnex;

TForm6* Form6 = nullptr;

// The pictures are compiled into this static library; the linker keeps them only when asked.
static void loadTreePictures()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(tree);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {

// Ends the program at once. quit() would ask every window to close first, and this window
// answers a close with the closing question: "退出" must end without it.
void terminateProgram()
{
    QCoreApplication::exit(0);
}

std::function<void()>& quitHandler()
{
    static std::function<void()> handler = terminateProgram;
    return handler;
}

const QIcon& treeImage(int index)
{
    loadTreePictures();
    static const std::array<QIcon, 5> images = {QIcon(QStringLiteral(":/tree/tree0_root.png")),
                                                QIcon(QStringLiteral(":/tree/tree1_answered.png")),
                                                QIcon(QStringLiteral(":/tree/tree2_unused.png")),
                                                QIcon(QStringLiteral(":/tree/tree3_unanswered.png")),
                                                QIcon(QStringLiteral(":/tree/tree4_wrong.png"))};
    return images.at(std::size_t(index));
}

} // namespace

TForm6::TForm6(QWidget* owner, ProgramMode mode)
    : QWidget(owner, Qt::Window), ui(new Ui::TForm6), m_mode(mode)
{
    // The generated controls go with the window if the loading fails half-way.
    std::unique_ptr<Ui::TForm6> guard(ui);
    ui->setupUi(this);
    // The strip along the bottom is lower than the pages want: they are cut, not the strip.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(Countdown::TickIntervalMs);
    connect(Timer2, &QTimer::timeout, this, &TForm6::Timer2Timer);

    // The right-hand pane keeps its width when the window is resized.
    ui->RzSplitter1->setStretchFactor(0, 1);
    ui->RzSplitter1->setStretchFactor(1, 0);
    ui->RzSplitter1->setSizes({width() - ui->RzPanel2->minimumWidth(), ui->RzPanel2->minimumWidth()});

    setUpIndex();
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm6::RzBmpButton1Click);
    connect(ui->RzBmpButton2, &QPushButton::clicked, this, &TForm6::RzBmpButton2Click);
    connect(ui->RzBmpButton3, &QPushButton::clicked, this, &TForm6::RzBmpButton3Click);
    const std::array<QPushButton*, SubQuestionCount> answerButtons = {ui->BitBtn2, ui->BitBtn3, ui->BitBtn4,
                                                                      ui->BitBtn5, ui->BitBtn6};
    for (int i = 0; i < SubQuestionCount; ++i) {
        connect(answerButtons.at(std::size_t(i)), &QPushButton::clicked, this,
                [this, i] { answerButtonClick(i + 1); });
    }
    connectAnswerControls();
    connectLauncher();
    setUpAuthoring();

    FormCreate();
    Timer2->start();
    show();
    FormShow();

    guard.release();
    Form6 = this;
}

TForm6::~TForm6()
{
    if (Form6 == this)
        Form6 = nullptr;
    delete ui;
}

void TForm6::setQuitHandler(std::function<void()> handler)
{
    quitHandler() = handler ? std::move(handler) : terminateProgram;
}

void TForm6::setNodeImage(QTreeWidgetItem* node, int image)
{
    node->setIcon(0, treeImage(image));
    node->setData(0, Qt::UserRole, image);
}

int TForm6::nodeImage(const QTreeWidgetItem* node)
{
    return node->data(0, Qt::UserRole).toInt();
}

DataSet& TForm6::query(QuestionKind kind) const
{
    const auto& set = m_queries.at(std::size_t(kindIndex(kind)));
    if (!set)
        throw AppError(QStringLiteral("数据集未打开：%1。").arg(kindTable(kind)));
    return *set;
}

QTreeWidgetItem* TForm6::rootNode(QuestionKind kind) const
{
    return ui->RzTreeView1->topLevelItem(kindIndex(kind));
}

void TForm6::hideAllPageTabs()
{
    // An author reaches the page of a kind that has no question yet by its tab.
    if (m_mode == ProgramMode::Author)
        return;
    ui->RzPageControl1->tabBar()->hide();
    // The page control passes the focus to its tab bar; with the bar hidden, Tab would stop
    // there and never reach the question.
    ui->RzPageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    ui->RzPageControl1->setFocusPolicy(Qt::NoFocus);
}

// The six roots belong to the window's design.
void TForm6::setUpIndex()
{
    QTreeWidget* tree = ui->RzTreeView1;
    // Every row is one icon and one number high: the view need not measure each row to lay out.
    tree->setUniformRowHeights(true);
    for (QuestionKind kind : allQuestionKinds()) {
        auto* root = new QTreeWidgetItem(tree, QStringList{kindRootText(kind)});
        setNodeImage(root, ImageRoot);
    }
    connectIndexNavigation();
}

void TForm6::FormCreate()
{
#ifdef Q_OS_WIN
    // Its own task-bar button, although the main window owns it.
    const HWND handle = reinterpret_cast<HWND>(winId());
    SetWindowLongPtrW(handle, GWL_EXSTYLE, GetWindowLongPtrW(handle, GWL_EXSTYLE) | WS_EX_APPWINDOW);
#endif
    countdown = Countdown();
    ui->Label7->setText(countdown.text());

    DataSet& memo = Form_main->ADOTable1();
    ui->Label31->setText(memo.text(QStringLiteral("edit4")));
    ui->Label28->setText(memo.text(QStringLiteral("edit5")));
    ui->Label29->setText(memo.text(QStringLiteral("edit6")));
    ui->Label30->setText(memo.text(QStringLiteral("edit7")));
    ui->Label32->setText(memo.text(QStringLiteral("edit8")));

    placeAlongBottom();

    counters = RotationCounters::load();
}

// Whenever the window is not maximized it is a strip along the bottom of the work area.
void TForm6::placeAlongBottom()
{
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (where == nullptr) {
        resize(width(), ExamStripHeight);
        return;
    }
    const QRect strip = bottomStripGeometry(where->availableGeometry());
    // The strip is the outer frame; the client area is what is left inside the decoration.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins decoration(client.left() - frame.left(), client.top() - frame.top(),
                              frame.right() - client.right(), frame.bottom() - client.bottom());
    setGeometry(isVisible() ? strip.marginsRemoved(decoration) : strip);
}

void TForm6::FormShow()
{
    tihaolist.clear();
    Node_dan = rootNode(QuestionKind::SingleChoice);
    node_duo = rootNode(QuestionKind::MultipleChoice);
    node_shi = rootNode(QuestionKind::TrueFalse);
    node_js = rootNode(QuestionKind::Calculation);
    node_al = rootNode(QuestionKind::Case);
    node_ws = rootNode(QuestionKind::Practical);

    const QString subject = trimmedText(Form_main->ui->kemu->text());
    const QString paper = trimmedText(Form_main->ui->RzComboBox2->currentText());
    emptyPaperAnswers(subject, paper);

    Database& bank = Form_main->ADOConnection1();
    for (QuestionKind kind : allQuestionKinds()) {
        auto set = std::make_unique<DataSet>(bank);
        set->open(
            QStringLiteral("select * from %1 where kemu=? and tao=? order by tihao").arg(kindTable(kind)),
            {subject, paper});
        QTreeWidgetItem* root = rootNode(kind);
        QList<QTreeWidgetItem*> nodes;
        nodes.reserve(set->recordCount());
        for (set->first(); !set->eof(); set->next()) {
            auto* node = new QTreeWidgetItem(QStringList{set->text(QStringLiteral("tihao"))});
            setNodeImage(node, ImageUnanswered);
            nodes.append(node);
        }
        root->addChildren(nodes);
        set->first();
        m_queries.at(std::size_t(kindIndex(kind))) = std::move(set);
    }

    if (Form_main->ui->CheckBox1->isChecked()) {
        ui->Image1->hide();
        ui->Panel1->show();
        QCoreApplication::processEvents();
        Timer1->start();
    }

    ui->RzDateTimePicker1->setDateTime(Clock::now());
    ui->RzPageControl1->setCurrentIndex(0);
    ui->RzTreeView1->expandAll();

    tihaolist.clear();
    for (QuestionKind kind : allQuestionKinds()) {
        const QTreeWidgetItem* root = rootNode(kind);
        for (int i = 0; i < root->childCount(); ++i)
            tihaolist.append(root->child(i)->text(0));
    }

    if (!ADOQuery_dds().isEmpty()) {
        selectNode(Node_dan->child(0));
        RzTreeView1Click();
        dangqian_tihao = 0;
    } else {
        dangqian_tihao = -1;
        selectNode(ui->RzTreeView1->topLevelItem(0));
        RzTreeView1Click();
    }
}

// Every answer column of the paper's rows is emptied, practical rows aside, in one transaction:
// a failure half-way leaves all of the previous answers in place rather than some of them.
void TForm6::emptyPaperAnswers(const QString& subject, const QString& paper)
{
    Database& bank = Form_main->ADOConnection1();
    Database::Transaction transaction(bank);
    for (const QString& table : BankSchema::questionTables()) {
        const QStringList columns = BankSchema::answerColumns(table);
        if (columns.isEmpty())
            continue;
        QStringList assignments;
        for (const QString& column : columns)
            assignments.append(QStringLiteral("%1=''").arg(column));
        bank.execute(
            QStringLiteral("update %1 set %2 where kemu=? and tao=?").arg(table, assignments.join(u',')),
            {subject, paper});
    }
    transaction.commit();
}

void TForm6::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TForm6::FormClose()
{
    if (!Dialogs::confirm(this, QStringLiteral("确实要退出系统吗？")))
        return false;
    stopCamera();
    quitHandler()();
    return true;
}

// Countdown and camera.

// Nothing happens at any value: after "00" the count goes on below zero, and the hand-in does not
// stop it either.
void TForm6::Timer2Timer()
{
    ui->Label7->setText(countdown.tick());
}

// Runs once, one second after the loading scheduled it ("摄像头" ticked). Without a camera, or with
// one that fails, the area stays an empty panel with its caption and nothing is reported.
void TForm6::Timer1Timer()
{
    Timer1->stop();
    if (m_cameraStarted)
        return;
    CameraPreview& camera = CameraPreview::instance();
    camera.start(ui->Panel1);
    m_cameraStarted = camera.isRunning();
    if (m_cameraStarted)
        ui->RzPanel4->setTitle(QString());
}

// Releases the device when the program ends from this window; a preview never started is not
// touched.
void TForm6::stopCamera()
{
    if (!m_cameraStarted)
        return;
    m_cameraStarted = false;
    CameraPreview::instance().stop();
}

// Hand-in.

QString TForm6::handInCaption()
{
    return QStringLiteral("交卷");
}

QString TForm6::exitCaption()
{
    return QStringLiteral("退出");
}

bool TForm6::handedIn() const
{
    return ui->RzBmpButton3->text() == exitCaption();
}

void TForm6::RzBmpButton3Click()
{
    if (handedIn()) {
        // The exam is over: no question is asked.
        stopCamera();
        quitHandler()();
        return;
    }
    if (!Dialogs::confirm(this, QStringLiteral("确实要交卷吗？")))
        return;

    enterReview();
    const int count = scorePaper();
    const HandInFeedback feedback = composeHandInFeedback(ui->kemu->text(), count, counters);
    counters = feedback.counters;
    // The rotation is on disk before the score is read: a candidate who ends the program from the
    // task bar, or a power cut, keeps it. A ci.ini that cannot be written is reported after the
    // score, so the error never hides it.
    std::optional<AppError> unwritten;
    if (feedback.rotates()) {
        try {
            counters.save();
        } catch (const AppError& error) {
            unwritten = error;
        }
    }
    Dialogs::info(this, feedback.message);
    if (unwritten)
        throw *unwritten;
}

// The answer panels go inert, the analysis of every page and the correct-answer line appear, and
// the button ends the program from now on. There is no way back.
void TForm6::enterReview()
{
    ui->RzBmpButton3->setText(exitCaption());
    const std::pair<QWidget*, QWidget*> pages[] = {
        {ui->RzPanel11, ui->ed_dan_ping},  {ui->RzPanel15, ui->ed_duo_ping},
        {ui->RzPanel19, ui->ed_shi_ping},  {ui->RzPanel23, ui->ed_jisuan_ping},
        {ui->RzPanel24, nullptr},          {ui->RzPanel27, ui->ed_anli_ping},
        {ui->RzPanel30, ui->ed_wushi_ping}};
    for (const auto& [panel, analysis] : pages) {
        panel->setEnabled(false);
        if (analysis != nullptr)
            analysis->show();
    }
    ui->Label27->show();
}

// The objective questions, single choice, multiple choice and true/false in that order, each
// table from its first row to its last; wrong and unanswered ones get the "wrong" image.
int TForm6::scorePaper()
{
    ScoreTally tally;
    for (QuestionKind kind :
         {QuestionKind::SingleChoice, QuestionKind::MultipleChoice, QuestionKind::TrueFalse}) {
        DataSet& set = query(kind);
        for (set.first(); !set.eof(); set.next()) {
            tally.add(set.text(QStringLiteral("tihao")), set.text(QStringLiteral("da")),
                      set.text(QStringLiteral("xuan")));
        }
    }
    markQuestions(tally.markedQuestions());
    return tally.count();
}

// Every question node whose number is among the given ones, whatever its kind; one walk over
// the index however many are marked.
void TForm6::markQuestions(const QStringList& numbers)
{
    if (numbers.isEmpty())
        return;
    const QSet<QString> wanted(numbers.cbegin(), numbers.cend());
    QTreeWidget* tree = ui->RzTreeView1;
    for (int r = 0; r < tree->topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = tree->topLevelItem(r);
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* node = root->child(i);
            if (wanted.contains(trimmedText(node->text(0))))
                setNodeImage(node, ImageWrong);
        }
    }
}

// The calculator writes into the sub-question's memo; what the memo holds when it closes is the
// answer, text typed straight into the memo included. An empty memo records nothing; like every
// answer control, nothing is recorded while a root rather than a question is selected.
void TForm6::answerButtonClick(int subQuestion)
{
    QPlainTextEdit* memos[] = {ui->ed_tishi_1, ui->ed_tishi_2, ui->ed_tishi_3, ui->ed_tishi_4,
                               ui->ed_tishi_5};
    QPlainTextEdit* memo = memos[subQuestion - 1];
    const QString text = TForm7::runModal(Form_main->ADOConnection1(), memo, subQuestion, this);
    if (text.isEmpty() || !questionSelected())
        return;
    recordAnswer(ADOQuery_jsfx(), subQuestionTextColumn(subQuestion), text);
}
