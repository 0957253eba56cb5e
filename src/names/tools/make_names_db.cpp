// Build tool: turns the built-in name lists into names.mdb, and puts the
// result beside the program without overwriting a database the user changed.
//
//   make_names_db build <out.mdb> <data/origins folder>
//   make_names_db install <built.mdb> <target names.mdb> <stamp file>
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QString>

#include "names/birth_table.h"
#include "names/name_database_file.h"
#include "platform/failure.h"

namespace {

int build(const QString& out, const QString& originsFolder) {
    names::NameTables tables;
    tables.origins = names::readOriginFolder(originsFolder);
    long long births = 0;
    for (const names::OriginEntry& origin : tables.origins)
        if (!origin.birthsByDecade.isEmpty())  // refused here rather than when drawing
            births += static_cast<long long>(
                names::readBirthTable(origin.birthsByDecade, origin.origin.tag).rows.size());
    // Built aside and renamed, so a failed build leaves no half-made file.
    const QString partial = out + QStringLiteral(".partial");
    names::createNameDatabase(partial, tables);
    QFile::remove(out);
    if (!QFile::rename(partial, out))
        throw platform::Failure(QStringLiteral("cannot rename ") + partial + " to " + out);
    long long count = 0, weighted = 0;
    for (const names::OriginEntry& origin : tables.origins) {
        for (const auto& list : origin.lists) count += list.size();
        for (const auto& list : origin.weightedLists) weighted += list.size();
    }
    std::printf(
        "names.mdb built: %lld origins, %lld names, %lld in full distributions, "
        "%lld rows of births\n",
        static_cast<long long>(tables.origins.size()), count, weighted, births);
    return 0;
}

int install(const QString& built, const QString& target, const QString& stamp) {
    switch (names::installBuiltDatabase(built, target, stamp)) {
        case names::InstallResult::Installed:
            std::printf("%s: installed\n", qPrintable(target));
            break;
        case names::InstallResult::Replaced:
            std::printf("%s: replaced by the new build\n", qPrintable(target));
            break;
        case names::InstallResult::AlreadyCurrent:
            break;
        case names::InstallResult::KeptChangedByUser:
            std::printf("%s: changed since it was built, kept as it is\n", qPrintable(target));
            break;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto arg = [&](int i) { return QString::fromLocal8Bit(argv[i]); };
    try {
        if (argc == 4 && std::strcmp(argv[1], "build") == 0) return build(arg(2), arg(3));
        if (argc == 5 && std::strcmp(argv[1], "install") == 0)
            return install(arg(2), arg(3), arg(4));
    } catch (const platform::Failure& failure) {
        std::fprintf(stderr, "make_names_db: %s\n", failure.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: make_names_db build <out> <origins folder>\n"
                 "       make_names_db install <built> <target> <stamp>\n");
    return 2;
}
