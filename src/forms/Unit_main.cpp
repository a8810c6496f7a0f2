#include "Unit_main.h"

#include "AccountSetInitialization.h"
#include "MainWindowRules.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit5.h"
#include "Unit6.h"
#include "WebPanel.h"
#include "ui_Unit1.h"
#include "ui_Unit2.h"
#include "ui_Unit3.h"
#include "ui_Unit5.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "exam/QuestionTexts.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"
#include "platform/ServerConnection.h"
#include "platform/TextUtil.h"
#include "platform/WindowCaption.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

using namespace tarnex;

TForm_main* Form_main = nullptr;

// The pictures are compiled into this static library; the linker keeps them only when asked for.
static void loadPictures()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(tarnex);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {

// The entries of a hidden list holder, one per line; an empty holder has none.
QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines;
    const QTextDocument* document = memo->document();
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

AppError notOpen(const QString& what)
{
    return AppError(QStringLiteral("数据集未打开：%1。").arg(what));
}

// The status line and the bar of the main window. Drawing lets the window paint but takes no
// input, so a click on "开始答题" or a close cannot start over or end the window mid-run.
class MainWindowProgress : public InitializationDisplay
{
public:
    explicit MainWindowProgress(Ui::TForm_main* ui) : m_ui(ui) {}
    void showProgress() override
    {
        m_ui->Label5->show();
        m_ui->RzProgressBar1->show();
    }
    void setProgress(int percent) override { m_ui->RzProgressBar1->setValue(percent); }
    void setStatus(const QString& text) override { m_ui->Label5->setText(text); }
    void refresh() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

private:
    Ui::TForm_main* m_ui;
};

} // namespace

TForm_main::TForm_main(ProgramMode mode, QWidget* parent)
    : QWidget(parent), ui(new Ui::TForm_main), m_mode(mode), m_server(std::make_unique<ServerConnection>())
{
    Form_main = this;
    loadPictures();
    ui->setupUi(this);

    // The right pane keeps its width when the window grows; the left one takes the rest.
    ui->RzSplitter1->setStretchFactor(0, 1);
    ui->RzSplitter1->setStretchFactor(1, 0);
    ui->RzSplitter1->setSizes({width() - 212 - ui->RzSplitter1->handleWidth(), 212});

    // Texts from the bank are shown as typed, never interpreted as markup.
    for (QLabel* label : {ui->Label9, ui->Label10, ui->Label11, ui->Label12, ui->Label13, ui->kemu})
        label->setTextFormat(Qt::PlainText);

    ui->RzPanel5->installEventFilter(this);
    ui->Image3->installEventFilter(this);

    // An author reaches the information editor; "初始化账套" follows updateAccountSetBox().
    if (m_mode == ProgramMode::Author) {
        ui->RzBmpButton4->show();
        setWindowTitle(windowTitleFor(m_mode, windowTitle()));
    }

    connect(ui->RzComboBox1, &QComboBox::activated, this, &TForm_main::RzComboBox1Change);
    connect(ui->RzBmpButton3, &QPushButton::clicked, this, &TForm_main::RzBmpButton3Click);
    connect(ui->RzBmpButton2, &QPushButton::clicked, this, &TForm_main::RzBmpButton2Click);
    connect(ui->RzBmpButton11, &QPushButton::clicked, this, &TForm_main::RzBmpButton11Click);
    connect(ui->RzBmpButton4, &QPushButton::clicked, this, &TForm_main::RzBmpButton4Click);

    // Creation is not a handler: an error here is shown at once and the window opens with what
    // the steps before it filled in, at its design size.
    try {
        FormCreate();
    } catch (const AppError& error) {
        Dialogs::error(this, error.message());
    } catch (const std::exception& error) {
        Dialogs::error(this, QString::fromLocal8Bit(error.what()));
    }
    updateAccountSetBox();
}

TForm_main::~TForm_main()
{
    if (Form_main == this)
        Form_main = nullptr;
    delete ui;
}

void TForm_main::FormCreate()
{
    openQuestionBank();

    ui->RzComboBox1->setCurrentIndex(0);
    ui->RzComboBox2->setCurrentIndex(0);

    openPaperLists();

    const QStringList basics = splitListLines(ADOTable2().text(QStringLiteral("memojc")));
    const QStringList regulations = splitListLines(ADOTable2().text(QStringLiteral("memofg")));
    fillPaperList(basics);
    ui->Memo1->setPlainText(basics.join(u'\n'));
    ui->Memo2->setPlainText(regulations.join(u'\n'));
    // The third subject is offered only by paper lists that have its column; older files go on
    // with the two subjects.
    const BankSchema::SubjectPapers& practical = BankSchema::subjects().at(2);
    if (ADOTable2().hasColumn(practical.column)) {
        ui->RzComboBox1->addItem(practical.subject);
        ui->Memo3->setPlainText(splitListLines(ADOTable2().text(practical.column)).join(u'\n'));
    }

    // Qt paints every widget through a back buffer already, so the panels need no switch.

    DataSet& memo = ADOTable1();
    ui->Label11->setText(DecodeStoredText(memo.text(QStringLiteral("行一"))));
    ui->Label13->setText(DecodeStoredText(memo.text(QStringLiteral("行二"))));
    ui->Label12->setText(DecodeStoredText(memo.text(QStringLiteral("行三"))));
    ui->Label9->setText(memo.text(QStringLiteral("edit1")));
    ui->Label10->setText(memo.text(QStringLiteral("edit2")));

    fillPaperList(splitListLines(memo.text(QStringLiteral("memo1"))));

    setWindowCaption(this, windowTitleFor(m_mode, memo.text(QStringLiteral("edit3"))));

    showWebPanel();

    setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm_main::openQuestionBank()
{
    m_memo.reset();
    m_bank.reset();
    // A file that is empty or not a bank is refused before anything is written to it.
    m_bank = BankSchema::openQuestionBankFile(AppPaths::programFile(QStringLiteral("kstk.dat")));
    auto table = std::make_unique<DataSet>(*m_bank);
    table->open(QStringLiteral("select * from tb_memo"));
    m_memo = std::move(table);
}

void TForm_main::openPaperLists()
{
    m_paperLists = Database::open(AppPaths::programFile(QStringLiteral("titao.dat")), {},
                                  Database::OpenMode::ExistingOnly, {QStringLiteral("memo_temp")});
    auto table = std::make_unique<DataSet>(*m_paperLists);
    table->open(QStringLiteral("select * from memo_temp"));
    m_memoTemp = std::move(table);
}

void TForm_main::fillPaperList(const QStringList& papers)
{
    ui->RzComboBox2->clear();
    ui->RzComboBox2->addItems(papers);
    if (ui->RzComboBox2->count() > 0)
        ui->RzComboBox2->setCurrentIndex(0);
}

void TForm_main::showWebPanel()
{
    if (!NetworkProbe::instance().isReachable()) {
        ui->RzPanel8->hide();
        return;
    }
    const QString address = webPanelAddress(ADOTable1().text(QStringLiteral("微博地址")));
    if (address.isEmpty() || !webEngineAvailable()) {
        ui->RzPanel8->hide();
        return;
    }
    navigateWebPanel(address);
}

void TForm_main::navigateWebPanel(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    m_webRequests.append(url);
    // The engine starts only where the start-up prepared it (online, with the OpenGL context
    // sharing it needs, and able to start at all); a panel hidden at start-up stays without it.
    if (!webEngineAvailable() || !QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts))
        return;
    WebPanel* engine = nullptr;
    try {
        engine = &loadWebPanel();
    } catch (const AppError& error) {
        // A browser engine that cannot be loaded costs the panel, never the rest of the program.
        qWarning("%s", qPrintable(error.message()));
        setWebEngineAvailable(false);
        ui->RzPanel8->hide();
        return;
    }
    if (m_webBrowser == nullptr) {
        m_webBrowser = engine->createView(ui->RzPanel8);
        m_webBrowser->setObjectName(QStringLiteral("WebBrowser1"));
        m_webBrowser->setAccessibleName(QStringLiteral("信息网页"));
        ui->RzPanel8->layout()->addWidget(m_webBrowser);
    }
    engine->navigate(m_webBrowser, url);
}

QUrl TForm_main::webPanelUrl() const
{
    return m_webBrowser ? loadWebPanel().currentUrl(m_webBrowser) : QUrl();
}

Database& TForm_main::ADOConnection1() const
{
    if (!m_bank)
        throw notOpen(QStringLiteral("kstk.dat"));
    return *m_bank;
}

DataSet& TForm_main::ADOTable1() const
{
    if (!m_memo || !m_memo->isOpen())
        throw notOpen(QStringLiteral("tb_memo"));
    return *m_memo;
}

Database& TForm_main::ADOConnection3() const
{
    if (!m_paperLists)
        throw notOpen(QStringLiteral("titao.dat"));
    return *m_paperLists;
}

DataSet& TForm_main::ADOTable2() const
{
    if (!m_memoTemp || !m_memoTemp->isOpen())
        throw notOpen(QStringLiteral("memo_temp"));
    return *m_memoTemp;
}

void TForm_main::reopenMemoTable()
{
    DataSet& memo = ADOTable1();
    memo.close();
    memo.open(QStringLiteral("select * from tb_memo"));
}

void TForm_main::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

bool TForm_main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && (watched == ui->RzPanel5 || watched == ui->Image3))
        FormResize();
    return QWidget::eventFilter(watched, event);
}

void TForm_main::FormResize()
{
    // The title and the three lines stretch with the pane, keeping their design margins.
    const int right = ui->RzPanel5->width() - 20;
    for (QLabel* label : {ui->Label9, ui->Label11, ui->Label13, ui->Label12})
        label->resize(std::max(0, right - label->x()), label->height());

    ui->RzPanel7->move(centredLeft(ui->Label9->x(), ui->Label9->width(), ui->RzPanel7->width()),
                       ui->RzPanel7->y());
    ui->RzProgressBar1->move(centredLeft(0, ui->Image3->width(), ui->RzProgressBar1->width()),
                             ui->RzProgressBar1->y());
    ui->Label5->move(ui->RzProgressBar1->x(), ui->Label5->y());
    // "管理" (author mode) stands right of the strip, which is re-centred: it never covers its buttons.
    ui->RzBmpButton4->move(ui->RzPanel7->x() + ui->RzPanel7->width() + 8,
                           ui->RzPanel7->y() + (ui->RzPanel7->height() - ui->RzBmpButton4->height()) / 2);
}

void TForm_main::RzComboBox1Change()
{
    const int subject = ui->RzComboBox1->currentIndex();
    if (subject == 0)
        fillPaperList(memoLines(ui->Memo1));
    else if (subject == 1)
        fillPaperList(memoLines(ui->Memo2));
    else if (subject == 2 && ui->RzComboBox1->currentText() == BankSchema::subjects().at(2).subject)
        fillPaperList(memoLines(ui->Memo3));
    ui->kemu->setText(ui->RzComboBox1->currentText());
    updateAccountSetBox();
}

void TForm_main::updateAccountSetBox()
{
    ui->CheckBox2->setVisible(showsAccountSetBox(m_mode, ui->RzComboBox1->currentText()));
}

void TForm_main::RzBmpButton3Click()
{
    const QString paper = trimmedText(ui->RzComboBox2->currentText());
    if (paper.isEmpty())
        return;

    if (ui->RzComboBox1->currentText() == u"初级会计电算化" && ui->CheckBox2->isChecked())
        accountSetInitialization();

    // The prompt lives for this start only, whatever way the flow leaves.
    TForm5 prompt(this);
    if (prompt.exec() != QDialog::Accepted)
        return;
    showExamScreen(prompt.ui->RzEdit1->text());
}

void TForm_main::accountSetInitialization()
{
    MainWindowProgress progress(ui);
    AccountSetInitialization(*m_server, progress).run();
}

void TForm_main::showExamScreen(const QString& idNumber)
{
    // Created once per run; its construction loads the paper chosen here.
    if (Form6 == nullptr)
        new TForm6(this, m_mode);
    Ui::TForm6* exam = Form6->ui;
    exam->xingming->setText(candidateName());
    exam->zhuikaozheng->setText(admissionTicketNumber());
    exam->shenfenzheng->setText(idNumber);
    exam->kemu->setText(ui->kemu->text());
    exam->shiti->setText(ui->RzComboBox2->currentText());
    exam->xinxi->setText(startTimeLine(Clock::now()));
    Form6->hideAllPageTabs();
    Form6->show();
    Form6->showMaximized();
    hide();
}

void TForm_main::RzBmpButton2Click()
{
    QString text = DecodeStoredText(ADOTable1().text(QStringLiteral("版本说明")));
    Form2->ui->Memo1->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Form2->showModal();
}

void TForm_main::RzBmpButton11Click()
{
    QString text = DecodeStoredText(ADOTable1().text(QStringLiteral("咨询辅导")));
    Form3->ui->Memo1->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Form3->showModal();
}

void TForm_main::RzBmpButton4Click()
{
    DataSet& memo = ADOTable1();
    QLineEdit* edits[] = {Form1->ui->Edit1, Form1->ui->Edit2, Form1->ui->Edit3, Form1->ui->Edit4};
    const QString columns[] = {QStringLiteral("行一"), QStringLiteral("行二"), QStringLiteral("行三"),
                               QStringLiteral("微博地址")};
    for (int i = 0; i < 4; ++i)
        edits[i]->setText(DecodeStoredText(trimmedText(memo.text(columns[i]))));
    Form1->url = Form1->ui->Edit4->text();
    Form1->showModal();
}
