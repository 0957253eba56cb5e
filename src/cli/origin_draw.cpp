// `generate` from the built-in origins: the engine's draw of persons, each of
// one origin, written through the writer of the format.
#include "cli/origin_draw.h"

#include <array>
#include <optional>
#include <random>

#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/latin_names.h"
#include "cli/origin_unique.h"
#include "cli/unique_names.h"
#include "generate/choice_error.h"
#include "generate/fast_random.h"
#include "generate/frequency_pools.h"
#include "generate/person_rows.h"
#include "names/birth_store.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

namespace {

// A row of the engine's draw, by the writer's quick way for pooled names
// where it has one.
template <class Writer>
void addDrawn(Writer& writer, const PersonRow& row) {
    if constexpr (requires { writer.addPooled(row); })
        writer.addPooled(row);
    else
        writer.add(row);
}

template <class Writer>
void drawRows(const generate::PersonDraw& draw, std::uint64_t seed, std::int32_t count,
              Writer& writer) {
    generate::FastRandom random(seed);
    const std::vector<generate::OriginNames>& origins = draw.origins();
    std::array<generate::Person, generate::PersonDraw::kMaxBatch> persons;
    PersonRow row;
    for (std::int32_t i = 0; i < count; i += static_cast<std::int32_t>(persons.size())) {
        const auto rows =
            std::min<std::size_t>(persons.size(), static_cast<std::size_t>(count - i));
        draw.nextBatch(random, std::span(persons.data(), rows));
        for (std::size_t j = 0; j < rows; ++j) {
            row.person = persons[j];
            row.origin = origins[row.person.origin].tag;
            addDrawn(writer, row);
        }
    }
}

// The plain draw with its repeats left out. An origin that has given every
// name it has leaves the draw, which then goes on by the shares of the
// others: no draw is spent on an origin that can give nothing new.
template <class Writer>
void drawUniqueRows(const std::vector<generate::OriginNames>& origins,
                    const generate::DrawChoice& choice, OriginNameNumbers& numbers,
                    std::uint64_t seed, std::int32_t count, Writer& writer) {
    SeenNumbers seen(numbers.range(), static_cast<std::uint64_t>(count));
    std::vector<std::uint32_t> live(origins.size());  // the draw's origins, by their index here
    for (std::uint32_t o = 0; o < live.size(); ++o) live[o] = o;
    std::vector<std::uint64_t> given(origins.size(), 0);
    std::optional<generate::PersonDraw> draw(personDraw(origins, choice));
    numbers.bind(draw->origins(), live);
    generate::FastRandom random(seed);
    // Persons are drawn a batch ahead and their numbers looked up together,
    // so the seen set's memory is fetched for all at once. Each person's
    // generator state is kept: when an origin runs out, the draw goes on
    // from the person that emptied it, as if nobody had been drawn ahead.
    constexpr std::size_t kBatch = generate::PersonDraw::kMaxBatch;
    std::array<generate::Person, kBatch> persons;
    std::array<std::uint64_t, kBatch> personNumbers;
    std::array<generate::FastRandom, kBatch> after;
    PersonRow row;
    for (std::int32_t added = 0; added < count;) {
        draw->nextBatch(random, persons, after);
        for (std::size_t j = 0; j < kBatch; ++j) {
            personNumbers[j] = numbers.numberOf(persons[j]);
            seen.prefetch(personNumbers[j]);
        }
        for (std::size_t j = 0; j < kBatch; ++j) {
            if (!seen.firstTime(personNumbers[j])) continue;
            row.person = persons[j];
            const std::uint32_t o = live[row.person.origin];
            row.origin = origins[o].tag;
            addDrawn(writer, row);
            if (++added == count) return;
            if (++given[o] < numbers.possibleIn(o)) continue;
            // Every name of the origin is out: draw from the others alone.
            std::erase(live, o);
            std::vector<generate::OriginNames> rest;
            generate::DrawChoice restChoice = choice;
            restChoice.shares.clear();
            for (std::uint32_t kept : live) {
                rest.push_back(origins[kept]);
                if (!choice.shares.empty()) restChoice.shares.push_back(choice.shares[kept]);
            }
            draw.reset();
            draw.emplace(personDraw(std::move(rest), restChoice));
            numbers.bind(draw->origins(), live);
            random = after[j];
            break;
        }
    }
}

// An origin's pools with its names written in Latin letters: the lists are
// rewritten before the pools are built, so they come from the rows.
generate::FrequencyPools latinPools(platform::Database& database, const QString& tag,
                                    const generate::FrequencyChoice& frequencies) {
    names::OriginEntry entry = names::originForDrawing(database, tag);
    if (frequencies.weighted || frequencies.decades) names::loadDistributions(database, entry);
    writeInLatin(entry);
    return generate::frequencyPools(entry, frequencies);
}

}  // namespace

generate::OriginMix readOriginMix(platform::Database& database, const QString& text) {
    std::vector<std::string> known;
    for (const names::OriginRecord& origin : names::storedOrigins(database))
        known.push_back(origin.tag.toStdString());
    if (known.empty()) throw platform::Failure(QStringLiteral("this names.mdb holds no origins"));
    try {
        return generate::parseOriginMix(text.toStdString(), known);
    } catch (const generate::ChoiceError& error) {
        throw UsageError(QStringLiteral("--origin: ") + QString::fromStdString(error.what()));
    }
}

generate::GenderFilter filterOf(Gender gender) {
    switch (gender) {
        case Gender::Both:
            return generate::GenderFilter::Both;
        case Gender::Male:
            return generate::GenderFilter::Male;
        case Gender::Female:
            return generate::GenderFilter::Female;
        case Gender::Unisex:
            return generate::GenderFilter::Unisex;
        case Gender::Any:
            break;
    }
    return generate::GenderFilter::Any;
}

ChosenPools originPools(platform::Database& database, const generate::OriginMix& chosen,
                        const PoolRequest& request) {
    const generate::FrequencyChoice& frequencies = request.frequencies;
    std::vector<generate::FrequencyPools> pools;
    for (const std::string& tag : chosen.tags) {
        const QString origin = QString::fromStdString(tag);
        try {
            pools.push_back(request.latin
                                ? latinPools(database, origin, frequencies)
                                : generate::storedFrequencyPools(database, origin, frequencies));
        } catch (const generate::ChoiceError& error) {
            throw UsageError(QStringLiteral("--born: ") + QString::fromStdString(error.what()));
        }
    }
    ChosenPools chosenPools{{}, uniformNote(pools, frequencies.weighted, request.part)};
    for (generate::FrequencyPools& origin : pools)
        chosenPools.origins.push_back(std::move(origin.names));
    return chosenPools;
}

generate::PersonDraw personDraw(std::vector<generate::OriginNames> origins,
                                const generate::DrawChoice& choice) {
    try {
        return generate::PersonDraw(std::move(origins), choice);
    } catch (const platform::Failure& failure) {
        // What the origins lack for this choice.
        throw UsageError(failure.description().left(1).toLower() + failure.description().mid(1));
    }
}

void generateFromOrigins(const GenerateRequest& request, const QString& databasePath) {
    std::vector<generate::OriginNames> origins;
    generate::DrawChoice choice;
    {
        platform::Database database;
        try {
            database.open(databasePath);
        } catch (const platform::Failure& failure) {
            throw platform::Failure(QStringLiteral("cannot read the names in ") + databasePath +
                                    QStringLiteral(": ") + failure.description());
        }
        const generate::OriginMix chosen = readOriginMix(database, request.origins);
        ChosenPools pools = originPools(
            database, chosen, {request.latin, {request.weighted, request.born}, request.part});
        if (!pools.uniformNote.isEmpty()) printError(pools.uniformNote);
        origins = std::move(pools.origins);
        choice = {chosen.shares, filterOf(request.gender), request.mix};
    }
    const std::uint64_t seed = seedOf(request);
    if (!request.unique) {
        const generate::PersonDraw draw = personDraw(std::move(origins), choice);
        cli::writeRows(request.format, outputOptionsOf(request),
                       [&](auto& writer) { drawRows(draw, seed, request.count, writer); });
        return;
    }
    personDraw(origins, choice);  // refuses what cannot be drawn before counting
    OriginNameNumbers numbers(origins, choice.gender, request.part);
    if (static_cast<std::uint64_t>(request.count) > numbers.possible())
        throw platform::Failure(QStringLiteral("--unique: these origins make only ") +
                                grouped(numbers.possible()) + QLatin1Char(' ') +
                                QLatin1String(partWords(request.part)) + QStringLiteral(", not ") +
                                grouped(request.count));
    cli::writeRows(request.format, outputOptionsOf(request), [&](auto& writer) {
        drawUniqueRows(origins, choice, numbers, seed, request.count, writer);
    });
}

}  // namespace cli
