// Feeds arbitrary bytes to the filter list ("filter.dat"). An entry added and then
// removed gives back the very bytes the list was read from; removing an entry changes
// no other line.
#include "fuzzsupport.h"

#include "prepare/filterlist.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    prepare::FilterList list;
    QString error;
    if (!list.read(buffer, &error)) {
        fuzz::check(bytes.size() > prepare::FilterList::MaxFileSize,
                    "a small list that cannot be read");
        return 0;
    }
    fuzz::check(list.bytes() == bytes, "the list does not keep the file's bytes");

    const QStringList entries = list.entries();
    const QStringList symbols = list.symbols();
    fuzz::check(entries.size() == symbols.size(), "not one symbol per entry");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        fuzz::check(!entries.at(i).isEmpty(), "an empty entry");
        fuzz::check(prepare::filterSymbolOf(entries.at(i)) == symbols.at(i), "a wrong symbol");
        fuzz::check(list.hasSymbol(symbols.at(i)), "a symbol the list does not have");
    }

    prepare::FilterList grown = list;
    const QString entry = prepare::makeFilterEntry(QStringLiteral("〓"), QStringLiteral("符号"));
    fuzz::check(grown.append(entry), "an entry that cannot be added");
    fuzz::check(grown.entries().size() == entries.size() + 1 && grown.entries().last() == entry,
                "the added entry is not the last");
    fuzz::check(grown.remove(int(entries.size()), entry), "the added entry cannot be removed");
    // The added line went; whatever the list ended with before stays (a last line
    // without its line break gets one when a line follows it).
    fuzz::check(grown.entries() == entries, "removing the added entry changed the others");

    if (!entries.isEmpty()) {
        prepare::FilterList shrunk = list;
        fuzz::check(shrunk.remove(0, entries.first()), "the first entry cannot be removed");
        QStringList rest = entries;
        rest.removeFirst();
        fuzz::check(shrunk.entries() == rest, "removing the first entry changed another");
        fuzz::check(shrunk.bytes().size() < bytes.size(), "removing an entry removed no bytes");
    }

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    fuzz::check(list.write(out, &error) && out.data() == bytes, "the list writes other bytes");
    return 0;
}
