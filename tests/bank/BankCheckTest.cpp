#include "BankBuilder.h"
#include "BankChecker.h"
#include "BankSource.h"
#include "BankTestSupport.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace tarnex;
using namespace tarnex::bank;
using namespace tarnex::bank::test;

namespace {

QStringList findingsOf(const QByteArray& source)
{
    return checkBank(contentFromSources({parseSource(source, u"c.txt"_qs)}));
}

const QByteArray Lists = "[papers]\nmemojc:\n  试题一\n  试题二\nmemofg: 试题一\n";

} // namespace

TEST(BankCheck, AnswerFormats)
{
    EXPECT_TRUE(isSingleChoiceAnswer(u"d"_qs));
    EXPECT_FALSE(isSingleChoiceAnswer(u"A"_qs));
    EXPECT_FALSE(isSingleChoiceAnswer(u"ab"_qs));
    EXPECT_FALSE(isSingleChoiceAnswer(u" a"_qs));
    EXPECT_FALSE(isSingleChoiceAnswer(QString()));
    EXPECT_TRUE(isMultipleChoiceAnswer(u"abd"_qs));
    EXPECT_TRUE(isMultipleChoiceAnswer(u"c"_qs));
    EXPECT_FALSE(isMultipleChoiceAnswer(u"dba"_qs));
    EXPECT_FALSE(isMultipleChoiceAnswer(u"ABD"_qs));
    EXPECT_FALSE(isMultipleChoiceAnswer(u"aab"_qs));
    EXPECT_FALSE(isMultipleChoiceAnswer(u"ae"_qs));
    EXPECT_FALSE(isMultipleChoiceAnswer(QString()));
    EXPECT_TRUE(isTrueFalseAnswer(u"b"_qs));
    EXPECT_FALSE(isTrueFalseAnswer(u"c"_qs));
}

TEST(BankCheck, CleanBankHasNoFindings)
{
    const QStringList findings =
        findingsOf(Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n"
                           "[dds 1]\nda: a\n[duo 2]\nda: acd\n[sf 3]\nda: b\n"
                           "[jsfx 4]\nleixing: 答题型\n[jsfx 5]\nleixing:\n[ws 6]\n"
                           "[jsfx 7]\nleixing: 选择型\nda1: a\nda2: b\nda3: c\nda4: d\nda5: abcd\n"
                           "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: b\n"
                           "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n");
    EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();
}

TEST(BankCheck, DuplicateNumbersWithinAPaperAcrossKinds)
{
    const QStringList findings =
        findingsOf(Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n"
                           "[dds 1]\nda: a\n[ws 1]\n[sf 2]\nda: a\n[duo 02]\nda: a\n"
                           "[ws A]\n[anli a]\nda1: a\nda2: a\nda3: a\nda4: a\nda5: a\n"
                           "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: b\n"
                           "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n");
    // "1" twice in 试题一; "A" and "a" are one number to the exam screen; "2" and "02" are not.
    EXPECT_EQ(findings, QStringList({u"会计基础 / 试题一: number 1 is used 2 times (dds #1, ws #1)"_qs,
                                     u"会计基础 / 试题一: number a is used 2 times (anli #a, ws #A)"_qs}))
        << findings.join(u'\n').toStdString();
}

TEST(BankCheck, AnswerLettersOutOfFormat)
{
    const QStringList findings =
        findingsOf(Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n"
                           "[dds 1]\nda: e\n[dds 2]\nda: A\n[duo 3]\nda: ba\n[duo 4]\n[sf 5]\nda: c\n"
                           "[jsfx 6]\nleixing: 选择型\nda1: a\nda2: b\nda4: dd\nda5: a\n"
                           "[jsfx 7]\nleixing: 答题型\nda1: zz\n"
                           "[anli 8]\nda1: ca\nda2: a\nda3: a\nda4: a\nda5: a\n"
                           "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: b\n"
                           "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n");
    const QStringList expected = {
        u"dds 会计基础 / 试题一 #1: da \"e\" is not one of a, b, c, d"_qs,
        u"dds 会计基础 / 试题一 #2: da \"A\" is not one of a, b, c, d"_qs,
        u"duo 会计基础 / 试题一 #3: da \"ba\" is not one or more of a, b, c, d, each once, in order"_qs,
        u"duo 会计基础 / 试题一 #4: da \"\" is not one or more of a, b, c, d, each once, in order"_qs,
        u"sf 会计基础 / 试题一 #5: da \"c\" is neither a (true) nor b (false)"_qs,
        u"jsfx 会计基础 / 试题一 #6: da3 \"\" is not one or more of a, b, c, d, each once, in order"_qs,
        u"jsfx 会计基础 / 试题一 #6: da4 \"dd\" is not one or more of a, b, c, d, each once, in order"_qs,
        u"anli 会计基础 / 试题一 #8: da1 \"ca\" is not one or more of a, b, c, d, each once, in order"_qs,
    };
    EXPECT_EQ(findings, expected) << findings.join(u'\n').toStdString();
}

// A rich-text column that another tool stored as TEXT is reported; blobs and empty values are not.
TEST(BankCheck, RichTextStoredAsTextIsReported)
{
    BankTables bank = contentFromSources({parseSource(
        Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: a\ntou: 题干\n[dds 2]\nda: b\ntou: 题干\n"
                "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: b\n"
                "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n",
        u"c.txt"_qs)});
    TableData& dds = bank.questions.front();
    ASSERT_EQ(dds.name, u"dds");
    ASSERT_EQ(dds.rows.at(1).at(dds.columnIndex(u"tou"_qs)).typeId(), QMetaType::QByteArray);
    dds.rows.at(1)[dds.columnIndex(u"tou"_qs)] = u"中文题干"_qs;
    dds.rows.at(1)[dds.columnIndex(u"ping"_qs)] = QString(u""_qs);
    EXPECT_EQ(
        checkBank(bank),
        QStringList(
            {u"dds 会计基础 / 试题一 #2: tou is stored as text, not as the blob of a rich-text column"_qs}));
}

TEST(BankCheck, PaperListsAndOrphans)
{
    const QStringList findings =
        findingsOf("[papers]\nmemojc:\n  试题一\n\n  试题三\nmemofg:\n"
                   "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: a\n"
                   "[paper]\nkemu: 会计基础\ntao: 试题九\n[dds 1]\nda: a\n[ws 2]\n"
                   "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: a\n"
                   "[paper]\nkemu: 初级会计电算化\ntao: 试题一\n[ws 1]\n");
    const QStringList expected = {
        u"memojc line 2: paper \"\" of 会计基础 has no questions"_qs,
        u"memojc line 3: paper \"试题三\" of 会计基础 has no questions"_qs,
        u"会计基础 / 试题九: 2 question(s), but the paper is in no paper list"_qs,
        u"初级会计电算化 / 试题一: 1 question(s), but the paper is in no paper list"_qs,
        u"财经法规与会计职业道德 / 试题一: 1 question(s), but the paper is in no paper list"_qs,
    };
    EXPECT_EQ(findings, expected) << findings.join(u'\n').toStdString();
}

TEST(BankCheck, CommandExitCodes)
{
    tarnex::test::TestFolder folder;
    writeFile(folder.file(u"good/a.txt"_qs),
              Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: a\n"
                      "[paper]\nkemu: 会计基础\ntao: 试题二\n[sf 1]\nda: a\n"
                      "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[ws 1]\n");
    writeFile(folder.file(u"bad/a.txt"_qs), Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: x\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"good"_qs), folder.file(u"good-bank"_qs)}).code, 0);
    const CommandResult bad = runBank({u"build"_qs, folder.file(u"bad"_qs), folder.file(u"bad-bank"_qs)});
    ASSERT_EQ(bad.code, 0); // the build stores what it is given and warns
    EXPECT_TRUE(bad.err.contains(u"warning: dds 会计基础 / 试题一 #1: da \"x\""_qs)) << bad.err.toStdString();

    CommandResult result = runBank({u"check"_qs, folder.file(u"good-bank"_qs)});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, u"No errors in 3 questions.\n"_qs);
    result = runBank({u"check"_qs, folder.file(u"bad-bank"_qs)});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              u"error: dds 会计基础 / 试题一 #1: da \"x\" is not one of a, b, c, d\n"
              "error: memojc line 2: paper \"试题二\" of 会计基础 has no questions\n"
              "error: memofg line 1: paper \"试题一\" of 财经法规与会计职业道德 has no questions\n"
              "3 error(s) in 1 questions.\n"_qs);
    result = runBank({u"check"_qs, folder.file(u"missing"_qs)});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(u"tarnex-bank check: "_qs)) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(runBank({u"check"_qs}).code, 2);
    EXPECT_EQ(runBank({u"check"_qs, u"a"_qs, u"b"_qs}).code, 2);
}

TEST(BankCheck, PapersAgainstTheFullPaperCountsOfTheirSubject)
{
    const QByteArray papers =
        "[papers]\nmemojc:\n  试题一\n  试题二\nmemofg: 试题一\nmemodsh: 试题一\n"
        "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: a\n[dds 2]\nda: b\n[sf 3]\nda: a\n"
        "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: a\n[ws 2]\n"
        "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n"
        "[paper]\nkemu: 初级会计电算化\ntao: 试题一\n[ws 1]\n";
    // Without counts nothing is compared; a kind the counts leave out has no questions.
    EXPECT_TRUE(findingsOf(papers).isEmpty()) << findingsOf(papers).join(u'\n').toStdString();
    const QStringList findings = findingsOf(papers + "[counts 会计基础]\ndds: 2\nsf: 1\n"
                                                     "[counts 初级会计电算化]\nws: 1\n");
    const QStringList expected = {
        u"会计基础 / 试题二: 1 dds question(s), a full paper of 会计基础 has 2"_qs,
        u"会计基础 / 试题二: 0 sf question(s), a full paper of 会计基础 has 1"_qs,
        u"会计基础 / 试题二: 1 ws question(s), a full paper of 会计基础 has 0"_qs,
    };
    EXPECT_EQ(findings, expected) << findings.join(u'\n').toStdString();
}

TEST(BankCheck, FullPaperCountsThatCannotBeRead)
{
    BankTables bank = contentFromSources(
        {parseSource(Lists + "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\nda: a\n"
                             "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: b\n"
                             "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[dds 1]\nda: c\n"
                             "[counts 会计基础]\ndds: 1\n[counts 财经法规与会计职业道德]\ndds: 1\n",
                     u"c.txt"_qs)});
    ASSERT_TRUE(checkBank(bank).isEmpty());
    // A bank edited by hand: a subject twice (its first row still counts), a count that is no number.
    TableData& counts = bank.paperCounts;
    counts.rows.push_back(counts.rows.front());
    counts.rows.at(2)[counts.columnIndex(u"dds"_qs)] = 5;
    counts.rows.at(1)[counts.columnIndex(u"ws"_qs)] = u"-1"_qs;
    const QStringList findings = checkBank(bank);
    const QStringList expected = {
        u"paper_counts: ws of 财经法规与会计职业道德 \"-1\" is not a number of questions"_qs,
        u"paper_counts: the counts of 会计基础 are given more than once"_qs,
    };
    EXPECT_EQ(findings, expected) << findings.join(u'\n').toStdString();
}
