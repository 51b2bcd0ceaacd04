#pragma once

#include <QString>
#include <optional>

// What figuring a race needs of the administration data. A value of nothing with an empty error means the
// row is not there; an error tells why the data could not answer.
template <typename T> struct ResultLookup {
    std::optional<T> value;
    QString error;
};

struct Loft {
    QString flyerName;
    QString latitude; // digits as typed
    QString longitude;
};

class ResultLookups {
public:
    virtual ~ResultLookups() = default;
    // The loft of the flyer with this club number and flyer number (compared separately).
    virtual ResultLookup<Loft> loft(int club, int flyer) = 0;
    // Whether a bird with these club letters (band 5-8) and band number (band 9-14) is stored: the value
    // is true when there is one.
    virtual ResultLookup<bool> birdKnown(const QString& clubLetters, const QString& bandNumber) = 0;
};
