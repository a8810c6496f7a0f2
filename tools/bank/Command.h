#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <vector>

namespace tarnex::bank {

// Exit codes of tarnex-bank: 1 is kept for "check found errors in the bank".
constexpr int ExitOk = 0;
constexpr int ExitFindings = 1;
constexpr int ExitFailure = 2;

// Where a command writes its results (out) and its problems (err), and reads a value from (in).
struct CommandIo
{
    QTextStream& out;
    QTextStream& err;
    QTextStream* in = nullptr;
};

// One command of tarnex-bank: its name, its arguments and its help, and what it does.
class Command
{
public:
    struct Argument
    {
        QString name;
        QString description;
        bool optional = false;
    };

    // An option "--name" (a flag) or "--name VALUE" / "--name=VALUE" (valueName not empty).
    struct Option
    {
        QString name; // without the dashes
        QString valueName;
        QString description;
    };

    virtual ~Command() = default;

    const QString& name() const { return m_name; }
    const QString& description() const { return m_description; }
    QString helpText() const;

    // Whether the command lays out rich text (QTextDocument, pictures, fonts): it then needs a
    // QGuiApplication.
    virtual bool needsGui() const { return false; }

    // Runs the command with its arguments (the command name not included): --help, the options,
    // the argument count, --user and errors thrown as AppError are handled here. An argument
    // named BANK is a bank folder: --user stands for it, naming the current user's program folder.
    int run(const QStringList& arguments, CommandIo& io);

protected:
    Command(QString name, QString description, std::vector<Argument> arguments, QString details = {});
    void addOption(Option option);
    virtual int execute(const QStringList& arguments, CommandIo& io) = 0;

    // The options of the command line being run (set before execute()): whether one was given,
    // and its value.
    bool hasOption(const QString& name) const { return m_given.contains(name); }
    QString optionValue(const QString& name) const { return m_given.value(name); }

private:
    const Option* findOption(const QString& name) const;
    // Splits the command line into options (into m_given) and arguments; false with a message in
    // error for an unknown option, a missing value or an option given twice.
    bool parseOptions(const QStringList& commandLine, QStringList* arguments, QString* error);
    // The index of the BANK argument, or -1.
    qsizetype bankArgument() const;

    QString m_name;
    QString m_description;
    std::vector<Argument> m_arguments;
    std::vector<Option> m_options;
    QString m_details;
    QHash<QString, QString> m_given;
};

const std::vector<std::unique_ptr<Command>>& commands();
Command* findCommand(const QString& name);

// The whole command line without the program name: "COMMAND ARGS..." or --help.
int runCommandLine(const QStringList& arguments, CommandIo& io);
QString programHelp();

// The program entry: creates the application object the command needs and runs it.
int runProgram(int argc, char** argv);

} // namespace tarnex::bank
