#include "Unit5.h"

#include "ui_Unit5.h"

#include "platform/Dialogs.h"
#include "platform/TextUtil.h"

using namespace tarnex;

TForm5::TForm5(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      ui(new Ui::TForm5)
{
    ui->setupUi(this);
    setFixedSize(416, 182);
    connect(ui->RzBmpButton4, &QPushButton::clicked, this, &TForm5::RzBmpButton4Click);
    connect(ui->RzBmpButton1, &QPushButton::clicked, this, &TForm5::RzBmpButton1Click);
}

TForm5::~TForm5()
{
    delete ui;
}

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm5::FormShow()
{
    ui->RzEdit1->clear();
    ui->RzEdit1->setFocus();
}

void TForm5::RzBmpButton4Click()
{
    if (trimmedText(ui->RzEdit1->text()).isEmpty()) {
        Dialogs::info(this, QStringLiteral("请输入您的身份证号！"));
        ui->RzEdit1->setFocus();
        return;
    }
    accept();
}

void TForm5::RzBmpButton1Click()
{
    reject();
}
