#include "AccountSetInitialization.h"

#include "exam/AccountSets.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/ServerConnection.h"
#include "platform/WinePrefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>

namespace tarnex {

AccountSetInitialization::AccountSetInitialization(ServerConnection& server, InitializationDisplay& display)
    : m_server(server), m_display(display)
{
}

void AccountSetInitialization::run()
{
    m_display.showProgress();
    m_display.refresh();

    try {
        prepareFiles(AppPaths::programDir());
    } catch (const std::exception&) {
        // A missing template or an unwritable folder ends the copying only.
    }
    m_display.setProgress(AccountSets::ProgressAfterFiles);
    m_display.refresh();

    try {
        m_server.open();
    } catch (const std::exception&) {
        m_display.setStatus(AccountSets::noServerStatus());
        m_display.setProgress(AccountSets::ProgressDone);
        m_display.refresh();
    }
    if (!m_server.isOpen())
        return;

    restoreDatabases();
    m_display.setProgress(AccountSets::ProgressDone);
    m_display.setStatus(AccountSets::finishedStatus());
    m_display.refresh();
}

// Each statement stands alone: a failed drop (a database that does not exist yet) still lets the
// create and the restore of the same database go out.
void AccountSetInitialization::restoreDatabases()
{
    const QString backups =
        QDir::toNativeSeparators(QDir(AppPaths::programDir()).filePath(AccountSets::backupFolder()));
    for (const AccountSets::Statement& statement : AccountSets::statements(backups)) {
        try {
            m_server.execute(statement.text);
        } catch (const std::exception&) {
            continue;
        }
        m_display.setProgress(statement.progress);
        m_display.refresh();
    }
}

void AccountSetInitialization::prepareFiles(const QString& programDir)
{
    for (const QString& folder : AccountSets::folders()) {
        const QString path = WinePrefix::hostPath(folder);
        if (!QDir().mkpath(path))
            throw AppError(QStringLiteral("不能创建文件夹 %1。").arg(QDir::toNativeSeparators(path)));
    }
    const QDir source(QDir(programDir).filePath(AccountSets::templateFolder()));
    const QDir target(WinePrefix::hostPath(AccountSets::candidateFolder()));
    for (const QString& name : AccountSets::templates())
        copyFile(source.filePath(name), target.filePath(name));
}

// The copy goes to a temporary file beside the target and replaces the target by a rename, so a
// failure half-way leaves the old template. It is not forced to disk: every run copies again.
void AccountSetInitialization::copyFile(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("不能打开文件 %1。").arg(QDir::toNativeSeparators(source)));
    const auto cannotWrite = [&target] {
        return AppError(QStringLiteral("不能写入文件 %1。").arg(QDir::toNativeSeparators(target)));
    };
    QTemporaryFile out(QFileInfo(target).dir().filePath(QStringLiteral(".copy-XXXXXX")));
    if (!out.open())
        throw AppError(QStringLiteral("不能创建文件 %1。").arg(QDir::toNativeSeparators(target)));
    char buffer[64 * 1024];
    for (;;) {
        const qint64 read = in.read(buffer, sizeof(buffer));
        if (read < 0)
            throw AppError(QStringLiteral("不能读取文件 %1。").arg(QDir::toNativeSeparators(source)));
        if (read == 0)
            break;
        if (out.write(buffer, read) != read)
            throw cannotWrite();
    }
    if (!out.flush())
        throw cannotWrite();
    out.setPermissions(in.permissions() | QFileDevice::WriteOwner);
    out.close();
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(out.fileName()).toStdString(),
                            QFile::encodeName(target).toStdString(), error);
    if (error)
        throw cannotWrite();
    out.setAutoRemove(false);
}

} // namespace tarnex
