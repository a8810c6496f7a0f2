#include "rtf_sample.h"

#include "platform/CodePage.h"

#include <QString>
#include <QStringList>

namespace tarnex::bench {
namespace {

// Text as rich edit writes it: ASCII as itself, everything else as \'hh of code page 936.
QByteArray rtfText(const QString& text)
{
    static const char Hex[] = "0123456789abcdef";
    QByteArray out;
    for (const char c : CodePage::encode(text, CodePage::Ansi)) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                out += '\\';
            out += c;
        } else {
            out += "\\'";
            out += Hex[b >> 4];
            out += Hex[b & 15];
        }
    }
    return out;
}

const QStringList Sentences = {
    QStringLiteral("下列各项中，不属于会计核算基本前提的是（ ）。"),
    QStringLiteral("企业发生的下列交易或事项中，会引起资产总额增加的是（ ）。"),
    QStringLiteral("甲公司2012年3月1日购入一台不需要安装的设备，取得的增值税专用发票上注明的价款为50000元，增"
                   "值税税额为8500元。"),
    QStringLiteral("会计人员应当遵守职业道德，提高业务素质，严格遵守国家有关保密规定。"),
    QStringLiteral("要求：根据上述资料，编制相关会计分录（答案中的金额单位用元表示）。"),
    QStringLiteral("本题考查的是借贷记账法下账户的结构，资产类账户借方登记增加额，贷方登记减少额。"),
};

const QStringList Accounts = {
    QStringLiteral("库存现金"),     QStringLiteral("银行存款"), QStringLiteral("应收账款"),
    QStringLiteral("原材料"),       QStringLiteral("固定资产"), QStringLiteral("应付账款"),
    QStringLiteral("主营业务收入"), QStringLiteral("管理费用"),
};

void appendParagraph(QByteArray& out, int n)
{
    out += "\\pard\\lang2052\\f0\\fs21 ";
    if (n % 5 == 0)
        out += "\\qc\\b ";
    out += rtfText(QString::number(n) + QStringLiteral("．") + Sentences[n % Sentences.size()]);
    if (n % 5 == 0)
        out += "\\b0";
    out += " \\cf1\\ul ";
    out += rtfText(Sentences[(n + 1) % Sentences.size()]);
    out += "\\cf0\\ulnone  A. " + rtfText(Accounts[n % Accounts.size()]);
    out += "  B. \\f1 Cash\\f0  " + rtfText(Accounts[(n + 3) % Accounts.size()]);
    out += "\\par\r\n";
}

void appendTable(QByteArray& out, int n)
{
    for (int r = 0; r < 5; ++r) {
        out += "\\trowd\\trgaph108\\trleft-108\\trbrdrl\\brdrs\\brdrw10 \\trbrdrt\\brdrs\\brdrw10 "
               "\\trbrdrr\\brdrs\\brdrw10 "
               "\\trbrdrb\\brdrs\\brdrw10 "
               "\\clbrdrl\\brdrw10\\brdrs\\clbrdrt\\brdrw10\\brdrs\\clbrdrr\\brdrw10\\brdrs"
               "\\clbrdrb\\brdrw10\\brdrs "
               "\\cellx2500\\clbrdrl\\brdrw10\\brdrs\\clbrdrt\\brdrw10\\brdrs\\clbrdrr\\brdrw10"
               "\\brdrs\\clbrdrb\\brdrw10\\brdrs "
               "\\cellx5000\\clbrdrl\\brdrw10\\brdrs\\clbrdrt\\brdrw10\\brdrs\\clbrdrr"
               "\\brdrw10\\brdrs\\clbrdrb\\brdrw10\\brdrs \\cellx7500\\pard\\intbl\\lang2052\\f0\\fs21 ";
        if (r == 0) {
            out += rtfText(QStringLiteral("会计科目")) + "\\cell " + rtfText(QStringLiteral("借方金额")) +
                   "\\cell " + rtfText(QStringLiteral("贷方金额")) + "\\cell\\row\r\n";
            continue;
        }
        const int amount = (n * 7919 + r * 104729) % 1000000;
        out += rtfText(Accounts[(n + r) % Accounts.size()]) + "\\cell " + QByteArray::number(amount) +
               ".00\\cell " + QByteArray::number(amount / 3) + ".50\\cell\\row\r\n";
    }
    out += "\\pard\\lang2052\\f0\\fs21\\par\r\n";
}

} // namespace

QByteArray sampleRtf(qsizetype minimumBytes, bool withTables)
{
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1";
    out.reserve(minimumBytes + 4096);
    for (int n = 1; out.size() < minimumBytes; ++n) {
        appendParagraph(out, n);
        if (withTables && n % 8 == 0)
            appendTable(out, n);
    }
    out += "}\r\n";
    return out;
}

} // namespace tarnex::bench
