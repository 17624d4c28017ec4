#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace nuvela {

/// The fonts that ship in the program folder ("*.ttf", any letter case),
/// available to this run only. Removing takes away exactly what this object
/// added, once; fonts that were there before stay.
class ProgramFonts {
public:
    ProgramFonts() = default;
    /// Fonts still added are removed, so nothing outlives the object.
    ~ProgramFonts();
    ProgramFonts(const ProgramFonts&) = delete;
    ProgramFonts& operator=(const ProgramFonts&) = delete;

    /// Adds every font file of the folder not yet added by this object;
    /// returns how many were added. Files Qt cannot read are skipped.
    int addFrom(const QString& programDir);
    /// Removes every font this object added; calling it again does nothing.
    void removeAll();

    QStringList families() const;
    QStringList files() const;
    /// The font database's ids of the fonts this object added.
    QList<int> ids() const;
    bool isEmpty() const { return added_.isEmpty(); }

private:
    struct Added {
        QString file;
        int id;
    };
    QList<Added> added_;
};

} // namespace nuvela
