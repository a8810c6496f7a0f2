#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class TForm1;
}

// The information editor: the three information lines and the web address of tb_memo.
class TForm1 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Shows the editor modally and returns when it is closed.
    int showModal();

    Ui::TForm1* ui;
    // The web address as it was when the editor was opened.
    QString url;

public Q_SLOTS:
    void RzBmpButton4Click();
    void RzBmpButton1Click();
};

extern TForm1* Form1;
