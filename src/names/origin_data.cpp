#include "names/origin_data.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "names/statements.h"
#include "platform/failure.h"

namespace names {

namespace {

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Failure(path + QStringLiteral(": ") + file.errorString());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(file.readAll());
    if (utf8.hasError()) throw platform::Failure(path + QStringLiteral(": not valid UTF-8"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

QByteArray readOptional(const QString& path) {
    QFile file(path);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Failure(path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

[[noreturn]] void failAt(const QString& path, qsizetype index, const QString& fault) {
    throw platform::Failure(QStringLiteral("%1:%2: %3").arg(path).arg(index + 1).arg(fault));
}

// A stored name holds no ASCII apostrophe; a source's O'Brien is kept with
// the typographic one, O’Brien.
QString storedForm(QString name) {
    return name.replace(QLatin1Char('\''), QChar(0x2019));
}

ListedName readListedName(const QString& path, qsizetype index, const QString& line) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() > 2) failAt(path, index, QStringLiteral("more than two columns"));
    ListedName listed{storedForm(fields[0]), 0};
    if (listed.name.isEmpty()) failAt(path, index, QStringLiteral("empty name"));
    if (listed.name.trimmed() != listed.name)
        failAt(path, index, QStringLiteral("blanks at the ends"));
    if (listed.name.size() > kStoredNameLength)
        failAt(path, index, QStringLiteral("longer than 50"));
    if (fields.size() == 2) {
        bool ok = false;
        listed.weight = fields[1].toDouble(&ok);
        if (!ok || !(listed.weight >= 0)) failAt(path, index, QStringLiteral("bad weight"));
    }
    return listed;
}

QList<ListedName> readList(const QString& path) {
    if (!QFile::exists(path)) return {};
    const QStringList lines = readLines(path);
    QList<ListedName> names;
    names.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) names.append(readListedName(path, i, lines[i]));
    return names;
}

OriginRecord readOriginRecord(const QString& path, qsizetype index, const QString& line) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 6) failAt(path, index, QStringLiteral("not six columns"));
    OriginRecord origin{fields[0], fields[1], fields[2], false, true, fields[5]};
    if (fields[3] == QLatin1String(kFamilyFirst))
        origin.familyFirst = true;
    else if (fields[3] != QLatin1String(kGivenFirst))
        failAt(path, index, QStringLiteral("unknown name order ") + fields[3]);
    if (fields[4] == QLatin1String(kNothingBetween))
        origin.blankBetween = false;
    else if (fields[4] != QLatin1String(kSpaceBetween))
        failAt(path, index, QStringLiteral("unknown separator ") + fields[4]);
    if (origin.tag.isEmpty() || origin.displayName.isEmpty())
        failAt(path, index, QStringLiteral("no tag or name"));
    return origin;
}

void requireNames(const OriginEntry& entry, const QString& folder) {
    const bool firstNames = !entry[OriginList::Male].isEmpty() ||
                            !entry[OriginList::Female].isEmpty() ||
                            !entry[OriginList::Unisex].isEmpty();
    const bool lastNames =
        !entry[OriginList::Last].isEmpty() ||
        (!entry[OriginList::LastMale].isEmpty() && !entry[OriginList::LastFemale].isEmpty());
    if (!firstNames || !lastNames)
        throw platform::Failure(folder + QStringLiteral(": no first names or no last names"));
}

}  // namespace

QStringList namesOf(const QList<ListedName>& list) {
    QStringList names;
    names.reserve(list.size());
    for (const ListedName& listed : list) names.append(listed.name);
    return names;
}

const char* listWord(OriginList list) {
    switch (list) {
        case OriginList::Male:
            return "male";
        case OriginList::Female:
            return "female";
        case OriginList::Unisex:
            return "unisex";
        case OriginList::Last:
            return "last";
        case OriginList::LastMale:
            return "last_male";
        case OriginList::LastFemale:
            break;
    }
    return "last_female";
}

QList<OriginEntry> readOriginFolder(const QString& folder) {
    const QString index = QDir(folder).filePath(QStringLiteral("origins.tsv"));
    const QStringList lines = readLines(index);
    QList<OriginEntry> origins;
    for (qsizetype i = 1; i < lines.size(); ++i) {  // the first line is the header
        OriginEntry entry{readOriginRecord(index, i, lines[i])};
        const QDir lists(QDir(folder).filePath(entry.origin.tag));
        for (OriginList list : kOriginLists) {
            const QString word = QLatin1String(listWord(list));
            entry[list] = readList(lists.filePath(word + ".txt"));
            QList<ListedName> full =
                readList(lists.filePath(word + QLatin1String(kWeightedListSuffix)));
            // By falling weight: the commonest names, drawn most, side by side.
            std::stable_sort(
                full.begin(), full.end(),
                [](const ListedName& a, const ListedName& b) { return a.weight > b.weight; });
            entry.weightedLists[static_cast<std::size_t>(list)] = std::move(full);
        }
        entry.birthsByDecade = readOptional(lists.filePath(QLatin1String(kBirthsFileName)));
        requireNames(entry, lists.path());
        origins.append(std::move(entry));
    }
    return origins;
}

QStringList maleTableNames(const OriginEntry& origin) {
    return namesOf(origin[OriginList::Male]) + namesOf(origin[OriginList::Unisex]);
}

QStringList femaleTableNames(const OriginEntry& origin) {
    return namesOf(origin[OriginList::Female]) + namesOf(origin[OriginList::Unisex]);
}

QStringList lastTableNames(const OriginEntry& origin) {
    return namesOf(origin[OriginList::Last]) + namesOf(origin[OriginList::LastMale]) +
           namesOf(origin[OriginList::LastFemale]);
}

}  // namespace names
