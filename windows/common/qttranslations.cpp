#include "windows/common/qttranslations.h"

#include "windows/common/program.h"
#include "windows/common/uitext.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace nuvela {

QString qtLocaleFor(Program& program)
{
    if (program.state.language == u"hebrew")
        return QStringLiteral("he");
    return uiText(program, u"qtlocale", QString());
}

bool useQtTranslations(Program& program)
{
    // One translator for the whole run, replaced when the language changes.
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString locale = qtLocaleFor(program);
    auto translator = std::make_unique<QTranslator>();
    const bool found = !locale.isEmpty()
        && translator->load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (found) {
        QCoreApplication::installTranslator(translator.get());
        installed = std::move(translator);
    }
    // Qt's dialogs and message boxes are windows of their own: they take the
    // application's direction, which follows the language.
    QGuiApplication::setLayoutDirection(locale == u"he" ? Qt::RightToLeft : Qt::LeftToRight);
    return found;
}

} // namespace nuvela
