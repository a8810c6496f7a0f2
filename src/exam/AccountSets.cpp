#include "AccountSets.h"

#include <QDir>

namespace tarnex::AccountSets {

const QStringList& folders()
{
    static const QStringList list = [] {
        QStringList result{QStringLiteral("C:\\UFSMART\\Admin")};
        for (int set = 901; set <= 908; ++set)
            result.append(QStringLiteral("C:\\UFSMART\\Admin\\ZT%1\\2012").arg(set));
        result.append(candidateFolder());
        return result;
    }();
    return list;
}

QString candidateFolder()
{
    return QStringLiteral("C:\\考生文件夹");
}

const QStringList& templates()
{
    static const QStringList list = {
        QStringLiteral("固定资产状况表.rep"),  QStringLiteral("货币资金表3.rep"),
        QStringLiteral("利润表简表1.rep"),     QStringLiteral("利润表简表4.rep"),
        QStringLiteral("资产负债表1.rep"),     QStringLiteral("资产负债表简表2.rep"),
        QStringLiteral("资产负债表简表3.rep"),
    };
    return list;
}

QString templateFolder()
{
    return QStringLiteral("zhangtao/ksdata");
}

QString backupFolder()
{
    return QStringLiteral("zhangtao/ufdata");
}

// The steps are not evenly spaced: 72 after the fourth account set, single steps from the sixth.
const QList<RestoredDatabase>& databases()
{
    static const QList<RestoredDatabase> list = {
        {QStringLiteral("UFSystem"), QStringLiteral("UFS.bak"), 6, 10, 14},
        {QStringLiteral("UFSub"), QStringLiteral("UFB.bak"), 18, 22, 26},
        {QStringLiteral("UFDATA_901_2012"), QStringLiteral("UF1.bak"), 30, 34, 38},
        {QStringLiteral("UFDATA_902_2012"), QStringLiteral("UF2.bak"), 42, 46, 50},
        {QStringLiteral("UFDATA_903_2012"), QStringLiteral("UF3.bak"), 54, 58, 62},
        {QStringLiteral("UFDATA_904_2012"), QStringLiteral("UF4.bak"), 66, 70, 72},
        {QStringLiteral("UFDATA_905_2012"), QStringLiteral("UF5.bak"), 74, 78, 82},
        {QStringLiteral("UFDATA_906_2012"), QStringLiteral("UF6.bak"), 83, 84, 85},
        {QStringLiteral("UFDATA_907_2012"), QStringLiteral("UF7.bak"), 86, 87, 88},
        {QStringLiteral("UFDATA_908_2012"), QStringLiteral("UF8.bak"), 89, 90, 91},
    };
    return list;
}

QList<Statement> statements(const QString& backupDir)
{
    QList<Statement> list;
    list.reserve(databases().size() * 3);
    const QDir dir(backupDir);
    for (const RestoredDatabase& db : databases()) {
        list.append({dropStatement(db.name), db.afterDrop});
        list.append({createStatement(db.name), db.afterCreate});
        list.append({restoreStatement(db.name, dir.filePath(db.backupFile)), db.afterRestore});
    }
    return list;
}

QString dropStatement(const QString& database)
{
    return QStringLiteral("Drop database ") + database;
}

QString createStatement(const QString& database)
{
    return QStringLiteral("Create database ") + database;
}

QString restoreStatement(const QString& database, const QString& backupPath)
{
    QString path = backupPath;
    path.replace(QChar(u'\''), QStringLiteral("''"));
    return QStringLiteral("restore database ") + database + QStringLiteral(" from disk='") + path +
           QStringLiteral("'") + QStringLiteral(" with replace");
}

QString startStatus()
{
    return QStringLiteral("正在初始划账套,请稍后......");
}

QString noServerStatus()
{
    return QStringLiteral("不能连接服务器,未初始化");
}

QString finishedStatus()
{
    return QStringLiteral("完成账套初始化......");
}

} // namespace tarnex::AccountSets
