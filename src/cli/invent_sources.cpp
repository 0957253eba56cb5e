#include "cli/invent_sources.h"

#include <QList>

#include "cli/commands.h"
#include "generate/origin_mix.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

InventedPart::InventedPart(const generate::NameModel& model, const generate::InventFilters& filters,
                           std::uint64_t seed, const QString& described)
    : model_(model),
      filters_(filters),
      seed_(seed),
      described_(described),
      inventor_(std::make_unique<generate::Inventor>(model_, filters_, seed_)) {}

// A list whose every likely name is its own, such as family names of one
// syllable each, leaves nothing new within its lengths: without filters of
// its own, such a part invents names up to one character longer.
bool InventedPart::canWiden() const {
    return inventor_->made() == 0 && filters_.minLength == 0 && filters_.maxLength == 0 &&
           filters_.startsWith.empty() && filters_.endsWith.empty();
}

std::string_view InventedPart::next() {
    try {
        return inventor_->next();
    } catch (const generate::InventFailure& failure) {
        if (!canWiden())
            throw platform::Failure(described_ + QStringLiteral(": ") +
                                    QString::fromUtf8(failure.what()));
    }
    filters_.maxLength = model_.longestName() + 1;
    inventor_ = std::make_unique<generate::Inventor>(model_, filters_, seed_);
    return next();
}

struct InventionSet::Learned {
    QString described;
    bool filtered = false;
    generate::NameModel model;
    std::unique_ptr<InventedPart> part;
};

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<std::string> utf8Names(const QStringList& names) {
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) utf8.push_back(name.toStdString());
    return utf8;
}

QStringList namesOf(const QList<names::ListedName>& list) {
    QStringList names;
    names.reserve(list.size());
    for (const names::ListedName& listed : list) names << listed.name;
    return names;
}

std::vector<std::string> storedTags(platform::Database& database) {
    std::vector<std::string> tags;
    for (const names::OriginRecord& origin : names::storedOrigins(database))
        tags.push_back(origin.tag.toStdString());
    if (tags.empty()) throw platform::Failure(QStringLiteral("this names.mdb holds no origins"));
    return tags;
}

// The sexes whose first names a person may take.
std::vector<InventedSex> sexesOf(Gender gender) {
    switch (gender) {
        case Gender::Male:
            return {InventedSex::Male};
        case Gender::Female:
            return {InventedSex::Female};
        case Gender::Both:
        case Gender::Any:
        case Gender::Unisex:  // refused with --invent when the command line is read
            break;
    }
    return {InventedSex::Male, InventedSex::Female};
}

const char* sexWord(InventedSex sex) {
    return sex == InventedSex::Male ? "male" : "female";
}

}  // namespace

// Reads the lists the request names and makes their voices.
class InventionSet::Loader {
public:
    Loader(InventionSet& set, const QString& databasePath)
        : set_(set), request_(set.request_), databasePath_(databasePath) {}

    void load() {
        if (request_.list == ListSource::User)
            loadUserList();
        else
            loadOrigins();
    }

private:
    bool wantsFirst() const { return request_.part != Part::Last; }
    bool wantsLast() const { return request_.part != Part::First; }

    InventedPart* first(const QStringList& names, const QString& described) {
        return wantsFirst() ? set_.partFor(names, described + QStringLiteral(" first names"), true)
                            : nullptr;
    }
    InventedPart* last(const QStringList& names, const QString& described) {
        return wantsLast() ? set_.partFor(names, described + QStringLiteral(" last names"),
                                          request_.part == Part::Last)
                           : nullptr;
    }

    void loadUserList() {
        names::NameListModel firstNames;
        names::NameListModel lastNames;
        loadLists(databasePath_, ListSource::User, Gender::Both, firstNames, lastNames);
        const QString described = QStringLiteral("the User List's");
        InventedOrigin& origin = set_.origins_.emplace_back();
        origin.voices.push_back({InventedSex::Unknown, first(firstNames.entries(), described),
                                 last(lastNames.entries(), described)});
    }

    void loadOrigins() {
        platform::Database database;
        try {
            database.open(databasePath_);
        } catch (const platform::Failure& failure) {
            throw platform::Failure(QStringLiteral("cannot read the names in ") + databasePath_ +
                                    QStringLiteral(": ") + failure.description());
        }
        generate::OriginMix chosen;
        try {
            chosen = generate::parseOriginMix(request_.origins.toStdString(), storedTags(database));
        } catch (const generate::ChoiceError& error) {
            throw UsageError(QStringLiteral("--origin: ") + QString::fromUtf8(error.what()));
        }
        for (std::size_t i = 0; i < chosen.tags.size(); ++i) {
            const names::OriginEntry entry =
                names::originForDrawing(database, fromUtf8(chosen.tags[i]));
            InventedOrigin& origin = set_.origins_.emplace_back();
            origin.tag = chosen.tags[i];
            origin.familyFirst = entry.origin.familyFirst;
            origin.blankBetween = entry.origin.blankBetween;
            if (!chosen.shares.empty()) origin.share = chosen.shares[i];
            addOriginVoices(entry, origin);
        }
    }

    void addOriginVoices(const names::OriginEntry& entry, InventedOrigin& origin) {
        using names::OriginList;
        const QString described = entry.origin.displayName + QStringLiteral(" (") +
                                  entry.origin.tag + QStringLiteral(")");
        for (const InventedSex sex : sexesOf(request_.gender)) {
            const bool male = sex == InventedSex::Male;
            const QString of = described + QLatin1Char(' ') + sexWord(sex);
            const QStringList firstNames =
                male ? names::maleTableNames(entry) : names::femaleTableNames(entry);
            const QStringList lastNames =
                !entry.hasGenderedSurnames()
                    ? namesOf(entry[OriginList::Last])
                    : namesOf(entry[male ? OriginList::LastMale : OriginList::LastFemale]);
            origin.voices.push_back(
                {sex, first(firstNames, of),
                 last(lastNames, entry.hasGenderedSurnames() ? of : described)});
        }
    }

    InventionSet& set_;
    const GenerateRequest& request_;
    const QString& databasePath_;
};

InventionSet::InventionSet(const GenerateRequest& request, const QString& databasePath,
                           std::uint64_t seed)
    : request_(request), seeds_(seed) {
    Loader(*this, databasePath).load();
}

InventionSet::~InventionSet() = default;

InventedPart* InventionSet::partFor(const QStringList& names, const QString& described,
                                    bool filtered) {
    for (const auto& learned : learned_)
        if (learned->described == described && learned->filtered == filtered)
            return learned->part.get();
    if (names.isEmpty()) throw platform::Failure(described + QStringLiteral(": there are none"));
    try {
        auto learned = std::make_unique<Learned>(
            Learned{described, filtered, generate::NameModel::train(utf8Names(names)), nullptr});
        generate::InventFilters filters;
        if (filtered) {
            const InventChoice& choice = request_.invention;
            filters = {choice.minLength, choice.maxLength, choice.startsWith.toStdString(),
                       choice.endsWith.toStdString(), false};
        }
        // Every name a part gives differs; a full name needs only the pair to.
        filters.unique = request_.unique && request_.part != Part::Full;
        learned->part =
            std::make_unique<InventedPart>(learned->model, filters, seeds_.next(), described);
        learned_.push_back(std::move(learned));
        return learned_.back()->part.get();
    } catch (const generate::InventFailure& failure) {
        throw platform::Failure(described + QStringLiteral(": ") +
                                QString::fromUtf8(failure.what()));
    }
}

}  // namespace cli
