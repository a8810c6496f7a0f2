#include "AccountingPackage.h"

#include <limits>

namespace tarnex::AccountingPackage {

const QStringList& systems()
{
    static const QStringList list = {QStringLiteral("系统管理"), QStringLiteral("信息门户")};
    return list;
}

QString programOf(const QString& system)
{
    if (system == u"系统管理")
        return QStringLiteral("C:\\UFSMART\\Admin\\Admin.exe");
    if (system == u"信息门户")
        return QStringLiteral("C:\\UFSMART\\Portal\\Portal.exe");
    return {};
}

bool acceptsUserName(const QString& name)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < name.size() && (name.at(i) == u'+' || name.at(i) == u'-')) {
        negative = name.at(i) == u'-';
        ++i;
    }
    if (i == name.size())
        return false;
    // The magnitude may reach 2^31 for a negative number only.
    const qint64 limit = qint64(std::numeric_limits<qint32>::max()) + (negative ? 1 : 0);
    qint64 value = 0;
    for (; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > limit)
            return false;
    }
    return true;
}

QString userNameMessage()
{
    return QStringLiteral("请输入正确的用户名！");
}

} // namespace tarnex::AccountingPackage
