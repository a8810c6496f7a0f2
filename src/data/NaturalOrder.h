#pragma once

#include <QString>

namespace tarnex {

// The order of question numbers: runs of decimal digits compare by their value ("2" before "10"),
// everything else byte by byte; numbers of equal value but different spelling ("7", "007") and
// otherwise equal texts fall back to plain byte order, so the order is total.
int compareNaturalUtf8(const char* a, int lengthA, const char* b, int lengthB);
int compareNatural(const QString& a, const QString& b);

} // namespace tarnex
