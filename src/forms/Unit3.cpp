#include "Unit3.h"

#include "InformationText.h"
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
    setUpInformationText(this, ui->Memo1, ui->RzBmpButton4, m_mode);
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
