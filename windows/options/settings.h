#pragma once

#include "store/inifiles.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nuvela {

class KeyStore;

/// JPEG quality: the scale of the encoder.
inline constexpr int kMinQuality = 1;
inline constexpr int kMaxQuality = 100;

/// The name the options window offers for the built-in language.
inline const QString kHebrewChoice = QStringLiteral("Hebrew");

/// A quality typed by the user: a whole number from 1 to 100, else nothing.
std::optional<int> parseQuality(const QString& text);

/// The languages on offer: "Hebrew" first, then every "language/*.lng" of
/// the program folder without its extension, sorted so the list reads the
/// same on every file system.
QStringList languageChoices(const QString& programDir);

/// Writes [interface] jpgcompress and lang into the text store in one atomic
/// rewrite; both are stored or neither. A setting given as nothing is left as
/// stored, and nothing to store writes nothing.
StoreResult saveSettings(KeyStore& store, std::optional<int> quality, const std::optional<QString>& language);

} // namespace nuvela
