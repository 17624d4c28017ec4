#pragma once

#include <QString>

namespace nuvela {

/// Legacy Access files are never parsed in the program's own process: the
/// library that reads them can loop forever or grow without bound on a
/// damaged file. A helper program converts the file's two picture tables
/// into an SQLite database under a time and a memory limit, once per
/// version of the file (its stamp); later lookups read that copy.
struct LegacyImport {
    QString database; ///< the SQLite copy, or "" on failure
    QString error;    ///< one line naming the legacy file, or ""
};

/// The SQLite copy of the legacy file at mdbPath, made now if there is none
/// for this version of the file. A failed import is remembered for that
/// version, so a damaged file costs its time limit once per run.
LegacyImport importLegacyDatabase(const QString& mdbPath);

/// Where copies are kept: $XDG_CACHE_HOME/nuvela, else ~/.cache/nuvela, else
/// a private folder under the temporary folder.
QString legacyCacheFolder();

/// The helper's limits.
inline constexpr int kLegacyImportSeconds = 20;
inline constexpr long long kLegacyImportMemoryBytes = 1024LL * 1024 * 1024;

/// The helper program's exit code for a file it could read but that is not
/// an image database; its one line on the error stream says why.
inline constexpr int kLegacyImportRefused = 3;

} // namespace nuvela
