#pragma once

#include <stdexcept>
#include <string>

#include <QString>

namespace platform {

// A run-time failure with the description that the failing component gave.
// Guarded procedures catch it and show the description in the failure report.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description) : std::runtime_error(description.toStdString()) {}
    QString description() const { return QString::fromStdString(what()); }
};

}  // namespace platform
