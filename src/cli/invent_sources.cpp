#include "cli/invent_sources.h"

#include <QList>

#include "cli/commands.h"
#include "generate/origin_mix.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The names in UTF-8, for a model to learn.
std::vector<std::string> utf8Names(const QStringList& names) {
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) utf8.push_back(name.toStdString());
    return utf8;
}

std::vector<std::string> storedTags(platform::Database& database) {
    std::vector<std::string> tags;
    for (const names::OriginRecord& origin : names::storedOrigins(database))
        tags.push_back(origin.tag.toStdString());
    if (tags.empty()) throw platform::Failure(QStringLiteral("this names.mdb holds no origins"));
    return tags;
}

// The sexes whose first names a person may take.
std::vector<generate::Sex> sexesOf(Gender gender) {
    switch (gender) {
        case Gender::Male:
            return {generate::Sex::Male};
        case Gender::Female:
            return {generate::Sex::Female};
        case Gender::Both:
        case Gender::Any:
        case Gender::Unisex:  // refused with --invent when the command line is read
            break;
    }
    return {generate::Sex::Male, generate::Sex::Female};
}

const char* sexWord(generate::Sex sex) {
    return sex == generate::Sex::Male ? "male" : "female";
}

// Reads the lists the request names into a plan.
class PlanLoader {
public:
    PlanLoader(const GenerateRequest& request, const QString& databasePath)
        : request_(request), databasePath_(databasePath) {}

    generate::InventionPlan load() {
        if (request_.list == ListSource::User)
            loadUserList();
        else
            loadOrigins();
        return std::move(plan_);
    }

private:
    bool wantsFirst() const { return request_.part != Part::Last; }
    bool wantsLast() const { return request_.part != Part::First; }

    int first(const QStringList& names, const QString& described,
              const QStringList& alsoKnown = {}) {
        return wantsFirst()
                   ? listOf(names, described + QStringLiteral(" first names"), true, alsoKnown)
                   : -1;
    }
    int last(const QStringList& names, const QString& described,
             const QStringList& alsoKnown = {}) {
        return wantsLast() ? listOf(names, described + QStringLiteral(" last names"),
                                    request_.part == Part::Last, alsoKnown)
                           : -1;
    }

    // The list in the plan; the filters apply to the part they are for.
    int listOf(const QStringList& names, const QString& described, bool filtered,
               const QStringList& alsoKnown) {
        generate::InventFilters filters;
        if (filtered) {
            const InventChoice& choice = request_.invention;
            filters = {choice.minLength, choice.maxLength, choice.startsWith.toStdString(),
                       choice.endsWith.toStdString(), false};
        }
        // Every name a part gives differs; a full name needs only the pair to.
        filters.unique = request_.unique && request_.part != Part::Full;
        return plan_.listOf({utf8Names(names), described, filters, utf8Names(alsoKnown)});
    }

    void loadUserList() {
        names::NameListModel firstNames;
        names::NameListModel lastNames;
        loadLists(databasePath_, ListSource::User, Gender::Both, firstNames, lastNames);
        const QString described = QStringLiteral("the User List's");
        generate::InventionPlan::Origin& origin = plan_.origins.emplace_back();
        origin.voices.push_back(
            {first(firstNames.entries(), described), last(lastNames.entries(), described)});
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
            generate::InventionPlan::Origin& origin = plan_.origins.emplace_back();
            origin.tag = chosen.tags[i];
            origin.order = entry.origin.familyFirst ? generate::NameOrder::FamilyFirst
                                                    : generate::NameOrder::GivenFirst;
            origin.blankBetween = entry.origin.blankBetween;
            if (!chosen.shares.empty()) origin.share = chosen.shares[i];
            addOriginVoices(entry, origin);
        }
    }

    void addOriginVoices(const names::OriginEntry& entry, generate::InventionPlan::Origin& origin) {
        using names::OriginList;
        const QString described = entry.origin.displayName + QStringLiteral(" (") +
                                  entry.origin.tag + QStringLiteral(")");
        for (const generate::Sex sex : sexesOf(request_.gender)) {
            const bool male = sex == generate::Sex::Male;
            const QString of = described + QLatin1Char(' ') + sexWord(sex);
            const QStringList firstNames =
                male ? names::maleTableNames(entry) : names::femaleTableNames(entry);
            const QStringList lastNames =
                !entry.hasGenderedSurnames()
                    ? names::namesOf(entry[OriginList::Last])
                    : names::namesOf(entry[male ? OriginList::LastMale : OriginList::LastFemale]);
            const generate::OtherSexNames other = generate::otherSexNames(entry, sex);
            origin.voices.push_back(
                {first(firstNames, of, other.first),
                 last(lastNames, entry.hasGenderedSurnames() ? of : described, other.last), sex});
        }
    }

    const GenerateRequest& request_;
    const QString& databasePath_;
    generate::InventionPlan plan_;
};

}  // namespace

generate::InventionPlan inventionPlanFor(const GenerateRequest& request,
                                         const QString& databasePath) {
    return PlanLoader(request, databasePath).load();
}

}  // namespace cli
