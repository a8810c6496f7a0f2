#pragma once

#include <QDialog>

namespace Ui {
class TForm3;
}

// The consulting text of tb_memo, read-only; every key released empties the clipboard.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // Shows the window modally and returns when it is closed.
    int showModal();

    Ui::TForm3* ui;

public Q_SLOTS:
    void RzBmpButton4Click();
    void RzBmpButton1Click();
    void Memo1KeyUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TForm3* Form3;
