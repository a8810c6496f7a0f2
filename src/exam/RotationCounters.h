#pragma once

#include <QString>

namespace tarnex {

// The rotation counters of the feedback phrases (san, liu, jiu), kept between runs in ci.ini in
// the program folder, section "ci". They cycle 1, 2, 3, 1, ...; other values select no phrase.
struct RotationCounters
{
    // Band codes of advance(): the lowest score band, the next one, and the unused third counter.
    static constexpr int SanBand = 3;
    static constexpr int LiuBand = 6;
    static constexpr int JiuBand = 9;

    int san = 1;
    int liu = 1;
    int jiu = 1;

    // The counters after one rotation: the band's counter goes up by one (any other code changes
    // none), then every counter of 4 or more starts again at 1. A value of 0 or below thus climbs
    // by one per rotation of its band; the largest integer wraps to 1 instead of overflowing.
    RotationCounters advanced(int bandCode) const;

    // ci.ini in the program folder.
    static QString defaultPath();
    // Reads the three keys; a missing file, section or key reads as 1. Never writes the file.
    static RotationCounters load(const QString& path = defaultPath());
    // Writes san, liu and jiu (in that order) into the file, keeping every other section, key
    // and line as it was. Throws AppError "Unable to write to <path>" when the file cannot be
    // written; the caller's counters are left as they are.
    void save(const QString& path = defaultPath()) const;

    friend bool operator==(const RotationCounters&, const RotationCounters&) = default;
};

} // namespace tarnex
