#pragma once

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

    virtual ~Command() = default;

    const QString& name() const { return m_name; }
    const QString& description() const { return m_description; }
    QString helpText() const;

    // Whether the command lays out rich text (QTextDocument, pictures, fonts): it then needs a
    // QGuiApplication.
    virtual bool needsGui() const { return false; }

    // Runs the command with its arguments (the command name not included): --help, the argument
    // count, --user and errors thrown as AppError are handled here. An argument named BANK is a
    // bank folder: --user stands for it, naming the current user's program folder.
    int run(const QStringList& arguments, CommandIo& io);

protected:
    Command(QString name, QString description, std::vector<Argument> arguments, QString details = {});
    virtual int execute(const QStringList& arguments, CommandIo& io) = 0;

private:
    // The index of the BANK argument, or -1.
    qsizetype bankArgument() const;

    QString m_name;
    QString m_description;
    std::vector<Argument> m_arguments;
    QString m_details;
};

const std::vector<std::unique_ptr<Command>>& commands();
Command* findCommand(const QString& name);

// The whole command line without the program name: "COMMAND ARGS..." or --help.
int runCommandLine(const QStringList& arguments, CommandIo& io);
QString programHelp();

// The program entry: creates the application object the command needs and runs it.
int runProgram(int argc, char** argv);

} // namespace tarnex::bank
