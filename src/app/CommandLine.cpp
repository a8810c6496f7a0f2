#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace tarnex {

CommandLineRequest parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("会计从业资格考试 — mock papers of the accounting qualification exam."));
    // Qt's own options are single-dash words (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption authorOption(
        QStringLiteral("author"),
        QStringLiteral("Start for authoring: edit the information texts and the questions of a paper."));
    parser.addOption(authorOption);
    // The options that QApplication takes for itself (-platform offscreen, -style, ...) pass
    // through to it; they are known here only so that they are not refused.
    for (const char* name : {"platform", "display", "style", "stylesheet", "geometry", "qwindowgeometry",
                             "qwindowtitle", "qwindowicon", "title", "name", "session"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

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
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        request.action = CommandLineRequest::Action::Help;
        // Without an application object the parser cannot know the program's name.
        request.text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                 QCoreApplication::applicationName());
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
