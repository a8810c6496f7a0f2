#include "Unit7.h"

#include "ui_Unit7.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "exam/JournalEntry.h"
#include "exam/SubjectFile.h"
#include "platform/Dialogs.h"
#include "platform/TextUtil.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTabBar>

using tarnex::trimmedText;

TForm7::TForm7(tarnex::Database& bank, QPlainTextEdit* memo, int number, QWidget* owner)
    : QDialog(owner), ui(new Ui::TForm7), m_lines(std::make_unique<tarnex::DataSet>(bank)), m_memo(memo)
{
    ui->setupUi(this);
    setFixedSize(593, 329);
    ui->Label1->setText(QString::number(number));
    ui->DBGridEh1->viewport()->installEventFilter(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm7::BitBtn2Click);
    connect(ui->BitBtn3, &QPushButton::clicked, this, &TForm7::BitBtn3Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TForm7::BitBtn4Click);
    connect(ui->BitBtn5, &QPushButton::clicked, this, &TForm7::BitBtn5Click);
    connect(ui->RzTreeView1, &QTreeWidget::itemDoubleClicked, this, &TForm7::RzTreeView1DblClick);
    // The highlighted line is the current line, however it got there: the arrow keys, an
    // assistive technology's selection, or the mouse (which also copies it on the press).
    connect(ui->DBGridEh1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridLineChanged(current.row()); });
    connect(ui->DBGridEh1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = ui->DBGridEh1->selectionModel()->selectedRows();
        if (!m_refreshingGrid && rows.size() == 1 && rows.first().row() != ui->DBGridEh1->currentRow())
            ui->DBGridEh1->setCurrentCell(rows.first().row(), 0);
    });
    FormCreate();
}

TForm7::~TForm7()
{
    delete ui;
}

QString TForm7::runModal(tarnex::Database& bank, QPlainTextEdit* memo, int number, QWidget* owner)
{
    {
        TForm7 calculator(bank, memo, number, owner);
        calculator.exec();
    }
    return memo ? tarnex::storedWrittenAnswer(memo->toPlainText()) : QString();
}

void TForm7::FormCreate()
{
    ui->RzPageControl1->tabBar()->hide();
    // The picked subject stays visibly selected while the focus is elsewhere.
    QPalette palette = ui->RzTreeView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ui->RzTreeView1->setPalette(palette);
    loadSubjectTree();
}

void TForm7::loadSubjectTree()
{
    QTreeWidget* tree = ui->RzTreeView1;
    tree->clear();
    const tarnex::SubjectList list = tarnex::loadSubjectFile();
    // The node last added at each depth; a node's parent is the last one a level up.
    QList<QTreeWidgetItem*> lastAtDepth;
    for (const tarnex::SubjectNode& node : list.nodes) {
        QTreeWidgetItem* item = nullptr;
        if (node.depth == 0) {
            item = new QTreeWidgetItem(tree, QStringList(node.text));
        } else {
            item = new QTreeWidgetItem(lastAtDepth.at(node.depth - 1), QStringList(node.text));
        }
        lastAtDepth.resize(node.depth);
        lastAtDepth.append(item);
    }
    if (tree->topLevelItemCount() > 0)
        tree->topLevelItem(0)->setExpanded(true);
    // The window opens all the same, with the nodes read so far or the built-in list.
    if (!list.ok())
        tarnex::Dialogs::error(this, list.error);
}

void TForm7::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm7::FormShow()
{
    ui->Edit2->setFocus();
    ui->RzPageControl1->setCurrentWidget(ui->TabSheet2);
    m_lines->close();
    m_lines->database().execute(QStringLiteral("delete from dtxx"));
    m_lines->open(QStringLiteral("select * from dtxx"));
    refreshGrid();
}

void TForm7::setLineButtonsEnabled(bool enabled)
{
    ui->BitBtn2->setEnabled(enabled);
    ui->BitBtn3->setEnabled(enabled);
    ui->BitBtn4->setEnabled(enabled);
    ui->BitBtn5->setEnabled(enabled);
}

void TForm7::BitBtn1Click()
{
    ui->RzPageControl1->setCurrentWidget(ui->TabSheet1);
    setLineButtonsEnabled(false);
}

void TForm7::RzTreeView1DblClick()
{
    const QTreeWidgetItem* item = ui->RzTreeView1->currentItem();
    const bool isSubject = item && item->parent() && !item->parent()->parent();
    if (!isSubject)
        return;
    ui->Edit2->setText(trimmedText(item->text(0)));
    setLineButtonsEnabled(true);
    ui->RzPageControl1->setCurrentWidget(ui->TabSheet2);
}

QString TForm7::direction() const
{
    return trimmedText(ui->RzComboBox2->currentText());
}

QString TForm7::subject() const
{
    return trimmedText(ui->Edit2->text());
}

QString TForm7::amount() const
{
    return trimmedText(ui->Edit3->text());
}

void TForm7::BitBtn2Click()
{
    const QString d = direction();
    const QString s = subject();
    const QString a = amount();
    if (d.isEmpty() || s.isEmpty())
        return;
    const tarnex::AmountCheck check = tarnex::checkAmount(a, QLocale().decimalPoint());
    if (check != tarnex::AmountCheck::Accepted) {
        tarnex::Dialogs::info(this, tarnex::amountMessage(check));
        ui->Edit3->setFocus();
        return;
    }
    m_lines->append();
    writeLine(tarnex::JournalLine{d, s, a});
}

void TForm7::BitBtn3Click()
{
    const QString d = direction();
    const QString s = subject();
    const QString a = amount();
    if (d.isEmpty() || s.isEmpty() || a.isEmpty() || m_lines->isEmpty() || m_lines->eof())
        return;
    // Modify rewrites the line as typed; unlike add it does not check the amount.
    m_lines->edit();
    writeLine(tarnex::JournalLine{d, s, a});
}

void TForm7::BitBtn4Click()
{
    if (direction().isEmpty() || subject().isEmpty() || amount().isEmpty() || m_lines->isEmpty() ||
        m_lines->eof())
        return;
    m_lines->remove();
    ui->Edit2->clear();
    ui->Edit3->clear();
    refreshGrid();
}

void TForm7::BitBtn5Click()
{
    if (m_lines->isEmpty())
        return;
    QStringList displayLines;
    const int current = m_lines->position();
    for (m_lines->first(); !m_lines->eof(); m_lines->next())
        displayLines.append(m_lines->text(QStringLiteral("ntemp")));
    m_lines->setPosition(current);
    if (m_memo)
        m_memo->setPlainText(tarnex::journalAnswerText(displayLines));
    accept();
}

void TForm7::DBGridEh1MouseDown()
{
    if (m_lines->isEmpty() || m_lines->eof())
        return;
    ui->Edit2->setText(trimmedText(m_lines->text(QStringLiteral("edit2"))));
    ui->Edit3->setText(trimmedText(m_lines->text(QStringLiteral("edit3"))));
    ui->RzComboBox2->setCurrentIndex(
        ui->RzComboBox2->findText(trimmedText(m_lines->text(QStringLiteral("combobox")))));
}

bool TForm7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->DBGridEh1->viewport() && event->type() == QEvent::MouseButtonPress) {
        // The line under the pointer becomes current first, as the grid does it, then its
        // fields are copied.
        const auto* press = static_cast<QMouseEvent*>(event);
        const int row = ui->DBGridEh1->indexAt(press->position().toPoint()).row();
        if (row >= 0 && row < m_lines->recordCount()) {
            m_lines->setPosition(row);
            m_refreshingGrid = true;
            ui->DBGridEh1->selectRow(row);
            m_refreshingGrid = false;
        }
        DBGridEh1MouseDown();
    }
    return QDialog::eventFilter(watched, event);
}

// Sets the four columns of the line being appended or edited, posts it and shows the list.
void TForm7::writeLine(const tarnex::JournalLine& line)
{
    m_lines->setText(QStringLiteral("edit2"), line.subject);
    m_lines->setText(QStringLiteral("edit3"), line.amount);
    m_lines->setText(QStringLiteral("combobox"), line.direction);
    m_lines->setText(QStringLiteral("ntemp"), line.displayLine());
    m_lines->post();
    refreshGrid();
}

void TForm7::gridLineChanged(int row)
{
    if (m_refreshingGrid || row < 0 || row >= m_lines->recordCount())
        return;
    m_lines->setPosition(row);
    DBGridEh1MouseDown();
}

void TForm7::refreshGrid()
{
    // Showing the lines moves the grid's highlight to the data set's current line, not the other
    // way round.
    m_refreshingGrid = true;
    const auto done = qScopeGuard([this] { m_refreshingGrid = false; });
    QTableWidget* grid = ui->DBGridEh1;
    const int current = m_lines->position();
    grid->setRowCount(m_lines->recordCount());
    for (int row = 0; row < m_lines->recordCount(); ++row) {
        m_lines->setPosition(row);
        auto* cell = new QTableWidgetItem(m_lines->text(QStringLiteral("ntemp")));
        grid->setItem(row, 0, cell);
    }
    m_lines->setPosition(current);
    if (current < m_lines->recordCount())
        grid->selectRow(current);
    else
        grid->clearSelection();
}
