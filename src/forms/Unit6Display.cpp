// The exam screen: display of the selected question, previous and next, the number search.
#include "Unit6.h"

#include "Unit6OptionBox.h"
#include "ui_Unit6.h"

#include "data/DataSet.h"
#include "exam/AnswerLetters.h"
#include "exam/ExamWindowRules.h"
#include "exam/QuestionTexts.h"
#include "platform/Dialogs.h"
#include "platform/TextUtil.h"
#include "richtext/RtfReader.h"

#include <QKeyEvent>

using namespace tarnex;

namespace {

// Clearing a button of an exclusive panel needs the exclusivity off for a moment; it runs no
// handler, since those act on selection only.
void clearRadio(QRadioButton* button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

QTreeWidgetItem* nextSibling(const QTreeWidgetItem* node)
{
    if (const QTreeWidgetItem* parent = node->parent())
        return parent->child(parent->indexOfChild(const_cast<QTreeWidgetItem*>(node)) + 1);
    QTreeWidget* tree = node->treeWidget();
    return tree->topLevelItem(tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node)) + 1);
}

} // namespace

// The index is walked with the mouse, the arrow keys or an assistive technology's selection, and
// whatever question is selected is shown, once per change: a click that selected a node has shown
// it already when the button is released. A click on the node already shown, and Enter, show it
// again; only they lead from a root to its first question, so the arrow keys can pass over the
// roots.
void TForm6::connectIndexNavigation()
{
    QTreeWidget* tree = ui->RzTreeView1;
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        m_shownBySelection = nullptr;
        if (m_selectingFromCode || current == nullptr || current->parent() == nullptr)
            return;
        m_shownBySelection = current;
        RzTreeView1Click();
    });
    // An assistive technology may select a row without moving the current one.
    connect(tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = ui->RzTreeView1->selectedItems();
        if (!m_selectingFromCode && selected.size() == 1 &&
            selected.first() != ui->RzTreeView1->currentItem())
            ui->RzTreeView1->setCurrentItem(selected.first());
    });
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item == m_shownBySelection) {
            m_shownBySelection = nullptr;
            return;
        }
        RzTreeView1Click();
    });
}

// Selects a node for the program, which shows it itself.
void TForm6::selectNode(QTreeWidgetItem* node)
{
    m_selectingFromCode = true;
    ui->RzTreeView1->setCurrentItem(node);
    m_selectingFromCode = false;
}

// A press starts a new click: whether it shows the node is decided by what the press selects.
bool TForm6::indexEvent(QObject* watched, QEvent* event)
{
    if (watched == ui->RzTreeView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        m_shownBySelection = nullptr;
        return false;
    }
    if (watched == ui->RzTreeView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RzTreeView1Click();
            return true;
        }
    }
    return false;
}

void TForm6::RzTreeView1Click()
{
    QTreeWidgetItem* node = ui->RzTreeView1->currentItem();
    if (node == nullptr)
        return;
    if (node->parent() != nullptr)
        showQuestionNode(node);
    else
        showRootNode(node);
}

void TForm6::showQuestionNode(QTreeWidgetItem* node)
{
    const QString rootText = node->parent()->text(0);
    const QString number = node->text(0);
    const std::optional<QuestionKind> kind = kindOfRootText(rootText);
    if (kind)
        showQuestionRow(*kind, number);

    ui->Label10->setText(questionHeading(rootText, number));
    dangqian_tihao = tihaolist.indexOf(number);

    if (kind && showsExamAsStrip(*kind, ui->RzBmpButton3->text())) {
        if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
            showAsStrip();
    } else if (!isMaximized()) {
        showMaximized();
    }
    // A new window size keeps the index's scroll position; the shown question stays in sight.
    ui->RzTreeView1->scrollToItem(node);
}

// Fills the kind's page from the row with the number; a number without its row switches the page
// only, which keeps what it showed before.
bool TForm6::showQuestionRow(QuestionKind kind, const QString& number)
{
    if (ui->RzPageControl1->currentIndex() != kindIndex(kind))
        ui->RzPageControl1->setCurrentIndex(kindIndex(kind));

    DataSet& row = query(kind);
    if (!row.locate(QStringLiteral("tihao"), number))
        return false;

    const QStringList columns = kindRichTextColumns(kind);
    const std::array<QTextEdit*, 3> editors = richTextEditors(kind);
    for (int i = 0; i < columns.size(); ++i)
        loadStoredValue(editors.at(std::size_t(i)), row.value(columns.at(i)));

    QLineEdit* numberEdits[] = {ui->ed_dan_tihao,    ui->ed_duoxuan_tihao, ui->ed_shi_tihao,
                                ui->ed_jisuan_tihao, ui->ed_anli_tihao,    ui->ed_wushi_tihao};
    numberEdits[kindIndex(kind)]->setText(row.text(QStringLiteral("tihao")));

    restoreAnswers(kind, row);

    CorrectAnswer answer;
    if (row.hasColumn(QStringLiteral("da")))
        answer.da = row.text(QStringLiteral("da"));
    if (hasSubQuestions(kind)) {
        for (int i = 1; i <= SubQuestionCount; ++i)
            answer.subAnswers.append(row.text(subQuestionAnswerColumn(i)));
    }
    if (row.hasColumn(QStringLiteral("leixing")))
        answer.leixing = row.text(QStringLiteral("leixing"));
    ui->Label27->setText(correctAnswerLine(kind, answer));
    return true;
}

// The stem, option and analysis editors of a kind, in the order of kindRichTextColumns().
std::array<QTextEdit*, 3> TForm6::richTextEditors(QuestionKind kind) const
{
    switch (kind) {
    case QuestionKind::SingleChoice:
        return {ui->ed_dan_tou, ui->ed_dan_wei, ui->ed_dan_ping};
    case QuestionKind::MultipleChoice:
        return {ui->ed_duo_tou, ui->ed_duo_wei, ui->ed_duo_ping};
    case QuestionKind::TrueFalse:
        return {ui->ed_shi_tou, ui->ed_shi_ping, nullptr};
    case QuestionKind::Calculation:
        return {ui->ed_jisuan_tou, ui->ed_jisuan_ping, nullptr};
    case QuestionKind::Case:
        return {ui->ed_anli_tou, ui->ed_anli_ping, nullptr};
    case QuestionKind::Practical:
        break;
    }
    return {ui->ed_wushi_tou, ui->ed_wushi_ping, nullptr};
}

// Puts the stored answers back. Selecting an option button records its letter again, as a click
// would; setting option boxes records nothing.
void TForm6::restoreAnswers(QuestionKind kind, const DataSet& row)
{
    switch (kind) {
    case QuestionKind::SingleChoice: {
        for (QRadioButton* button : m_singleChoice)
            clearRadio(button);
        const int option = singleChoiceOption(row.text(QStringLiteral("xuan")));
        if (option >= 0)
            m_singleChoice.at(std::size_t(option))->setChecked(true);
        break;
    }
    case QuestionKind::TrueFalse: {
        clearRadio(ui->shi_true);
        clearRadio(ui->shi_false);
        const TrueFalseSelection selection = trueFalseSelection(row.text(QStringLiteral("xuan")));
        if (selection.selectTrue)
            ui->shi_true->setChecked(true);
        if (selection.selectFalse)
            ui->shi_false->setChecked(true);
        break;
    }
    case QuestionKind::MultipleChoice:
    case QuestionKind::Calculation:
    case QuestionKind::Case:
        for (const OptionGroup& group : m_optionGroups) {
            if (group.kind != kind)
                continue;
            const OptionTicks ticks = lettersOccurring(row.text(group.column));
            for (int option = 0; option < 4; ++option)
                group.boxes.at(std::size_t(option))->setChecked(ticks.at(std::size_t(option)));
        }
        if (kind == QuestionKind::Calculation) {
            QPlainTextEdit* memos[] = {ui->ed_tishi_1, ui->ed_tishi_2, ui->ed_tishi_3, ui->ed_tishi_4,
                                       ui->ed_tishi_5};
            for (int i = 0; i < SubQuestionCount; ++i)
                memos[i]->setPlainText(row.text(subQuestionTextColumn(i + 1)));
            if (isChoiceTypeCalculation(row.text(QStringLiteral("leixing"))))
                ui->xuanzexing->setChecked(true);
            else
                ui->caozuoxing->setChecked(true);
        }
        break;
    case QuestionKind::Practical:
        break;
    }
}

void TForm6::showRootNode(QTreeWidgetItem* root)
{
    ui->Label27->setText(bareCorrectAnswerLine());
    for (QTreeWidgetItem* node = root; node != nullptr; node = nextSibling(node)) {
        if (node->childCount() > 0) {
            selectNode(node->child(0));
            RzTreeView1Click();
            return;
        }
    }
}

// The strip along the bottom of the work area; the extra pixel makes the panels lay out afresh.
void TForm6::showAsStrip()
{
    showNormal();
    placeAlongBottom();
    resize(width(), height() + 1);
    resize(width(), height() - 1);
}

void TForm6::RzBmpButton1Click()
{
    switch (tihaolist.stepNext(dangqian_tihao)) {
    case NavigationList::Step::Nothing:
        return;
    case NavigationList::Step::AtBoundary:
        Dialogs::info(this, NavigationList::lastEntryMessage());
        return;
    case NavigationList::Step::Moved:
        selectAndShowNumber(tihaolist.at(dangqian_tihao));
        return;
    }
}

void TForm6::RzBmpButton2Click()
{
    switch (tihaolist.stepPrevious(dangqian_tihao)) {
    case NavigationList::Step::Nothing:
        return;
    case NavigationList::Step::AtBoundary:
        Dialogs::info(this, NavigationList::firstEntryMessage());
        return;
    case NavigationList::Step::Moved:
        selectAndShowNumber(tihaolist.at(dangqian_tihao));
        return;
    }
}

// Shows every question node with the number, in tree order: the walk goes on after a hit.
void TForm6::selectAndShowNumber(const QString& number)
{
    QTreeWidget* tree = ui->RzTreeView1;
    for (int r = 0; r < tree->topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = tree->topLevelItem(r);
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* node = root->child(i);
            if (node->text(0) == number) {
                selectNode(node);
                RzTreeView1Click();
            }
        }
    }
}

void TForm6::find_nodetext(QTreeWidgetItem* start, const QString& number)
{
    const QString wanted = trimmedText(number);
    for (QTreeWidgetItem* node = start; node != nullptr; node = nextSibling(node)) {
        if (trimmedText(node->text(0)) == wanted)
            nodetext = number;
        if (node->childCount() > 0)
            find_nodetext(node->child(0), number);
    }
}
