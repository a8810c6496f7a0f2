#pragma once

#include <QTextEdit>

// A rich-text editor of a question (stem, options, analysis). Candidates only read it; an author
// types and pastes into it. What is pasted or dropped keeps its RTF when the source offers RTF,
// as word processors do beside HTML: RTF is what the question bank stores, so the question is
// saved as the author saw it pasted. A picture alone is inserted as a picture.
class QuestionPane : public QTextEdit
{
    Q_OBJECT

public:
    explicit QuestionPane(QWidget* parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
