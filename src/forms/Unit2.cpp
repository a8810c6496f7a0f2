#include "Unit2.h"

#include "InformationText.h"
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
    setUpInformationText(this, ui->Memo1, ui->RzBmpButton4, m_mode);
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
