#pragma once

#include "ProgramMode.h"

#include <QDialog>

namespace Ui {
class TForm3;
}

// The consulting text of tb_memo: read-only for a candidate, every key released emptying the
// clipboard; an author edits and saves it.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr, tarnex::ProgramMode mode = tarnex::ProgramMode::Candidate);
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

private:
    const tarnex::ProgramMode m_mode;
};

extern TForm3* Form3;
