#include "windows/main/versionpanel.h"

#include "store/ansi.h"
#include "store/keystore.h"
#include "store/templates.h"
#include "store/versions.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace nuvela {

namespace {

/// "Version 3 has changed in the text store since it was shown here …", and
/// what the user can do about it.
QString changedMessage(Program& program, QStringView key, const QString& hebrew, int v)
{
    return fillIn(uiText(program, key, hebrew), {QString::number(v)});
}

/// The unstorable sign as the message shows it: one without ink of its own
/// (a joiner, a line separator, a cantillation mark alone) is named by its
/// code point, or the user could not see what to remove.
QString shownSign(const QString& sign)
{
    const char32_t c = sign.toUcs4().value(0);
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return QStringLiteral("U+%1").arg(uint(c), 4, 16, QChar(u'0')).toUpper();
    default:
        return sign;
    }
}

/// Which signs the store cannot hold, quoted as the user will look for them.
QString unstorableMessage(Program& program, const QStringList& signs)
{
    // A pasted greeting may hold dozens of emoji; the first few tell the user
    // what kind of sign to look for.
    constexpr qsizetype kShownSigns = 10;
    QStringList shown;
    for (const QString& sign : signs.first(std::min(signs.size(), kShownSigns)))
        shown.append(u'"' + shownSign(sign) + u'"');
    if (signs.size() > kShownSigns)
        shown.append(QStringLiteral("…"));
    if (signs.size() == 1)
        return fillIn(uiText(program, u"unstorable",
                             QStringLiteral("לא ניתן לשמור את הסימן \"%1\": הטקסטים נשמרים בקידוד "
                                            "Windows-1255, שיש בו עברית, אותיות לטיניות וסימנים "
                                            "נפוצים בלבד. מחקו אותו מהטקסט ושמרו שוב.")),
                      {shownSign(signs.front())});
    return fillIn(uiText(program, u"unstorablemany",
                         QStringLiteral("לא ניתן לשמור את הסימנים %1: הטקסטים נשמרים בקידוד "
                                        "Windows-1255, שיש בו עברית, אותיות לטיניות וסימנים "
                                        "נפוצים בלבד. מחקו אותם מהטקסט ושמרו שוב.")),
                  {shown.join(QStringLiteral(", "))});
}

} // namespace

VersionPanel::VersionPanel(Program& program, QWidget* owner, std::function<VersionTexts()> texts)
    : program_(program)
    , owner_(owner)
    , texts_(std::move(texts))
{
}

bool VersionPanel::succeeded(const StoreResult& result, const QString& failed)
{
    if (result.ok())
        return true;
    // The store's reason is English; Hebrew says what to check instead
    // (a language file may give the reason back as %2).
    const QString path = leftToRight(QDir::toNativeSeparators(program_.store.pathFor(StoreMode::WriteTxt)));
    tellError(program_, owner_,
              failed + u'\n'
                  + fillIn(uiText(program_, u"storenowrite",
                                  QStringLiteral("לא ניתן לכתוב בקובץ %1. ודאו שהקובץ והתיקייה שלו אינם מוגנים "
                                                 "מפני כתיבה ושיש מקום פנוי בדיסק.")),
                           {path, result.error}));
    return false;
}

std::optional<QList<QString>> VersionPanel::stored(const QString& section)
{
    return storedSection(program_.store.files(), program_.store.pathFor(StoreMode::GetTxt), section);
}

void VersionPanel::remember()
{
    const PageState& state = program_.state;
    if (!canKeep() || state.tavnit.isEmpty())
        return seen_.reset();
    const QString section = versionSection(state.templateId, state.version);
    seen_ = Seen{section, stored(section)};
}

bool VersionPanel::changedElsewhere(int v)
{
    // A store that is there but cannot be read says nothing of who changed
    // it; the write that follows fails and says why.
    const QString path = program_.store.pathFor(StoreMode::GetTxt);
    if (QFileInfo::exists(path) && !program_.store.files().read(path))
        return false;
    const QString section = versionSection(program_.state.templateId, v);
    return seen_ && seen_->section == section && stored(section) != seen_->lines;
}

bool VersionPanel::canKeep() const { return canKeepVersions(program_.state); }

bool VersionPanel::canDelete() const
{
    return canKeep() && program_.state.version <= storedVersions(program_.store, program_.state);
}

bool VersionPanel::saveGirsa(int v)
{
    PageState& state = program_.state;
    if (!canKeep() || v < 1)
        return false;
    const QList<StoreEntry> entries = versionEntries(state);
    // Typed or pasted signs the store cannot hold (emoji, Arabic …): the user
    // must learn which ones to remove, all at once, not to check the disk.
    QStringList signs;
    for (const StoreEntry& entry : entries) {
        for (const QString& sign : unencodableSigns(entry.second)) {
            if (!signs.contains(sign))
                signs.append(sign);
        }
    }
    if (!signs.isEmpty()) {
        tellError(program_, owner_, texts_().saveFailed + u'\n' + unstorableMessage(program_, signs));
        return false;
    }
    for (const StoreEntry& entry : entries) {
        // The store reads a value that begins with its miss word as missing:
        // the object would come back empty, every row of it.
        const qsizetype blanks = std::find_if(entry.second.cbegin(), entry.second.cend(),
                                              [](QChar c) { return c != u' ' && c != u'\t'; })
            - entry.second.cbegin();
        if (QStringView(entry.second).sliced(blanks).startsWith(kFailedWord)) {
            tellError(program_, owner_,
                      texts_().saveFailed + u'\n'
                          + uiText(program_, u"failedword",
                                   QStringLiteral("לא ניתן לשמור טקסט שמתחיל במילה \"Failed\": הוא ייקרא בחזרה "
                                                  "כטקסט חסר. שנו את המילה הראשונה ושמרו שוב.")));
            return false;
        }
    }
    if (!succeeded(writeEntries(program_.store.files(), program_.store.pathFor(StoreMode::WriteTxt),
                                versionSection(state.templateId, v), entries),
                   texts_().saveFailed))
        return false;
    const QString section = versionSection(state.templateId, v);
    seen_ = Seen{section, stored(section)};
    clearModified(state);
    return true;
}

bool VersionPanel::saveAsNew()
{
    PageState& state = program_.state;
    if (!canKeep())
        return false;
    const int stored = storedVersions(program_.store, state);
    if (stored >= kMaxVersions) {
        // An eleventh version would be written where no one finds it again.
        program_.dialogs.tell(owner_, attentionTitle(program_), texts_().versionsFull);
        return false;
    }
    if (!saveGirsa(stored + 1))
        return false;
    state.versionCount = stored + 1;
    state.version = stored + 1;
    return true;
}

bool VersionPanel::update()
{
    bool ok = false;
    const int marked = program_.state.modified.toInt(&ok);
    if (!ok)
        return false;
    // Written blindly, a page shown before another Nuvela saved, deleted or
    // renumbered this version would replace what that one stored.
    if (changedElsewhere(marked)
        && !program_.dialogs.ask(
            owner_, attentionTitle(program_),
            changedMessage(program_, u"versionchanged",
                           QStringLiteral("גירסה %1 השתנתה בקובץ הטקסטים מאז שהוצגה כאן: תוכנית Nuvela נוספת "
                                          "שמרה, מחקה או מספרה מחדש את הגירסאות. לשמור את העמוד הזה במקומה? "
                                          "\"לא\" משאיר את השינויים בעמוד, ו\"שמור כ\" שומר אותם כגירסה "
                                          "חדשה בלי לגעת בה."),
                           marked),
            Ask::Warning))
        return false;
    return saveGirsa(marked);
}

bool VersionPanel::checksav(bool* discarded)
{
    PageState& state = program_.state;
    if (discarded)
        *discarded = false;
    if (!state.isModified())
        return true;
    bool save = false;
    if (!canKeep()) {
        // Asking to save what cannot be saved would hold the user on the page.
        program_.dialogs.tell(owner_, attentionTitle(program_), texts_().noIdentifier);
    } else {
        save = program_.dialogs.ask(owner_, attentionTitle(program_), texts_().savePrompt, Ask::NoDiscardsWork);
        if (save && !update())
            return false;
    }
    if (discarded)
        *discarded = !save;
    clearModified(state);
    return true;
}

bool VersionPanel::deleteCurrent(bool* changedElsewhere)
{
    PageState& state = program_.state;
    if (changedElsewhere)
        *changedElsewhere = false;
    if (!canKeep())
        return false;
    if (!program_.dialogs.ask(owner_, uiText(program_, u"deletetitle", QStringLiteral("מחיקה")), texts_().deletePrompt,
                              Ask::Warning))
        return false;
    const int deleted = state.version;
    if (this->changedElsewhere(deleted)) {
        // The page showed another version than the one now stored under its number.
        program_.dialogs.tell(
            owner_, attentionTitle(program_),
            changedMessage(program_, u"versionchangednodelete",
                           QStringLiteral("גירסה %1 השתנתה בקובץ הטקסטים מאז שהוצגה כאן: תוכנית Nuvela נוספת "
                                          "שמרה, מחקה או מספרה מחדש את הגירסאות. הגירסה לא נמחקה; בדקו מה "
                                          "שמור בה עכשיו לפני שתמחקו אותה."),
                           deleted));
        if (changedElsewhere)
            *changedElsewhere = true;
        return false;
    }
    if (!succeeded(deleteVersion(program_.store.files(), program_.store.pathFor(StoreMode::WriteTxt),
                                 state.templateId, deleted),
                   texts_().deleteFailed))
        return false;
    // The marker names a version number; keep it on the same version.
    if (state.isModified()) {
        const int marked = state.modified.toInt();
        if (marked == deleted)
            clearModified(state);
        else if (marked > deleted)
            state.modified = QString::number(marked - 1);
    }
    state.versionCount = countVersions(program_.store, state);
    state.version = std::min(deleted, state.versionCount);
    return true;
}

} // namespace nuvela
