#include "BankSource.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarnex;
using namespace tarnex::bank;

namespace {

SourceFile parse(const char* text)
{
    return parseSource(QByteArray(text), QStringLiteral("t.txt"));
}

QString parseError(const QByteArray& text)
{
    try {
        parseSource(text, QStringLiteral("t.txt"));
    } catch (const AppError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

QByteArray valueOf(const SourceFile& file, int section, int field)
{
    return file.sections.at(size_t(section)).fields.at(size_t(field)).value;
}

} // namespace

TEST(BankSource, SectionsAndFields)
{
    const SourceFile file =
        parse("# a comment\n[paper]\nkemu: 会计基础\ntao: 试题一\n\n[dds 007]\ntou: x\n[memo]\n");
    ASSERT_EQ(file.sections.size(), 3u);
    EXPECT_EQ(file.sections[0].kind, u"paper");
    EXPECT_FALSE(file.sections[0].hasArgument);
    EXPECT_EQ(valueOf(file, 0, 0), QByteArray("会计基础"));
    EXPECT_EQ(file.sections[1].kind, u"dds");
    EXPECT_EQ(file.sections[1].argument, u"007");
    EXPECT_EQ(file.sections[1].place.line, 6);
    EXPECT_EQ(file.sections[1].fields[0].place.toString(), u"t.txt:7");
    EXPECT_TRUE(file.sections[2].fields.empty());
}

TEST(BankSource, ContinuationLinesAndEmptyLines)
{
    const SourceFile file = parse("[dds 1]\n"
                                  "wei:\n"
                                  "  A. one\n"
                                  "\n"
                                  "     B. indented   \n"
                                  "\n"
                                  "\n"
                                  "tou: first\n"
                                  "  second\n"
                                  "ping:\n"
                                  "da: a\n");
    const auto& fields = file.sections[0].fields;
    ASSERT_EQ(fields.size(), 4u);
    // Inner empty lines stay, further blanks stay, trailing blanks and trailing empty lines go.
    EXPECT_EQ(fields[0].value, QByteArray("A. one\n\n   B. indented"));
    EXPECT_EQ(fields[1].value, QByteArray("first\nsecond"));
    EXPECT_EQ(fields[2].value, QByteArray());
    EXPECT_EQ(fields[3].value, QByteArray("a"));
    EXPECT_FALSE(fields[0].exact);
}

TEST(BankSource, FormsAndLineEndings)
{
    const SourceFile file =
        parse("\xEF\xBB\xBF[dds 1]\r\ntou.html: <b>x</b>\r\nwei.rtf:\r\n  {\\rtf1 a}\r\n行一.raw: QUE=\r\n");
    const auto& fields = file.sections[0].fields;
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(file.sections[0].kind, u"dds"); // the byte-order mark is not part of the header
    EXPECT_EQ(fields[0].name, u"tou");
    EXPECT_EQ(fields[0].form, u"html");
    EXPECT_EQ(fields[0].value, QByteArray("<b>x</b>"));
    EXPECT_EQ(fields[1].form, u"rtf");
    EXPECT_EQ(fields[1].value, QByteArray("{\\rtf1 a}"));
    EXPECT_EQ(fields[2].fullName(), u"行一.raw");
}

TEST(BankSource, ExactForm)
{
    const SourceFile file = parse("[memo]\n"
                                  "edit1= \"a \\\"b\\\"\\\\ \\t\\r\\n  \"\n"
                                  "edit2= \"\\u4e2d\\uD83D\\uDE00\"  \n"
                                  "memo1=\"\"\n"
                                  "[dds 1]\n"
                                  "tou.rtf= \"{\\\\rtf1 \\xd6\\xd0}\"\n");
    EXPECT_EQ(valueOf(file, 0, 0), QByteArray("a \"b\"\\ \t\r\n  "));
    EXPECT_TRUE(file.sections[0].fields[0].exact);
    EXPECT_EQ(QString::fromUtf8(valueOf(file, 0, 1)), QString::fromUtf8("中\xF0\x9F\x98\x80"));
    EXPECT_EQ(valueOf(file, 0, 2), QByteArray(""));
    EXPECT_EQ(valueOf(file, 1, 0), QByteArray("{\\rtf1 \xd6\xd0}"));
}

TEST(BankSource, ErrorsNameFileAndLine)
{
    EXPECT_EQ(parseError("[dds 1]\ntou: x\n continuation with one blank\n"),
              u"t.txt:3: continuation lines start with exactly two blanks and follow a field");
    EXPECT_TRUE(parseError("tou: x\n").startsWith(u"t.txt:1: field \"tou\" outside a section"));
    EXPECT_TRUE(parseError("[memo]\n# c\n  stray\n").startsWith(u"t.txt:3: a continuation line"));
    EXPECT_TRUE(parseError("[dds 1\n").startsWith(u"t.txt:1: a section header must end"));
    EXPECT_TRUE(parseError("[memo]\njust words\n").startsWith(u"t.txt:2: expected a section header"));
    EXPECT_TRUE(
        parseError("[memo]\nedit1= \"open\n").startsWith(u"t.txt:2: the exact value has no closing quote"));
    EXPECT_TRUE(parseError("[memo]\nedit1= \"\\q\"\n").startsWith(u"t.txt:2: unknown escape \\q"));
    EXPECT_TRUE(parseError("[memo]\nedit1= \"\\u12\"\n").startsWith(u"t.txt:2: \\u needs 4"));
    EXPECT_TRUE(
        parseError("[memo]\nedit1= \"\\xd6\"\n").startsWith(u"t.txt:2: \\x escapes that are not UTF-8"));
    EXPECT_TRUE(parseError("[memo]\nedit1= \"a\" b\n").startsWith(u"t.txt:2: text after the closing quote"));
    EXPECT_TRUE(
        parseError("[memo]\nedit1= \"\\uD800\"\n").startsWith(u"t.txt:2: \\u escape of a lone surrogate"));
    EXPECT_TRUE(
        parseError("[memo]\nedit1: ok\nedit2: \xff\xfe\n").startsWith(u"t.txt:3: the line is not UTF-8"));
    EXPECT_TRUE(parseError("[]\n").startsWith(u"t.txt:1: a section header needs a name"));
    EXPECT_TRUE(parseError("[memo]\nbad name: x\n").startsWith(u"t.txt:2: a field name holds no blanks"));
}

// A raw NUL or other control character would vanish (or cut the value) on its way into the bank;
// outside the quotes of the exact form it is an error that names the place.
TEST(BankSource, RawControlCharactersAreErrorsOutsideTheExactForm)
{
    EXPECT_EQ(parseError(QByteArray("[dds 1]\ntou: a\0b\n", 17)),
              u"t.txt:2: control character U+0000 in the text; write it as \\u0000 in the exact form "
              u"name= \"...\"");
    EXPECT_TRUE(parseError("[dds 1]\nwei:\n  A.\x01\n").startsWith(u"t.txt:3: control character U+0001"));
    EXPECT_TRUE(parseError("[memo]\nedit1: a\rb\n").startsWith(u"t.txt:2: control character U+000D"));
    EXPECT_TRUE(parseError("[memo]\n# note\x1b\n").startsWith(u"t.txt:2: control character U+001B"));
    EXPECT_TRUE(parseError("[dds\x7f 1]\n").startsWith(u"t.txt:1: control character U+007F"));
    // Tabs, CR LF line ends and escapes of the exact form stay what they were.
    const SourceFile file = parse("[memo]\r\nedit1: a\tb\r\nedit2= \"x\\u0000y\"\r\n");
    EXPECT_EQ(valueOf(file, 0, 0), QByteArray("a\tb"));
    EXPECT_EQ(valueOf(file, 0, 1), QByteArray("x\0y", 3));
}

TEST(BankSource, BlockFormLimits)
{
    EXPECT_TRUE(fitsBlockForm(QString()));
    EXPECT_TRUE(fitsBlockForm(QStringLiteral("a\n\n  b\tc")));
    EXPECT_TRUE(fitsBlockForm(QStringLiteral(" leading blank")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("trailing blank ")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("line \nnext")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("\nstarts empty")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("ends empty\n")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("cr\r\nlf")));
    EXPECT_FALSE(fitsBlockForm(QStringLiteral("bell\a")));
}

TEST(BankSource, WriterOutputReadsBackExactly)
{
    const QStringList texts = {QString(),
                               QStringLiteral("one line"),
                               QStringLiteral(" lead"),
                               QStringLiteral("a\n\nb\n   c"),
                               QStringLiteral("trail \nx"),
                               QStringLiteral("\n\n"),
                               QStringLiteral("cr\r\nlf\r"),
                               QStringLiteral("quote \" back \\ tab\t nul") + QChar(0) + QStringLiteral("中"),
                               QStringLiteral("# not a comment\n[not a header]")};
    SourceWriter writer;
    writer.section(QStringLiteral("memo"));
    for (int i = 0; i < texts.size(); ++i)
        writer.textField(QStringLiteral("f%1").arg(i), texts.at(i));
    const QByteArray bytes("{\\rtf1 \xd6\xd0\r\n}\x00\x80", 14);
    writer.bytesField(QStringLiteral("tou.rtf"), bytes);
    writer.bytesField(QStringLiteral("wei.rtf"), QByteArray("{\\rtf1\n\\par x}"));

    const SourceFile file = parseSource(writer.data(), QStringLiteral("w.txt"));
    ASSERT_EQ(file.sections.size(), 1u);
    const auto& fields = file.sections[0].fields;
    ASSERT_EQ(fields.size(), size_t(texts.size() + 2));
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(fields[size_t(i)].text(), texts.at(i)) << "text " << i;
    EXPECT_EQ(fields[size_t(texts.size())].value, bytes);
    EXPECT_EQ(fields[size_t(texts.size() + 1)].value, QByteArray("{\\rtf1\n\\par x}"));
    EXPECT_FALSE(fields[size_t(texts.size() + 1)].exact); // readable when it can be
    EXPECT_FALSE(fields[3].exact);
    EXPECT_TRUE(fields[4].exact);
}

TEST(BankSource, ExactLiteralEscapesOnlyWhatItMust)
{
    EXPECT_EQ(exactLiteral(QByteArray("中 \"\\\n\x01\xff")), QByteArray("\"中 \\\"\\\\\\n\\u0001\\xFF\""));
}

TEST(BankSource, RelativeSourceFolderIsReadFromTheCurrentDirectory)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("sources/sub")));
    QFile file(QDir(root.path()).filePath(QStringLiteral("sources/sub/a.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[paper]\nkemu: k\ntao: t\n");
    file.close();

    const QString previous = QDir::currentPath();
    QDir::setCurrent(root.path());
    std::vector<SourceFile> files;
    EXPECT_NO_THROW(files = readSourceFolder(QStringLiteral("sources")));
    QDir::setCurrent(previous);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.front().sections.size(), 1u);
}
