#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tarnex::test {

// A fresh program folder for one test: AppPaths::programDir() points at it while the object lives.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;
    // Copies a file of the built program folder (kstk.dat, titao.dat, kjkm.dat) into this folder.
    void copyFromOutput(const QString& name) const;
    // The folder of the built program (TARNEX_OUTPUT_DIR) and the source tree (TARNEX_SOURCE_DIR).
    static QString outputDir();
    static QString sourceDir();

private:
    QTemporaryDir m_dir;
};

} // namespace tarnex::test
