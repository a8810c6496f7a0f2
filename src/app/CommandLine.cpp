#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace tarnex {

CommandLineRequest parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("会计从业资格考试 — mock papers of the accounting qualification exam."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption authorOption(
        QStringLiteral("author"),
        QStringLiteral("Start for authoring: edit the information texts and the questions of a paper."));
    parser.addOption(authorOption);

    CommandLineRequest request;
    if (!parser.parse(arguments)) {
        request.action = CommandLineRequest::Action::Error;
        request.text = parser.errorText() + QStringLiteral("\nTry '%1 --help' for more information.\n")
                                                .arg(QCoreApplication::applicationName());
        return request;
    }
    if (!parser.positionalArguments().isEmpty()) {
        request.action = CommandLineRequest::Action::Error;
        request.text =
            QStringLiteral("Unexpected argument '%1'.\nTry '%2 --help' for more information.\n")
                .arg(parser.positionalArguments().constFirst(), QCoreApplication::applicationName());
        return request;
    }
    if (parser.isSet(helpOption)) {
        request.action = CommandLineRequest::Action::Help;
        request.text = parser.helpText();
        return request;
    }
    if (parser.isSet(versionOption)) {
        request.action = CommandLineRequest::Action::Version;
        request.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
        return request;
    }
    request.mode = parser.isSet(authorOption) ? ProgramMode::Author : ProgramMode::Candidate;
    return request;
}

} // namespace tarnex
