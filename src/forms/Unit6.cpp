// The exam screen: creation, loading of the paper and closing.
#include "Unit6.h"

#include "Unit_main.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "exam/ExamWindowRules.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/TextUtil.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

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

std::function<void()>& quitHandler()
{
    static std::function<void()> handler = [] { QCoreApplication::quit(); };
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

TForm6::TForm6(QWidget* owner) : QWidget(owner, Qt::Window), ui(new Ui::TForm6)
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
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(60000);

    // The right-hand pane keeps its width when the window is resized.
    ui->RzSplitter1->setStretchFactor(0, 1);
    ui->RzSplitter1->setStretchFactor(1, 0);
    ui->RzSplitter1->setSizes({width() - ui->RzPanel2->minimumWidth(), ui->RzPanel2->minimumWidth()});

    setUpIndex();
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm6::RzBmpButton1Click);
    connect(ui->RzBmpButton2, &QPushButton::clicked, this, &TForm6::RzBmpButton2Click);
    connectAnswerControls();

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
    quitHandler() = handler ? std::move(handler) : [] { QCoreApplication::quit(); };
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
    ui->RzPageControl1->tabBar()->hide();
}

// The six roots belong to the window's design; only a mouse click shows a question.
void TForm6::setUpIndex()
{
    QTreeWidget* tree = ui->RzTreeView1;
    for (QuestionKind kind : allQuestionKinds()) {
        auto* root = new QTreeWidgetItem(tree, QStringList{kindRootText(kind)});
        setNodeImage(root, ImageRoot);
    }
    connect(tree, &QTreeWidget::itemClicked, this, &TForm6::RzTreeView1Click);
}

void TForm6::FormCreate()
{
#ifdef Q_OS_WIN
    // Its own task-bar button, although the main window owns it.
    const HWND handle = reinterpret_cast<HWND>(winId());
    SetWindowLongPtrW(handle, GWL_EXSTYLE, GetWindowLongPtrW(handle, GWL_EXSTYLE) | WS_EX_APPWINDOW);
#endif
    itime = 60;

    DataSet& memo = Form_main->ADOTable1();
    ui->Label31->setText(memo.text(QStringLiteral("edit4")));
    ui->Label28->setText(memo.text(QStringLiteral("edit5")));
    ui->Label29->setText(memo.text(QStringLiteral("edit6")));
    ui->Label30->setText(memo.text(QStringLiteral("edit7")));
    ui->Label32->setText(memo.text(QStringLiteral("edit8")));

    placeAlongBottom();

    const IniFile ini(AppPaths::programFile(QStringLiteral("ci.ini")));
    san = ini.readInt(QStringLiteral("ci"), QStringLiteral("san"), 1);
    liu = ini.readInt(QStringLiteral("ci"), QStringLiteral("liu"), 1);
    jiu = ini.readInt(QStringLiteral("ci"), QStringLiteral("jiu"), 1);
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
        ui->RzTreeView1->setCurrentItem(Node_dan->child(0));
        RzTreeView1Click();
        dangqian_tihao = 0;
    } else {
        dangqian_tihao = -1;
        ui->RzTreeView1->setCurrentItem(ui->RzTreeView1->topLevelItem(0));
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
    quitHandler()();
    return true;
}
