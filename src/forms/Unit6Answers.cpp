// The exam screen: answer capture and the emptying of the clipboard.
#include "Unit6.h"

#include "Unit6OptionBox.h"
#include "ui_Unit6.h"

#include "data/DataSet.h"
#include "exam/AnswerLetters.h"
#include "platform/Clipboard.h"

#include <QEvent>

using namespace tarnex;

void TForm6::connectAnswerControls()
{
    m_singleChoice = {ui->d_a, ui->d_b, ui->d_c, ui->d_d};
    for (int option = 0; option < 4; ++option) {
        connect(m_singleChoice.at(std::size_t(option)), &QRadioButton::toggled, this,
                [this, option](bool selected) {
                    if (selected)
                        singleChoiceClick(option);
                });
    }
    connect(ui->shi_true, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            trueFalseClick(true);
    });
    connect(ui->shi_false, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            trueFalseClick(false);
    });
    connect(ui->xuanzexing, &QRadioButton::toggled, this, &TForm6::xuanzexingClick);
    connect(ui->caozuoxing, &QRadioButton::toggled, this, &TForm6::caozuoxingClick);

    m_optionGroups.push_back(
        {{ui->du_a, ui->du_b, ui->du_c, ui->du_d}, QuestionKind::MultipleChoice, QStringLiteral("xuan")});
    const std::array<std::array<OptionBox*, 4>, SubQuestionCount> calculation = {{
        {ui->ck_1_a, ui->ck_1_b, ui->ck_1_c, ui->ck_1_d},
        {ui->ck_2_a, ui->ck_2_b, ui->ck_2_c, ui->ck_2_d},
        {ui->ck_3_a, ui->ck_3_b, ui->ck_3_c, ui->ck_3_d},
        {ui->ck_4_a, ui->ck_4_b, ui->ck_4_c, ui->ck_4_d},
        {ui->ck_5_a, ui->ck_5_b, ui->ck_5_c, ui->ck_5_d},
    }};
    const std::array<std::array<OptionBox*, 4>, SubQuestionCount> caseGroups = {{
        {ui->ck_anli_1_a, ui->ck_anli_1_b, ui->ck_anli_1_c, ui->ck_anli_1_d},
        {ui->ck_anli_2_a, ui->ck_anli_2_b, ui->ck_anli_2_c, ui->ck_anli_2_d},
        {ui->ck_anli_3_a, ui->ck_anli_3_b, ui->ck_anli_3_c, ui->ck_anli_3_d},
        {ui->ck_anli_4_a, ui->ck_anli_4_b, ui->ck_anli_4_c, ui->ck_anli_4_d},
        {ui->ck_anli_5_a, ui->ck_anli_5_b, ui->ck_anli_5_c, ui->ck_anli_5_d},
    }};
    for (int i = 0; i < SubQuestionCount; ++i) {
        m_optionGroups.push_back(
            {calculation.at(std::size_t(i)), QuestionKind::Calculation, subQuestionChoiceColumn(i + 1)});
    }
    for (int i = 0; i < SubQuestionCount; ++i)
        m_optionGroups.push_back(
            {caseGroups.at(std::size_t(i)), QuestionKind::Case, subQuestionChoiceColumn(i + 1)});

    for (std::size_t g = 0; g < m_optionGroups.size(); ++g) {
        for (OptionBox* box : m_optionGroups.at(g).boxes)
            connect(box, &OptionBox::answerGesture, this,
                    [this, g] { optionGroupMouseUp(m_optionGroups.at(g)); });
    }

    // A mouse selection in a pane also fills the X11 selection, which a middle click pastes into
    // any program; it is emptied like the clipboard.
    watchOwnSelection(this, [this](const QString& selected) {
        for (QTextEdit* pane : questionPanes()) {
            if (pane->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n') == selected) {
                ed_dan_touClipboardChange();
                return;
            }
        }
    });
    for (QTextEdit* pane : questionPanes()) {
        connect(pane, &QTextEdit::selectionChanged, this, &TForm6::ed_dan_touClipboardChange);
        connect(pane, &QTextEdit::textChanged, this, &TForm6::ed_dan_touClipboardChange);
        pane->installEventFilter(this);
        pane->viewport()->installEventFilter(this);
    }
}

std::array<QTextEdit*, 14> TForm6::questionPanes() const
{
    return {ui->ed_dan_tou,  ui->ed_dan_wei,   ui->ed_dan_ping,  ui->ed_duo_tou,    ui->ed_duo_wei,
            ui->ed_duo_ping, ui->ed_shi_tou,   ui->ed_shi_ping,  ui->ed_jisuan_tou, ui->ed_jisuan_ping,
            ui->ed_anli_tou, ui->ed_anli_ping, ui->ed_wushi_tou, ui->ed_wushi_ping};
}

// Clicks, key presses and key releases in a question pane report like its text and selection
// changes, so a copy made with the keyboard is gone as soon as the keys are let go.
bool TForm6::eventFilter(QObject* watched, QEvent* event)
{
    if (indexEvent(watched, event))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        for (QTextEdit* pane : questionPanes()) {
            if (watched == pane || watched == pane->viewport()) {
                // The pane handles the event first (a copy happens there); then the clipboard goes.
                QMetaObject::invokeMethod(this, &TForm6::ed_dan_touClipboardChange, Qt::QueuedConnection);
                break;
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm6::ed_dan_touClipboardChange()
{
    // The emptying protects a candidate's paper; an author copies and pastes questions.
    if (m_mode == ProgramMode::Author)
        return;
    emptyClipboard();
}

// Answers are recorded only while a question is selected in the index; with a root selected (the
// keyboard moved there) the controls change but nothing is written.
bool TForm6::questionSelected() const
{
    const QTreeWidgetItem* node = ui->RzTreeView1->currentItem();
    return node != nullptr && node->parent() != nullptr;
}

void TForm6::recordAnswer(DataSet& set, const QString& column, const QString& value)
{
    // A failed post cancels the edit and throws on: the node keeps its image.
    set.edit();
    set.setText(column, value);
    set.post();
    if (QTreeWidgetItem* node = ui->RzTreeView1->currentItem())
        setNodeImage(node, ImageAnswered);
}

void TForm6::singleChoiceClick(int option)
{
    if (!questionSelected())
        return;
    recordAnswer(ADOQuery_dds(), QStringLiteral("xuan"), optionLetter(option));
}

void TForm6::trueFalseClick(bool isTrue)
{
    if (!questionSelected())
        return;
    recordAnswer(ADOQuery_sf(), QStringLiteral("xuan"), trueFalseLetter(isTrue));
}

// The group's letters as the boxes show them after the click, in the order a, b, c, d; an empty
// group is recorded too and still counts as answered.
void TForm6::optionGroupMouseUp(const OptionGroup& group)
{
    if (!questionSelected())
        return;
    OptionTicks ticks{};
    for (int option = 0; option < 4; ++option)
        ticks.at(std::size_t(option)) = group.boxes.at(std::size_t(option))->isChecked();
    recordAnswer(query(group.kind), group.column, composeAnswerLetters(ticks));
}

void TForm6::xuanzexingClick()
{
    if (!ui->xuanzexing->isChecked())
        return;
    ui->RzPanel23->hide();
    ui->RzPanel24->show();
    update();
}

void TForm6::caozuoxingClick()
{
    if (!ui->caozuoxing->isChecked())
        return;
    ui->RzPanel24->hide();
    ui->RzPanel23->show();
    update();
}
