#pragma once

#include <QDialog>

namespace Ui {
class TForm5;
}

// The ID-card prompt of the start flow: "确定" with a number that is not blank accepts, "取消"
// or the close box rejects.
class TForm5 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget* owner = nullptr);
    ~TForm5() override;

    Ui::TForm5* ui;

public Q_SLOTS:
    void RzBmpButton4Click();
    void RzBmpButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
