#include "store/keystore.h"

#include "store/pagestate.h"

namespace nuvela {

StoreMode parseStoreMode(QStringView word)
{
    if (word.compare(u"get", Qt::CaseInsensitive) == 0)
        return StoreMode::Get;
    if (word.compare(u"write", Qt::CaseInsensitive) == 0)
        return StoreMode::Write;
    if (word == u"gettxt")
        return StoreMode::GetTxt;
    if (word == u"writetxt")
        return StoreMode::WriteTxt;
    if (word == u"getemp")
        return StoreMode::GetTemp;
    if (word == u"ritemp")
        return StoreMode::WriteTemp;
    if (word == u"lang")
        return StoreMode::Lang;
    return StoreMode::None;
}

QString templateFilePath(const QString& programDir, const QString& name)
{
    return programDir + QStringLiteral("/templates/") + name + QStringLiteral(".ini");
}

QString languageFilePath(const QString& programDir, const QString& language)
{
    return programDir + QStringLiteral("/language/") + language + QStringLiteral(".lng");
}

KeyStore::KeyStore(QString programDir, const PageState& state)
    : programDir_(std::move(programDir))
    , state_(state)
{
}

QString KeyStore::pathFor(StoreMode mode) const
{
    switch (mode) {
    case StoreMode::Get:
    case StoreMode::Write:
        return templateFilePath(programDir_, state_.tavnit);
    case StoreMode::GetTxt:
    case StoreMode::WriteTxt:
        return programDir_ + QStringLiteral("/templates/textdata.txt");
    case StoreMode::GetTemp:
    case StoreMode::WriteTemp:
        return programDir_ + QStringLiteral("/templates/tmpdata.txt");
    case StoreMode::Lang:
        return languageFilePath(programDir_, state_.language);
    case StoreMode::None:
        break;
    }
    return {};
}

namespace {
bool isReadMode(StoreMode m)
{
    return m == StoreMode::Get || m == StoreMode::GetTxt || m == StoreMode::GetTemp
        || m == StoreMode::Lang;
}
bool isWriteMode(StoreMode m)
{
    return m == StoreMode::Write || m == StoreMode::WriteTxt || m == StoreMode::WriteTemp;
}
} // namespace

QString KeyStore::get(StoreMode mode, QStringView section, QStringView key)
{
    if (!isReadMode(mode))
        return {};
    if (mode == StoreMode::GetTxt && !overrides_.isEmpty() && foldName(section) == overrideSection_) {
        if (const auto it = overrides_.constFind(foldName(key)); it != overrides_.cend())
            return *it;
    }
    const auto doc = files_.read(pathFor(mode));
    if (!doc)
        return kFailed;
    const auto v = doc->value(section, key);
    // The reader's default text is "Failed"; a value that begins with it
    // cannot be told apart from a miss, and callers rely on that.
    if (!v || v->startsWith(kFailedWord))
        return kFailed;
    return *v;
}

QString KeyStore::refusal(StoreMode mode)
{
    const QString path = pathFor(mode);
    return files_.read(path) ? QString() : files_.refusal(path);
}

KeyResult KeyStore::write(StoreMode mode, QStringView section, QStringView key, QStringView value)
{
    if (!isWriteMode(mode))
        return {};
    if (value.isEmpty())
        return {kErrorKeyValue, {}};
    QString single = value.toString();
    single.replace(QStringLiteral("\r\n"), QStringLiteral("~"));
    single.replace(u'\r', u'~');
    single.replace(u'\n', u'~');
    const StoreResult r = files_.write(pathFor(mode), section, key, single);
    return {{}, r.error};
}

KeyResult KeyStore::keyValue(QStringView modeWord, QStringView section, QStringView key,
                             std::optional<QStringView> value)
{
    const StoreMode mode = parseStoreMode(modeWord);
    if (isReadMode(mode))
        return {get(mode, section, key), {}};
    if (isWriteMode(mode))
        return write(mode, section, key, value.value_or(QStringView()));
    return {};
}

} // namespace nuvela

namespace nuvela {

void KeyStore::overrideTextSection(const QString& section, const QHash<QString, QString>& values)
{
    overrideSection_ = foldName(section);
    overrides_.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        overrides_.insert(foldName(it.key()), it.value());
}

} // namespace nuvela
