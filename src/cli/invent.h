#pragma once

// `generate --invent`: new names in the style of a list, learned by the name
// model from the User List, the built-in list or the origins of --origin.

#include <cstddef>
#include <vector>

#include <QString>
#include <QStringList>

namespace cli {

class Arguments;
struct GenerateRequest;
struct Option;

// What --invent takes beside the options that drawing takes too.
struct InventChoice {
    bool on = false;
    // In characters as a reader sees them; 0: no bound. With --part full
    // these and the texts below apply to the given name.
    std::size_t minLength = 0;
    std::size_t maxLength = 0;
    QString startsWith;
    QString endsWith;
};

// The options of --invent, for the table entry of `generate`.
void appendInventOptions(std::vector<Option>& options);

// The words of --format: the table of formats and the record formats, which
// this file writes for invented names where the table has none.
QStringList generateFormatWords();

// Reads --invent, --origin and the filters into the request and checks the
// format against the output; throws UsageError.
void readInvention(const Arguments& arguments, GenerateRequest& request);

// Invents the names and writes them; platform::Failure for what goes wrong,
// UsageError for origins that are not known.
void inventNames(const GenerateRequest& request, const QString& databasePath);

}  // namespace cli
