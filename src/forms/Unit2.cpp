#include "Unit2.h"

#include "MainWindowRules.h"
#include "Unit_main.h"
#include "ui_Unit2.h"

#include "data/DataSet.h"
#include "data/StoredText.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>

using namespace tarnex;

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent, ProgramMode mode) : QDialog(parent), ui(new Ui::TForm2), m_mode(mode)
{
    Form2 = this;
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    // An author edits and saves the text; the clipboard is emptied for candidates only.
    if (m_mode == ProgramMode::Author) {
        ui->RzBmpButton4->show();
        ui->Memo1->setReadOnly(false);
        ui->Memo1->setContextMenuPolicy(Qt::DefaultContextMenu);
        setWindowTitle(windowTitleFor(m_mode, windowTitle()));
    } else {
        ui->Memo1->installEventFilter(this);
        // A mouse selection fills the X11 selection, which a middle click pastes anywhere: it
        // goes like the clipboard.
        watchOwnSelection(this, [this](const QString& selected) {
            if (ui->Memo1->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n') == selected)
                emptyClipboard();
        });
    }
    connect(ui->RzBmpButton4, &QPushButton::clicked, this, &TForm2::RzBmpButton4Click);
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm2::RzBmpButton1Click);
}

TForm2::~TForm2()
{
    if (Form2 == this)
        Form2 = nullptr;
    delete ui;
}

int TForm2::showModal()
{
    return exec();
}

void TForm2::RzBmpButton4Click()
{
    DataSet& memo = Form_main->ADOTable1();
    memo.edit();
    memo.setText(QStringLiteral("版本说明"), EncodeStoredText(joinedWithCrLf(ui->Memo1->toPlainText())));
    memo.post();
    Dialogs::info(this, QStringLiteral("完成信息修改！"));
    close();
}

void TForm2::RzBmpButton1Click()
{
    close();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Memo1) {
        switch (event->type()) {
        case QEvent::FocusOut:
            Memo1Exit();
            break;
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->text().isEmpty())
                Memo1KeyPress();
            break;
        case QEvent::KeyRelease:
            Memo1KeyUp();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::Memo1Exit()
{
    emptyClipboard();
}

void TForm2::Memo1KeyPress()
{
    emptyClipboard();
}

void TForm2::Memo1KeyUp()
{
    emptyClipboard();
}
