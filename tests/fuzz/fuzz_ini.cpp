// The store's INI reader and writer on arbitrary bytes: lookups follow the
// rules, and a value written reads back as written.
#include "store/inidocument.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    nuvela::IniDocument doc(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QList<QString> names = doc.sectionNames();
    if (names.size() != doc.headerLines().size())
        std::abort();
    for (const QString& name : names) {
        (void)doc.sectionLines(name);
        (void)doc.value(name, u"objtype");
        (void)doc.keyLine(name, u"objdim");
    }
    for (const QString& value : {QStringLiteral("malben"), QStringLiteral("שלום עולם")}) {
        if (!doc.setValue(u"object1", u"objtype", value))
            continue;
        if (doc.value(u"object1", u"objtype") != value)
            std::abort(); // a written value must read back unchanged
    }
    return 0;
}
