#include "windows/common/uitext.h"

#include "windows/common/dialogs.h"
#include "windows/common/program.h"

namespace nuvela {

QString uiText(Program& program, QStringView key, const QString& hebrew)
{
    if (program.state.language.compare(u"hebrew") == 0)
        return hebrew;
    QString text = program.store.get(StoreMode::Lang, kMessagesSection, key);
    return text == kFailed ? hebrew : text.replace(u'~', u'\n');
}

QString fillIn(QString text, const QStringList& values)
{
    // From the highest number down, so that "%1" does not eat "%10".
    for (qsizetype i = values.size(); i > 0; --i)
        text.replace(u'%' + QString::number(i), values[i - 1]);
    return text;
}

QString leftToRight(const QString& text)
{
    // Marks rather than an isolate, which Qt 6.4 lays out wrongly in some
    // sentences (the slash went to the far end again): a mark on each side
    // gives the path's end characters a left-to-right neighbour.
    return kLeftToRightMark + text + kLeftToRightMark;
}

QString inOwnDirection(const QString& text)
{
    const QChar mark = text.isRightToLeft() ? kRightToLeftMark : kLeftToRightMark;
    return mark + text + mark;
}

QString errorTitle(Program& program) { return uiText(program, u"error", QStringLiteral("שגיאה")); }

QString attentionTitle(Program& program) { return uiText(program, u"attention", QStringLiteral("שים לב")); }

void tellError(Program& program, QWidget* parent, const QString& text)
{
    program.dialogs.tell(parent, errorTitle(program), text, true);
}

} // namespace nuvela
