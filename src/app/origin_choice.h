#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "generate/origin_mix.h"

namespace app {

// The origins of this run, as the Origin key chooses them among the stored ones.
struct OriginChoice {
    generate::OriginMix chosen;  // no tags: the database holds no origins
    // No key is stored: the default is stored on this first start.
    bool storeDefault = false;
    // Why the stored key cannot be read; empty when it can. The run then uses
    // the default and the key stays as written.
    QString unreadable;
    // Each row is one person drawn from the origins, rather than a first and
    // a last name drawn from the list views on their own: several origins, or
    // one with family names in a female and a male form, or one whose names
    // are written family name first or without a blank.
    bool drawsPersons = false;

    QStringList tags() const;
};

// The choice by the stored key's text (none: no key stored) among the known
// origin tags. The default is the origin of the locale name ("de_DE"), or the
// first known origin when that one is not stored.
OriginChoice chooseOrigins(const std::optional<QString>& stored, const QStringList& known,
                           const QString& localeName);

}  // namespace app
