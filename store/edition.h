#pragma once

#include <QString>
#include <QStringView>

namespace nuvela {

/// The program runs as one of two editions, told apart by its title; they
/// differ in the image database, the footer line and the help address.
enum class Edition { Main, Sibling };

/// The sibling edition's title, compared in lower case.
inline constexpr QStringView kSiblingTitle = u"b.o.lumen";

inline Edition editionFromTitle(QStringView title)
{
    return title.toString().toLower() == kSiblingTitle ? Edition::Sibling : Edition::Main;
}

/// Base name of the edition's image database file, without extension
/// (".db" for the embedded database, ".mdb" for a legacy file).
inline QString imageDatabaseBaseName(Edition edition)
{
    return edition == Edition::Sibling ? QStringLiteral("lmndb") : QStringLiteral("nvdb");
}

} // namespace nuvela
