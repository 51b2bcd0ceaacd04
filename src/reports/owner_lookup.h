#pragma once

#include <QString>
#include <optional>

// Who owns a clocked bird, by its club letters (4) and band number (6) as the clocking record holds them.
class OwnerLookup {
public:
    virtual ~OwnerLookup() = default;
    virtual std::optional<QString> ownerOf(const QString& clubLettersAndBnumber) = 0;
};

// For a report without a database: every bird is an unknown flyer's.
class NoOwnerLookup : public OwnerLookup {
public:
    std::optional<QString> ownerOf(const QString&) override { return std::nullopt; }
};
