#include "ret/propertybag.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>

namespace ret {

PropertyBag::~PropertyBag() = default;

namespace {

const QString kNone = QStringLiteral("none");
const QString kFont = QStringLiteral("font");
const QString kPicture = QStringLiteral("picture");

QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default: out += c;
        }
    }
    out += u'"';
    return out;
}

// The text between the quotes of `text` (which must be a quoted string and
// nothing else), escapes undone.
std::optional<QString> unquoted(QStringView text)
{
    if (text.size() < 2 || text.front() != u'"' || text.back() != u'"')
        return std::nullopt;
    QString out;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        QChar c = text[i];
        if (c == u'"')
            return std::nullopt;
        if (c == u'\\') {
            if (i + 2 >= text.size())
                return std::nullopt;
            switch (text[++i].unicode()) {
            case '\\': c = u'\\'; break;
            case '"': c = u'"'; break;
            case 'n': c = u'\n'; break;
            case 'r': c = u'\r'; break;
            case 't': c = u'\t'; break;
            default: return std::nullopt;
            }
        }
        out += c;
    }
    return out;
}

QString pictureText(const QPixmap& picture)
{
    QByteArray png;
    if (!picture.isNull()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    return kPicture + u' ' + quoted(QString::fromLatin1(png.toBase64()));
}

std::optional<QString> valueText(const QVariant& value)
{
    if (!value.isValid())
        return kNone;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return QString::number(value.toBool() ? -1 : 0);
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toString();
    case QMetaType::QString:
        return quoted(value.toString());
    case QMetaType::QFont:
        return kFont + u' ' + quoted(value.value<QFont>().toString());
    case QMetaType::QPixmap:
        return pictureText(value.value<QPixmap>());
    case QMetaType::QImage:
        return pictureText(QPixmap::fromImage(value.value<QImage>()));
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> parseValue(QStringView text)
{
    if (text == kNone)
        return QVariant();
    if (text.startsWith(u'"')) {
        const auto s = unquoted(text);
        return s ? std::optional<QVariant>(*s) : std::nullopt;
    }
    if (text.startsWith(kFont + u' ')) {
        const auto s = unquoted(text.mid(kFont.size() + 1).trimmed());
        QFont font;
        if (!s || !font.fromString(*s))
            return std::nullopt;
        return QVariant(font);
    }
    if (text.startsWith(kPicture + u' ')) {
        const auto s = unquoted(text.mid(kPicture.size() + 1).trimmed());
        if (!s)
            return std::nullopt;
        const auto decoded = QByteArray::fromBase64Encoding(s->toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        QPixmap picture;
        if (!decoded || (!decoded.decoded.isEmpty() && !picture.loadFromData(decoded.decoded, "PNG")))
            return std::nullopt;
        return QVariant(picture);
    }
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok ? std::optional<QVariant>(number) : std::nullopt;
}

} // namespace

std::optional<TextPropertyBag> TextPropertyBag::fromText(const QString& text, QString* error)
{
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    TextPropertyBag bag;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq < 0 ? QString() : line.left(eq).trimmed();
        const std::optional<QVariant> value =
            eq < 0 ? std::nullopt : parseValue(QStringView(line).mid(eq + 1).trimmed());
        QString problem;
        if (!kName.match(name).hasMatch())
            problem = QStringLiteral("expected \"Name = value\"");
        else if (bag.contains(name))
            problem = QStringLiteral("\"%1\" appears twice").arg(name);
        else if (!value)
            problem = QStringLiteral("the value of \"%1\" is not readable").arg(name);
        if (!problem.isEmpty()) {
            if (error)
                *error = QStringLiteral("Panel state, line %1: %2.").arg(n + 1).arg(problem);
            return std::nullopt;
        }
        bag.values_.append({name, *value});
    }
    return bag;
}

QString TextPropertyBag::toText() const
{
    QString out;
    for (const auto& [name, value] : values_)
        out += name + QLatin1String(" = ") + valueText(value).value_or(kNone) + u'\n';
    return out;
}

std::optional<QVariant> TextPropertyBag::read(const QString& name, const QVariant& defaultValue)
{
    for (const auto& [key, value] : values_) {
        if (key == name)
            return value;
    }
    return defaultValue;
}

bool TextPropertyBag::write(const QString& name, const QVariant& value,
                            const QVariant& defaultValue)
{
    const auto at = std::find_if(values_.begin(), values_.end(),
                                 [&](const auto& entry) { return entry.first == name; });
    if (value == defaultValue) {
        if (at != values_.end())
            values_.erase(at);
        return true;
    }
    if (!valueText(value)) {
        error_ = QStringLiteral("values of type %1 cannot be kept as text")
                     .arg(QLatin1String(value.typeName()));
        return false;
    }
    if (at != values_.end())
        at->second = value;
    else
        values_.append({name, value});
    return true;
}

QStringList TextPropertyBag::names() const
{
    QStringList out;
    for (const auto& entry : values_)
        out << entry.first;
    return out;
}

bool TextPropertyBag::contains(const QString& name) const
{
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto& entry) { return entry.first == name; });
}

} // namespace ret
