// The main window's recovery of unsaved work: after every step the page's
// unsaved state goes to the recovery file; at start a file left by a crash
// is offered back. Reading and writing the file lives in store/recovery.
#include "windows/main/articlewindow.h"

#include "store/recovery.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/main/pagehistory.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QListWidget>
#include <QLockFile>
#include <QSignalBlocker>

namespace nuvela {

bool ArticleWindow::ownsRecovery()
{
    if (!recoveryLockTried_) {
        recoveryLockTried_ = true;
        const QString folder = recoveryFolder();
        const QString lockPath = recoveryPath(program_.dir()) + QStringLiteral(".lock");
        auto lock = std::make_unique<QLockFile>(lockPath);
        // Held for the whole run, so its age says nothing; a lock left by a
        // killed run names a process that is gone and is taken over.
        lock->setStaleLockTime(0);
        if (!QDir().mkpath(folder))
            recoveryProblem_ = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        else if (lock->tryLock(0))
            recoveryLock_ = std::move(lock);
        else if (lock->error() != QLockFile::LockFailedError)
            // No other Nuvela holds it: the user's state folder refuses.
            recoveryProblem_ = QStringLiteral("%1 cannot be written.").arg(lockPath);
    }
    return recoveryLock_ != nullptr;
}

void ArticleWindow::keepRecovery()
{
    const PageState& s = program_.state;
    if (!s.isModified() || s.tavnit.isEmpty())
        return;
    if (!ownsRecovery() && recoveryProblem_.isEmpty()) {
        if (!recoveryFailureTold_) {
            recoveryFailureTold_ = true;
            program_.dialogs.tell(this, attentionTitle(program_),
                                  uiText(program_, u"recoveryother",
                                         QStringLiteral("תוכנית Nuvela נוספת פתוחה על תיקיית התוכנית הזו, ולכן "
                                                        "השינויים בחלון זה לא נשמרים לשחזור אחרי קריסה. "
                                                        "שמרו אותם כגירסה כדי לא לאבד אותם.")));
        }
        return;
    }
    StoreResult written{recoveryProblem_};
    if (written.ok())
        written = writeRecovery(recoveryPath(program_.dir()),
                                serialiseRecovery(captureRecovery(s, program_.dir(), QDateTime::currentDateTime())));
    recoveryKept_ = written.ok() || recoveryKept_;
    // Editing goes on without it; saying so on every step would only nag.
    if (!written.ok() && !recoveryFailureTold_) {
        recoveryFailureTold_ = true;
        program_.dialogs.tell(this, attentionTitle(program_),
                              uiText(program_, u"recoverynowrite",
                                     QStringLiteral("לא ניתן לשמור עותק גיבוי של השינויים:\n%1"))
                                  .arg(written.error));
    }
}

void ArticleWindow::dropRecovery()
{
    // Only a file this run wrote or restored: one waiting for the start's
    // question stays until it is answered.
    if (recoveryKept_ && ownsRecovery() && removeRecovery(recoveryPath(program_.dir())))
        recoveryKept_ = false;
}

namespace {

/// Why a recovery file cannot be used, in the interface language. "%1" is
/// the template, "%2" the file reader's own account or the version (a
/// language may leave it out: Hebrew does, as the account is English).
QString recoveryProblem(Program& program, QStringView key, const QString& tavnit, const QString& detail)
{
    static const QHash<QStringView, QString> hebrew{
        {u"recoverydamaged", QStringLiteral("קובץ השחזור פגום או קטוע")},
        {u"recoverynotemplate", QStringLiteral("התבנית \"%1\" אינה קיימת עוד")},
        {u"recoverynoopen", QStringLiteral("לא ניתן לפתוח את התבנית \"%1\"")},
        {u"recoverynoversion", QStringLiteral("גירסה %2 של התבנית \"%1\" אינה שמורה עוד")},
    };
    return fillIn(uiText(program, key, hebrew.value(key)), {tavnit, detail});
}

} // namespace

void ArticleWindow::setRecoveryAside(const QString& path, const QString& why)
{
    const QString aside = setAsideRecovery(path);
    program_.dialogs.tell(this, attentionTitle(program_),
                          uiText(program_, u"recoverybad",
                                 QStringLiteral("לא ניתן לשחזר את השינויים שלא נשמרו: %1.\nהקובץ הועבר אל:\n%2"))
                              .arg(why, leftToRight(aside.isEmpty() ? path : aside)));
}

void ArticleWindow::offerRecovery()
{
    const QString path = recoveryPath(program_.dir());
    if (!ownsRecovery() || !QFileInfo::exists(path))
        return;
    QString why;
    const std::optional<RecoveryState> saved = readRecovery(path, &why);
    if (!saved)
        return setRecoveryAside(path, recoveryProblem(program_, u"recoverydamaged", {}, why));
    const auto items = tavnit_->findItems(saved->tavnit, Qt::MatchExactly);
    if (items.isEmpty())
        return setRecoveryAside(path, recoveryProblem(program_, u"recoverynotemplate", saved->tavnit, {}));

    const QString when = saved->saved.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!program_.dialogs.ask(this, uiText(program_, u"recoverytitle", QStringLiteral("שחזור שינויים")),
                              uiText(program_, u"recoveryask",
                                     QStringLiteral("בתבנית \"%1\", גירסה %2, נשארו שינויים שלא נשמרו.\n"
                                                    "השינוי האחרון: %3\nהאם לשחזר אותם?"))
                                  .arg(saved->tavnit)
                                  .arg(saved->version)
                                  .arg(when),
                              Ask::NoDiscardsWork)) {
        removeRecovery(path);
        return;
    }

    // The page as stored first, then the edits on it: the drawers read the
    // store only while nothing is unsaved.
    {
        const QSignalBlocker block(tavnit_);
        tavnit_->setCurrentItem(items.first());
    }
    chooseTemplate(tavnit_->row(items.first()));
    if (program_.state.tavnit != saved->tavnit)
        return setRecoveryAside(path, recoveryProblem(program_, u"recoverynoopen", saved->tavnit, {}));
    if (saved->version != program_.state.version) {
        if (!program_.pages.chooseVersion(saved->version).isEmpty())
            return setRecoveryAside(path, recoveryProblem(program_, u"recoverynoversion", saved->tavnit,
                                                          QString::number(saved->version)));
        showVersion(saved->version);
    }
    if (saved->logoText != program_.state.headline.kotxtChecked)
        showLogoText(saved->logoText);

    applyRecovery(*saved, program_.state);
    history_->restart();
    history_->forgetClean(); // undoing cannot reach a saved state
    recoveryKept_ = true;
    const QString marker = program_.state.modified;
    markModified();
    if (!marker.isEmpty() && marker != program_.state.modified) {
        // The version the changes began on, as the crashed run had it.
        program_.state.modified = marker;
        syncControls();
        keepRecovery();
    }
    viewpic();
}

} // namespace nuvela
