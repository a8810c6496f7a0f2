#pragma once

#include "BankFiles.h"

#include <QByteArray>
#include <QString>

#include <map>

namespace tarnex::bank {

// The source files that build the same bank: file name -> UTF-8 content. Notes about what the
// sources cannot carry (rows of tb_memo beyond the first) are appended to warnings.
std::map<QString, QByteArray> exportSources(const BankTables& bank, QStringList* warnings = nullptr);

// Writes the files into the folder, which must not hold *.txt files yet (they would be built too).
void writeSources(const std::map<QString, QByteArray>& files, const QString& folder);

} // namespace tarnex::bank
