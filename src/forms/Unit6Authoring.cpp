// The exam screen as the editor of its paper, in author mode: the authoring controls, add, delete
// and modify of the six kinds, and the key filter of the single-choice number edit.
#include "Unit6.h"

#include "Unit6OptionBox.h"
#include "ui_Unit6.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "exam/QuestionAuthoring.h"
#include "platform/Dialogs.h"
#include "platform/TextUtil.h"
#include "richtext/RtfWriter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace tarnex;

namespace {

// Lets through what ed_dan_tihaoKeyPress accepts. Keys that type nothing (arrows, Delete, Home)
// and Tab pass; a middle-button paste and an input method's text go the same way as typed keys.
class NumberKeyFilter : public QObject
{
public:
    explicit NumberKeyFilter(TForm6* form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
                break;
            return !m_form->ed_dan_tihaoKeyPress(key->text());
        }
        case QEvent::InputMethod: {
            const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
            for (const QChar c : text) {
                if (!m_form->ed_dan_tihaoKeyPress(QString(c)))
                    return true;
            }
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
                return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TForm6* m_form;
};

void clearRadio(QRadioButton* button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

// The row of the query whose number is the given one: the exact spelling first, then, as the
// display finds rows, ignoring case.
bool locateQuestion(DataSet& set, const QString& number)
{
    const QString tihao = QStringLiteral("tihao");
    if (!set.locate(tihao, number))
        return false;
    if (set.text(tihao) == number)
        return true;
    const int caseInsensitiveHit = set.position();
    for (int row = caseInsensitiveHit + 1; row < set.recordCount(); ++row) {
        set.setPosition(row);
        if (set.text(tihao) == number)
            return true;
    }
    set.setPosition(caseInsensitiveHit);
    return true;
}

QTreeWidgetItem* childWithText(QTreeWidgetItem* root, const QString& text)
{
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == text)
            return root->child(i);
    }
    return nullptr;
}

} // namespace

namespace {

struct AuthoringControls
{
    QLineEdit* number = nullptr;
    std::array<QTextEdit*, 3> editors{}; // stem, options or analysis, analysis
    std::vector<std::array<OptionBox*, 4>> groups;
};

AuthoringControls controlsOf(Ui::TForm6* ui, QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::SingleChoice:
        return {ui->ed_dan_tihao, {ui->ed_dan_tou, ui->ed_dan_wei, ui->ed_dan_ping}, {}};
    case QuestionKind::MultipleChoice:
        return {ui->ed_duoxuan_tihao,
                {ui->ed_duo_tou, ui->ed_duo_wei, ui->ed_duo_ping},
                {{ui->du_a, ui->du_b, ui->du_c, ui->du_d}}};
    case QuestionKind::TrueFalse:
        return {ui->ed_shi_tihao, {ui->ed_shi_tou, ui->ed_shi_ping, nullptr}, {}};
    case QuestionKind::Calculation:
        return {ui->ed_jisuan_tihao,
                {ui->ed_jisuan_tou, ui->ed_jisuan_ping, nullptr},
                {{ui->ck_1_a, ui->ck_1_b, ui->ck_1_c, ui->ck_1_d},
                 {ui->ck_2_a, ui->ck_2_b, ui->ck_2_c, ui->ck_2_d},
                 {ui->ck_3_a, ui->ck_3_b, ui->ck_3_c, ui->ck_3_d},
                 {ui->ck_4_a, ui->ck_4_b, ui->ck_4_c, ui->ck_4_d},
                 {ui->ck_5_a, ui->ck_5_b, ui->ck_5_c, ui->ck_5_d}}};
    case QuestionKind::Case:
        return {ui->ed_anli_tihao,
                {ui->ed_anli_tou, ui->ed_anli_ping, nullptr},
                {{ui->ck_anli_1_a, ui->ck_anli_1_b, ui->ck_anli_1_c, ui->ck_anli_1_d},
                 {ui->ck_anli_2_a, ui->ck_anli_2_b, ui->ck_anli_2_c, ui->ck_anli_2_d},
                 {ui->ck_anli_3_a, ui->ck_anli_3_b, ui->ck_anli_3_c, ui->ck_anli_3_d},
                 {ui->ck_anli_4_a, ui->ck_anli_4_b, ui->ck_anli_4_c, ui->ck_anli_4_d},
                 {ui->ck_anli_5_a, ui->ck_anli_5_b, ui->ck_anli_5_c, ui->ck_anli_5_d}}};
    case QuestionKind::Practical:
        break;
    }
    return {ui->ed_wushi_tihao, {ui->ed_wushi_tou, ui->ed_wushi_ping, nullptr}, {}};
}

bool hasOptionsEditor(QuestionKind kind)
{
    return kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice;
}

OptionTicks ticksOf(const std::array<OptionBox*, 4>& boxes)
{
    OptionTicks ticks{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ticks.at(i) = boxes.at(i)->isChecked();
    return ticks;
}

AuthoredQuestion readPage(Ui::TForm6* ui, QuestionKind kind)
{
    const AuthoringControls controls = controlsOf(ui, kind);
    AuthoredQuestion question;
    question.kind = kind;
    question.stem = controls.editors.at(0)->toPlainText();
    if (hasOptionsEditor(kind))
        question.options = controls.editors.at(1)->toPlainText();
    question.number = controls.number->text();
    switch (kind) {
    case QuestionKind::SingleChoice: {
        const QRadioButton* buttons[] = {ui->d_a, ui->d_b, ui->d_c, ui->d_d};
        for (int i = 0; i < 4; ++i) {
            if (buttons[i]->isChecked())
                question.singleChoice = i;
        }
        break;
    }
    case QuestionKind::MultipleChoice:
        question.multipleChoice = ticksOf(controls.groups.at(0));
        break;
    case QuestionKind::TrueFalse:
        question.trueTicked = ui->shi_true->isChecked();
        question.falseTicked = ui->shi_false->isChecked();
        break;
    case QuestionKind::Calculation:
    case QuestionKind::Case:
        for (std::size_t i = 0; i < controls.groups.size(); ++i)
            question.subAnswers.at(i) = ticksOf(controls.groups.at(i));
        if (kind == QuestionKind::Calculation) {
            question.type = ui->xuanzexing->isChecked()   ? CalculationType::Choice
                            : ui->caozuoxing->isChecked() ? CalculationType::Written
                                                          : CalculationType::None;
        }
        break;
    case QuestionKind::Practical:
        break;
    }
    return question;
}

} // namespace

void TForm6::setUpAuthoring()
{
    if (m_mode != ProgramMode::Author)
        return;
    setWindowTitle(windowTitleFor(m_mode, windowTitle()));

    QWidget* const shown[] = {
        ui->Button19,    ui->Label11,        ui->ed_dan_tihao,     ui->Button1,      ui->Button2,
        ui->Button3,     ui->Label12,        ui->ed_duoxuan_tihao, ui->Button4,      ui->Button5,
        ui->Button6,     ui->Label26,        ui->ed_shi_tihao,     ui->Button7,      ui->Button8,
        ui->Button9,     ui->xuanzexing,     ui->caozuoxing,       ui->Label24,      ui->ed_jisuan_tihao,
        ui->Button15,    ui->Button14,       ui->Button13,         ui->Label25,      ui->ed_anli_tihao,
        ui->Button18,    ui->Button17,       ui->Button16,         ui->Label13,      ui->ed_wushi_tihao,
        ui->Button12,    ui->Button11,       ui->Button10,         ui->ed_dan_ping,  ui->ed_duo_ping,
        ui->ed_shi_ping, ui->ed_jisuan_ping, ui->ed_anli_ping,     ui->ed_wushi_ping};
    for (QWidget* widget : shown)
        widget->show();
    for (QTextEdit* editor :
         {static_cast<QTextEdit*>(ui->ed_dan_tou), static_cast<QTextEdit*>(ui->ed_dan_wei),
          static_cast<QTextEdit*>(ui->ed_dan_ping), static_cast<QTextEdit*>(ui->ed_duo_tou),
          static_cast<QTextEdit*>(ui->ed_duo_wei), static_cast<QTextEdit*>(ui->ed_duo_ping),
          static_cast<QTextEdit*>(ui->ed_shi_tou), static_cast<QTextEdit*>(ui->ed_shi_ping),
          static_cast<QTextEdit*>(ui->ed_jisuan_tou), static_cast<QTextEdit*>(ui->ed_jisuan_ping),
          static_cast<QTextEdit*>(ui->ed_anli_tou), static_cast<QTextEdit*>(ui->ed_anli_ping),
          static_cast<QTextEdit*>(ui->ed_wushi_tou), static_cast<QTextEdit*>(ui->ed_wushi_ping)}) {
        editor->setReadOnly(false);
        editor->setTextInteractionFlags(Qt::TextEditorInteraction);
        editor->setContextMenuPolicy(Qt::DefaultContextMenu);
    }

    const std::pair<QPushButton*, void (TForm6::*)()> handlers[] = {
        {ui->Button1, &TForm6::Button1Click},   {ui->Button2, &TForm6::Button2Click},
        {ui->Button3, &TForm6::Button3Click},   {ui->Button4, &TForm6::Button4Click},
        {ui->Button5, &TForm6::Button5Click},   {ui->Button6, &TForm6::Button6Click},
        {ui->Button7, &TForm6::Button7Click},   {ui->Button8, &TForm6::Button8Click},
        {ui->Button9, &TForm6::Button9Click},   {ui->Button10, &TForm6::Button10Click},
        {ui->Button11, &TForm6::Button11Click}, {ui->Button12, &TForm6::Button12Click},
        {ui->Button13, &TForm6::Button13Click}, {ui->Button14, &TForm6::Button14Click},
        {ui->Button15, &TForm6::Button15Click}, {ui->Button16, &TForm6::Button16Click},
        {ui->Button17, &TForm6::Button17Click}, {ui->Button18, &TForm6::Button18Click},
        {ui->Button19, &TForm6::Button19Click}};
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);

    // The edit takes typed digits only; a paste from its menu would go around the key filter.
    ui->ed_dan_tihao->setContextMenuPolicy(Qt::NoContextMenu);
    ui->ed_dan_tihao->setAcceptDrops(false);
    ui->ed_dan_tihao->installEventFilter(new NumberKeyFilter(this));

    // An author turns to another kind's page by its tab. A question of another kind must not stay
    // selected there: the answer controls and modify of this page would act on it.
    connect(ui->RzPageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page < 0 || page >= QuestionKindCount)
            return;
        const QTreeWidgetItem* current = ui->RzTreeView1->currentItem();
        if (current != nullptr && current->parent() != nullptr && current->parent() != rootNode(kindAt(page)))
            ui->RzTreeView1->setCurrentItem(nullptr);
    });

    // Once another question of a kind is selected, the question added last is no longer what the
    // author works on.
    connect(ui->RzTreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current == nullptr || current->parent() == nullptr)
            return;
        const std::optional<QuestionKind> kind = kindOfRootText(current->parent()->text(0));
        if (!kind)
            return;
        QString& added = m_justAdded.at(std::size_t(kindIndex(*kind)));
        if (!added.isNull() && current->text(0) != added)
            added.clear();
    });
}

void TForm6::Button1Click()
{
    addQuestion(QuestionKind::SingleChoice);
}

void TForm6::Button2Click()
{
    deleteQuestion(QuestionKind::SingleChoice);
}

void TForm6::Button3Click()
{
    modifyQuestion(QuestionKind::SingleChoice);
}

void TForm6::Button4Click()
{
    addQuestion(QuestionKind::MultipleChoice);
}

void TForm6::Button5Click()
{
    deleteQuestion(QuestionKind::MultipleChoice);
}

void TForm6::Button6Click()
{
    modifyQuestion(QuestionKind::MultipleChoice);
}

void TForm6::Button7Click()
{
    addQuestion(QuestionKind::TrueFalse);
}

void TForm6::Button8Click()
{
    deleteQuestion(QuestionKind::TrueFalse);
}

void TForm6::Button9Click()
{
    modifyQuestion(QuestionKind::TrueFalse);
}

void TForm6::Button15Click()
{
    addQuestion(QuestionKind::Calculation);
}

void TForm6::Button14Click()
{
    deleteQuestion(QuestionKind::Calculation);
}

void TForm6::Button13Click()
{
    modifyQuestion(QuestionKind::Calculation);
}

void TForm6::Button18Click()
{
    addQuestion(QuestionKind::Case);
}

void TForm6::Button17Click()
{
    deleteQuestion(QuestionKind::Case);
}

void TForm6::Button16Click()
{
    modifyQuestion(QuestionKind::Case);
}

void TForm6::Button12Click()
{
    addQuestion(QuestionKind::Practical);
}

void TForm6::Button11Click()
{
    deleteQuestion(QuestionKind::Practical);
}

void TForm6::Button10Click()
{
    modifyQuestion(QuestionKind::Practical);
}

// The navigation list as it was built at loading, one number per line, and its length.
void TForm6::Button19Click()
{
    ui->ed_dan_tou->setPlainText(tihaolist.entries().join(u'\n'));
    Dialogs::plain(this, QString::number(tihaolist.size()), applicationTitle());
}

bool TForm6::ed_dan_tihaoKeyPress(const QString& keyText)
{
    if (isNumberKeyAccepted(keyText))
        return true;
    Dialogs::info(this, digitsOnlyMessage());
    return false;
}

namespace {

QStringList indexTexts(const QTreeWidget* tree)
{
    QStringList texts;
    for (int r = 0; r < tree->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* root = tree->topLevelItem(r);
        texts.append(root->text(0));
        for (int i = 0; i < root->childCount(); ++i)
            texts.append(root->child(i)->text(0));
    }
    return texts;
}

void focusField(const AuthoringControls& controls, AuthoringField field)
{
    switch (field) {
    case AuthoringField::Stem:
        controls.editors.at(0)->setFocus();
        break;
    case AuthoringField::Options:
        controls.editors.at(1)->setFocus();
        break;
    case AuthoringField::Number:
        controls.number->setFocus();
        break;
    case AuthoringField::None:
        break;
    }
}

} // namespace

// Checks the page and refuses with the first failing check, its focus moved where the author has
// to type. True when the page holds a complete question.
static bool pageIsComplete(TForm6* form, QuestionKind kind, const AuthoredQuestion& question)
{
    const std::optional<AuthoringRefusal> refusal = checkAuthoredQuestion(question);
    if (!refusal)
        return true;
    Dialogs::info(form, refusal->message);
    focusField(controlsOf(form->ui, kind), refusal->focus);
    return false;
}

void TForm6::addQuestion(QuestionKind kind)
{
    QTreeWidgetItem* root = rootNode(kind);
    root->setExpanded(true);
    const AuthoredQuestion question = readPage(ui, kind);
    if (!pageIsComplete(this, kind, question))
        return;
    if (!Dialogs::confirm(this, addConfirmation()))
        return;
    const QString number = authoredNumber(question.number);
    nodetext.clear();
    if (isNumberTaken(indexTexts(ui->RzTreeView1), number)) {
        nodetext = number;
        Dialogs::info(this, numberTakenOnAdd());
        return;
    }

    // The row first: the index never shows a question that the file does not hold.
    DataSet& set = query(kind);
    set.append();
    try {
        writeAuthoredRow(kind, question, number);
        for (const QString& column : BankSchema::answerColumns(kindTable(kind)))
            set.setText(column, QString());
        set.post();
    } catch (...) {
        set.cancel();
        throw;
    }

    auto* node = new QTreeWidgetItem(QStringList{number});
    setNodeImage(node, ImageUnanswered);
    root->addChild(node);
    // Selected without being shown: the editors keep what the author typed.
    selectNode(node);
    m_justAdded.at(std::size_t(kindIndex(kind))) = number;

    if (kind == QuestionKind::Calculation || kind == QuestionKind::Case)
        clearAuthoringPage(kind, false);
}

// Sets the authored columns of the query's row in edit: the rich texts as RTF, the number, the
// paper and subject of the exam screen, and the correct answers.
void TForm6::writeAuthoredRow(QuestionKind kind, const AuthoredQuestion& question, const QString& number)
{
    DataSet& set = query(kind);
    const QStringList columns = kindRichTextColumns(kind);
    const std::array<QTextEdit*, 3> editors = controlsOf(ui, kind).editors;
    for (int i = 0; i < columns.size(); ++i)
        set.setBytes(columns.at(i), writeRtf(*editors.at(std::size_t(i))->document()));
    set.setText(QStringLiteral("tihao"), number);
    set.setText(QStringLiteral("tao"), trimmedText(ui->shiti->text()));
    set.setText(QStringLiteral("kemu"), trimmedText(ui->kemu->text()));
    for (const auto& [column, value] : authoredAnswerColumns(question))
        set.setText(column, value);
}

// Empties the page for the next question: after a calculation or case add, and after a delete.
void TForm6::clearAuthoringPage(QuestionKind kind, bool afterDelete)
{
    const AuthoringControls controls = controlsOf(ui, kind);
    controls.number->clear();
    for (QTextEdit* editor : controls.editors) {
        if (editor != nullptr)
            editor->clear();
    }
    for (const auto& group : controls.groups) {
        for (OptionBox* box : group)
            box->setChecked(false);
    }
    switch (kind) {
    case QuestionKind::SingleChoice:
        for (QRadioButton* button : {ui->d_a, ui->d_b, ui->d_c, ui->d_d})
            clearRadio(button);
        break;
    case QuestionKind::TrueFalse:
        clearRadio(ui->shi_true);
        clearRadio(ui->shi_false);
        break;
    case QuestionKind::Calculation:
        for (QPlainTextEdit* memo :
             {ui->ed_tishi_1, ui->ed_tishi_2, ui->ed_tishi_3, ui->ed_tishi_4, ui->ed_tishi_5})
            memo->clear();
        // A delete leaves the page ready for a question of the choice type; an add keeps the type.
        if (afterDelete)
            ui->xuanzexing->setChecked(true);
        break;
    default:
        break;
    }
}

void TForm6::deleteQuestion(QuestionKind kind)
{
    QTreeWidgetItem* node = ui->RzTreeView1->currentItem();
    if (node == nullptr || node->parent() == nullptr) {
        Dialogs::info(this, selectQuestionToDelete());
        return;
    }
    if (!Dialogs::confirm(this, deleteConfirmation()))
        return;
    // Only a question of this kind has its row in this kind's table; another kind's selected
    // node must not lose its place in the index for a row it does not stand for.
    const QString number = node->text(0);
    DataSet& set = query(kind);
    if (node->parent() != rootNode(kind) || !locateQuestion(set, number))
        return;

    // A delete that fails leaves the node and the page as they were.
    set.remove();
    clearAuthoringPage(kind, true);
    QString& added = m_justAdded.at(std::size_t(kindIndex(kind)));
    if (added == number)
        added.clear();
    // The emptied page stands for no question: nothing stays selected that a modify could write,
    // and the neighbour the index would move to is not shown.
    selectNode(nullptr);
    delete node;
}

void TForm6::modifyQuestion(QuestionKind kind)
{
    QTreeWidgetItem* selected = ui->RzTreeView1->currentItem();
    const bool questionSelected = selected != nullptr && selected->parent() != nullptr;
    if (modifyNeedsSelectedQuestion(kind) && !questionSelected) {
        Dialogs::info(this, selectQuestionToModify());
        return;
    }

    // The row the page stands for: the selected question of this kind, or the question added
    // last. Never whatever row the query happens to be on.
    DataSet& set = query(kind);
    QTreeWidgetItem* root = rootNode(kind);
    QString& added = m_justAdded.at(std::size_t(kindIndex(kind)));
    const bool ownQuestionSelected = questionSelected && selected->parent() == root;
    const QString rowNumber = ownQuestionSelected ? selected->text(0) : added;
    const bool rowExists = !rowNumber.isNull() && locateQuestion(set, rowNumber);
    const ModifyTarget target =
        modifyTarget(kind, ownQuestionSelected && rowExists, !ownQuestionSelected && rowExists);
    if (target == ModifyTarget::Nothing) {
        Dialogs::info(this, selectQuestionToModify());
        return;
    }

    const AuthoredQuestion question = readPage(ui, kind);
    if (!pageIsComplete(this, kind, question))
        return;
    const QString number = authoredNumber(question.number);
    nodetext.clear();
    if (modifyChangesNumber(rowNumber, number) && isNumberTaken(indexTexts(ui->RzTreeView1), number)) {
        nodetext = number;
        Dialogs::info(this, numberTakenOnModify());
        return;
    }
    if (!Dialogs::confirm(this, modifyConfirmation(kind)))
        return;

    if (!locateQuestion(set, rowNumber))
        return;
    set.edit();
    try {
        writeAuthoredRow(kind, question, number);
        set.post();
    } catch (...) {
        set.cancel();
        throw;
    }

    if (QTreeWidgetItem* node = childWithText(root, rowNumber))
        node->setText(0, number);
    if (added == rowNumber)
        added = number;
}
