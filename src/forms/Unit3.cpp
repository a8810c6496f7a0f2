#include "Unit3.h"

#include "MainWindowRules.h"
#include "Unit_main.h"
#include "ui_Unit3.h"

#include "data/DataSet.h"
#include "data/StoredText.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>

using namespace tarnex;

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent, ProgramMode mode) : QDialog(parent), ui(new Ui::TForm3), m_mode(mode)
{
    Form3 = this;
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
    connect(ui->RzBmpButton4, &QPushButton::clicked, this, &TForm3::RzBmpButton4Click);
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm3::RzBmpButton1Click);
}

TForm3::~TForm3()
{
    if (Form3 == this)
        Form3 = nullptr;
    delete ui;
}

int TForm3::showModal()
{
    return exec();
}

void TForm3::RzBmpButton4Click()
{
    DataSet& memo = Form_main->ADOTable1();
    memo.edit();
    memo.setText(QStringLiteral("咨询辅导"), EncodeStoredText(joinedWithCrLf(ui->Memo1->toPlainText())));
    memo.post();
    Dialogs::info(this, QStringLiteral("完成信息修改！"));
    close();
}

void TForm3::RzBmpButton1Click()
{
    close();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Memo1 && event->type() == QEvent::KeyRelease)
        Memo1KeyUp();
    return QDialog::eventFilter(watched, event);
}

void TForm3::Memo1KeyUp()
{
    emptyClipboard();
}
