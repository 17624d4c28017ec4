#include "windows/options/language.h"

#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "store/inifiles.h"
#include "store/keystore.h"
#include "windows/options/sectionreader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QWidget>

#include <algorithm>

namespace nuvela {

namespace {

// The two pictures-editor widgets that an entry moves to the left edge.
constexpr double kLeftEdgeTwips = 100;

bool isSafeLanguageName(const QString& language)
{
    // The name comes from the settings file; it names a file in the language
    // folder and nothing outside it.
    return !language.contains(u'/') && !language.contains(u'\\') && !language.contains(u"..");
}

QWidget* findTarget(QWidget* window, const QString& target)
{
    const qsizetype open = target.indexOf(u'(');
    if (open >= 0) {
        // One digit after "(" is the element; the name is the target without
        // its last three characters, so "picstat(12)" finds nothing.
        if (open + 1 >= target.size() || !target[open + 1].isDigit() || target.size() < 3)
            return nullptr;
        const int index = target[open + 1].digitValue();
        return findArrayElement(window, QStringView(target).chopped(3), index);
    }
    if (target == u"form")
        return window;
    return findControl(window, target);
}

// Where a widget keeps its own value of a property that a language changed.
constexpr char kBuiltInPrefix[] = "builtIn.";

QByteArray builtInKey(QStringView property)
{
    return kBuiltInPrefix + property.toString().toLower().toLatin1();
}

void keepBuiltIn(QWidget* widget, QStringView property)
{
    const QByteArray key = builtInKey(property);
    if (widget->property(key.constData()).isValid())
        return; // the first value seen is the window's own
    if (const auto value = readToolkitProperty(widget, property))
        widget->setProperty(key.constData(), *value);
}

} // namespace

int sectionBufferLength(const QStringList& lines)
{
    int length = 0;
    for (const QString& line : lines)
        length += int(line.size()) + 1;
    return length;
}

QStringList linesWithinBuffer(const QStringList& lines)
{
    QStringList kept;
    int used = 0;
    for (const QString& line : lines) {
        // The last character of the buffer is the NUL that ends the list.
        if (used + line.size() + 1 > kLanguageSectionBuffer - 1)
            break;
        used += int(line.size()) + 1;
        kept.append(line);
    }
    return kept;
}

std::optional<LanguageEntry> parseLanguageEntry(QStringView line)
{
    const auto parts = line.split(u'=');
    if (parts.size() < 2)
        return std::nullopt;
    const auto keyParts = parts[0].split(u'.');
    if (keyParts.size() < 2)
        return std::nullopt;
    return LanguageEntry { keyParts[0].toString(), keyParts[1].toString(), parts[1].toString() };
}

bool applyLanguageEntry(QWidget* window, const LanguageEntry& entry)
{
    // A key left without its value is a translation not made yet: the widget
    // keeps its own text, rather than a button without a caption.
    if (entry.value.isEmpty())
        return false;
    QWidget* widget = findTarget(window, entry.target);
    if (!widget)
        return false;
    // A translation changes texts and looks; hiding or disabling a whole
    // window would leave the program running with nothing to use.
    if (widget == window
        && (entry.property.compare(u"Visible", Qt::CaseInsensitive) == 0
            || entry.property.compare(u"Enabled", Qt::CaseInsensitive) == 0))
        return false;

    const QString type = toolkitTypeName(widget);
    if (type == u"CheckBox" || type == u"Label" || type == u"OptionButton") {
        const auto alignment = readToolkitProperty(widget, u"Alignment");
        keepBuiltIn(widget, u"Alignment");
        if (alignment && alignment->toInt() == 1)
            writeToolkitProperty(widget, u"Alignment", 0);
    } else if (auto* button = qobject_cast<ButtonPlus*>(widget)) {
        // The translated button mirrors its own Hebrew layout: a picture at
        // the right edge goes to the left edge (3), a centred caption stays
        // centred and a picture above stays above. The mirror is taken of the
        // built-in layout, so applying a language twice keeps it.
        keepBuiltIn(widget, u"PictureAlignment");
        const QVariant own = widget->property(builtInKey(u"PictureAlignment").constData());
        button->setPictureAlignment(mirrored(PictureAlignment(own.toInt())));
    }
    if (type != u"Image" && type != u"Retainer") {
        keepBuiltIn(widget, u"RightToLeft");
        writeToolkitProperty(widget, u"RightToLeft", false);
    }

    keepBuiltIn(widget, entry.property);
    const bool set = writeToolkitProperty(widget, entry.property, entry.value);

    if (widget->objectName() == u"flip" || widget->objectName() == u"picstat") {
        keepBuiltIn(widget, u"Left");
        writeToolkitProperty(widget, u"Left", kLeftEdgeTwips);
    }
    return set;
}

void ApplyLanguage(QWidget* window, const QString& programDir, QString& currentLanguage)
{
    if (!window)
        return;
    if (!isSafeLanguageName(currentLanguage)
        || !QFileInfo(languageFilePath(programDir, currentLanguage)).isFile())
        currentLanguage = kBuiltInLanguage.toString();
    if (currentLanguage == kBuiltInLanguage)
        return;

    const QStringList lines = linesWithinBuffer(
        readSectionLines(languageFilePath(programDir, currentLanguage), window->objectName()));
    for (const QString& line : lines) {
        if (const auto entry = parseLanguageEntry(line))
            applyLanguageEntry(window, *entry);
    }
}

std::optional<LanguageFileFault> languageFileFault(IniFiles& files, const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    if (!files.read(path)) {
        QString why = files.refusal(path);
        if (why.isEmpty()) {
            QFile file(path);
            why = file.open(QIODevice::ReadOnly) ? QStringLiteral("it cannot be read") : file.errorString();
        }
        return LanguageFileFault {false, why};
    }
    // Editors save UTF-8 unless told otherwise; the file then reads, but
    // every accented letter shows as two or three wrong ones. Windows-1255
    // Hebrew is never valid UTF-8 (a letter's byte would have to be followed
    // by two of 0x80 to 0xBF), so valid UTF-8 beyond ASCII is taken as such.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LanguageFileFault {false, QStringLiteral("it cannot be read")};
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3); // the store reads past the mark
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char b) { return uchar(b) < 0x80; }))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes); // the decoding is done when taken
    if (!utf8.hasError())
        return LanguageFileFault {true, {}};
    return std::nullopt;
}

void RestoreBuiltInTexts(QWidget* window)
{
    if (!window)
        return;
    QList<QWidget*> widgets = windowControls(window);
    widgets.prepend(window);
    const qsizetype prefix = qstrlen(kBuiltInPrefix);
    for (QWidget* widget : widgets) {
        const QList<QByteArray> names = widget->dynamicPropertyNames();
        for (const QByteArray& name : names) {
            if (name.startsWith(kBuiltInPrefix))
                writeToolkitProperty(widget, QString::fromLatin1(name.mid(prefix)), widget->property(name.constData()));
        }
    }
}

} // namespace nuvela
