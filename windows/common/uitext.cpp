#include "windows/common/uitext.h"

#include "windows/common/program.h"

namespace nuvela {

QString uiText(Program& program, QStringView key, const QString& hebrew)
{
    if (program.state.language.compare(u"hebrew") == 0)
        return hebrew;
    QString text = program.store.get(StoreMode::Lang, kMessagesSection, key);
    return text == kFailed ? hebrew : text.replace(u'~', u'\n');
}

} // namespace nuvela
