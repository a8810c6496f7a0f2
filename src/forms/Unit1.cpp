#include "Unit1.h"

#include "Unit_main.h"
#include "ui_Unit1.h"
#include "ui_Unit_main.h"

#include "data/DataSet.h"
#include "data/StoredText.h"
#include "platform/DesktopShortcut.h"
#include "platform/Dialogs.h"
#include "platform/TextUtil.h"

using namespace tarnex;

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QDialog(parent), ui(new Ui::TForm1)
{
    Form1 = this;
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    connect(ui->RzBmpButton4, &QPushButton::clicked, this, &TForm1::RzBmpButton4Click);
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm1::RzBmpButton1Click);

    placeDesktopShortcut();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
    delete ui;
}

int TForm1::showModal()
{
    return exec();
}

void TForm1::RzBmpButton4Click()
{
    DataSet& memo = Form_main->ADOTable1();
    const QString address = trimmedText(ui->Edit4->text());
    memo.edit();
    memo.setText(QStringLiteral("行一"), EncodeStoredText(ui->Edit1->text()));
    memo.setText(QStringLiteral("行二"), EncodeStoredText(ui->Edit2->text()));
    memo.setText(QStringLiteral("行三"), EncodeStoredText(ui->Edit3->text()));
    memo.setText(QStringLiteral("微博地址"), EncodeStoredText(address));
    memo.post();
    Form_main->reopenMemoTable();

    if (url != address) {
        Form_main->navigateWebPanel(QStringLiteral("about:blank"));
        Form_main->navigateWebPanel(address);
    }
    Form_main->ui->Label11->setText(ui->Edit1->text());
    Form_main->ui->Label13->setText(ui->Edit2->text());
    Form_main->ui->Label12->setText(ui->Edit3->text());

    Dialogs::info(this, QStringLiteral("完成信息修改！"));
    close();
}

void TForm1::RzBmpButton1Click()
{
    close();
}
