#include "TestFolder.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tarnex::test {

TestFolder::TestFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    AppPaths::setProgramDirForTesting(m_dir.path());
}

TestFolder::~TestFolder()
{
    AppPaths::setProgramDirForTesting({});
}

QString TestFolder::file(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void TestFolder::copyFromOutput(const QString& name) const
{
    const QString source = QDir(outputDir()).filePath(name);
    if (!QFile::copy(source, file(name)))
        throw std::runtime_error(("cannot copy " + source + " into the test folder").toStdString());
    QFile::setPermissions(file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

// The environment may point a test run at another build; by default the folders are the ones
// this test program was built with.
QString TestFolder::outputDir()
{
    return qEnvironmentVariable("TARNEX_OUTPUT_DIR", QStringLiteral(TARNEX_TEST_OUTPUT_DIR));
}

QString TestFolder::sourceDir()
{
    return qEnvironmentVariable("TARNEX_SOURCE_DIR", QStringLiteral(TARNEX_TEST_SOURCE_DIR));
}

} // namespace tarnex::test
