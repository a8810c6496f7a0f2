#include "exam/SubjectFile.h"

#include "platform/CodePage.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace tarnex {
namespace {

using Nodes = QList<SubjectNode>;

// The delivered chart of accounts in the source tree; found next to this file when the test runs
// without TARNEX_SOURCE_DIR.
QString deliveredChart()
{
    QString root = test::TestFolder::sourceDir();
    if (root.isEmpty())
        root = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../..");
    return QDir(root).filePath(QStringLiteral("data/kjkm.dat"));
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

const QString TwoCategories =
    QStringLiteral("资产类\r\n\t库存现金\r\n\t坏账准备\r\n负债类\r\n\t短期借款\r\n");
const Nodes TwoCategoryNodes{{0, QStringLiteral("资产类")},
                             {1, QStringLiteral("库存现金")},
                             {1, QStringLiteral("坏账准备")},
                             {0, QStringLiteral("负债类")},
                             {1, QStringLiteral("短期借款")}};

TEST(SubjectFileTest, ByteOrderMarksChooseTheEncoding)
{
    const SubjectList utf8 = parseSubjectFile("\xEF\xBB\xBF" + TwoCategories.toUtf8());
    EXPECT_TRUE(utf8.ok());
    EXPECT_EQ(utf8.nodes, TwoCategoryNodes);

    const SubjectList le = parseSubjectFile(utf16(TwoCategories, QStringConverter::Utf16LE));
    ASSERT_TRUE(utf16(TwoCategories, QStringConverter::Utf16LE).startsWith("\xFF\xFE"));
    EXPECT_TRUE(le.ok());
    EXPECT_EQ(le.nodes, TwoCategoryNodes);

    const SubjectList be = parseSubjectFile(utf16(TwoCategories, QStringConverter::Utf16BE));
    ASSERT_TRUE(utf16(TwoCategories, QStringConverter::Utf16BE).startsWith("\xFE\xFF"));
    EXPECT_TRUE(be.ok());
    EXPECT_EQ(be.nodes, TwoCategoryNodes);
}

TEST(SubjectFileTest, WithoutMarkTheBytesAreCodePage936)
{
    const QByteArray bytes = CodePage::encode(TwoCategories, 936);
    ASSERT_NE(bytes, TwoCategories.toUtf8());
    const SubjectList list = parseSubjectFile(bytes);
    EXPECT_TRUE(list.ok());
    EXPECT_EQ(list.nodes, TwoCategoryNodes);
    // "库存现金" in GBK, written out, so the test does not lean on the encoder it checks.
    EXPECT_EQ(parseSubjectFile("\xBF\xE2\xB4\xE6\xCF\xD6\xBD\xF0").nodes,
              (Nodes{{0, QStringLiteral("库存现金")}}));
}

TEST(SubjectFileTest, TabsOrBlanksMakeTheLevelAndTrailingBlanksStay)
{
    const SubjectList list = parseSubjectFile("A\n B \r\n \tC\rD\n\tE\n");
    EXPECT_TRUE(list.ok()) << list.error.toStdString();
    EXPECT_EQ(list.nodes, (Nodes{{0, QStringLiteral("A")},
                                 {1, QStringLiteral("B ")},
                                 {2, QStringLiteral("C")},
                                 {0, QStringLiteral("D")},
                                 {1, QStringLiteral("E")}}));
}

TEST(SubjectFileTest, BlanksCountLikeTabs)
{
    // Two blanks under a level-0 node are two levels deeper.
    const SubjectList list = parseSubjectFile("A\n  B\n");
    EXPECT_EQ(list.nodes, (Nodes{{0, QStringLiteral("A")}}));
    EXPECT_FALSE(list.ok());
}

TEST(SubjectFileTest, ShallowerLinesClimbToTheirAncestorsLevel)
{
    const SubjectList list = parseSubjectFile("a\n\tb\n\t\tc\n\t\t\td\n\te\nf\n\tg\n");
    EXPECT_TRUE(list.ok());
    EXPECT_EQ(list.nodes, (Nodes{{0, QStringLiteral("a")},
                                 {1, QStringLiteral("b")},
                                 {2, QStringLiteral("c")},
                                 {3, QStringLiteral("d")},
                                 {1, QStringLiteral("e")},
                                 {0, QStringLiteral("f")},
                                 {1, QStringLiteral("g")}}));
}

TEST(SubjectFileTest, FirstLineIsARootWhateverItsIndent)
{
    const SubjectList list = parseSubjectFile("\t\tfirst\n\tsecond\n\t\t\tthird\n");
    EXPECT_EQ(list.nodes.value(0), (SubjectNode{0, QStringLiteral("first")}));
    EXPECT_EQ(list.nodes.value(1), (SubjectNode{1, QStringLiteral("second")}));
    EXPECT_EQ(list.nodes.size(), 2);
    EXPECT_FALSE(list.ok());
}

TEST(SubjectFileTest, TooDeepLineStopsWithAnErrorKeepingTheNodesBefore)
{
    const SubjectList list = parseSubjectFile("\xEF\xBB\xBF资产类\r\n\t\t库存现金\r\n\t银行存款\r\n");
    EXPECT_EQ(list.nodes, (Nodes{{0, QStringLiteral("资产类")}}));
    EXPECT_EQ(list.error, QStringLiteral("科目文件第 2 行的层级 2 无效：“库存现金”比上一行深了不止一级。"));
}

TEST(SubjectFileTest, EmptyFileAndLineBreaks)
{
    EXPECT_TRUE(parseSubjectFile({}).nodes.isEmpty());
    EXPECT_TRUE(parseSubjectFile("\xEF\xBB\xBF").nodes.isEmpty());
    // A break after the last line adds nothing; an empty line in between is an empty node.
    EXPECT_EQ(parseSubjectFile("a\r\n\r\nb\r\n").nodes,
              (Nodes{{0, QStringLiteral("a")}, {0, QString()}, {0, QStringLiteral("b")}}));
}

TEST(SubjectFileTest, MissingFileGivesTheBuiltInListAndAnError)
{
    test::TestFolder folder;
    const SubjectList list = loadSubjectFile();
    EXPECT_EQ(list.nodes, builtInSubjects());
    EXPECT_EQ(list.error, QStringLiteral("无法打开科目文件“%1”。")
                              .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("kjkm.dat")))));
    ASSERT_EQ(builtInSubjects().size(), 12);
    EXPECT_EQ(builtInSubjects().front(), (SubjectNode{0, QStringLiteral("资产类")}));
    EXPECT_EQ(builtInSubjects().back(), (SubjectNode{1, QStringLiteral("坏账准备")}));
}

TEST(SubjectFileTest, FileInTheProgramFolderIsRead)
{
    test::TestFolder folder;
    QFile file(folder.file(QStringLiteral("kjkm.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(CodePage::encode(TwoCategories, 936));
    file.close();
    const SubjectList list = loadSubjectFile();
    EXPECT_TRUE(list.ok());
    EXPECT_EQ(list.nodes, TwoCategoryNodes);
}

TEST(SubjectFileTest, DeliveredChartHasTheSixCategoriesAndTheStandardSubjects)
{
    const QString path = deliveredChart();
    ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
    const SubjectList list = loadSubjectFile(path);
    ASSERT_TRUE(list.ok()) << list.error.toStdString();
    QStringList categories;
    QStringList subjects;
    for (const SubjectNode& node : list.nodes) {
        ASSERT_LE(node.depth, 1);
        EXPECT_EQ(node.text, node.text.trimmed());
        (node.depth == 0 ? categories : subjects).append(node.text);
    }
    EXPECT_EQ(categories, QStringList({QStringLiteral("资产类"), QStringLiteral("负债类"),
                                       QStringLiteral("共同类"), QStringLiteral("所有者权益类"),
                                       QStringLiteral("成本类"), QStringLiteral("损益类")}));
    EXPECT_EQ(subjects.size(), 156);
    EXPECT_EQ(subjects.removeDuplicates(), 0);
    for (const QString& subject :
         {QStringLiteral("库存现金"), QStringLiteral("坏账准备"), QStringLiteral("应交税费"),
          QStringLiteral("本年利润"), QStringLiteral("以前年度损益调整")})
        EXPECT_TRUE(subjects.contains(subject)) << subject.toStdString();
    // The built-in list is the head of the delivered chart.
    EXPECT_EQ(list.nodes.first(), builtInSubjects().first());
}

} // namespace
} // namespace tarnex
