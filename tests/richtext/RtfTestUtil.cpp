#include "RtfTestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace tarnex::test {
namespace {

void addBlockLines(QStringList& lines, const QTextBlock& block)
{
    QString text = block.text();
    text.remove(QChar(0xFFFC));
    lines += text.split(QChar(0x2028));
}

void addFrameLines(QStringList& lines, const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            for (int r = 0; r < table->rows(); ++r) {
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.row() != r || cell.column() != c)
                        continue;
                    for (auto ci = cell.begin(); !ci.atEnd() && ci != cell.end(); ++ci) {
                        if (const QTextFrame* child = ci.currentFrame())
                            addFrameLines(lines, child);
                        else
                            addBlockLines(lines, ci.currentBlock());
                    }
                }
            }
        } else if (const QTextFrame* child = it.currentFrame()) {
            addFrameLines(lines, child);
        } else {
            addBlockLines(lines, it.currentBlock());
        }
    }
}

} // namespace

QByteArray rtfDocument(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 "
           "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
           "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20 "
           + body + "\r\n}\r\n";
}

QStringList documentLines(const QTextDocument& document)
{
    QStringList lines;
    addFrameLines(lines, document.rootFrame());
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList textFileLines(const QByteArray& data)
{
    QString text = QString::fromUtf8(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(TARNEX_RICHTEXT_FIXTURES "/") + name;
}

bool hasSoffice()
{
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

QString sofficeConvert(const QString& inputPath, const QString& format, const QString& extension,
                       const QString& outputDir)
{
    if (!hasSoffice())
        return {};
    // A profile and HOME of its own, so that parallel runs do not share LibreOffice's lock.
    QTemporaryDir profile;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), profile.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("soffice"),
                  {QStringLiteral("-env:UserInstallation=file://") + profile.path() + QStringLiteral("/profile"),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                   QStringLiteral("--outdir"), outputDir, inputPath});
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    const QString output = QDir(outputDir).filePath(QFileInfo(inputPath).completeBaseName() + QLatin1Char('.') + extension);
    return QFile::exists(output) ? output : QString();
}

} // namespace tarnex::test
