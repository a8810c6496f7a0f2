#include "Command.h"

#include "BuildCommand.h"
#include "CheckCommand.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "InfoCommand.h"
#include "ListCommand.h"
#include "MergeCommand.h"
#include "PaperCommand.h"
#include "ShowCommand.h"
#include "TextCommand.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

namespace tarnex::bank {

Command::Command(QString name, QString description, std::vector<Argument> arguments, QString details)
    : m_name(std::move(name)), m_description(std::move(description)), m_arguments(std::move(arguments)),
      m_details(std::move(details))
{
    if (bankArgument() >= 0)
        addOption({QStringLiteral("user"), QString(),
                   QStringLiteral("the current user's program folder stands for BANK")});
}

qsizetype Command::bankArgument() const
{
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        if (m_arguments[i].name == u"BANK")
            return qsizetype(i);
    }
    return -1;
}

void Command::addOption(Option option)
{
    m_options.push_back(std::move(option));
}

const Command::Option* Command::findOption(const QString& name) const
{
    for (const Option& option : m_options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

QString Command::helpText() const
{
    QString usage = QStringLiteral("Usage: tarnex-bank %1").arg(m_name);
    if (!m_options.empty())
        usage += QStringLiteral(" [OPTIONS]");
    for (const Argument& argument : m_arguments)
        usage += argument.optional ? QStringLiteral(" [%1]").arg(argument.name) : u' ' + argument.name;
    QString text = usage + QStringLiteral("\n\n") + m_description + u'\n';
    if (!m_arguments.empty()) {
        text += QStringLiteral("\nArguments:\n");
        for (const Argument& argument : m_arguments)
            text += QStringLiteral("  %1  %2\n").arg(argument.name.leftJustified(8), argument.description);
    }
    if (!m_options.empty()) {
        QStringList names;
        qsizetype width = 0;
        for (const Option& option : m_options) {
            names.append(QStringLiteral("--") + option.name +
                         (option.valueName.isEmpty() ? QString() : u' ' + option.valueName));
            width = std::max(width, names.back().size());
        }
        text += QStringLiteral("\nOptions:\n");
        for (size_t i = 0; i < m_options.size(); ++i)
            text += QStringLiteral("  %1  %2\n")
                        .arg(names[qsizetype(i)].leftJustified(width), m_options[i].description);
    }
    if (!m_details.isEmpty())
        text += u'\n' + m_details + u'\n';
    return text;
}

bool Command::parseOptions(const QStringList& commandLine, QStringList* arguments, QString* error)
{
    // Options come before "--"; after it every word is an argument, even one that starts with "-".
    m_given.clear();
    for (qsizetype i = 0; i < commandLine.size(); ++i) {
        const QString& word = commandLine.at(i);
        if (word == u"--") {
            arguments->append(commandLine.mid(i + 1));
            break;
        }
        if (!word.startsWith(QStringLiteral("--"))) {
            arguments->append(word);
            continue;
        }
        const qsizetype equals = word.indexOf(u'=');
        const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
        const Option* option = findOption(name);
        if (!option) {
            *error = QStringLiteral("unknown option --%1").arg(name);
            return false;
        }
        if (m_given.contains(name)) {
            *error = QStringLiteral("option --%1 is given twice").arg(name);
            return false;
        }
        QString value;
        if (option->valueName.isEmpty()) {
            if (equals >= 0) {
                *error = QStringLiteral("option --%1 takes no value").arg(name);
                return false;
            }
        } else if (equals >= 0) {
            value = word.mid(equals + 1);
        } else if (i + 1 < commandLine.size()) {
            value = commandLine.at(++i);
        } else {
            *error = QStringLiteral("option --%1 needs a value (%2)").arg(name, option->valueName);
            return false;
        }
        m_given.insert(name, value);
    }
    return true;
}

int Command::run(const QStringList& commandLine, CommandIo& io)
{
    const qsizetype separator = commandLine.indexOf(QStringLiteral("--"));
    const QStringList beforeSeparator = separator < 0 ? commandLine : commandLine.mid(0, separator);
    if (beforeSeparator.contains(QStringLiteral("--help")) ||
        beforeSeparator.contains(QStringLiteral("-h"))) {
        io.out << helpText();
        return ExitOk;
    }
    QStringList arguments;
    QString error;
    if (!parseOptions(commandLine, &arguments, &error)) {
        io.err << "tarnex-bank " << m_name << ": " << error << "\n";
        return ExitFailure;
    }
    // --user puts the folder the program itself would use (the build's, or the user's own beside
    // an installed copy) in the place of BANK.
    if (hasOption(QStringLiteral("user"))) {
        try {
            arguments.insert(std::min(bankArgument(), arguments.size()), AppPaths::programDir());
        } catch (const AppError& failure) {
            io.err << "tarnex-bank " << m_name << ": " << failure.message() << "\n";
            return ExitFailure;
        }
    }
    qsizetype required = 0;
    for (const Argument& argument : m_arguments)
        required += argument.optional ? 0 : 1;
    const qsizetype allowed = qsizetype(m_arguments.size());
    if (arguments.size() < required || arguments.size() > allowed) {
        io.err << "tarnex-bank " << m_name << ": expected " << required;
        if (allowed > required)
            io.err << " to " << allowed;
        io.err << " argument(s), got " << arguments.size() << "\n\n" << helpText();
        return ExitFailure;
    }
    try {
        return execute(arguments, io);
    } catch (const AppError& error) {
        io.out.flush();
        io.err << "tarnex-bank " << m_name << ": " << error.message() << "\n";
        return ExitFailure;
    }
}

const std::vector<std::unique_ptr<Command>>& commands()
{
    static const auto list = [] {
        std::vector<std::unique_ptr<Command>> all;
        all.push_back(std::make_unique<BuildCommand>());
        all.push_back(std::make_unique<ExportCommand>());
        all.push_back(std::make_unique<ImportCommand>());
        all.push_back(std::make_unique<CheckCommand>());
        all.push_back(std::make_unique<ListCommand>());
        all.push_back(std::make_unique<ShowCommand>());
        all.push_back(std::make_unique<InfoCommand>());
        all.push_back(std::make_unique<PaperCommand>());
        all.push_back(std::make_unique<MergeCommand>());
        all.push_back(std::make_unique<TextCommand>());
        return all;
    }();
    return list;
}

Command* findCommand(const QString& name)
{
    for (const auto& command : commands()) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

QString programHelp()
{
    QString text =
        QStringLiteral("Usage: tarnex-bank COMMAND [ARGUMENTS]\n\n"
                       "Builds, checks and inspects the question bank of Velquarn: BANK is the folder\n"
                       "that holds kstk.dat and titao.dat.\n\nCommands:\n");
    for (const auto& command : commands())
        text += QStringLiteral("  %1  %2\n")
                    .arg(command->name().leftJustified(7), command->description().section(u'\n', 0, 0));
    text += QStringLiteral("\n'tarnex-bank COMMAND --help' describes one command.\n"
                           "Exit status: 0 success, 1 check found errors, 2 the command failed.\n");
    return text;
}

int runCommandLine(const QStringList& arguments, CommandIo& io)
{
    if (arguments.isEmpty()) {
        io.err << programHelp();
        return ExitFailure;
    }
    const QString& name = arguments.front();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        if (arguments.size() > 1) {
            if (Command* command = findCommand(arguments.at(1))) {
                io.out << command->helpText();
                return ExitOk;
            }
        }
        io.out << programHelp();
        return ExitOk;
    }
    Command* command = findCommand(name);
    if (!command) {
        io.err << "tarnex-bank: unknown command \"" << name << "\"\n\n" << programHelp();
        return ExitFailure;
    }
    return command->run(arguments.mid(1), io);
}

int runProgram(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // Laying out rich text needs fonts and a GUI application; the tool never shows a window, so
    // the offscreen platform serves. Other commands start without any application object.
    std::unique_ptr<QCoreApplication> application;
    const Command* command = arguments.isEmpty() ? nullptr : findCommand(arguments.front());
    if (command && command->needsGui() && !QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    in.setEncoding(QStringConverter::Utf8);
    CommandIo io{out, err, &in};
    const int code = runCommandLine(arguments, io);
    out.flush();
    err.flush();
    return code;
}

} // namespace tarnex::bank
