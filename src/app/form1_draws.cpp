// How the main window's "Start Generating" draws beside the plain pairing of
// the list views: by frequency and birth decade (the keys Weighted and Born),
// and invented names (the key Invent).
#include <future>
#include <memory>

#include <QMap>
#include <QRadioButton>

#include "app/draw_keys.h"
#include "app/form1.h"
#include "generate/frequency_pools.h"
#include "generate/generation.h"
#include "generate/invented_persons.h"
#include "generate/origin_pools.h"
#include "generate/person_draw.h"
#include "names/birth_store.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "platform/settings.h"

namespace app {

namespace keys = platform::keys;

namespace {

generate::GenderFilter genderFilterOf(const Form1& form) {
    if (form.Option2->isChecked()) return generate::GenderFilter::Male;
    if (form.Option3->isChecked()) return generate::GenderFilter::Female;
    return generate::GenderFilter::Both;
}

}  // namespace

const QMap<QString, names::OriginFrequencies>& Form1::originFrequencies() {
    if (!frequencies_) {
        platform::Database database;
        database.open(databasePath());
        frequencies_ = names::storedFrequencies(database);
    }
    return *frequencies_;
}

DrawKeys Form1::drawKeys() {
    std::optional<OriginOffer> offer;
    // Only a stored Born asks what the origins offer: most starts read nothing more.
    if (origins_ && !env_.settings.readText(keys::Born).trimmed().isEmpty()) {
        offer = OriginOffer{!origins_->tags().isEmpty()};
        for (const QString& tag : origins_->tags())
            offer->decades = offer->decades && originFrequencies().value(tag).decades;
    }
    return readDrawKeys(env_.settings, offer);
}

void Form1::reportUnreadable(const QString& why) {
    if (!why.isEmpty()) throw platform::Failure(why);
}

bool Form1::drawsByFrequency(const DrawKeys& drawKeys) {
    if (!Option9->isChecked() || Option8->isChecked() || !origins_) return false;
    if (drawKeys.born) return true;
    if (!drawKeys.weighted) return false;
    for (const QString& tag : origins_->tags())
        if (originFrequencies().value(tag).frequencies) return true;
    return false;
}

namespace {

// Builds the persons' draw from what the window gave: safe on another thread.
std::shared_ptr<const generate::PersonDraw> buildDraw(const PreparedDraw::Inputs& in) {
    // An empty view would mean every name to the pools' filter.
    if (in.shownFirst.isEmpty() || in.shownLast.isEmpty())
        throw platform::Failure(QStringLiteral("There are no names to draw from"));
    const generate::PoolChoice shown{false, in.shownFirst, in.shownLast, true};
    platform::Database database;
    database.open(in.databasePath);
    std::vector<generate::OriginNames> pools;
    if (!in.byFrequency) {
        QList<names::OriginEntry> entries;
        for (const QString& tag : in.tags) entries.append(names::originForDrawing(database, tag));
        pools = generate::originNames(entries, shown);
    } else {
        // Origins with frequencies draw from their full distributions (or
        // their decades' births); the others as the list views show them.
        const generate::FrequencyChoice choice{in.weighted, in.born};
        for (const QString& tag : in.tags) {
            if (in.born || in.frequencies.value(tag).frequencies)
                pools.push_back(generate::storedFrequencyPools(database, tag, choice).names);
            else
                pools.push_back(
                    generate::originNames(names::originForDrawing(database, tag), shown));
        }
    }
    database.close();
    return std::make_shared<const generate::PersonDraw>(std::move(pools),
                                                        generate::DrawChoice{in.shares, in.gender});
}

}  // namespace

bool PreparedDraw::Inputs::operator==(const Inputs& other) const {
    // A list view's names that changed are a list of their own: the copy
    // held here keeps the old one.
    const auto same = [](const QStringList& a, const QStringList& b) {
        return a.constData() == b.constData() && a.size() == b.size();
    };
    return databasePath == other.databasePath && tags == other.tags && shares == other.shares &&
           gender == other.gender && byFrequency == other.byFrequency &&
           weighted == other.weighted && born == other.born && same(shownFirst, other.shownFirst) &&
           same(shownLast, other.shownLast);
}

PreparedDraw::Inputs Form1::drawInputs(const DrawKeys& drawKeys) {
    PreparedDraw::Inputs in;
    in.databasePath = databasePath();
    in.tags = origins_->tags();
    in.shares = origins_->chosen.shares;
    in.gender = genderFilterOf(*this);
    in.byFrequency = drawsByFrequency(drawKeys);
    if (in.byFrequency) {
        in.weighted = drawKeys.weighted;
        in.born = drawKeys.born;
        in.frequencies = originFrequencies();
    }
    in.shownFirst = firstNames_->storedNames();
    in.shownLast = lastNames_->storedNames();
    return in;
}

void Form1::prepareDraw() {
    if (!origins_) return;
    // Only a head start: what fails here fails again in the run, which reports it.
    try {
        startPreparing();
    } catch (...) {
        prepared_.reset();
    }
}

void Form1::startPreparing() {
    const DrawKeys drawKeys = this->drawKeys();
    if (drawKeys.invent || !(drawsByFrequency(drawKeys) || drawsPersons())) return;
    PreparedDraw::Inputs in = drawInputs(drawKeys);
    if (prepared_ && prepared_->inputs == in) return;
    prepared_ = std::make_unique<PreparedDraw>();
    prepared_->inputs = in;
    prepared_->draw = std::async(std::launch::async, [in] { return buildDraw(in); }).share();
}

void Form1::waitForPreparedDraw() const {
    if (prepared_ && prepared_->draw.valid()) prepared_->draw.wait();
}

std::shared_ptr<const generate::PersonDraw> Form1::personDraw(const DrawKeys& drawKeys) {
    PreparedDraw::Inputs in = drawInputs(drawKeys);
    if (!prepared_ || !(prepared_->inputs == in)) {
        prepared_ = std::make_unique<PreparedDraw>();
        prepared_->inputs = in;
        std::promise<std::shared_ptr<const generate::PersonDraw>> made;
        try {
            made.set_value(buildDraw(in));
        } catch (...) {
            made.set_exception(std::current_exception());
        }
        prepared_->draw = made.get_future().share();
    }
    return prepared_->draw.get();  // a failure to build is thrown again
}

namespace {

// The names as rows show them, in UTF-8, for a model to learn.
std::vector<std::string> shownNames(const QStringList& entries) {
    std::vector<std::string> shown;
    shown.reserve(static_cast<std::size_t>(entries.size()));
    for (const QString& entry : entries) shown.push_back(generate::shownName(entry).toStdString());
    return shown;
}

}  // namespace

generate::InventionPlan Form1::inventionPlan() {
    using Plan = generate::InventionPlan;
    const bool first = !Option6->isChecked();
    const bool last = !Option5->isChecked();
    Plan plan;
    if (!drawsPersons()) {
        // The two list views, as the plain pairing draws from them.
        Plan::Voice voice;
        if (first)
            voice.first = plan.listOf({shownNames(firstNames_->entries()),
                                       QStringLiteral("The First Names list"),
                                       {},
                                       {}});
        if (last)
            voice.last = plan.listOf(
                {shownNames(lastNames_->entries()), QStringLiteral("The Last Names list"), {}, {}});
        plan.origins.push_back({{}, generate::NameOrder::GivenFirst, true, 1, {voice}});
        return plan;
    }
    // Each origin's lists, per sex as the gender option allows.
    const generate::GenderFilter gender = genderFilterOf(*this);
    platform::Database database;
    database.open(databasePath());
    const QStringList tags = origins_->tags();
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const names::OriginEntry entry = names::originForDrawing(database, tags[i]);
        const QString described =
            entry.origin.displayName + QStringLiteral(" (") + entry.origin.tag + QLatin1Char(')');
        Plan::Origin origin;
        origin.tag = entry.origin.tag.toStdString();
        origin.order = entry.origin.familyFirst ? generate::NameOrder::FamilyFirst
                                                : generate::NameOrder::GivenFirst;
        origin.blankBetween = entry.origin.blankBetween;
        if (!origins_->chosen.shares.empty())
            origin.share = origins_->chosen.shares[static_cast<std::size_t>(i)];
        for (const generate::Sex sex : {generate::Sex::Female, generate::Sex::Male}) {
            const bool male = sex == generate::Sex::Male;
            if (gender == (male ? generate::GenderFilter::Female : generate::GenderFilter::Male))
                continue;
            const QString ofSex =
                described + (male ? QStringLiteral(" male") : QStringLiteral(" female"));
            Plan::Voice voice;
            voice.sex = sex;
            const generate::OtherSexNames other = generate::otherSexNames(entry, sex);
            if (first)
                voice.first = plan.listOf({shownNames(male ? names::maleTableNames(entry)
                                                           : names::femaleTableNames(entry)),
                                           ofSex + QStringLiteral(" first names"),
                                           {},
                                           shownNames(other.first)});
            if (last && entry.hasGenderedSurnames())
                voice.last = plan.listOf(
                    {shownNames(names::namesOf(entry[male ? names::OriginList::LastMale
                                                          : names::OriginList::LastFemale])),
                     ofSex + QStringLiteral(" last names"),
                     {},
                     shownNames(other.last)});
            else if (last)
                voice.last =
                    plan.listOf({shownNames(names::namesOf(entry[names::OriginList::Last])),
                                 described + QStringLiteral(" last names"),
                                 {},
                                 {}});
            origin.voices.push_back(voice);
        }
        plan.origins.push_back(std::move(origin));
    }
    return plan;
}

}  // namespace app
