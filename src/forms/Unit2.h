#pragma once

#include "ProgramMode.h"

#include <QDialog>

namespace Ui {
class TForm2;
}

// The version notes of tb_memo: read-only for a candidate, with the clipboard kept empty while they
// are shown; an author edits and saves them.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr, tarnex::ProgramMode mode = tarnex::ProgramMode::Candidate);
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

private:
    const tarnex::ProgramMode m_mode;
};

extern TForm2* Form2;
