#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarnex::AccountSets {

// What the accounting package needs before an exam of "初级会计电算化": its folders on drive C,
// the report templates in the candidate folder, and its ten databases restored on the server.
// Windows paths name the package's own drive C; the caller maps them onto the host.

// The folders to create (each with its missing parents), in order: the package's Admin folder,
// the year folders of account sets 901 to 908, the candidate folder.
const QStringList& folders();
// The candidate folder, which receives the report templates.
QString candidateFolder(); // "C:\考生文件夹"
// The report templates, copied in this order from zhangtao/ksdata in the program folder.
const QStringList& templates();

// The program folder's subfolders holding the templates and the database backups.
QString templateFolder(); // "zhangtao/ksdata"
QString backupFolder();   // "zhangtao/ufdata"

// One database of the package, its backup file and the progress shown after each of its three
// statements succeeds.
struct RestoredDatabase
{
    QString name;
    QString backupFile;
    int afterDrop;
    int afterCreate;
    int afterRestore;
};
const QList<RestoredDatabase>& databases();

// One statement sent to the server and the progress shown once it has succeeded.
struct Statement
{
    QString text;
    int progress;
};

// The thirty statements in order: drop, create and restore of each database, the restore reading
// its backup in the given folder (as the server spells the path).
QList<Statement> statements(const QString& backupDir);

QString dropStatement(const QString& database);
QString createStatement(const QString& database);
// A quote in the path is doubled, so it stays inside the string literal.
QString restoreStatement(const QString& database, const QString& backupPath);

// Progress and status texts of the run.
constexpr int ProgressAfterFiles = 2;
constexpr int ProgressDone = 100;
QString startStatus();    // "正在初始划账套,请稍后......"
QString noServerStatus(); // "不能连接服务器,未初始化"
QString finishedStatus(); // "完成账套初始化......"

} // namespace tarnex::AccountSets
