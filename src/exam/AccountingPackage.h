#pragma once

#include <QString>
#include <QStringList>

namespace tarnex::AccountingPackage {

// The programs of the accounting package that the practical page starts, by the item of its
// system list ("系统管理", "信息门户"), as Windows paths on the package's drive C.
const QStringList& systems();
// The program of a system list item, or "" for any other text.
QString programOf(const QString& system);

// Whether a user name (already trimmed) lets "运行" start a program: a whole number, an optional
// sign and decimal digits within the 32-bit signed range. The number itself is not used.
bool acceptsUserName(const QString& name);
QString userNameMessage(); // "请输入正确的用户名！"

} // namespace tarnex::AccountingPackage
