// The exam screen: the launcher bar of the practical page, which starts the accounting package.
#include "Unit6.h"
#include "ui_Unit6.h"

#include "exam/AccountingPackage.h"
#include "platform/Dialogs.h"
#include "platform/ProgramLauncher.h"
#include "platform/TextUtil.h"

using namespace tarnex;

void TForm6::connectLauncher()
{
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);
}

// The password, the account-set number and the date are the package's business: the bar passes
// nothing to it, and an answer to a practical question is not recorded here.
void TForm6::BitBtn1Click()
{
    if (!AccountingPackage::acceptsUserName(trimmedText(ui->Edit2->text()))) {
        Dialogs::info(this, AccountingPackage::userNameMessage());
        return;
    }
    const QString program = AccountingPackage::programOf(ui->RzComboBox1->currentText());
    if (program.isEmpty())
        return;
    ProgramLauncher::instance().start(program);
}
