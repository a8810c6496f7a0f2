#pragma once

#include <QDialog>

namespace Ui {
class TForm2;
}

// The version notes of tb_memo, read-only; the clipboard is kept empty while they are shown.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the window modally and returns when it is closed.
    int showModal();

    Ui::TForm2* ui;

public Q_SLOTS:
    void RzBmpButton4Click();
    void RzBmpButton1Click();
    void Memo1Exit();
    void Memo1KeyPress();
    void Memo1KeyUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TForm2* Form2;
